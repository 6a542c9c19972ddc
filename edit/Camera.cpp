// The orbit camera's vectors, its hand-over to the renderer, the probe brick that keeps the eye out of the
// blocks, and the per-frame orbit and zoom of a pointer drag.
//
// Index: [SECTION] Vectors  [SECTION] Probe  [SECTION] Tentative moves  [SECTION] Drags
#include "edit/Camera.h"
#include "scene/Movement.h"

#include <algorithm>
#include <cmath>

#include "render/SceneRenderer.h"
#include "scene/SceneView.h"
#include "scene/SweepIndex.h"

namespace {

constexpr double kDegrees = 2 * M_PI / 360.0;

Vec3 scaled(Vec3 v, float s) { return Vec3{v.x * s, v.y * s, v.z * s}; }

Vec3 cross(Vec3 a, Vec3 b) { return Vec3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// Give the probe fresh end points in the index (an index emptied since has forgotten the old ones).
void registerProbe(Editor& ed) {
  sweepInitProbe(ed.world.sweep, *ed.probeBlock);
}

}  // namespace

// [SECTION] Vectors

void updateCamera(Editor& ed) {
  EditState& e = ed.state;
  const double a = ed.world.view.azimuth * kDegrees, p = ed.world.view.polar * kDegrees;
  const double sp = std::sin(p), cp = std::cos(p), sa = std::sin(a), ca = std::cos(a);
  e.toEye = Vec3{static_cast<float>(sp * ca), static_cast<float>(cp), static_cast<float>(sp * sa)};
  e.forward = scaled(e.toEye, -1);
  // Up leans back from the view direction; near level views 1/cos grows large and up tends to +y.
  double ux = -sp * ca, uy = 1 / cp - cp, uz = -sp * sa;
  const double length = std::sqrt(ux * ux + uy * uy + uz * uz);
  if (length > 0 && std::isfinite(length)) {
    ux /= length, uy /= length, uz /= length;
  } else {
    ux = 0, uy = 1, uz = 0;
  }
  e.up = Vec3{static_cast<float>(ux), static_cast<float>(uy), static_cast<float>(uz)};
  e.eye = scaled(e.toEye, ed.world.view.distance - 1) + ed.world.view.target;
  e.probePoint = e.eye - e.forward;
  ed.world.movement.cameraEye = e.eye;
  ed.world.movement.cameraElevation = 90 - ed.world.view.polar;
}

void applyCamera(Editor& ed) {
  EditState& e = ed.state;
  e.right = cross(e.up, e.forward);
  setCamera(ed.renderer, e.eye, e.forward, e.up, e.right);
}

namespace {

void carryLight(Editor& ed) {
  EditState& e = ed.state;
  e.lightPos = e.eye + scaled(e.right, kCameraLightRight) + scaled(e.forward, kCameraLightAhead - 1) +
               scaled(e.up, kCameraLightUp);
  e.lightDir = scaled(e.up, -1);
}

// [SECTION] Probe

}  // namespace

// Camera jumps that are not tested against the probe still take it along.
void resetCameraProbe(Editor& ed) {
  if (!ed.probeBlock) return;
  const Vec3 offset = ed.state.probePoint - ed.probeBlock->position;
  translateBlock(*ed.probeBlock, offset.x, offset.y, offset.z);
  registerProbe(ed);
}

void resetCamera(Editor& ed) {
  ed.state.lightPos = Vec3{0, 30, 0};
  ed.state.lightDir = Vec3{0, -1, 0};
  updateCamera(ed);
  applyCamera(ed);
  resetCameraProbe(ed);
}

void cameraStartOfView(Editor& ed) {
  updateCamera(ed);
  if (!ed.probeBlock) {
    BlockDescription d;
    d.kind = Brick;
    d.studsX = 1;
    d.studsZ = 1;
    d.height = 1;
    d.position = ed.state.probePoint;
    ed.probeBlock = createBlock(ed.world, d);
  }
  ed.state.cameraProbe = ed.probeBlock.get();
  resetCamera(ed);
}

// [SECTION] Tentative moves

namespace {

CameraSnapshot snapshot(Editor& ed) {
  const EditState& e = ed.state;
  return CameraSnapshot{ed.world.view.azimuth, ed.world.view.polar, ed.world.view.distance, e.toEye, e.eye, e.forward, e.up,
                        e.probePoint};
}

void restore(Editor& ed, const CameraSnapshot& s) {
  EditState& e = ed.state;
  ed.world.view.azimuth = s.azimuth;
  ed.world.view.polar = s.polar;
  ed.world.view.distance = s.distance;
  e.toEye = s.toEye;
  e.eye = s.eye;
  e.forward = s.forward;
  e.up = s.up;
  e.probePoint = s.probePoint;
}

}  // namespace

bool tentativeCameraMove(Editor& ed, float azimuth, float polar, float distance) {
  EditState& e = ed.state;
  e.saved = snapshot(ed);
  ed.world.view.azimuth = azimuth;
  ed.world.view.polar = polar;
  ed.world.view.distance = distance;
  updateCamera(ed);
  const Vec3 offset = e.probePoint - e.saved.probePoint;
  if (ed.probeBlock) {
    if (ed.world.sweep.probe != ed.probeBlock.get()) registerProbe(ed);
    if (sweepQueryProbe(ed.world.sweep, offset) > 0) {
      restore(ed, e.saved);
      return false;
    }
    translateBlock(*ed.probeBlock, offset.x, offset.y, offset.z);
    registerProbe(ed);
  }
  applyCamera(ed);
  carryLight(ed);
  e.cameraChanged = true;
  return true;
}

// [SECTION] Drags

float wrapAzimuth(float a) {
  if (a > 360) a -= 360;
  if (a < 0) a += 360;
  return a;
}

void orbitStep(Editor& ed, int deltaX, int deltaY) {
  const SceneView& v = ed.world.view;
  tentativeCameraMove(ed, wrapAzimuth(v.azimuth - deltaX * 0.3f), std::clamp(v.polar - deltaY * 0.5f, 1.0f, 80.0f),
                      v.distance);
}

void zoomStep(Editor& ed, int deltaY) {
  const float step = std::clamp(ed.world.view.distance * 0.0033333333f, 0.4f, 50.0f);
  const Vec3 behind = ed.state.eye - scaled(ed.state.forward, 10);
  if (deltaY >= 0 || behind.y >= 10)
    tentativeCameraMove(ed, ed.world.view.azimuth, ed.world.view.polar, ed.world.view.distance + step * deltaY);
}

void beginCameraDrag(Editor& ed, CameraDrag drag, int x, int y) {
  EditState& e = ed.state;
  (drag == CameraDrag::Orbit ? e.orbitDrag : e.zoomDrag) = true;
  e.pointerX = x;
  e.pointerY = y;
  e.deltaX = e.deltaY = 0;
}

void trackCameraPointer(Editor& ed, int x, int y) {
  EditState& e = ed.state;
  if (!e.orbitDrag && !e.zoomDrag) return;
  e.deltaX += x - e.pointerX;
  e.deltaY += y - e.pointerY;
  e.pointerX = x;
  e.pointerY = y;
}

void endCameraDrag(Editor& ed) {
  ed.state.orbitDrag = false;
  ed.state.zoomDrag = false;
  ed.renderer.fullRedrawPending = 1;
}

