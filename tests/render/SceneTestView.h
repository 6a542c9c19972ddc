// A 3D view with a render device, a scene renderer and a world of its own, started in the order the shell
// starts one; the test gives the start content as a function. Also the test camera and the descriptions
// of the blocks the scene tests build.
#pragma once

#include <cmath>
#include <functional>
#include <string>

#include "platform/window.h"
#include "render/RenderDevice.h"
#include "render/RenderView.h"
#include "render/SceneRenderer.h"
#include "render/Textures.h"
#include "scene/BlockList.h"
#include "scene/SceneList.h"
#include "scene/World.h"
#include "support/TestSupport.h"

struct SceneTestView {
  TempFolder data;
  RenderDevice device;
  SceneRenderer renderer{device};
  World world;
  HWindow window = nullptr;
  bool started = false;
  // The path the latest frame took.
  FramePath lastPath = FramePath::Nothing;

  // The window and the sky picture; the view starts with start().
  SceneTestView(int width, int height) {
    if (!isClassRegistered("SceneTestView")) {
      WindowClass c;
      c.name = "SceneTestView";
      c.proc = [](HWindow w, const Message& m) { return defWindowProc(w, m); };
      registerClass(c);
    }
    std::string sky = "P6\n2 2\n255\n";
    for (int i = 0; i < 4; ++i) sky += std::string{char(80), char(160), char(240)};
    data.write("scene/sky.ppm", sky);
    window = createWindow("SceneTestView", "", false, 0, 0, width, height, nullptr);
  }
  SceneTestView(int width, int height, const std::function<bool(SceneTestView&)>& load)
      : SceneTestView(width, height) {
    start(load);
  }
  ~SceneTestView() {
    releaseViewObjects(renderer);
    shutDownRenderDevice(device);
    if (window) destroyWindow(window);
  }
  SceneTestView(const SceneTestView&) = delete;
  SceneTestView& operator=(const SceneTestView&) = delete;

  // The device, the renderer on it with the world's materials, the content, then the lights it names.
  bool start(const std::function<bool(SceneTestView&)>& load) {
    started = false;
    if (!startRenderView(device, window, "", data.path() + "/")) return false;
    attachWorld(renderer, world);
    const std::vector<TextureHandle> handles = textureHandles(device);
    if (!InitView(renderer, *device.direct3D, *device.device, device.viewport, static_cast<int>(handles.size()),
                  handles.data()))
      return false;
    if (load && !load(*this)) return false;
    started = startSceneView(renderer, world);
    return started;
  }

  // One frame as the frame loop draws it: clear, draw, present what changed.
  bool frame(const FrameConditions& c = {}) {
    if (!beginFrame(renderer, c)) return false;
    lastPath = drawFrame(renderer, world, c);
    return presentFrame(renderer, renderer.frameExtent);
  }

  Block* put(const BlockDescription& d, NewBlockOptions options = {}) { return putBlockInScene(world, d, options); }
  Vec3 project(Vec3 p) { return projectPoint(renderer, p.x, p.y, p.z); }
};

struct TestEye {
  Vec3 eye, forward;
};

// The camera the tests look through (by default from above at an angle, the plate filling most of the
// view): an eye on a sphere around the target, y up, as the program's orbit camera places it. The world's
// lights are set too; a view started afterwards is lit by them.
inline TestEye setTestCamera(SceneTestView& v, float azimuth = 220, float polar = 40, float distance = 70,
                             Vec3 target = {0, 0, 0}) {
  v.world.view.lightPosition = {0, 30, 0};
  v.world.view.lightDirection = {0.3f, -0.8f, 0.5f};
  const double a = azimuth * M_PI / 180, p = polar * M_PI / 180;
  const Vec3 toEye{float(std::sin(p) * std::cos(a)), float(std::cos(p)), float(std::sin(p) * std::sin(a))};
  const Vec3 forward{-toEye.x, -toEye.y, -toEye.z};
  double ux = -std::sin(p) * std::cos(a), uy = 1 / std::cos(p) - std::cos(p), uz = -std::sin(p) * std::sin(a);
  const double n = std::sqrt(ux * ux + uy * uy + uz * uz);
  const Vec3 up{float(ux / n), float(uy / n), float(uz / n)};
  const Vec3 right{up.y * forward.z - up.z * forward.y, up.z * forward.x - up.x * forward.z,
                   up.x * forward.y - up.y * forward.x};
  const float d = distance - 1;
  const Vec3 eye{target.x + toEye.x * d, target.y + toEye.y * d, target.z + toEye.z * d};
  setCamera(v.renderer, eye, forward, up, right);
  return TestEye{eye, forward};
}

inline BlockDescription brickAt(float x, float y, float z, std::array<float, 4> colour, int studsX = 2, int studsZ = 2,
                                int height = 1) {
  BlockDescription d;
  d.kind = Brick;
  d.studsX = studsX;
  d.studsZ = studsZ;
  d.height = height;
  d.position = {x, y, z};
  d.colour = colour;
  d.faceTextures.fill(-1);  // no pictures
  return d;
}

inline BlockDescription plateDescription(int studsX, int studsZ) {
  BlockDescription d;
  d.kind = BasePlate;
  d.studsX = studsX;
  d.studsZ = studsZ;
  d.height = 1;
  d.colour = {0.2f, 0.6f, 0.2f, 1};
  d.faceTextures.fill(-1);
  return d;
}
