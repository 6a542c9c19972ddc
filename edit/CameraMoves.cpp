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

// The next frame draws the whole view from the new camera.
void redrawWholeView(Editor& ed) { ed.renderer.fullRedrawPending = 1; }

void placeAfterJump(Editor& ed) {
  updateCamera(ed);
  applyCamera(ed);
  resetCameraProbe(ed);
}

}  // namespace

// [SECTION] Animations

void turnAnimation(Editor& ed, int total, int step) {
  if (step == 0) return;
  const int n = total / step;
  if (n < 0) return;
  EditState& e = ed.state;
  e.undoAction = UndoCameraTurn;
  e.undoCamera = {total, step};
  playEffect(ed.sound, EffectId::CameraTurn);
  e.animation = CameraAnimation{n > 0 ? CameraAnimation::Kind::Turn : CameraAnimation::Kind::None, n, step};
}

void zoomAnimation(Editor& ed, int direction) {
  direction = direction < 0 ? -1 : 1;
  ed.state.undoAction = direction < 0 ? UndoZoomIn : UndoZoomOut;
  ed.state.animation = CameraAnimation{CameraAnimation::Kind::Zoom, 8, direction};
}

bool advanceCameraAnimation(Editor& ed) {
  CameraAnimation& a = ed.state.animation;
  if (a.kind == CameraAnimation::Kind::None) return false;
  const SceneView& v = ed.world.view;
  const bool turn = a.kind == CameraAnimation::Kind::Turn;
  const bool moved = turn ? tentativeCameraMove(ed, wrapAzimuth(v.azimuth + a.step), v.polar, v.distance)
                          : tentativeCameraMove(ed, v.azimuth, v.polar, v.distance + 4.0f * a.step);
  if (moved) {
    redrawWholeView(ed);
    playEffect(ed.sound, EffectId::CameraTurn);
  }
  if (!moved || --a.stepsLeft <= 0) a = CameraAnimation{};
  return true;
}

bool undoCameraMove(Editor& ed) {
  const EditState& e = ed.state;
  switch (e.undoAction) {
    case UndoCameraTurn: turnAnimation(ed, -e.undoCamera[0], -e.undoCamera[1]); return true;
    case UndoZoomIn: zoomAnimation(ed, +1); return true;
    case UndoZoomOut: zoomAnimation(ed, -1); return true;
    default: return false;
  }
}

// [SECTION] Jumps

void presetView(Editor& ed, int n) {
  struct Preset {
    float azimuth, polar, distance;
  };
  static constexpr Preset kPresets[4] = {{220, 30, 140}, {180, 1, 170}, {180, 89, 170}, {270, 89, 170}};
  if (n < 1 || n > 4) return;
  ed.world.view.target = Vec3{0, 30, 0};
  ed.world.view.azimuth = kPresets[n - 1].azimuth;
  ed.world.view.polar = kPresets[n - 1].polar;
  ed.world.view.distance = kPresets[n - 1].distance;
  placeAfterJump(ed);
  redrawWholeView(ed);
  playEffect(ed.sound, EffectId::ViewChange);
}

Vec3 viewRayDirection(Editor& ed, int x, int y) {
  const EditState& e = ed.state;
  const float w = static_cast<float>(std::max(ed.device.clientWidth, 1));
  const float ht = static_cast<float>(std::max(ed.device.clientHeight, 1));
  const float sx = (x - w / 2) * 0.75f / w, sy = -(y - ht / 2) * 0.75f / ht;
  return e.forward + scaled(e.up, sy) + scaled(e.right, sx);
}

Vec3 rayToPlane(Editor& ed, int x, int y, float h) {
  const Vec3 start = ed.state.eye - ed.state.forward;
  const Vec3 d = viewRayDirection(ed, x, y);
  // A ray running level never meets the plane: take the point straight below or above the start.
  if (std::fabs(d.y) < 1e-6f) return Vec3{start.x, h, start.z};
  const float t = (h - start.y) / d.y;
  return start + scaled(d, t);
}

