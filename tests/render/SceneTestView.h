// A 3D view started through the program's own start entry with the scene renderer installed; the test
// gives the start content (normally the scene files) as a function. Everything the view and the scene
// made is cleared again afterwards.
#pragma once

#include <functional>
#include <string>

#include <cmath>

#include "platform/window.h"
#include "render/RenderDevice.h"
#include "render/RenderView.h"
#include "render/SceneRenderer.h"
#include "scene/BlockList.h"
#include "scene/MaterialTable.h"
#include "scene/SceneList.h"
#include "scene/SceneView.h"
#include "support/TestSupport.h"

inline void clearSceneState() {
  sceneClear();
  sweepClearIndex();
  resetMaterialTable();
  listClear(MovingSet);
  selectedBlock = nullptr;
  basePlate = nullptr;
}

// The renderer alone as the view's start hooks.
inline void installPlainRenderer() {
  sceneRenderer.hooks = SceneRendererHooks{};
  ViewHooks hooks;
  hooks.initView = InitView;
  hooks.releaseViewObjects = releaseViewObjects;
  setViewHooks(hooks);
}

struct SceneTestView {
  TempFolder data;
  HWindow window = nullptr;
  bool started = false;

  SceneTestView(int width, int height, std::function<bool()> load,
                const std::function<void()>& install = installPlainRenderer) {
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
    clearSceneState();
    sceneRenderer.startContentLoaded = false;
    install();
    sceneRenderer.hooks.loadStartContent = std::move(load);
    renderDevice.textures.count = 0;
    started = startRenderView(window, "", data.path() + "/");
  }
  ~SceneTestView() {
    shutDownRenderDevice();
    renderDevice.textures.count = 0;
    clearSceneState();
    setViewHooks(ViewHooks{});
    sceneRenderer.hooks = SceneRendererHooks{};
    sceneRenderer.startContentLoaded = false;
    if (window) destroyWindow(window);
  }
};

struct TestEye {
  Vec3 eye, forward;
};
inline TestEye testEye;

// The camera the tests look through (by default from above at an angle, the plate filling most of the
// view): an eye on a sphere around the target, y up, as the program's orbit camera places it.
inline void setTestCamera(float azimuth = 220, float polar = 40, float distance = 70, Vec3 target = {0, 0, 0}) {
  sceneView.lightPosition = {0, 30, 0};
  sceneView.lightDirection = {0.3f, -0.8f, 0.5f};
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
  setCamera(eye, forward, up, right);
  testEye = TestEye{eye, forward};
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
