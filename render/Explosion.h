// The explosion the hammer shows where it removed a stack: ten colour-keyed frames of 100 x 100 pixels,
// stacked in one picture, drawn over the 3D view's back buffer through a save-under copy so that the
// scene need not be drawn again to erase them. Frames advance at most every 20 ms; a frame cut by the
// view's edges shows only its part inside the view.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/display.h"
#include "platform/types.h"

struct RenderDevice;

struct ExplosionSprite {
  std::unique_ptr<DisplaySurface> picture;    // the frames, one below the other, keyed by the top-left colour
  std::unique_ptr<DisplaySurface> saveUnder;  // what the drawn frame covers
  uint32_t lastStepTick = 0;
  int frame = 0;  // the frame shown, 1..frameCount; 0 before the first
  int frameCount = 10;
  Rect cell{0, 0, 100, 100};
  Point point;  // the centre, in view pixels
  bool active = false;
  bool drawn = false;  // a frame is on the back buffer and its save-under waits to be put back
  Rect lastDrawn, lastSaved;
  Rect area;  // every rectangle drawn since start-up
};

// Load the picture and make the save-under copy; false when the picture cannot be read (the hammer then
// removes stacks without the animation).
bool prepareExplosion(ExplosionSprite& e, const std::string& pictureName, int frameCount, const Rect& cell);
// The hammer removed a stack at (x, y): the animation runs from there (a running one moves and goes on).
void startExplosion(ExplosionSprite& e, int x, int y);

enum class ExplosionStep { Idle, FirstFrame, NextFrame, Ended };
// One frame's step at time now: draw the current frame into the back buffer (FirstFrame for the very
// first, when the removal sound belongs), or end the animation after the last frame.
ExplosionStep explosionStep(ExplosionSprite& e, RenderDevice& d, uint32_t now);
// Put back what the last drawn frame covered; after every frame attempt.
void restoreUnderExplosion(ExplosionSprite& e, RenderDevice& d);
