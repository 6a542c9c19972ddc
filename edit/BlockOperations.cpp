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

void sceneChanged() {
  if (editHooks.sceneChanged) editHooks.sceneChanged();
}

// A block that is no longer in the scene is forgotten wherever editing still points at it.
void forgetBlock(const Block* block) {
  EditState& e = editState;
  if (e.pickedBlock == block) e.pickedBlock = nullptr;
  if (selectedBlock == block) selectedBlock = nullptr;
}

}  // namespace

// [SECTION] Painting

void paintStep(Block& block, float step) {
  const int tool = editState.paintTool;
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
  setBlockColour(block, c[0], c[1], c[2], 1.0f);
  sceneChanged();
}

// [SECTION] Copying

void copyStack() {
  EditState& e = editState;
  if (!pickBlock()) return;
  constexpr int kMostCopied = 30;
  if (MovingSet.count() > kMostCopied) {
    const char* text = loadString(33);
    const char* caption = loadString(34);
    messageBox(renderDevice.window, text ? text : "Sorry you cannot copy more than 30 blocks at one time",
               caption ? caption : "copy blocks", MB_OK);
    return;
  }
  float top = -kFloatMax, bottom = kFloatMax;
  std::vector<BlockDescription> saved;
  for (Block* block : MovingSet.entries) {
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
  sweepResetQuery();
  sweepQueryMovingSet(Vec3{});
  sweepRelinkMovingSet();

  for (BlockDescription d : saved) {
    d.position.y += h;
    Block* copy = putBlockInScene(d);
    if (!copy) continue;
    // A copy that lands in something climbs by the stack's height until it is free.
    for (int guard = 0; guard < 10000 && h >= 0.00001f; ++guard) {
      sweepResetQuery();
      if (sweepQuery(*copy, Vec3{}) == 0) break;
      translateBlock(*copy, 0, h, 0);
      sweepRelinkMovingSet();
      collectStack(MovingSet, copy);
      moveMovingSet(Vec3{});
      sweepRelinkMovingSet();
    }
  }
  listClear(MovingSet);
  e.holding = false;
  e.movePending = false;
  releaseCapture();
  sceneRenderer.fullRedrawPending = 1;
  sceneChanged();
}

// [SECTION] Deleting

void deleteHeld() {
  EditState& e = editState;
  if (!e.holding) return;
  e.deletedBlocks.clear();
  // Removing a block takes it out of the moving set too: walk a copy.
  const std::vector<Block*> held = MovingSet.entries;
  for (Block* block : held) {
    e.deletedBlocks.push_back(describeBlock(*block));
    forgetBlock(block);
    sceneRemove(block);
  }
  listClear(MovingSet);
  e.holding = false;
  e.undoAction = UndoDelete;
  e.movePending = false;
  e.deltaX = e.deltaY = 0;
  e.buttonDown = false;
  e.pointerOutside = false;
  releaseCapture();
  sceneRenderer.fullRedrawPending = 1;
  sceneChanged();
}

// [SECTION] Undo

void undo() {
  EditState& e = editState;
  Block* selected = selectedBlock && sceneFind(selectedBlock) ? selectedBlock : nullptr;
  switch (e.undoAction) {
    case UndoMove: {
      if (!selected) return;
      const Vec3 offset = e.undoPosition - selected->position;
      e.undoPosition = selected->position;
      collectStack(MovingSet, selected);
      for (Block* block : MovingSet.entries) translateBlock(*block, offset.x, offset.y, offset.z);
      moveMovingSet(Vec3{});
      sweepRelinkMovingSet();
      break;
    }
    case UndoTurn:
      if (!selected) return;
      rotateBlock(*selected, e.undoTurnDegrees);
      e.undoTurnDegrees = -e.undoTurnDegrees;
      sweepMove(*selected);
      break;
    case UndoCameraTurn:
    case UndoZoomIn:
    case UndoZoomOut:
      // The camera's animations draw as they go and record their own undo.
      undoCameraMove();
      return;
    case UndoAdd:
      if (!selected) return;
      detachSupports(selected);
      forgetBlock(selected);
      sceneRemove(selected);
      e.undoAction = UndoNone;
      break;
    case UndoDelete: {
      std::vector<BlockDescription> blocks;
      blocks.swap(e.deletedBlocks);
      for (const BlockDescription& d : blocks) putBlockInScene(d);
      e.undoAction = UndoNone;
      break;
    }
    case UndoColour: {
      if (!selected) return;
      const std::array<float, 4> now = selected->colour;
      setBlockColour(*selected, e.undoColour[0], e.undoColour[1], e.undoColour[2], e.undoColour[3]);
      e.undoColour = now;
      break;
    }
    default:
      return;
  }
  sceneRenderer.fullRedrawPending = 1;
  sceneChanged();
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

bool newScenePlate(int choice) {
  const PlateSize size = newScenePlateSize(choice);
  if (size.studsX == 0) return false;
  EditState& e = editState;
  if (e.holding) releaseHold();
  sceneClear();
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
  basePlate = putBlockInScene(d, NewBlockOptions{true, false});
  selectedBlock = nullptr;
  sceneRenderer.fullRedrawPending = 1;
  sceneChanged();
  return true;
}
