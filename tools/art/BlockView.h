// Drawing blocks of the scene model with the program's own software 3D device: the same lights, materials,
// matrices and viewport the view window uses, so that generated pictures look like the running program.
#pragma once

#include <vector>

#include "scene/Block.h"
#include "scene/Geometry.h"
#include "tools/art/Picture.h"

// The orbit camera as a scene file stores it: angles in degrees, the eye distance - 1 from the target.
struct OrbitCamera {
  float azimuth = 220, polar = 30, distance = 140;
  Vec3 target{0, 30, 0};
};

// A rendered view: the picture and, per pixel, whether any block covered it.
struct BlockRendering {
  Picture picture;
  std::vector<uint8_t> covered;  // width * height, 1 where a triangle was drawn
};

// Draws the blocks (base plates with their studs row by row, other blocks with their visible studs) over
// the background picture stretched to the view, lit by the scene's main light direction and the fixed
// overhead light. An empty background leaves black behind the blocks.
BlockRendering renderBlocks(const std::vector<const Block*>& blocks, const OrbitCamera& camera, Vec3 lightDirection,
                            int width, int height, const Picture& background);

// Every block of the current scene, in scene order.
std::vector<const Block*> sceneBlocks();
