// Painting, copying a stack onto itself, deleting the held stack, the one-step undo and a new scene's
// base plate.
//
// Index: [SECTION] Painting  [SECTION] Copying  [SECTION] Deleting  [SECTION] Undo  [SECTION] New scene
#include "edit/BlockOperations.h"

#include <algorithm>
#include <cmath>

#include "edit/Camera.h"
#include "edit/EditState.h"
#include "edit/Picking.h"
#include "platform/strings.h"
#include "platform/window.h"
#include "render/RenderDevice.h"
#include "render/SceneRenderer.h"
#include "scene/BlockList.h"
#include "scene/Movement.h"
#include "scene/SceneList.h"

namespace {

void sceneChanged(Editor& ed) { ed.sceneEdited = true; }

// A block that is no longer in the scene is forgotten wherever editing still points at it.
void forgetBlock(Editor& ed, const Block* block) {
  EditState& e = ed.state;
  if (e.pickedBlock == block) e.pickedBlock = nullptr;
  if (ed.world.selectedBlock == block) ed.world.selectedBlock = nullptr;
}

}  // namespace

// [SECTION] Painting

void paintStep(Editor& ed, Block& block, float step) {
  const int tool = ed.state.paintTool;
  if (tool < 1 || tool > 7) return;
  const std::array<float, 4> target = paletteColour(tool);
  std::array<float, 4> c = block.colour;
  bool near = true;
  for (int i = 0; i < 3; ++i)
    if (std::fabs(c[i] - target[i]) >= 0.01f) near = false;
  if (near) return;
  // Colours rise toward the paint first; only a colour with nothing left to rise fades down.
  bool rose = false;
  for (int i = 0; i < 3; ++i)
    if (target[i] - c[i] >= 0.01f) {
      c[i] += step;
      rose = true;
    }
  if (!rose)
    for (int i = 0; i < 3; ++i)
      if (c[i] - target[i] >= 0.01f) c[i] -= step;
  for (int i = 0; i < 3; ++i) c[i] = std::clamp(c[i], 0.0f, 1.0f);
  setBlockColour(ed.world.materials, block, c[0], c[1], c[2], 1.0f);
  sceneChanged(ed);
}

// [SECTION] Copying

CopyResult copyStack(Editor& ed) {
  EditState& e = ed.state;
  if (!pickBlock(ed)) return CopyResult::NothingPicked;
  constexpr int kMostCopied = 30;
  if (ed.world.movingSet.count() > kMostCopied) return CopyResult::TooMany;
  float top = -kFloatMax, bottom = kFloatMax;
  std::vector<BlockDescription> saved;
  for (Block* block : ed.world.movingSet.entries) {
    top = std::max(top, block->topSlabMin.y);
    bottom = std::min(bottom, block->outerMin.y);
    saved.push_back(describeBlock(*block));
  }
  // Bodies end on whole units; a top a hair off one is taken as that unit.
  const float t = std::trunc(top);
  if (top - t < 0.1f)
    top = t;
  else if (top - t > 0.9f)
    top = t + 1;
  const float h = top - bottom;

  // The stack copied from goes back onto its support first, so that its links survive the copies.
  sweepResetQuery(ed.world.sweep);
  sweepQueryMovingSet(ed.world, Vec3{});
  sweepRelinkMovingSet(ed.world);

  for (BlockDescription d : saved) {
    d.position.y += h;
    Block* copy = putBlockInScene(ed.world, d);
    if (!copy) continue;
    // A copy that lands in something climbs by the stack's height until it is free.
    for (int guard = 0; guard < 10000 && h >= 0.00001f; ++guard) {
      sweepResetQuery(ed.world.sweep);
      if (sweepQuery(ed.world.sweep, *copy, Vec3{}) == 0) break;
      translateBlock(*copy, 0, h, 0);
      sweepRelinkMovingSet(ed.world);
      collectStack(ed.world, ed.world.movingSet, copy);
      moveMovingSet(ed.world, Vec3{});
      sweepRelinkMovingSet(ed.world);
    }
  }
  listClear(ed.world.movingSet);
  e.holding = false;
  e.movePending = false;
  releaseCapture();
  ed.renderer.fullRedrawPending = 1;
  sceneChanged(ed);
  return CopyResult::Copied;
}

// [SECTION] Deleting

