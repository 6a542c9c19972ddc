// The program's start of the 3D view over the rendering framework: the command-line words, the sky
// picture, the viewport the view callback makes, and `shutDownApp`.
#pragma once

#include <functional>
#include <string>

#include "platform/device3d.h"
#include "platform/window.h"

// What the scene renderer does when the view is made and released. Without an initView the view starts
// with nothing drawn yet.
struct ViewHooks {
  std::function<bool(Direct3D& direct3D, Device3D& device, ViewportHandle viewport, int textureCount,
                     const TextureHandle* textureHandles)>
      initView;
  std::function<void()> releaseViewObjects;
};
void setViewHooks(const ViewHooks& hooks);

// The program's viewport over a client area: the picture is scaled by two thirds of the size on each axis.
ViewportData programViewport(int width, int height);
// The fixed view matrix (eye one unit back) and the projection the program renders with; the camera goes
// into the world matrix.
void programViewMatrices(D3DMatrix& view, D3DMatrix& projection);

// Start the 3D view in window with the program's command line ("-systemmemory", "-emulation"). The sky
// picture "<dataRoot>scene\sky.ppm" is registered first. False after the failure was reported.
bool startRenderView(HWindow window, const std::string& commandLine, const std::string& dataRoot);

// The application's own report of a failure: the text goes into the last error, and the next show
// presents the whole window.
void reportRenderFailure(const char* format, ...);

// Shut the framework down and post the quit message; only the first call does anything (until the view
// is started again).
void shutDownApp();
bool shutDownHasRun();
