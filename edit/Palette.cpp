// The side panel's three palettes (bricks and slopes, and two lists of catalogue shapes) and the new
// block a drag out of one of them brings into the view.
#include <cmath>

#include "edit/Camera.h"
#include "edit/EditState.h"
#include "edit/Picking.h"
#include "platform/window.h"
#include "render/RenderDevice.h"
#include "render/SceneRenderer.h"
#include "scene/BlockList.h"
#include "scene/Movement.h"
#include "scene/SceneList.h"
#include "scene/SceneView.h"
#include "sound/Sounds.h"

namespace {

struct BrickSize {
  int studsX, studsZ;
};

// Entries 1-11 are bricks, 12-22 slopes.
constexpr BrickSize kBrickPalette[22] = {
    {2, 2}, {3, 2}, {4, 2}, {6, 2}, {8, 2}, {10, 1}, {6, 1}, {4, 1}, {3, 1}, {2, 1}, {1, 1},
    {3, 2}, {3, 3}, {3, 4}, {3, 6}, {3, 8}, {2, 8}, {2, 6}, {2, 4}, {2, 3}, {2, 2}, {2, 1},
};
constexpr int kFirstSlopeEntry = 12;

// Together the two shape palettes offer each shape of the first size band once.
constexpr int kShapePalette1[37] = {3,  4,  5,  6,  7,  23, 8,  9,  10, 11, 12, 13, 24, 14, 25, 15, 16, 17, 18,
                                    19, 20, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44};
constexpr int kShapePalette2[39] = {26, 27, 21, 22, 28, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59,
                                    60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75, 76, 77, 78};

// A description without a place of its own carries z 1000.
constexpr float kNoPlace = 1000;

BlockDescription newDescription(Editor& ed, int kind, int studsX, int studsZ, int orientation) {
  BlockDescription d;
  d.kind = kind;
  d.studsX = studsX;
  d.studsZ = studsZ;
  d.height = 1;
  d.orientation = orientation;
  d.colour = paletteColour(ed.state.newBlockColour >= 1 && ed.state.newBlockColour <= 6 ? ed.state.newBlockColour
                                                                                           : 1);
  d.faceTextures.fill(-1);
  d.position = Vec3{0, 0, kNoPlace};
  return d;
}

// Shapes come in turned to face the viewer.
int shapeOrientation(Editor& ed) {
  const int quarter = static_cast<int>(std::trunc(ed.world.view.azimuth / 90 + 1));
  return ((quarter % 4) + 4) % 4;
}

}  // namespace

std::optional<BlockDescription> paletteBlock(Editor& ed, Palette palette, int entry) {
  switch (palette) {
    case Palette::Bricks:
      if (entry < 1 || entry > 22) return std::nullopt;
      return newDescription(ed, entry >= kFirstSlopeEntry ? SlopeBrick : Brick, kBrickPalette[entry - 1].studsX,
                            kBrickPalette[entry - 1].studsZ, 0);
    case Palette::Shapes1:
      if (entry < 1 || entry > 37) return std::nullopt;
      return newDescription(ed, kShapePalette1[entry - 1], 0, 0, shapeOrientation(ed));
    case Palette::Shapes2:
      if (entry < 1 || entry > 39) return std::nullopt;
      return newDescription(ed, kShapePalette2[entry - 1], 0, 0, shapeOrientation(ed));
  }
  return std::nullopt;
}

bool dropFromPalette(Editor& ed, int x, int y) {
  EditState& e = ed.state;
  Palette palette = Palette::Bricks;
  int entry = e.brickPaletteEntry;
  if (!e.brickPaletteDrag) {
    if (e.shapePalette1Drag) {
      palette = Palette::Shapes1;
      entry = e.shapePalette1Entry;
    } else if (e.shapePalette2Drag) {
      palette = Palette::Shapes2;
      entry = e.shapePalette2Entry;
    } else {
      return false;
    }
  }
  std::optional<BlockDescription> d = paletteBlock(ed, palette, entry);
  if (!d) return false;
  if (e.holding) releaseHold(ed);
  // The new block appears at the left edge of the view, beside the palette it came from.
  if (d->kind == BasePlate) {
    d->position = Vec3{};
  } else if (d->position.z == kNoPlace) {
    const int screenY = d->kind <= SlopeBrick ? 130 : palette == Palette::Shapes1 ? 230 : 330;
    const Vec3 p = rayToPlane(ed, 0, screenY, 0);
    d->position = Vec3{p.x, 4, p.z};
  }
  Block* block = putBlockInScene(ed.world, *d, NewBlockOptions{true, true});
  if (!block) return false;

  e.buttonDown = true;
  ed.world.movement.leftDrag = true;
  e.holding = true;
  e.movePending = true;
  e.pickedBlock = block;
  e.grabPoint = block->position;
  e.pointerX = x;
  e.pointerY = y;
  e.deltaX = e.deltaY = 0;
  collectStack(ed.world, ed.world.movingSet, block);
  liftMovingSet(ed.renderer, ed.world);
  ed.world.selectedBlock = block;
  e.undoAction = UndoAdd;
  if (ed.device.window) setCapture(ed.device.window);
  playEffect(ed.sound, EffectId::BlockIn);
  e.brickPaletteDrag = e.shapePalette1Drag = e.shapePalette2Drag = false;
  ed.sceneEdited = true;
  return true;
}