void deleteHeld(Editor& ed) {
  EditState& e = ed.state;
  if (!e.holding) return;
  e.deletedBlocks.clear();
  // Removing a block takes it out of the moving set too: walk a copy.
  const std::vector<Block*> held = ed.world.movingSet.entries;
  for (Block* block : held) {
    e.deletedBlocks.push_back(describeBlock(*block));
    forgetBlock(ed, block);
    sceneRemove(ed.world, block);
  }
  listClear(ed.world.movingSet);
  e.holding = false;
  e.undoAction = UndoDelete;
  e.movePending = false;
  e.deltaX = e.deltaY = 0;
  e.buttonDown = false;
  e.pointerOutside = false;
  releaseCapture();
  ed.renderer.fullRedrawPending = 1;
  sceneChanged(ed);
}

// [SECTION] Undo

void undo(Editor& ed) {
  EditState& e = ed.state;
  Block* selected = ed.world.selectedBlock && sceneFind(ed.world.scene, ed.world.selectedBlock) ? ed.world.selectedBlock : nullptr;
  switch (e.undoAction) {
    case UndoMove: {
      if (!selected) return;
      const Vec3 offset = e.undoPosition - selected->position;
      e.undoPosition = selected->position;
      collectStack(ed.world, ed.world.movingSet, selected);
      for (Block* block : ed.world.movingSet.entries) translateBlock(*block, offset.x, offset.y, offset.z);
      moveMovingSet(ed.world, Vec3{});
      sweepRelinkMovingSet(ed.world);
      break;
    }
    case UndoTurn:
      if (!selected) return;
      rotateBlock(*selected, e.undoTurnDegrees);
      e.undoTurnDegrees = -e.undoTurnDegrees;
      sweepMove(ed.world.sweep, *selected);
      break;
    case UndoCameraTurn:
    case UndoZoomIn:
    case UndoZoomOut:
      // The camera's animations draw as they go and record their own undo.
      undoCameraMove(ed);
      return;
    case UndoAdd:
      if (!selected) return;
      detachSupports(ed.world.scene, selected);
      forgetBlock(ed, selected);
      sceneRemove(ed.world, selected);
      e.undoAction = UndoNone;
      break;
    case UndoDelete: {
      std::vector<BlockDescription> blocks;
      blocks.swap(e.deletedBlocks);
      for (const BlockDescription& d : blocks) putBlockInScene(ed.world, d);
      e.undoAction = UndoNone;
      break;
    }
    case UndoColour: {
      if (!selected) return;
      const std::array<float, 4> now = selected->colour;
      setBlockColour(ed.world.materials, *selected, e.undoColour[0], e.undoColour[1], e.undoColour[2], e.undoColour[3]);
      e.undoColour = now;
      break;
    }
    default:
      return;
  }
  ed.renderer.fullRedrawPending = 1;
  sceneChanged(ed);
}

// [SECTION] New scene

PlateSize newScenePlateSize(int choice) {
  static constexpr PlateSize kSizes[20] = {
      {10, 10}, {15, 15}, {10, 20}, {15, 30}, {20, 30}, {20, 40}, {30, 40}, {30, 60}, {30, 90}, {40, 60},
      {60, 90}, {40, 20}, {50, 30}, {60, 40}, {70, 40}, {80, 50}, {90, 60}, {90, 70}, {90, 80}, {90, 90},
  };
  if (choice < 1 || choice > 20) return PlateSize{};
  return kSizes[choice - 1];
}

bool newScenePlate(Editor& ed, int choice) {
  const PlateSize size = newScenePlateSize(choice);
  if (size.studsX == 0) return false;
  EditState& e = ed.state;
  if (e.holding) releaseHold(ed);
  sceneClear(ed.world);
  // Nothing of the old scene is left to undo into the new one.
  e.pickedBlock = nullptr;
  e.holding = false;
  e.movePending = false;
  e.undoAction = UndoNone;
  e.deletedBlocks.clear();
  BlockDescription d;
  d.kind = BasePlate;
  d.studsX = size.studsX;
  d.studsZ = size.studsZ;
  d.height = 1;
  d.colour = {0, 1, 0, 1};
  d.faceTextures.fill(-1);
  ed.world.basePlate = putBlockInScene(ed.world, d, NewBlockOptions{true, false});
  ed.world.selectedBlock = nullptr;
  ed.renderer.fullRedrawPending = 1;
  sceneChanged(ed);
  return true;
}
