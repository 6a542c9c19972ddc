// The camera's larger moves: the turn and zoom animations with their undo, the four preset views,
// re-targeting on a point of the view, the automatic view adjustment and the cheat-mode walk.
//
// Index: [SECTION] Helpers  [SECTION] Animations  [SECTION] Jumps  [SECTION] Automatic view
#include <algorithm>
#include <cmath>

#include "edit/Camera.h"
#include "edit/Picking.h"
#include "scene/Movement.h"
#include "platform/window.h"
#include "render/RenderDevice.h"
#include "render/SceneRenderer.h"
#include "scene/BlockList.h"
#include "scene/SceneList.h"
#include "scene/SceneView.h"
#include "sound/Sounds.h"

// [SECTION] Helpers

namespace {

Vec3 scaled(Vec3 v, float s) { return Vec3{v.x * s, v.y * s, v.z * s}; }

void redrawWholeView() {
  sceneRenderer.fullRedrawPending = 1;
  redrawNow();
}

bool isInput(Msg m) {
  switch (m) {
    case Msg::KeyDown: case Msg::KeyUp: case Msg::SysKeyDown: case Msg::Char: case Msg::MouseMove:
    case Msg::LButtonDown: case Msg::LButtonUp: case Msg::LButtonDblClk: case Msg::RButtonDown:
    case Msg::RButtonUp: case Msg::RButtonDblClk:
      return true;
    default:
      return false;
  }
}

// Clicks and keys made while the view turns are dropped; anything else is still handled, and a quit
// request is kept for the main loop.
void discardPendingInput() {
  if (!editState.editScreen) return;
  Message m;
  bool quit = false;
  int exitCode = 0;
  while (peekMessage(m)) {
    if (m.msg == Msg::Quit) {
      quit = true;
      exitCode = m.code;
      break;
    }
    if (!isInput(m.msg)) dispatchMessage(m);
  }
  if (quit) postQuitMessage(exitCode);
}

void placeAfterJump() {
  updateCamera();
  applyCamera();
  resetCameraProbe();
}

}  // namespace

// [SECTION] Animations

void turnAnimation(int total, int step) {
  if (step == 0) return;
  const int n = total / step;
  if (n < 0) return;
  EditState& e = editState;
  e.undoAction = UndoCameraTurn;
  e.undoCamera = {total, step};
  if (editState.sound) playEffect(*editState.sound, EffectId::CameraTurn);
  for (int i = 0; i < n; ++i) {
    if (!tentativeCameraMove([step] { sceneView.azimuth = wrapAzimuth(sceneView.azimuth + step); })) break;
    redrawWholeView();
    if (editState.sound) playEffect(*editState.sound, EffectId::CameraTurn);
    discardPendingInput();
  }
}

void zoomAnimation(int direction) {
  direction = direction < 0 ? -1 : 1;
  editState.undoAction = direction < 0 ? UndoZoomIn : UndoZoomOut;
  for (int i = 0; i < 8; ++i) {
    if (!tentativeCameraMove([direction] { sceneView.distance += 4.0f * direction; })) break;
    redrawWholeView();
    if (editState.sound) playEffect(*editState.sound, EffectId::CameraTurn);
  }
}

bool undoCameraMove() {
  const EditState& e = editState;
  switch (e.undoAction) {
    case UndoCameraTurn: turnAnimation(-e.undoCamera[0], -e.undoCamera[1]); return true;
    case UndoZoomIn: zoomAnimation(+1); return true;
    case UndoZoomOut: zoomAnimation(-1); return true;
    default: return false;
  }
}

// [SECTION] Jumps

void presetView(int n) {
  struct Preset {
    float azimuth, polar, distance;
  };
  static constexpr Preset kPresets[4] = {{220, 30, 140}, {180, 1, 170}, {180, 89, 170}, {270, 89, 170}};
  if (n < 1 || n > 4) return;
  sceneView.target = Vec3{0, 30, 0};
  sceneView.azimuth = kPresets[n - 1].azimuth;
  sceneView.polar = kPresets[n - 1].polar;
  sceneView.distance = kPresets[n - 1].distance;
  placeAfterJump();
  redrawWholeView();
  if (editState.sound) playEffect(*editState.sound, EffectId::ViewChange);
}

