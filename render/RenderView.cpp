// The program's start of the 3D view: command line, sky picture, the framework start-up with the view
// callbacks, the render state the program runs with, and the one-time shut-down.
#include "render/RenderView.h"

#include <cstdarg>
#include <cstdio>

#include "render/RenderDevice.h"
#include "render/Textures.h"

namespace {

struct ViewRecord {
  HWindow window = nullptr;
  bool shutDownDone = false;
  ViewHooks hooks;
};
ViewRecord view;

bool createViewCallback(int width, int height, ViewportHandle& viewport, void*) {
  RenderDevice& d = renderDevice;
  HResult result = createViewport(*d.direct3D, viewport);
  if (failed(result)) {
    reportRenderFailure("Create D3D viewport failed.\n%s", resultText(result));
    shutDownApp();
    return false;
  }
  result = addViewport(*d.device, viewport);
  if (failed(result)) {
    reportRenderFailure("Add D3D viewport failed.\n%s", resultText(result));
    shutDownApp();
    return false;
  }
  result = setViewport(*d.direct3D, viewport, programViewport(width, height));
  if (failed(result)) {
    reportRenderFailure("SetViewport failed.\n%s", resultText(result));
    shutDownApp();
    return false;
  }
  if (view.hooks.initView) {
    const std::vector<TextureHandle> handles = textureHandles();
    if (!view.hooks.initView(*d.direct3D, *d.device, viewport, static_cast<int>(handles.size()), handles.data())) {
      reportRenderFailure("InitView failed.\n");
      shutDownApp();
      return false;
    }
  }
  return true;
}

bool releaseViewCallback(void*) {
  if (view.hooks.releaseViewObjects) view.hooks.releaseViewObjects();
  return true;
}

}  // namespace

void setViewHooks(const ViewHooks& hooks) { view.hooks = hooks; }

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

void reportRenderFailure(const char* format, ...) {
  char text[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  setRenderError(renderDevice.lastError, "%s", text);
  showWholeWindowNext();
}

bool startRenderView(HWindow window, const std::string& commandLine, const std::string& dataRoot) {
  const ViewHooks hooks = view.hooks;
  view = ViewRecord{};
  view.window = window;
  view.hooks = hooks;
  // A view starts with its background picture as the only one registered, whatever an earlier view left.
  releaseAllTextures();
  renderDevice.textures = TextureTable{};
  if (!registerTexture(dataRoot + "scene\\sky.ppm")) {
    reportRenderFailure("%s", renderDevice.lastErrorText.c_str());
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
        reportRenderFailure("Invalid command line options given.\nLegal options: -systemmemory, -emulation\n");
        return false;
      }
    } else {
      token.push_back(c);
    }
  }
  if (!startRenderDevice(window, createViewCallback, nullptr, releaseViewCallback)) {
    reportRenderFailure("%s", renderDevice.lastErrorText.c_str());
    return false;
  }
  RenderStateRecord state = renderDevice.renderState;
  state.zBufferOn = true;
  state.shadeMode = D3DSHADE_PHONG;
  if (!applyRenderState(&state)) {
    reportRenderFailure("%s", renderDevice.lastErrorText.c_str());
    return false;
  }
  // Windows here have no title bar, so the main window's title "Tolvane" has nowhere to show.
  return true;
}

bool shutDownHasRun() { return view.shutDownDone; }

void shutDownApp() {
  if (view.shutDownDone) return;
  view.shutDownDone = true;
  if (!shutDownRenderDevice()) reportRenderFailure("%s", renderDevice.lastErrorText.c_str());
  postQuitMessage(0);
}
