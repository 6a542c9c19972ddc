// The screen-mode operations of the rendering framework: the window check, setting and restoring the
// screen's mode.
#include "render/RenderDevice.h"

bool checkScreenWindow(RenderDevice& d, HWindow window, ScreenUse use) {
  if (!window || !isWindow(window)) {
    setRenderError(d, kErrorInvalidParams,
                   use == ScreenUse::FullScreen ? "SetCooperativeLevel to fullscreen failed.\n%s" : "SetCooperativeLevel to normal failed.\n%s",
                   resultText(kErrorInvalidParams));
    return false;
  }
  return true;
}

bool setScreenMode(RenderDevice& d, int width, int height, int bits) {
  if (!setDisplayMode(width, height, bits)) {
    setRenderError(d, kErrorInvalidMode, "SetDisplayMode to %dx%dx%d failed\n%s", width, height, bits, resultText(kErrorInvalidMode));
    return false;
  }
  return true;
}

bool restoreScreenMode(RenderDevice& /*d*/) {
  restoreDisplayMode();
  return true;
}