Block* nearestBlockUnder(Editor& ed, int x, int y, float& depth) {
  Block* nearest = nullptr;
  depth = kFloatMax;
  for (const auto& node : ed.world.scene.nodes) {
    Block& block = *node->block;
    if (block.kind == BasePlate || !screenRectOf(ed.renderer, block).contains(x, y)) continue;
    int face = 0;
    const float d = pickFace(ed.renderer, block, Rect{x, y, x, y}, face);
    if (d < depth) {
      depth = d;
      nearest = &block;
    }
  }
  return nearest;
}

Block* blockUnderPointer(Editor& ed, int x, int y) {
  if (ed.world.view.polar > 90) return nullptr;
  float depth = 0;
  return nearestBlockUnder(ed, x, y, depth);
}

void lookAt(Editor& ed, int x, int y) {
  if (Block* block = blockUnderPointer(ed, x, y)) {
    ed.world.view.target = block->position;
  } else {
    const Vec3 p = rayToPlane(ed, x, y, 0);
    ed.world.view.target = Vec3{std::clamp(p.x, -60.0f, 60.0f), p.y, std::clamp(p.z, -90.0f, 90.0f)};
  }
  placeAfterJump(ed);
  ed.renderer.fullRedrawPending = 1;
  playEffect(ed.sound, EffectId::ViewChange);
  ed.world.selectedBlock = nullptr;
}

void walkCamera(Editor& ed, int type) {
  releaseHold(ed);
  const Vec3 step = scaled(ed.state.forward, 10);
  switch (type) {
    case 0: ed.world.view.target.x += step.x; ed.world.view.target.z += step.z; break;
    case 1: ed.world.view.target.x -= step.x; ed.world.view.target.z -= step.z; break;
    case 2: ed.world.view.azimuth = wrapAzimuth(ed.world.view.azimuth + 10); break;
    case 3: ed.world.view.azimuth = wrapAzimuth(ed.world.view.azimuth - 10); break;
    default: return;
  }
  placeAfterJump(ed);
  redrawWholeView(ed);
  playEffect(ed.sound, EffectId::CameraTurn);
}

// [SECTION] Automatic view

namespace {

struct ViewGap {
  Vec3 p, b;
  float l = 0, horizontal = 0;
  float ratio() const { return horizontal > 0 ? l / horizontal : kFloatMax; }
};

ViewGap measureGap(Editor& ed, const Block* held) {
  ViewGap g;
  g.p = ed.state.eye - scaled(ed.state.forward, 10);
  g.b = held ? held->position : Vec3{};
  g.l = std::fabs(g.p.y - g.b.y);
  g.horizontal = std::hypot(g.p.x - g.b.x, g.p.z - g.b.z);
  return g;
}

}  // namespace

void autoViewAdjust(Editor& ed, float rise, float slope) {
  EditState& e = ed.state;
  const Block* held = e.holding ? (e.pickedBlock ? e.pickedBlock : ed.world.movingSet.first()) : nullptr;
  ViewGap g = measureGap(ed, held);
  if ((!held || g.ratio() >= 0.3f) && g.p.y >= g.b.y) return;
  releaseHold(ed);
  redrawWholeView(ed);
  const HCursor previous = setCursor(loadCursor("CANNOT"));
  // Each pass raises the eye by at least 6, so the climb ends; the bound only guards damaged values.
  for (int pass = 0; pass < 100000 && g.p.y < g.b.y + rise; ++pass) {
    ed.world.view.target.y += std::max(6.0f, std::trunc(g.l * 0.25f));
    placeAfterJump(ed);
    g = measureGap(ed, held);
  }
  // The view steepens until the block is seen from above enough, but never past straight down.
  while (g.ratio() < slope && ed.world.view.polar > 1) {
    ed.world.view.polar = std::max(ed.world.view.polar - 6, 1.0f);
    placeAfterJump(ed);
    g = measureGap(ed, held);
  }
  setCursor(previous);
  ed.renderer.fullRedrawPending = 1;
  e.deltaX = 0;
  e.deltaY = 0;
}
