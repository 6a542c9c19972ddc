// What the editing tests share: an editor over a world, renderer, device and sounds of its own, either
// without a view or over a drawn 3D view of a scene the test builds, the camera set through the program's
// own orbit camera.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "edit/Camera.h"
#include "edit/EditState.h"
#include "edit/Editor.h"
#include "edit/Picking.h"
#include "platform/headless.h"
#include "render/SceneTestView.h"
#include "scene/Movement.h"
#include "scene/SceneFlags.h"
#include "sound/Sounds.h"

// Look at the target from the given angles through the orbit camera, as a loaded scene does.
inline void lookFrom(Editor& ed, float azimuth, float polar, float distance, Vec3 target = {0, 0, 0}) {
  SceneView& v = ed.world.view;
  v.azimuth = azimuth;
  v.polar = polar;
  v.distance = distance;
  v.target = target;
  v.lightPosition = {0, 30, 0};
  v.lightDirection = {0.3f, -0.8f, 0.5f};
  cameraStartOfView(ed);
}

// An editor whose renderer has no view: the camera, the keys and the undo work, nothing is drawn or picked.
struct EditorKit {
  RenderDevice device;
  SceneRenderer renderer{device};
  World world;
  SoundState sound;
  Editor ed{world, renderer, device, sound};

  Block* put(const BlockDescription& d, NewBlockOptions options = {}) { return putBlockInScene(world, d, options); }
};

// A view of 320 x 240 whose start content is the test's scene on a 10 x 10 plate, seen from above at an
// angle; the first frame has drawn it, so every block knows where it is on the screen.
struct EditView {
  static constexpr int kWidth = 320, kHeight = 240;
  SceneTestView screen{kWidth, kHeight};
  SoundState sound;
  Editor ed{screen.world, screen.renderer, screen.device, sound};
  World& world = screen.world;
  bool started = false;

  EditView() = default;
  explicit EditView(const std::function<void(World&)>& build) { open(build); }

  bool open(const std::function<void(World&)>& build) {
    started = screen.start([this, &build](SceneTestView& v) {
      v.put(plateDescription(10, 10), NewBlockOptions{true, false});
      build(v.world);
      lookFrom(ed, 220, 40, 80);
      return true;
    });
    if (started) screen.frame();
    return started;
  }

  // The editing step of a frame, then the frame drawn. (Which conditions the frame loop draws under is
  // the shell's business; these frames draw the scene.)
  bool frame() {
    editFrameStep(ed);
    return screen.frame();
  }

  // Where a world point lands in the view, as whole pixels.
  Point screenOf(Vec3 p) {
    const Vec3 s = screen.project(p);
    return Point{static_cast<int>(s.x), static_cast<int>(s.y)};
  }
};

// Hold a block's stack with the left button down, as a pick in the view leaves it.
inline void holdWithButtonDown(Editor& ed, Block* block) {
  ed.state.holding = true;
  ed.state.buttonDown = true;
  ed.world.movement.leftDrag = true;
  ed.state.pickedBlock = block;
  ed.world.selectedBlock = block;
  collectStack(ed.world, ed.world.movingSet, block);
}
