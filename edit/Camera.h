// The orbit camera: an azimuth and a polar angle around a target at a distance, moved only when the hidden
// probe brick that travels one unit behind the eye stays clear of every block; the turn and zoom
// animations, the preset views, re-targeting, the automatic view adjustment and the cheat-mode walk.
#pragma once

#include <memory>

#include "edit/Editor.h"
#include "scene/Geometry.h"

// Offsets of the light carried with the camera: right, up and along the view.
constexpr float kCameraLightRight = 0, kCameraLightUp = 0, kCameraLightAhead = 1;

void updateCamera(Editor& ed);
void applyCamera(Editor& ed);
void resetCamera(Editor& ed);
// The probe brick, made once at the probe point, then the camera from the scene's view values.
void cameraStartOfView(Editor& ed);
// Put the probe at the probe point after a jump that was not tested against it.
void resetCameraProbe(Editor& ed);

// Move the camera to these angles and distance, kept only when the probe can follow; false when the move
// was refused (the camera is then exactly as before).
bool tentativeCameraMove(Editor& ed, float azimuth, float polar, float distance);

// An azimuth above 360 loses 360, one below 0 gains 360.
float wrapAzimuth(float azimuth);

void orbitStep(Editor& ed, int deltaX, int deltaY);
void zoomStep(Editor& ed, int deltaY);
// Pointer drags on empty space: a left drag orbits, a right drag zooms. The pointer's movement collects in
// the deltas, which the next frame turns into a step.
enum class CameraDrag { Orbit, Zoom };
void beginCameraDrag(Editor& ed, CameraDrag drag, int x, int y);
void trackCameraPointer(Editor& ed, int x, int y);
// A left or right camera drag ends: the next frame rebuilds the whole picture from the new view.
void endCameraDrag(Editor& ed);

// Start a turn of the view by total degrees in steps of step, or a zoom of eight steps; each frame then
// takes one step (advanceCameraAnimation).
void turnAnimation(Editor& ed, int total, int step);
void zoomAnimation(Editor& ed, int direction);
// One step of the animation under way; false when none runs.
bool advanceCameraAnimation(Editor& ed);
// Undo of a camera turn or zoom (undo actions 3, 5 and 6): the opposite animation. False for other actions.
bool undoCameraMove(Editor& ed);
void presetView(Editor& ed, int n);
void lookAt(Editor& ed, int x, int y);
void autoViewAdjust(Editor& ed, float rise, float slope);
// 0 a step forward, 1 a step back, 2 and 3 a turn of +10 and -10 degrees.
void walkCamera(Editor& ed, int type);

// The direction of the view ray through client pixel (x, y); the ray starts one unit behind the eye.
Vec3 viewRayDirection(Editor& ed, int x, int y);
// Where the view ray through client pixel (x, y) meets the horizontal plane at height h.
Vec3 rayToPlane(Editor& ed, int x, int y, float h);
// The block under the pointer whose hit lies nearest (the base plate never), with its pick depth; null
// and the largest float when there is none.
Block* nearestBlockUnder(Editor& ed, int x, int y, float& depth);
// The nearest block under the pointer (the base plate never), or null.
Block* blockUnderPointer(Editor& ed, int x, int y);
