// The rendering framework: the one RenderDevice record (the seven surfaces of the 3D view, the 3D device
// and viewport, render state, textures, the three dirty-rectangle lists, the last error) and the
// operations that start it, present through it and shut it down.
//
// Index: [SECTION] Records  [SECTION] Start-up and shut-down  [SECTION] Presentation  [SECTION] Errors
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/device3d.h"
#include "platform/display.h"
#include "platform/window.h"

constexpr int kMaxDirtyRects = 30;
constexpr int kMaxTextures = 15;

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

struct TextureEntry {
  std::string fileName;
  std::unique_ptr<DisplaySurface> surface;
  TextureHandle handle = 0;
};

struct TextureTable {
  int count = 0;
  TextureEntry entries[kMaxTextures];
  std::vector<std::string> searchPath;  // built on first use, freed at shut-down
  bool searchPathBuilt = false;
};

struct RectList {
  int count = 0;
  Rect rects[kMaxDirtyRects];
};

struct RenderDevice {
  HWindow window = nullptr;
  std::unique_ptr<Direct3D> direct3D;
  std::unique_ptr<Device3D> device;
  ViewportHandle viewport = 0;
  std::unique_ptr<DisplaySurface> frontBuffer, backBuffer, backupBuffer, baseBuffer;
  std::unique_ptr<DisplaySurface> zBuffer, zBuffer2, baseZBuffer;
  int clientWidth = 0, clientHeight = 0;
  Point clientOrigin;
  int surfaceWidth = 0, surfaceHeight = 0;
  bool renderingOk = false;
  RectList lastShownRects, frameRects, zClearRects;
  RenderStateRecord renderState;
  TextureTable textures;
  HResult lastError = kResultOk;
  std::string lastErrorText;
};

// [SECTION] Start-up and shut-down

// Make the surfaces, the 3D device and the viewport of the view in window (the viewport with the given
// data); false after the failure was stored as the last error.
bool startRenderDevice(RenderDevice& d, HWindow window, ViewportData (*viewportFor)(int width, int height));
// Copy the record (when given) into the render state, then apply it to the device once rendering runs.
bool applyRenderState(RenderDevice& d, const RenderStateRecord* record);
bool shutDownRenderDevice(RenderDevice& d);

// The screen-mode operations the program uses when it changes the screen's mode. Each stores the
// framework's last error text on failure.
enum class ScreenUse { Windowed, FullScreen };
// Every window shares the one screen here, so only a window that does not exist is refused.
bool checkScreenWindow(RenderDevice& d, HWindow window, ScreenUse use);
bool setScreenMode(RenderDevice& d, int width, int height, int bits);
bool restoreScreenMode(RenderDevice& d);

// [SECTION] Presentation

// What a clear or a show covers: the frame's dirty rectangles, or the whole client area.
enum class FrameArea { DirtyRects, WholeWindow };
bool setDirtyRects(RenderDevice& d, int count, const Rect* rects, FrameArea area);
bool clearBackBuffer(RenderDevice& d, FrameArea area);
bool showBackBuffer(RenderDevice& d, FrameArea area);
// The next clear and show cover the whole window.
void showWholeWindowNext(RenderDevice& d);
// The rectangles to present: the previous show's and this frame's, overlapping ones merged.
RectList mergeDirtyRects(const RectList& previous, const RectList& frame);

// [SECTION] Errors

const char* resultText(HResult code);
// Store lastError and lastErrorText: the format with "%s" filled by resultText(code) (or an integer
// for formats that ask for one), at most 256 characters, always ending in CR LF.
void setRenderError(RenderDevice& d, HResult code, const char* format, ...);
const std::string& lastRenderErrorText(RenderDevice& d);
