// The rendering framework's error texts: result codes to sentences, and the last-error record.
#include <cstdarg>
#include <cstdio>

#include "render/RenderDevice.h"

const char* D3DAppErrorText(HResult code) {
  switch (code) {
    case DD_OK: return "No error.";
    case DDERR_GENERIC: return "Generic failure.";
    case DDERR_INVALIDPARAMS: return "One or more of the parameters passed to the function are incorrect.";
    case DDERR_INVALIDRECT: return "The rectangle given lies partly outside the surface or is inverted.";
    case DDERR_OUTOFMEMORY:
    case DDERR_OUTOFVIDEOMEMORY: return "DirectDraw does not have enough memory to perform the operation.";
    case DDERR_UNSUPPORTED: return "Action not supported.";
    case DDERR_SURFACELOST:
      return "Access to this surface is being refused because the surface memory is gone. The DirectDrawSurface "
             "object representing this surface should have Restore called on it.";
    case DDERR_SURFACEBUSY: return "The surface is locked and cannot be used until it is unlocked.";
    case DDERR_NOTLOCKED: return "The surface cannot be unlocked because it is not locked.";
    case DDERR_WASSTILLDRAWING: return "A previous copy to or from the surface has not finished yet.";
    case DDERR_INVALIDOBJECT: return "The display object has not been created.";
    case DDERR_NOCOLORKEY: return "The surface has no colour key to copy with.";
    case DDERR_INVALIDPIXELFORMAT: return "The pixel format cannot be used for this surface.";
    case DDERR_SURFACEALREADYATTACHED: return "The surface is attached already.";
    case DDERR_INVALIDMODE: return "The display cannot be set to the requested mode.";
    case DDERR_NOZBUFFERHW: return "Depth surfaces cannot be used for this copy.";
    case DDERR_NOTFOUND: return "The requested item does not exist.";
    case DDERR_CANTCREATEDC: return "No drawing context can be made for the surface.";
    case D3DERR_BADMAJORVERSION: return "D3DERR_BADMAJORVERSION";
    case D3DERR_INVALID_DEVICE: return "D3DERR_INVALID_DEVICE";
    case D3DERR_EXECUTE_CREATE_FAILED: return "D3DERR_EXECUTE_CREATE_FAILED";
    case D3DERR_EXECUTE_LOCKED: return "D3DERR_EXECUTE_LOCKED";
    case D3DERR_EXECUTE_NOT_LOCKED: return "D3DERR_EXECUTE_NOT_LOCKED";
    case D3DERR_EXECUTE_FAILED: return "D3DERR_EXECUTE_FAILED";
    case D3DERR_TEXTURE_NO_SUPPORT: return "D3DERR_TEXTURE_NO_SUPPORT";
    case D3DERR_TEXTURE_CREATE_FAILED: return "D3DERR_TEXTURE_CREATE_FAILED";
    case D3DERR_TEXTURE_LOAD_FAILED: return "D3DERR_TEXTURE_LOAD_FAILED";
    case D3DERR_TEXTURE_BADSIZE: return "D3DERR_TEXTURE_BADSIZE";
    case D3DERR_MATRIX_CREATE_FAILED: return "D3DERR_MATRIX_CREATE_FAILED";
    case D3DERR_MATRIX_SETDATA_FAILED: return "D3DERR_MATRIX_SETDATA_FAILED";
    case D3DERR_MATERIAL_CREATE_FAILED: return "D3DERR_MATERIAL_CREATE_FAILED";
    case D3DERR_MATERIAL_SETDATA_FAILED: return "D3DERR_MATERIAL_SETDATA_FAILED";
    case D3DERR_LIGHT_SET_FAILED: return "D3DERR_LIGHT_SET_FAILED";
    case D3DERR_SETVIEWPORTDATA_FAILED: return "D3DERR_SETVIEWPORTDATA_FAILED";
    case D3DERR_VIEWPORTDATANOTSET: return "D3DERR_VIEWPORTDATANOTSET";
    case D3DERR_SCENE_IN_SCENE: return "D3DERR_SCENE_IN_SCENE";
    case D3DERR_SCENE_NOT_IN_SCENE: return "D3DERR_SCENE_NOT_IN_SCENE";
    case D3DERR_SCENE_BEGIN_FAILED: return "D3DERR_SCENE_BEGIN_FAILED";
    case D3DERR_SCENE_END_FAILED: return "D3DERR_SCENE_END_FAILED";
    case D3DERR_INBEGIN: return "D3DERR_INBEGIN";
    case D3DERR_NOTINBEGIN: return "D3DERR_NOTINBEGIN";
    case D3DERR_INVALIDHANDLE: return "D3DERR_INVALIDHANDLE";
    case D3DERR_VIEWPORTHASNODEVICE: return "D3DERR_VIEWPORTHASNODEVICE";
    case D3DERR_ZBUFF_NEEDS_SYSTEMMEMORY: return "D3DERR_ZBUFF_NEEDS_SYSTEMMEMORY";
    default: return "Unrecognized error value.";
  }
}

void setRenderError(HResult code, const char* format, ...) {
  char text[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  std::string message(text);
  // A text passed on from an earlier failure already ends in CR LF; it gets only one.
  if (message.size() >= 2 && message.compare(message.size() - 2, 2, "\r\n") == 0) message.resize(message.size() - 2);
  if (message.size() > 254) message.resize(254);
  renderDevice.lastError = code;
  renderDevice.lastErrorText = message + "\r\n";
}

const std::string& D3DAppLastErrorText() { return renderDevice.lastErrorText; }
