// The orbit camera: an azimuth and a polar angle around a target at a distance, moved only when the hidden
// probe brick that travels one unit behind the eye stays clear of every block; the turn and zoom
// animations, the preset views, re-targeting, the automatic view adjustment and the cheat-mode walk.
#pragma once

#include <functional>
#include <memory>

#include "edit/EditState.h"
#include "scene/Geometry.h"

// Offsets of the light carried with the camera: right, up and along the view.
constexpr float kCameraLightRight = 0, kCameraLightUp = 0, kCameraLightAhead = 1;

void updateCamera();
void applyCamera();
void resetCamera();
// The probe brick, made once at the probe point, then the camera from the scene's view values.
void cameraStartOfView();
// Put the probe at the probe point after a jump that was not tested against it.
void resetCameraProbe();

// Save the camera, let change() alter the angles or the distance, and keep the result only when the probe
// can follow; false when the move was refused (the camera is then exactly as before).
bool tentativeCameraMove(const std::function<void()>& change);

// An azimuth above 360 loses 360, one below 0 gains 360.
float wrapAzimuth(float azimuth);

void orbitStep(int deltaX, int deltaY);
void zoomStep(int deltaY);
// Pointer drags on empty space: a left drag orbits, a right drag zooms. The pointer's movement collects in
// the deltas, which the next frame turns into a step.
enum class CameraDrag { Orbit, Zoom };
void beginCameraDrag(CameraDrag drag, int x, int y);
void trackCameraPointer(int x, int y);
// A left or right camera drag ends: the next frame rebuilds the whole picture from the new view.
void endCameraDrag();

void turnAnimation(int total, int step);
void zoomAnimation(int direction);
// Undo of a camera turn or zoom (undo actions 3, 5 and 6): the opposite animation. False for other actions.
bool undoCameraMove();
void presetView(int n);
void lookAt(int x, int y);
void autoViewAdjust(float rise, float slope);
// 0 a step forward, 1 a step back, 2 and 3 a turn of +10 and -10 degrees.
void walkCamera(int type);

// The direction of the view ray through client pixel (x, y); the ray starts one unit behind the eye.
Vec3 viewRayDirection(int x, int y);
// Where the view ray through client pixel (x, y) meets the horizontal plane at height h.
Vec3 rayToPlane(int x, int y, float h);
// The block under the pointer whose hit lies nearest (the base plate never), with its pick depth; null
// and the largest float when there is none.
Block* nearestBlockUnder(int x, int y, float& depth);
// The nearest block under the pointer (the base plate never), or null.
Block* blockUnderPointer(int x, int y);
