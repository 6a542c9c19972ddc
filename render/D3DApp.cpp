// Starting and shutting down the rendering framework: the display check, the one software driver, the
// windowed surfaces and depth buffers, the 3D device, textures, the view callbacks and the render state.
//
// Index: [SECTION] Helpers  [SECTION] Surfaces  [SECTION] Start-up  [SECTION] Render state  [SECTION] Shut-down
#include <algorithm>
#include <cstring>

#include "platform/strings.h"
#include "render/RenderDevice.h"
#include "render/Textures.h"

RenderDevice renderDevice;

// [SECTION] Helpers

namespace {

void releaseSurfaces(RenderDevice& d) {
  if (d.backBuffer) d.backBuffer->attachedDepth = nullptr;
  if (d.backupBuffer) d.backupBuffer->attachedDepth = nullptr;
  if (d.baseBuffer) d.baseBuffer->attachedDepth = nullptr;
  d.zBuffer.reset();
  d.zBuffer2.reset();
  d.baseZBuffer.reset();
  d.clipper = false;
  d.backBuffer.reset();
  d.backupBuffer.reset();
  d.baseBuffer.reset();
  d.frontBuffer.reset();
}

// Everything the start-up made, in the reverse order of creation.
void releaseAll(RenderDevice& d) {
  if (d.viewCount > 0 && d.releaseView) {
    d.releaseView(d.viewArgument);
    d.viewCount = 0;
  }
  releaseAllTextures();
  if (d.direct3D && d.viewport) releaseViewport(*d.direct3D, d.viewport);
  d.viewport = 0;
  d.device.reset();
  releaseSurfaces(d);
  d.direct3D.reset();
  d.display = DisplayDevice{};
  d.isPrimary = false;
}

Rect wholeWindow() { return Rect{0, 0, renderDevice.clientWidth, renderDevice.clientHeight}; }

}  // namespace

// [SECTION] Surfaces

// Every colour buffer that exists, filled with black.
bool clearAllColourBuffers() {
  struct Item {
    DisplaySurface* surface;
    const char* describeFailure;
    const char* clearFailure;
  } items[] = {
      {renderDevice.frontBuffer.get(), "Failure getting the surface description of the front buffer before clearing.\n%s",
       "Clearing the front buffer failed.\n%s"},
      {renderDevice.backBuffer.get(), "Failure while getting the surface description of the back buffer before clearing.\n%s",
       "Clearing the front buffer failed.\n%s"},
      {renderDevice.backupBuffer.get(), "Failure while getting the surface description of the back buffer before clearing.\n%s",
       "Clearing the backup buffer failed.\n%s"},
      {renderDevice.baseBuffer.get(), "Failure while getting the surface description of the back buffer before clearing.\n%s",
       "Clearing the Base buffer failed.\n%s"},
  };
  const bool windowAlive = renderDevice.window && isWindow(renderDevice.window);
  for (const Item& item : items) {
    if (!item.surface) continue;
    if (item.surface == renderDevice.frontBuffer.get() && !windowAlive) continue;  // its pixels went with the window
    SurfaceDesc desc;
    HResult result = surfaceDescription(*item.surface, desc);
    if (failed(result)) {
      setRenderError(result, item.describeFailure, D3DAppErrorText(result));
      return false;
    }
    result = surfaceFill(*item.surface, nullptr, 0);
    if (failed(result)) {
      setRenderError(result, item.clearFailure, D3DAppErrorText(result));
      return false;
    }
  }
  return true;
}

