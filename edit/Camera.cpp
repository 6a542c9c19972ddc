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

EditState editState;

namespace {

constexpr double kDegrees = 2 * M_PI / 360.0;

Vec3 scaled(Vec3 v, float s) { return Vec3{v.x * s, v.y * s, v.z * s}; }

Vec3 cross(Vec3 a, Vec3 b) { return Vec3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

std::unique_ptr<Block> probeBlock;  // lives for the whole run, never part of the scene

// Give the probe fresh end points in the index. When the index was emptied since (the end of a run, a
// test), the probe's old end points went with it and must not be touched.
void registerProbe() {
  if (sweepIndex.probe != probeBlock.get()) probeBlock->sweepNodes.fill(nullptr);
  sweepInitProbe(*probeBlock);
}

}  // namespace

// [SECTION] Vectors

void updateCamera() {
  EditState& e = editState;
  const double a = sceneView.azimuth * kDegrees, p = sceneView.polar * kDegrees;
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
  e.eye = scaled(e.toEye, sceneView.distance - 1) + sceneView.target;
  e.probePoint = e.eye - e.forward;
  movement.cameraEye = e.eye;
  movement.cameraElevation = 90 - sceneView.polar;
}

void applyCamera() {
  EditState& e = editState;
  e.right = cross(e.up, e.forward);
  setCamera(e.eye, e.forward, e.up, e.right);
}

namespace {

void carryLight() {
  EditState& e = editState;
  e.lightPos = e.eye + scaled(e.right, kCameraLightRight) + scaled(e.forward, kCameraLightAhead - 1) +
               scaled(e.up, kCameraLightUp);
  e.lightDir = scaled(e.up, -1);
}

// [SECTION] Probe

}  // namespace

// Camera jumps that are not tested against the probe still take it along.
void resetCameraProbe() {
  if (!probeBlock) return;
  const Vec3 offset = editState.probePoint - probeBlock->position;
  translateBlock(*probeBlock, offset.x, offset.y, offset.z);
  registerProbe();
}

void resetCamera() {
  editState.lightPos = Vec3{0, 30, 0};
  editState.lightDir = Vec3{0, -1, 0};
  updateCamera();
  applyCamera();
  resetCameraProbe();
}

void cameraStartOfView() {
  updateCamera();
  if (!probeBlock) {
    BlockDescription d;
    d.kind = Brick;
    d.studsX = 1;
    d.studsZ = 1;
    d.height = 1;
    d.position = editState.probePoint;
    probeBlock = createBlock(d);
  }
  editState.cameraProbe = probeBlock.get();
  resetCamera();
}

// [SECTION] Tentative moves

namespace {

CameraSnapshot snapshot() {
  const EditState& e = editState;
  return CameraSnapshot{sceneView.azimuth, sceneView.polar, sceneView.distance, e.toEye, e.eye, e.forward, e.up,
                        e.probePoint};
}

void restore(const CameraSnapshot& s) {
  EditState& e = editState;
  sceneView.azimuth = s.azimuth;
  sceneView.polar = s.polar;
  sceneView.distance = s.distance;
  e.toEye = s.toEye;
  e.eye = s.eye;
  e.forward = s.forward;
  e.up = s.up;
  e.probePoint = s.probePoint;
}

}  // namespace

bool tentativeCameraMove(const std::function<void()>& change) {
  EditState& e = editState;
  e.saved = snapshot();
  change();
  updateCamera();
  const Vec3 offset = e.probePoint - e.saved.probePoint;
  if (probeBlock) {
    if (sweepIndex.probe != probeBlock.get()) registerProbe();
    if (sweepQueryProbe(offset) > 0) {
      restore(e.saved);
      return false;
    }
    translateBlock(*probeBlock, offset.x, offset.y, offset.z);
    registerProbe();
  }
  applyCamera();
  carryLight();
  e.cameraChanged = true;
  return true;
}

// [SECTION] Drags

float wrapAzimuth(float a) {
  if (a > 360) a -= 360;
  if (a < 0) a += 360;
  return a;
}

void orbitStep(int deltaX, int deltaY) {
  tentativeCameraMove([deltaX, deltaY] {
    sceneView.azimuth = wrapAzimuth(sceneView.azimuth - deltaX * 0.3f);
    sceneView.polar = std::clamp(sceneView.polar - deltaY * 0.5f, 1.0f, 80.0f);
  });
}

void zoomStep(int deltaY) {
  const float step = std::clamp(sceneView.distance * 0.0033333333f, 0.4f, 50.0f);
  const Vec3 behind = editState.eye - scaled(editState.forward, 10);
  if (deltaY >= 0 || behind.y >= 10)
    tentativeCameraMove([step, deltaY] { sceneView.distance += step * deltaY; });
}

void beginCameraDrag(CameraDrag drag, int x, int y) {
  EditState& e = editState;
  (drag == CameraDrag::Orbit ? e.orbitDrag : e.zoomDrag) = true;
  e.pointerX = x;
  e.pointerY = y;
  e.deltaX = e.deltaY = 0;
}

void trackCameraPointer(int x, int y) {
  EditState& e = editState;
  if (!e.orbitDrag && !e.zoomDrag) return;
  e.deltaX += x - e.pointerX;
  e.deltaY += y - e.pointerY;
  e.pointerX = x;
  e.pointerY = y;
}

void endCameraDrag() {
  editState.orbitDrag = false;
  editState.zoomDrag = false;
  sceneRenderer.fullRedrawPending = 1;
}