Vec3 viewRayDirection(int x, int y) {
  const EditState& e = editState;
  const float w = static_cast<float>(std::max(renderDevice.clientWidth, 1));
  const float ht = static_cast<float>(std::max(renderDevice.clientHeight, 1));
  const float sx = (x - w / 2) * 0.75f / w, sy = -(y - ht / 2) * 0.75f / ht;
  return e.forward + scaled(e.up, sy) + scaled(e.right, sx);
}

Vec3 rayToPlane(int x, int y, float h) {
  const Vec3 start = editState.eye - editState.forward;
  const Vec3 d = viewRayDirection(x, y);
  // A ray running level never meets the plane: take the point straight below or above the start.
  if (std::fabs(d.y) < 1e-6f) return Vec3{start.x, h, start.z};
  const float t = (h - start.y) / d.y;
  return start + scaled(d, t);
}

Block* nearestBlockUnder(int x, int y, float& depth) {
  Block* nearest = nullptr;
  depth = kFloatMax;
  for (const auto& node : scene.nodes) {
    Block& block = *node->block;
    if (block.kind == BasePlate || !block.screenRect.contains(x, y)) continue;
    int face = 0;
    const float d = pickFace(block, Rect{x, y, x, y}, face);
    if (d < depth) {
      depth = d;
      nearest = &block;
    }
  }
  return nearest;
}

Block* blockUnderPointer(int x, int y) {
  if (sceneView.polar > 90) return nullptr;
  float depth = 0;
  return nearestBlockUnder(x, y, depth);
}

void lookAt(int x, int y) {
  if (Block* block = blockUnderPointer(x, y)) {
    sceneView.target = block->position;
  } else {
    const Vec3 p = rayToPlane(x, y, 0);
    sceneView.target = Vec3{std::clamp(p.x, -60.0f, 60.0f), p.y, std::clamp(p.z, -90.0f, 90.0f)};
  }
  placeAfterJump();
  sceneRenderer.fullRedrawPending = 1;
  if (editState.sound) playEffect(*editState.sound, EffectId::ViewChange);
  selectedBlock = nullptr;
}

void walkCamera(int type) {
  releaseHold();
  const Vec3 step = scaled(editState.forward, 10);
  switch (type) {
    case 0: sceneView.target.x += step.x; sceneView.target.z += step.z; break;
    case 1: sceneView.target.x -= step.x; sceneView.target.z -= step.z; break;
    case 2: sceneView.azimuth = wrapAzimuth(sceneView.azimuth + 10); break;
    case 3: sceneView.azimuth = wrapAzimuth(sceneView.azimuth - 10); break;
    default: return;
  }
  placeAfterJump();
  redrawWholeView();
  if (editState.sound) playEffect(*editState.sound, EffectId::CameraTurn);
}

// [SECTION] Automatic view

namespace {

struct ViewGap {
  Vec3 p, b;
  float l = 0, horizontal = 0;
  float ratio() const { return horizontal > 0 ? l / horizontal : kFloatMax; }
};

ViewGap measureGap(const Block* held) {
  ViewGap g;
  g.p = editState.eye - scaled(editState.forward, 10);
  g.b = held ? held->position : Vec3{};
  g.l = std::fabs(g.p.y - g.b.y);
  g.horizontal = std::hypot(g.p.x - g.b.x, g.p.z - g.b.z);
  return g;
}

}  // namespace

void autoViewAdjust(float rise, float slope) {
  EditState& e = editState;
  const Block* held = e.holding ? (e.pickedBlock ? e.pickedBlock : listFirst(MovingSet)) : nullptr;
  ViewGap g = measureGap(held);
  if ((!held || g.ratio() >= 0.3f) && g.p.y >= g.b.y) return;
  releaseHold();
  redrawWholeView();
  const HCursor previous = setCursor(loadCursor("CANNOT"));
  // Each pass raises the eye by at least 6, so the climb ends; the bound only guards damaged values.
  for (int pass = 0; pass < 100000 && g.p.y < g.b.y + rise; ++pass) {
    sceneView.target.y += std::max(6.0f, std::trunc(g.l * 0.25f));
    placeAfterJump();
    g = measureGap(held);
  }
  // The view steepens until the block is seen from above enough, but never past straight down.
  while (g.ratio() < slope && sceneView.polar > 1) {
    sceneView.polar = std::max(sceneView.polar - 6, 1.0f);
    placeAfterJump();
    g = measureGap(held);
  }
  setCursor(previous);
  sceneRenderer.fullRedrawPending = 1;
  e.deltaX = 0;
  e.deltaY = 0;
}
