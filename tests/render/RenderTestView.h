// A 3D view window started through the program's own start entry, with a one-colour sky picture in a
// temporary data folder and a view hook that makes the sky the viewport's background.
#pragma once

#include <string>

#include "platform/window.h"
#include "render/RenderDevice.h"
#include "render/RenderView.h"
#include "support/TestSupport.h"

struct RenderTestView {
  TempFolder data;
  HWindow window = nullptr;
  bool started = false;
  uint16_t skyColour = rgb565(80, 160, 240);

  RenderTestView(int width, int height, const std::string& commandLine = "") {
    if (!isClassRegistered("RenderTestView")) {
      WindowClass c;
      c.name = "RenderTestView";
      c.proc = [](HWindow w, const Message& m) { return defWindowProc(w, m); };
      registerClass(c);
    }
    std::string sky = "P6\n2 2\n255\n";
    for (int i = 0; i < 4; ++i) sky += std::string{char(80), char(160), char(240)};
    data.write("scene/sky.ppm", sky);
    window = createWindow("RenderTestView", "", false, 0, 0, width, height, nullptr);
    ViewHooks hooks;
    hooks.initView = [](Direct3D& d3d, Device3D&, ViewportHandle viewport, int count, const TextureHandle* handles) {
      MaterialHandle background = 0;
      createMaterial(d3d, background);
      Material3D m;
      m.texture = count > 0 ? handles[0] : 0;
      setMaterial(d3d, background, m);
      return setViewportBackground(d3d, viewport, background) == kResultOk;
    };
    setViewHooks(hooks);
    renderDevice.textures.count = 0;
    started = startRenderView(window, commandLine, data.path() + "/");
  }
  ~RenderTestView() {
    shutDownRenderDevice();
    renderDevice.textures.count = 0;
    setViewHooks(ViewHooks{});
    if (window) destroyWindow(window);
  }
};
