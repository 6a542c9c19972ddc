// What the editing tests share: a drawn 3D view looking at a scene the test builds, the camera set through
// the program's own orbit camera, and the editing record reset before and after.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "edit/Camera.h"
#include "edit/EditState.h"
#include "edit/Picking.h"
#include "platform/headless.h"
#include "render/SceneTestView.h"
#include "scene/Movement.h"
#include "scene/SceneFlags.h"

inline void resetEditing() {
  editState = EditState{};
  movement = MovementState{};
  gameFlags = GameFlags{};
  editHooks = EditHooks{};
  cheatMode = false;
}

// Look at the target from the given angles through the orbit camera, as a loaded scene does.
inline void lookFrom(float azimuth, float polar, float distance, Vec3 target = {0, 0, 0}) {
  sceneView.azimuth = azimuth;
  sceneView.polar = polar;
  sceneView.distance = distance;
  sceneView.target = target;
  sceneView.lightPosition = {0, 30, 0};
  sceneView.lightDirection = {0.3f, -0.8f, 0.5f};
  cameraStartOfView();
}

// A view of 320 x 240 whose start content is the test's scene on a 10 x 10 plate, seen from above at an
// angle; the first frame has drawn it, so every block knows where it is on the screen.
struct EditView : SceneTestView {
  static constexpr int kWidth = 320, kHeight = 240;
  explicit EditView(std::function<void()> build)
      : SceneTestView(kWidth, kHeight, [build] {
          putBlockInScene(plateDescription(10, 10), NewBlockOptions{true, false});
          build();
          lookFrom(220, 40, 80);
          return true;
        }) {
    if (started) frameStep();
  }
};

// Where a world point lands in the view, as whole pixels.
inline Point screenOf(Vec3 p) {
  const Vec3 s = projectPoint(p.x, p.y, p.z);
  return Point{static_cast<int>(s.x), static_cast<int>(s.y)};
}

// Hold a block's stack with the left button down, as a pick in the view leaves it.
inline void holdWithButtonDown(Block* block) {
  editState.holding = true;
  editState.buttonDown = true;
  movement.leftDrag = true;
  editState.pickedBlock = block;
  selectedBlock = block;
  collectStack(MovingSet, block);
}
