// Starting and shutting down the rendering framework: the windowed surfaces and depth buffers, the 3D
// device, textures, the view callbacks and the render state.
//
// Index: [SECTION] Helpers  [SECTION] Surfaces  [SECTION] Start-up  [SECTION] Render state  [SECTION] Shut-down
#include <algorithm>

#include "render/RenderDevice.h"
#include "render/Textures.h"


// [SECTION] Helpers

namespace {

void releaseSurfaces(RenderDevice& d) {
  if (d.backBuffer) d.backBuffer->attachedDepth = nullptr;
  if (d.backupBuffer) d.backupBuffer->attachedDepth = nullptr;
  if (d.baseBuffer) d.baseBuffer->attachedDepth = nullptr;
  d.zBuffer.reset();
  d.zBuffer2.reset();
  d.baseZBuffer.reset();
  d.backBuffer.reset();
  d.backupBuffer.reset();
  d.baseBuffer.reset();
  d.frontBuffer.reset();
}

// Everything the start-up made, in the reverse order of creation.
void releaseAll(RenderDevice& d) {
  releaseAllTextures(d);
  if (d.direct3D && d.viewport) releaseViewport(*d.direct3D, d.viewport);
  d.viewport = 0;
  d.device.reset();
  releaseSurfaces(d);
  d.direct3D.reset();
}

Rect wholeWindow(RenderDevice& d) { return Rect{0, 0, d.clientWidth, d.clientHeight}; }

}  // namespace

// [SECTION] Surfaces

namespace {

// Every colour buffer starts black.
void clearColourBuffers(RenderDevice& d) {
  for (DisplaySurface* surface : {d.frontBuffer.get(), d.backBuffer.get(), d.backupBuffer.get(), d.baseBuffer.get()})
    surfaceFill(*surface, nullptr, 0);
}

bool createWindowedSurfaces(RenderDevice& d) {
  const uint32_t caps = kSurfaceOffscreen | kSurfaceRenderTarget;
  HResult result = d.window ? createPrimarySurface(windowSurface(d.window), d.window, d.frontBuffer)
                            : kErrorInvalidParams;
  if (failed(result)) {
    setRenderError(d, result, "CreateSurface for window front buffer failed.\n%s", resultText(result));
    return false;
  }
  const char* failures[3] = {"CreateSurface for window back buffer failed.\n%s",
                             "CreateSurface for window backup buffer failed.\n%s",
                             "CreateSurface for window base buffer failed.\n%s"};
  std::unique_ptr<DisplaySurface>* targets[3] = {&d.backBuffer, &d.backupBuffer, &d.baseBuffer};
  for (int i = 0; i < 3; ++i) {
    result = createSurface(caps, d.surfaceWidth, d.surfaceHeight, *targets[i]);
    if (failed(result)) {
      setRenderError(d, result, failures[i], resultText(result));
      return false;
    }
  }
  clearColourBuffers(d);
  return true;
}

bool createZBuffers(RenderDevice& d) {
  d.zBuffer.reset();
  d.zBuffer2.reset();
  d.baseZBuffer.reset();
  const char* failures[3] = {"CreateSurface for Z-buffer failed.\n%s", "CreateSurface for Z-buffer2 failed.\n%s",
                             "CreateSurface for Base Z-buffer failed.\n%s"};
  std::unique_ptr<DisplaySurface>* depthTargets[3] = {&d.zBuffer, &d.zBuffer2, &d.baseZBuffer};
  DisplaySurface* colours[3] = {d.backBuffer.get(), d.backupBuffer.get(), d.baseBuffer.get()};
  for (int i = 0; i < 3; ++i) {
    HResult result = createSurface(kSurfaceDepth, d.surfaceWidth, d.surfaceHeight, *depthTargets[i]);
    if (failed(result)) {
      setRenderError(d, result, failures[i], resultText(result));
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

bool startRenderDevice(RenderDevice& d, HWindow window, ViewportData (*viewportFor)(int width, int height)) {
  // A fresh device keeps the texture names registered before it.
  std::string names[kMaxTextures];
  const int registered = d.textures.count;
  for (int i = 0; i < registered; ++i) names[i] = d.textures.entries[i].fileName;
  releaseAll(d);
  d.window = nullptr;
  d.renderingOk = false;
  d.renderState = RenderStateRecord{};
  d.lastShownRects = d.frameRects = d.zClearRects = RectList{};
  d.textures.count = registered;
  for (int i = 0; i < registered; ++i) d.textures.entries[i].fileName = names[i];

  auto fail = [&d]() {
    releaseAll(d);
    return false;
  };
  d.direct3D = std::make_unique<Direct3D>();

  if (!checkScreenWindow(d, window, ScreenUse::Windowed)) return fail();
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
  const HResult result = createDevice(*d.direct3D, *d.backBuffer, *d.device);
  if (failed(result)) {
    setRenderError(d, result, "Create D3D device failed.\n%s", resultText(result));
    return fail();
  }
  if (!loadAllTextures(d)) return fail();
  ViewportHandle viewport = 0;
  HResult made = createViewport(*d.direct3D, viewport);
  if (failed(made)) {
    setRenderError(d, made, "Create D3D viewport failed.\n%s", resultText(made));
    return fail();
  }
  d.viewport = viewport;  // released with the rest on a failure below
  made = addViewport(*d.device, viewport);
  if (failed(made)) {
    setRenderError(d, made, "Add D3D viewport failed.\n%s", resultText(made));
    return fail();
  }
  made = setViewport(*d.direct3D, viewport, viewportFor(d.clientWidth, d.clientHeight));
  if (failed(made)) {
    setRenderError(d, made, "SetViewport failed.\n%s", resultText(made));
    return fail();
  }
  d.viewport = viewport;
  d.renderingOk = true;  // applying the state below needs it
  if (!applyRenderState(d, nullptr)) {
    d.renderingOk = false;
    return fail();
  }
  const Rect whole = wholeWindow(d);
  d.lastShownRects = d.frameRects = d.zClearRects = RectList{1, {whole}};
  return true;
}

// [SECTION] Render state

bool applyRenderState(RenderDevice& d, const RenderStateRecord* record) {
  if (record) d.renderState = *record;
  if (!d.renderingOk) return true;
  if (!d.device || !d.viewport) return true;
  const RenderStateRecord& s = d.renderState;
  ExecuteBuffer buffer;
    buffer.stateRender({{D3DRENDERSTATE_SHADEMODE, s.shadeMode},
                      {D3DRENDERSTATE_TEXTUREPERSPECTIVE, s.perspectiveCorrect},
                      {D3DRENDERSTATE_ZENABLE, s.zBufferOn},
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
    setRenderError(d, result, "BeginScene failed in SetRenderState.\n%s", resultText(result));
    return false;
  }
  result = execute(*d.device, buffer, d.viewport, D3DEXECUTE_UNCLIPPED);
  if (failed(result)) {
    endScene(*d.device);
    setRenderError(d, result, "Execute failed in SetRenderState.\n%s", resultText(result));
    return false;
  }
  result = endScene(*d.device);
  if (failed(result)) {
    setRenderError(d, result, "EndScene failed in SetRenderState.\n%s", resultText(result));
    return false;
  }
  return true;
}

// [SECTION] Shut-down

bool shutDownRenderDevice(RenderDevice& d) {
  d.renderingOk = false;
  d.window = nullptr;
  releaseAll(d);
  d.textures.searchPath.clear();
  d.textures.searchPathBuilt = false;
  return true;
}
