// The program's start of the 3D view over the rendering framework: the command-line words, the sky
// picture and the viewport the program draws into.
#pragma once

#include <string>

#include "platform/device3d.h"
#include "platform/window.h"

struct RenderDevice;

// The program's viewport over a client area: the picture is scaled by two thirds of the size on each axis.
ViewportData programViewport(int width, int height);
// The fixed view matrix (eye one unit back) and the projection the program renders with; the camera goes
// into the world matrix.
void programViewMatrices(D3DMatrix& view, D3DMatrix& projection);

// Start the 3D view in window with the program's command line ("-systemmemory", "-emulation"). The sky
// picture "<dataRoot>scene\sky.ppm" is registered first. False after the failure was reported.
bool startRenderView(RenderDevice& d, HWindow window, const std::string& commandLine, const std::string& dataRoot);

// The application's own report of a failure: the text goes into the last error, and the next show
// presents the whole window.
void reportRenderFailure(RenderDevice& d, const char* format, ...);
