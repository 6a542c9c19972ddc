// The camera and main-light values a scene file carries: the camera turns and moves them, the renderer
// lights with them, and the scene files read and write them.
#pragma once

#include "scene/Geometry.h"

struct SceneView {
  float azimuth = 0;   // degrees, kept within 0 to 360
  float polar = 0;     // degrees
  float distance = 0;
  Vec3 target;
  Vec3 lightPosition;
  Vec3 lightDirection;
};
