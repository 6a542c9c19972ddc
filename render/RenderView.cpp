// The program's start of the 3D view: command line, sky picture, the framework start-up with the program's
// viewport, and the render state the program runs with.
#include "render/RenderView.h"

#include <cstdarg>
#include <cstdio>

#include "render/RenderDevice.h"
#include "render/Textures.h"

ViewportData programViewport(int width, int height) {
  ViewportData data;
  data.x = 0;
  data.y = 0;
  data.width = width;
  data.height = height;
  data.scaleX = width * 0.6666667f;
  data.scaleY = height * 0.6666667f;
  data.maxX = width / (2 * data.scaleX);
  data.maxY = height / (2 * data.scaleY);
  data.minZ = 0;
  data.maxZ = 0;
  return data;
}

void programViewMatrices(D3DMatrix& view, D3DMatrix& projection) {
  view = D3DMatrix{};
  view.m[3][2] = 1;
  projection = D3DMatrix{};
  projection.m[0][0] = 2;
  projection.m[1][1] = 2;
  projection.m[2][3] = 1;
  projection.m[3][2] = -1;
  projection.m[3][3] = 0;
}

void reportRenderFailure(RenderDevice& d, const char* format, ...) {
  char text[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  setRenderError(d, d.lastError, "%s", text);
  showWholeWindowNext(d);
}

bool startRenderView(RenderDevice& d, HWindow window, const std::string& commandLine, const std::string& dataRoot) {
  // A view starts with its background picture as the only one registered, whatever an earlier view left.
  releaseAllTextures(d);
  d.textures = TextureTable{};
  if (!registerTexture(d, dataRoot + "scene\\sky.ppm")) {
    reportRenderFailure(d, "%s", d.lastErrorText.c_str());
    return false;
  }
  // Tokens are split at blanks and hyphens; both words are still accepted, though they change nothing.
  std::string token;
  auto checkToken = [&token]() {
    const bool ok = token.empty() || token == "systemmemory" || token == "emulation";
    token.clear();
    return ok;
  };
  for (size_t i = 0; i <= commandLine.size(); ++i) {
    const char c = i < commandLine.size() ? commandLine[i] : ' ';
    if (c == ' ' || c == '-' || c == '\t') {
      if (!checkToken()) {
        reportRenderFailure(d, "Invalid command line options given.\nLegal options: -systemmemory, -emulation\n");
        return false;
      }
    } else {
      token.push_back(c);
    }
  }
  if (!startRenderDevice(d, window, programViewport)) {
    reportRenderFailure(d, "%s", d.lastErrorText.c_str());
    return false;
  }
  RenderStateRecord state = d.renderState;
  state.zBufferOn = true;
  state.shadeMode = D3DSHADE_PHONG;
  if (!applyRenderState(d, &state)) {
    reportRenderFailure(d, "%s", d.lastErrorText.c_str());
    return false;
  }
  // Windows here have no title bar, so the main window's title "Tolvane" has nowhere to show.
  return true;
}
