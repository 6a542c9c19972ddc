// A whole editing session in the real program, headless, driven by injected pointer input: pick a brick,
// drag it onto another and let go, undo and redo the move, turn it with the right button while it is
// held, and copy it with a double-click; the scene is checked after every step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/ProgramFixture.h"
#include "app/Shell.h"
#include "edit/BlockOperations.h"
#include "edit/EditState.h"
#include "files/SceneFile.h"
#include "render/SceneRenderer.h"
#include "scene/BlockList.h"
#include "scene/Movement.h"
#include "scene/SceneList.h"
#include "scene/SceneView.h"
#include "scene/World.h"

namespace {

class EditSession : public ProgramFixture {
protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    recordDir(tmp.file("install"));
    copyPanelPictures();
    // The start scene: a plate, a red 4 x 2 brick and a blue 2 x 2 brick apart from it.
    writeStartScene({plainBlock(BasePlate, 10, 10, {0, 0, 0}, {0.2f, 0.7f, 0.2f, 1}),
                     plainBlock(Brick, 4, 2, {-8, 4, -12}, {1, 0, 0, 1}),
                     plainBlock(Brick, 2, 2, {8, 4, 8}, {0, 0, 1, 1})},
                    220);
  }
  Block* blockWithColour(float r, float b) const {
    Block* found = nullptr;
    for (const auto& node : p->world.scene.nodes)
      if (node->block->kind == Brick && node->block->colour[0] == r && node->block->colour[2] == b)
        found = node->block.get();
    return found;
  }
  int bricks() const { return p->world.scene.count() - 1; }
  // How many blocks picking this one up would take along (the block and its stack).
  int stackOf(Block* block) {
    BlockList stack;
    const int n = collectStack(p->world, stack, block);
    listClear(stack);
    return n;
  }
};

}  // namespace

TEST_F(EditSession, PickDragOntoABrickTurnCopyAndUndo) {
  ASSERT_TRUE(startUp(*p, ""));
  pump();
  Block* red = blockWithColour(1, 0);
  Block* blue = blockWithColour(0, 1);
  ASSERT_TRUE(red && blue);
  const Vec3 redStart = red->position;
  ASSERT_EQ(bricks(), 2);

  // Pick the red brick up by its top.
  moveTo(onScreen(Vec3{redStart.x, 7.5f, redStart.z}));
  headlessMouseButton(1, true);
  pump();
  ASSERT_TRUE(p->editor.state.holding);
  EXPECT_EQ(p->world.selectedBlock, red);
  EXPECT_EQ(cursorName(currentCursor()), "HAND");

  // Drag it over the blue brick: it climbs on top. Let go: it snaps onto the blue brick's studs.
  dragTo(onScreen(Vec3{8, 7.5f, 8}));
  dragTo(onScreen(Vec3{8, 13.5f, 8}));
  EXPECT_GT(red->position.y, 4.5f);
  headlessMouseButton(1, false);
  pump();
  EXPECT_FALSE(p->editor.state.holding);
  EXPECT_EQ(p->shell.sceneUnchanged, 0);
  EXPECT_FLOAT_EQ(red->outerMin.y, 7);  // its bottom on the blue brick's top
  EXPECT_LT(std::fabs(red->position.x - blue->position.x), 6);
  EXPECT_LT(std::fabs(red->position.z - blue->position.z), 4);
  EXPECT_EQ(std::fmod(std::fabs(red->outerMin.x - blue->outerMin.x), 4.0f), 0);  // on the stud grid
  EXPECT_EQ(stackOf(blue), 2);  // resting on it: picking blue takes red along
  EXPECT_EQ(bricks(), 2);
  const Vec3 onBlue = red->position;

  // Undo puts it back where it was picked up; undo again puts it on the blue brick once more.
  undo(p->editor);
  EXPECT_EQ(red->position, redStart);
  undo(p->editor);
  EXPECT_EQ(red->position, onBlue);
  pump();

  // Pick it up again and press the right button while holding: a quarter turn; it stays on top.
  moveTo(onScreen(Vec3{onBlue.x, onBlue.y + 3.5f, onBlue.z}));
  headlessMouseButton(1, true);
  pump();
  ASSERT_TRUE(p->editor.state.holding);
  ASSERT_EQ(p->world.selectedBlock, red);
  headlessMouseButton(3, true);
  pump();
  EXPECT_EQ(red->orientation, 1);
  EXPECT_EQ(p->editor.state.undoAction, UndoTurn);
  headlessMouseButton(3, false);
  pump();
  EXPECT_TRUE(p->editor.state.holding);  // the right button did not end the hold
  headlessMouseButton(1, false);
  pump();
  EXPECT_EQ(red->orientation, 1);
  EXPECT_FLOAT_EQ(red->outerMin.y, 7);
  EXPECT_EQ(bricks(), 2);

  // A double-click copies the red brick onto itself.
  const Point redTop = onScreen(Vec3{red->position.x, red->position.y + 3.5f, red->position.z});
  moveTo(redTop);
  headlessClick(redTop.x, redTop.y);
  headlessClick(redTop.x, redTop.y);
  pump();
  pump();
  ASSERT_EQ(bricks(), 3);
  Block* copy = nullptr;
  for (const auto& node : p->world.scene.nodes)
    if (node->block.get() != red && node->block->colour == red->colour) copy = node->block.get();
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->position, (Vec3{red->position.x, red->position.y + 6, red->position.z}));
  EXPECT_EQ(copy->orientation, red->orientation);
  EXPECT_FALSE(p->editor.state.holding);
  EXPECT_EQ(stackOf(blue), 3);
  EXPECT_TRUE(headlessMessageBoxes().empty());

  // The copy's own pick recorded a move that went nowhere: undo leaves the scene as it is.
  const Vec3 redNow = red->position;
  undo(p->editor);
  EXPECT_EQ(red->position, redNow);
  EXPECT_EQ(bricks(), 3);

  // A block dragged down off the view and let go over the bottom panel is dropped, not left hanging.
  pump();
  moveTo(onScreen(Vec3{blue->position.x - 4, 3, blue->position.z}));
  headlessMouseButton(1, true);
  pump();
  ASSERT_TRUE(p->editor.state.holding);
  ASSERT_EQ(p->world.selectedBlock, blue);
  const Rect view = windowRect(p->shell.ViewWindow);
  dragTo(Point{cursorPos().x, view.bottom + 30});
  EXPECT_EQ(windowFromPoint(cursorPos().x, cursorPos().y), p->shell.BottomPanel);
  headlessMouseButton(1, false);
  pump();
  EXPECT_FALSE(p->editor.state.holding);
  EXPECT_FALSE(p->world.movement.leftDrag);
  EXPECT_TRUE(p->world.movingSet.entries.empty());
  EXPECT_FLOAT_EQ(std::fmod(blue->outerMin.y - 1, 6.0f), 0);  // dropped onto a brick level
  EXPECT_EQ(stackOf(blue), 3);  // the stack on it came along and is still linked
}
