// The display-mode operations of the rendering framework: the display object, the cooperative level,
// setting and restoring the screen's mode.
#include "render/RenderDevice.h"

bool D3DAppCreateDisplay() {
  const HResult result = displayCreate(renderDevice.display);
  if (failed(result)) {
    setRenderError(result, "DirectDrawCreate failed.\n%s", D3DAppErrorText(result));
    return false;
  }
  renderDevice.isPrimary = true;
  return true;
}

// Every window shares the one screen here, so a level is only refused for a window that does not exist.
bool D3DAppSetCoopLevel(HWindow window, bool fullScreen) {
  if (!window || !isWindow(window)) {
    setRenderError(DDERR_INVALIDPARAMS, fullScreen ? "SetCooperativeLevel to fullscreen failed.\n%s" : "SetCooperativeLevel to normal failed.\n%s",
                   D3DAppErrorText(DDERR_INVALIDPARAMS));
    return false;
  }
  return true;
}

bool D3DAppSetDisplayMode(int width, int height, int bits) {
  if (!setDisplayMode(width, height, bits)) {
    setRenderError(DDERR_INVALIDMODE, "SetDisplayMode to %dx%dx%d failed\n%s", width, height, bits, D3DAppErrorText(DDERR_INVALIDMODE));
    return false;
  }
  return true;
}

bool D3DAppRestoreDisplayMode() {
  restoreDisplayMode();
  return true;
}
