// The rendering framework's error texts: result codes to sentences, and the last-error record.
#include <cstdarg>
#include <cstdio>

#include "render/RenderDevice.h"

const char* resultText(HResult code) {
  switch (code) {
    case kResultOk: return "No error.";
    case kErrorGeneric: return "Generic failure.";
    case kErrorInvalidParams: return "One or more of the parameters passed to the function are incorrect.";
    case kErrorInvalidRect: return "The rectangle given lies partly outside the surface or is inverted.";
    case kErrorUnsupported: return "Action not supported.";
    case kErrorSurfaceBusy: return "The surface is locked and cannot be used until it is unlocked.";
    case kErrorNotLocked: return "The surface cannot be unlocked because it is not locked.";
    case kErrorNoColourKey: return "The surface has no colour key to copy with.";
    case kErrorInvalidPixelFormat: return "The pixel format cannot be used for this surface.";
    case kErrorInvalidMode: return "The display cannot be set to the requested mode.";
    case kErrorNotFound: return "The requested item does not exist.";
    case kErrorInvalidDevice: return "D3DERR_INVALID_DEVICE";
    case kErrorExecuteLocked: return "D3DERR_EXECUTE_LOCKED";
    case kErrorTextureBadSize: return "D3DERR_TEXTURE_BADSIZE";
    case kErrorMatrixSetData: return "D3DERR_MATRIX_SETDATA_FAILED";
    case kErrorMaterialSetData: return "D3DERR_MATERIAL_SETDATA_FAILED";
    case kErrorLightSet: return "D3DERR_LIGHT_SET_FAILED";
    case kErrorViewportSetData: return "D3DERR_SETVIEWPORTDATA_FAILED";
    case kErrorViewportDataNotSet: return "D3DERR_VIEWPORTDATANOTSET";
    case kErrorSceneInScene: return "D3DERR_SCENE_IN_SCENE";
    case kErrorSceneNotInScene: return "D3DERR_SCENE_NOT_IN_SCENE";
    case kErrorInvalidHandle: return "D3DERR_INVALIDHANDLE";
    default: return "Unrecognized error value.";
  }
}

void setRenderError(RenderDevice& d, HResult code, const char* format, ...) {
  char text[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  std::string message(text);
  // A text passed on from an earlier failure already ends in CR LF; it gets only one.
  if (message.size() >= 2 && message.compare(message.size() - 2, 2, "\r\n") == 0) message.resize(message.size() - 2);
  if (message.size() > 254) message.resize(254);
  d.lastError = code;
  d.lastErrorText = message + "\r\n";
}

const std::string& lastRenderErrorText(RenderDevice& d) { return d.lastErrorText; }