namespace {

bool createWindowedSurfaces(RenderDevice& d) {
  const uint32_t memory = d.onlySystemMemory ? static_cast<uint32_t>(DDSCAPS_SYSTEMMEMORY) : 0u;
  const uint32_t caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | memory;
  HResult result = d.window ? createPrimarySurface(windowSurface(d.window), d.window, d.frontBuffer)
                            : DDERR_INVALIDPARAMS;
  if (failed(result)) {
    setRenderError(result, "CreateSurface for window front buffer failed.\n%s", D3DAppErrorText(result));
    return false;
  }
  const char* failures[3] = {"CreateSurface for window back buffer failed.\n%s",
                             "CreateSurface for window backup buffer failed.\n%s",
                             "CreateSurface for window base buffer failed.\n%s"};
  std::unique_ptr<DisplaySurface>* targets[3] = {&d.backBuffer, &d.backupBuffer, &d.baseBuffer};
  for (int i = 0; i < 3; ++i) {
    result = createSurface(caps, d.surfaceWidth, d.surfaceHeight, *targets[i]);
    if (failed(result)) {
      setRenderError(result, failures[i], D3DAppErrorText(result));
      return false;
    }
  }
  SurfaceDesc desc;
  result = surfaceDescription(*d.backBuffer, desc);
  if (failed(result)) {
    setRenderError(result, "Failed to get surface description for back buffer.\n%s", D3DAppErrorText(result));
    return false;
  }
  d.backBufferInVideo = (desc.caps & DDSCAPS_SYSTEMMEMORY) == 0 && false;  // every surface lives in memory here
  d.clipper = true;
  return clearAllColourBuffers();
}

bool createZBuffers(RenderDevice& d) {
  d.zBuffer.reset();
  d.zBuffer2.reset();
  d.baseZBuffer.reset();
  if (!d.driver.zBuffer) return true;
  const uint32_t depths = d.driver.zBufferDepths;
  if (!(depths & (32 | 24 | 16 | 8))) {
    setRenderError(DDERR_INVALIDPARAMS, "Unsupported Z-buffer depth requested by device.\n");
    return false;
  }
  const char* failures[3] = {"CreateSurface for Z-buffer failed.\n%s", "CreateSurface for Z-buffer2 failed.\n%s",
                             "CreateSurface for Base Z-buffer failed.\n%s"};
  std::unique_ptr<DisplaySurface>* depthTargets[3] = {&d.zBuffer, &d.zBuffer2, &d.baseZBuffer};
  DisplaySurface* colours[3] = {d.backBuffer.get(), d.backupBuffer.get(), d.baseBuffer.get()};
  for (int i = 0; i < 3; ++i) {
    HResult result = createSurface(DDSCAPS_ZBUFFER | DDSCAPS_SYSTEMMEMORY, d.surfaceWidth, d.surfaceHeight, *depthTargets[i]);
    if (failed(result)) {
      setRenderError(result, failures[i], D3DAppErrorText(result));
      d.zBuffer.reset();
      d.zBuffer2.reset();
      d.baseZBuffer.reset();
      return false;
    }
    colours[i]->attachedDepth = depthTargets[i]->get();
  }
  return true;
}

}  // namespace

// [SECTION] Start-up

bool D3DAppStartUp(uint32_t flags, HWindow window, CreateViewCallback createView, void* viewArgument,
                   ReleaseViewCallback releaseView) {
  RenderDevice& d = renderDevice;
  // A fresh device keeps the texture names registered before it.
  std::string names[D3DAPP_MAXTEXTURES];
  const int registered = d.textures.count;
  for (int i = 0; i < registered; ++i) names[i] = d.textures.entries[i].fileName;
  releaseAll(d);
  d.window = nullptr;
  d.paused = false;
  d.bRenderingIsOK = false;
  d.fullScreen = false;
  d.driverChosen = false;
  d.renderState = RenderStateRecord{};
  d.lastShownRects = d.frameRects = d.zClearRects = RectList{};
  d.textures.count = registered;
  for (int i = 0; i < registered; ++i) d.textures.entries[i].fileName = names[i];

  d.onlySystemMemory = (flags & 1) != 0;
  d.onlyEmulation = (flags & 3) != 0;
  HResult result = displayCreate(d.display);
  if (failed(result)) {
    setRenderError(result, "DirectDrawCreate failed.\n%s", D3DAppErrorText(result));
    return false;
  }
  d.isPrimary = true;

  auto fail = []() {
    releaseAll(renderDevice);
    return false;
  };
  result = displayMode(d.display, d.desktopWidth, d.desktopHeight, d.desktopBits);
  if (failed(result)) {
    setRenderError(result, "Getting the current display mode failed.\n%s", D3DAppErrorText(result));
    return fail();
  }
  int width = 0, height = 0, bits = 0;
  displayMode(d.display, width, height, bits);
  if (bits != 16) {
    const char* text = loadString(20);
    messageBox(window, text ? text : "Sorry! Please change display mode to 16 bit color.", "", MB_OK);
    setRenderError(DDERR_INVALIDMODE, "Sorry! Please change display mode to 16 bit color.");
    return fail();
  }
  d.direct3D = std::make_unique<Direct3D>();

  // The platform has one software driver, and it renders at the 16-bit desktop depth: windowed output.
  d.driver = softwareDriver();
  if (!(d.driver.renderDepths & 16)) {
    setRenderError(DDERR_GENERIC, "Cannot find a D3D device driver which is compatible with the current display depth.\n");
    return fail();
  }
  d.driverChosen = true;
  d.createView = std::move(createView);
  d.releaseView = std::move(releaseView);
  d.viewArgument = viewArgument;

  if (!window || !isWindow(window)) {
    setRenderError(DDERR_INVALIDPARAMS, "SetCooperativeLevel to normal failed.\n%s", D3DAppErrorText(DDERR_INVALIDPARAMS));
    return fail();
  }
  d.window = window;
  const Rect client = clientRect(window);
  d.clientWidth = client.width();
  d.clientHeight = client.height();
  d.clientOrigin = clientToScreen(window, Point{0, 0});
  d.surfaceWidth = std::max(50, d.clientWidth);
  d.surfaceHeight = std::max(50, d.clientHeight);
  if (!createWindowedSurfaces(d)) return fail();
  if (!createZBuffers(d)) return fail();

  d.device = std::make_unique<Device3D>();
  result = createDevice(*d.direct3D, *d.backBuffer, *d.device);
  if (failed(result)) {
    setRenderError(result, "Create D3D device failed.\n%s", D3DAppErrorText(result));
    return fail();
  }
  if (d.driver.textures) d.currentTextureFormat = TextureFormatRecord{};
  if (!loadAllTextures()) return fail();
  if (d.createView) {
    ViewportHandle viewport = 0;
    if (!d.createView(d.clientWidth, d.clientHeight, viewport, d.viewArgument)) {
      if (viewport && d.direct3D) releaseViewport(*d.direct3D, viewport);
      return fail();
    }
    d.viewport = viewport;
    d.viewCount = 1;
  }
  d.bRenderingIsOK = true;  // applying the state below needs it
  if (!SetRenderState(nullptr)) {
    d.bRenderingIsOK = false;
    return fail();
  }
  const Rect whole = wholeWindow();
  d.lastShownRects = d.frameRects = d.zClearRects = RectList{1, {whole}};
  return true;
}

