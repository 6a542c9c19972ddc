// A 3D view window with a render device of its own, started through the program's own start entry, with
// a one-colour sky picture in a temporary data folder made the viewport's background.
#pragma once

#include <string>

#include "platform/window.h"
#include "render/RenderDevice.h"
#include "render/RenderView.h"
#include "render/Textures.h"
#include "support/TestSupport.h"

struct RenderTestView {
  TempFolder data;
  RenderDevice device;
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
    started = startRenderView(device, window, commandLine, data.path() + "/") && useSkyAsBackground();
  }
  ~RenderTestView() {
    shutDownRenderDevice(device);
    if (window) destroyWindow(window);
  }
  RenderTestView(const RenderTestView&) = delete;
  RenderTestView& operator=(const RenderTestView&) = delete;

  // The sky picture (texture entry 0) behind everything, so that a clear paints it.
  bool useSkyAsBackground() {
    MaterialHandle background = 0;
    if (failed(createMaterial(*device.direct3D, background))) return false;
    const std::vector<TextureHandle> handles = textureHandles(device);
    Material3D m;
    m.texture = handles.empty() ? 0 : handles[0];
    setMaterial(*device.direct3D, background, m);
    return setViewportBackground(*device.direct3D, device.viewport, background) == kResultOk;
  }
};
