// The rendering framework: the one RenderDevice record (display, the seven surfaces of the 3D view, the
// 3D device and viewport, render state, textures, the three dirty-rectangle lists, the last error) and
// the operations that start it, present through it and shut it down.
//
// Index: [SECTION] Records  [SECTION] Start-up and shut-down  [SECTION] Presentation  [SECTION] Errors
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/device3d.h"
#include "platform/display.h"
#include "platform/window.h"

constexpr int D3DAPP_MAXCLEARRECTS = 30;
constexpr int D3DAPP_MAXTEXTURES = 15;

// [SECTION] Records

struct RenderStateRecord {
  bool zBufferOn = true;
  bool perspectiveCorrect = false;
  uint32_t shadeMode = D3DSHADE_GOURAUD;
  uint32_t textureFilter = D3DFILTER_NEAREST;
  uint32_t textureBlend = D3DTBLEND_MODULATE;
  uint32_t fillMode = D3DFILL_SOLID;
  bool dithering = false;
  bool specular = true;
  bool antialiasing = false;
  bool fogEnabled = false;
  uint32_t fogColor = 0;
  uint32_t fogMode = D3DFOG_LINEAR;
  float fogStart = 6.0f;
  float fogEnd = 11.0f;
};

// The texture format the device offers: 16-bit RGB 5-6-5.
struct TextureFormatRecord {
  PixelFormat format;
  bool palettised = false;
  int indexBits = 0;
  int redBits = 5, greenBits = 6, blueBits = 5;
};

struct TextureEntry {
  std::string fileName;
  std::unique_ptr<DisplaySurface> surface;
  TextureHandle handle = 0;
};

struct TextureTable {
  int count = 0;
  TextureEntry entries[D3DAPP_MAXTEXTURES];
  std::vector<std::string> searchPath;  // built on first use, freed at shut-down
  bool searchPathBuilt = false;
};

struct RectList {
  int count = 0;
  Rect rects[D3DAPP_MAXCLEARRECTS];
};

// Called once the device exists, with the client size; stores the viewport it makes. The release
// callback undoes it at shut-down.
using CreateViewCallback = std::function<bool(int width, int height, ViewportHandle& viewport, void* argument)>;
using ReleaseViewCallback = std::function<bool(void* argument)>;

struct RenderDevice {
  HWindow window = nullptr;
  DisplayDevice display;
  bool isPrimary = false;
  std::unique_ptr<Direct3D> direct3D;
  std::unique_ptr<Device3D> device;
  ViewportHandle viewport = 0;
  std::unique_ptr<DisplaySurface> frontBuffer, backBuffer, backupBuffer, baseBuffer;
  std::unique_ptr<DisplaySurface> zBuffer, zBuffer2, baseZBuffer;
  bool clipper = false;  // the front buffer is clipped to the window
  int desktopWidth = 0, desktopHeight = 0, desktopBits = 0;
  DriverDescription driver;
  bool driverChosen = false;
  TextureFormatRecord currentTextureFormat;
  int clientWidth = 0, clientHeight = 0;
  Point clientOrigin;
  int surfaceWidth = 0, surfaceHeight = 0;
  bool fullScreen = false;
  bool paused = false;
  bool bRenderingIsOK = false;
  bool onlySystemMemory = false, onlyEmulation = false;
  bool backBufferInVideo = false;
  RectList lastShownRects, frameRects, zClearRects;
  RenderStateRecord renderState;
  TextureTable textures;
  CreateViewCallback createView;
  ReleaseViewCallback releaseView;
  void* viewArgument = nullptr;
  int viewCount = 0;
  HResult lastError = DD_OK;
  std::string lastErrorText;
};

extern RenderDevice renderDevice;

// [SECTION] Start-up and shut-down

// Flag bit 0: system memory and emulation only; bit 1: emulation only.
bool D3DAppStartUp(uint32_t flags, HWindow window, CreateViewCallback createView, void* viewArgument,
                   ReleaseViewCallback releaseView);
// Copy the record (when given) into the render state, then apply it to the device once rendering runs.
bool SetRenderState(const RenderStateRecord* record);
bool D3DAppShutDown();

// The display-mode operations, also used on their own when the program changes the screen's mode. Each
// stores the framework's last error text on failure.
bool D3DAppCreateDisplay();
bool D3DAppSetCoopLevel(HWindow window, bool fullScreen);
bool D3DAppSetDisplayMode(int width, int height, int bits);
bool D3DAppRestoreDisplayMode();

// [SECTION] Presentation

enum : uint32_t { D3DAPP_WHOLEWINDOW = 1 };
bool D3DAppSetDirtyRects(int count, const Rect* rects, uint32_t flags);
bool D3DAppClearBackBuffer(uint32_t flags);
bool D3DAppShowBackBuffer(uint32_t flags);
bool D3DAppRestoreSurfaces();
bool D3DAppPauseDisplay(bool pause);
// The rectangles to present: the previous show's and this frame's, overlapping ones merged.
RectList MergeDirtyRects(const RectList& previous, const RectList& frame);

// [SECTION] Errors

const char* D3DAppErrorText(HResult code);
// Store lastError and lastErrorText: the format with "%s" filled by D3DAppErrorText(code) (or an integer
// for formats that ask for one), at most 256 characters, always ending in CR LF.
void setRenderError(HResult code, const char* format, ...);
const std::string& D3DAppLastErrorText();