// [SECTION] Render state

bool SetRenderState(const RenderStateRecord* record) {
  RenderDevice& d = renderDevice;
  if (record) d.renderState = *record;
  if (!d.bRenderingIsOK) return true;
  if (!d.device || !d.viewport) return true;
  const RenderStateRecord& s = d.renderState;
  ExecuteBuffer buffer;
  const bool zOn = s.zBufferOn && d.driver.zBuffer;
  buffer.stateRender({{D3DRENDERSTATE_SHADEMODE, s.shadeMode},
                      {D3DRENDERSTATE_TEXTUREPERSPECTIVE, s.perspectiveCorrect},
                      {D3DRENDERSTATE_ZENABLE, zOn},
                      {D3DRENDERSTATE_ZWRITEENABLE, s.zBufferOn},
                      {D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL},
                      {D3DRENDERSTATE_TEXTUREMAG, s.textureFilter},
                      {D3DRENDERSTATE_TEXTUREMIN, s.textureFilter},
                      {D3DRENDERSTATE_TEXTUREMAPBLEND, s.textureBlend},
                      {D3DRENDERSTATE_FILLMODE, s.fillMode},
                      {D3DRENDERSTATE_DITHERENABLE, s.dithering},
                      {D3DRENDERSTATE_SPECULARENABLE, s.specular},
                      {D3DRENDERSTATE_ANTIALIAS, s.antialiasing},
                      {D3DRENDERSTATE_FOGENABLE, s.fogEnabled},
                      {D3DRENDERSTATE_FOGCOLOR, s.fogColor}});
  buffer.stateLight({{D3DLIGHTSTATE_FOGMODE, s.fogEnabled ? s.fogMode : static_cast<uint32_t>(D3DFOG_NONE)},
                     {D3DLIGHTSTATE_FOGSTART, floatState(s.fogStart)},
                     {D3DLIGHTSTATE_FOGEND, floatState(s.fogEnd)}});
  buffer.exit();
  HResult result = beginScene(*d.device);
  if (failed(result)) {
    setRenderError(result, "BeginScene failed in SetRenderState.\n%s", D3DAppErrorText(result));
    return false;
  }
  result = execute(*d.device, buffer, d.viewport, D3DEXECUTE_UNCLIPPED);
  if (failed(result)) {
    endScene(*d.device);
    setRenderError(result, "Execute failed in SetRenderState.\n%s", D3DAppErrorText(result));
    return false;
  }
  result = endScene(*d.device);
  if (failed(result)) {
    setRenderError(result, "EndScene failed in SetRenderState.\n%s", D3DAppErrorText(result));
    return false;
  }
  return true;
}

// [SECTION] Shut-down

bool D3DAppShutDown() {
  RenderDevice& d = renderDevice;
  d.bRenderingIsOK = false;
  d.window = nullptr;
  bool ok = true;
  if (d.viewCount > 0 && d.releaseView) {
    if (!d.releaseView(d.viewArgument)) {
      setRenderError(DDERR_GENERIC, "Releasing the view failed.\n");
      ok = false;
    }
    d.viewCount = 0;
  }
  releaseAll(d);
  d.textures.searchPath.clear();
  d.textures.searchPathBuilt = false;
  return ok;
}
