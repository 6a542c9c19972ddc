// The edit screen's bottom panel in the real program, headless, driven by injected clicks: the view presets,
// undo after a move and while holding, the paint-colour cells and the hammer, the movement toggle, the view
// turn and zoom buttons and rotate block.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/PanelArt.h"
#include "app/ProgramFixture.h"
#include "app/Shell.h"
#include "edit/EditState.h"
#include "files/SceneFile.h"
#include "render/SceneRenderer.h"
#include "scene/Movement.h"
#include "scene/SceneList.h"
#include "scene/SceneView.h"
#include "scene/World.h"

namespace {

const Rect kUndo{0, 11, 49, 68};
const Rect kMovement{169, 18, 223, 63};
const Rect kHammer{422, 9, 471, 68};
const Rect kToolStrip{227, 8, 412, 65};
const Rect kRotate{113, 5, 154, 34};
const Rect kRedCell{289, 8, 319, 65};
const Rect kWhiteCell{227, 8, 257, 65};
const Rect kBlueCell{351, 8, 381, 65};

struct Preset {
  Rect rect;
  float azimuth, polar, distance;
};
const Preset kPresets[4] = {
    {{491, 53, 520, 70}, 220, 30, 140},
    {{497, 6, 513, 20}, 180, 1, 170},
    {{474, 36, 494, 53}, 180, 89, 170},
    {{516, 41, 537, 53}, 270, 89, 170},
};

class BottomPanel : public ProgramFixture {
protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    installBrickOnPlate();
  }
  void start() {
    ASSERT_TRUE(startUp(*p, ""));
    pump();
    ASSERT_EQ(p->shell.screenState, EditScreen);
  }
  Point onPanel(int x, int y) { return clientToScreen(p->shell.BottomPanel, Point{x, y}); }
  Point inside(const Rect& r) { return onPanel((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
  void click(const Rect& r) {
    press(inside(r));
    release();
  }
  // Frames until the camera animation under way has run out.
  void runAnimation() {
    for (int frame = 0; frame < 50 && p->editor.state.animation.kind != CameraAnimation::Kind::None; ++frame)
      runFrame(*p);
  }
  // Whether the bottom panel shows this rectangle of the picture at the same place.
  bool panelShows(const Surface& picture, const Rect& r) {
    const Surface& panel = windowSurface(p->shell.BottomPanel);
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (panel.at(x, y) != picture.at(x, y)) return false;
    return true;
  }
  Block* redBrick() const {
    for (const auto& node : p->world.scene.nodes)
      if (node->block->kind == Brick) return node->block.get();
    return nullptr;
  }
};

}  // namespace

TEST_F(BottomPanel, ViewPresetsSetTheCameraOnReleaseInsideTheButton) {
  start();
  const PanelArt& art = p->panelArt;
  ASSERT_FALSE(panelShows(art.heditx, kPresets[1].rect)) << "the pressed bitmap must differ from the normal one";

  for (int n : {2, 3, 4, 1}) {
    SCOPED_TRACE(n);
    const Preset& preset = kPresets[n - 1];
    press(inside(preset.rect));
    EXPECT_EQ(p->shell.pressedButton, 320 + n);
    EXPECT_TRUE(panelShows(art.heditx, preset.rect));
    release();
    EXPECT_NEAR(p->world.view.azimuth, preset.azimuth, 0.01f);
    EXPECT_NEAR(p->world.view.polar, preset.polar, 0.01f);
    EXPECT_NEAR(p->world.view.distance, preset.distance, 0.01f);
    EXPECT_EQ(p->shell.pressedButton, 0);
    EXPECT_TRUE(panelShows(art.hedit, preset.rect));
  }

  // Let go away from the button: no change, and the button is drawn normal again.
  press(inside(kPresets[3].rect));
  moveTo(onPanel(300, 72));
  release();
  EXPECT_NEAR(p->world.view.azimuth, kPresets[0].azimuth, 0.01f);
  EXPECT_EQ(p->shell.pressedButton, 0);
  EXPECT_TRUE(panelShows(art.hedit, kPresets[3].rect));
}

TEST_F(BottomPanel, UndoPutsAMovedBlockBackButNotWhileItIsHeld) {
  start();
  Block* red = redBrick();
  ASSERT_TRUE(red);
  const Vec3 redStart = red->position;

  // Drag the red brick across the plate and let go.
  moveTo(onScreen(Vec3{redStart.x, 7.5f, redStart.z}));
  headlessMouseButton(1, true);
  pump();
  ASSERT_TRUE(p->editor.state.holding);
  dragTo(onScreen(Vec3{8, 7.5f, 8}));
  release();
  ASSERT_FALSE(p->editor.state.holding);
  const Vec3 dropped = red->position;
  ASSERT_NE(dropped, redStart);

  press(inside(kUndo));
  EXPECT_EQ(p->shell.pressedButton, 301);
  EXPECT_EQ(red->position, dropped);  // undo acts on the release
  release();
  EXPECT_EQ(red->position, redStart);
  EXPECT_TRUE(panelShows(p->panelArt.hedit, kUndo));

  // A key move leaves the brick held: undo is refused and the hold goes on.
  setFocus(p->shell.ViewWindow);
  headlessKeyPress(VK_RIGHT);
  pump();
  ASSERT_TRUE(p->editor.state.holding);
  const Vec3 held = red->position;
  click(kUndo);
  EXPECT_EQ(red->position, held);
  EXPECT_TRUE(p->editor.state.holding);
  EXPECT_EQ(p->shell.pressedButton, 0);

  // Any other button's release ends the hold first.
  click(kPresets[0].rect);
  EXPECT_FALSE(p->editor.state.holding);
}

TEST_F(BottomPanel, ToolCellsChooseAColourAndTheHammerExcludesThem) {
  start();
  const PanelArt& art = p->panelArt;
  EditState& e = p->editor.state;
  ASSERT_FALSE(panelShows(art.heditx, kRedCell));

  // A cell chooses its colour (and the colour of new blocks) and shows pressed alone.
  click(kRedCell);
  EXPECT_EQ(e.paintTool, 4);
  EXPECT_EQ(e.newBlockColour, 4);
  EXPECT_TRUE(panelShows(art.heditx, kRedCell));
  EXPECT_EQ(p->shell.viewActive, 0);
  click(kWhiteCell);
  EXPECT_EQ(e.paintTool, 1);
  EXPECT_EQ(e.newBlockColour, 1);
  EXPECT_TRUE(panelShows(art.heditx, kWhiteCell));
  EXPECT_TRUE(panelShows(art.hedit, kRedCell));
  // The same cell again puts the tool away.
  click(kWhiteCell);
  EXPECT_EQ(e.paintTool, 0);
  EXPECT_TRUE(panelShows(art.hedit, kToolStrip));

  // The corner pixel chooses blue without changing the colour of new blocks.
  click(Rect{538, 0, 539, 1});
  EXPECT_EQ(e.paintTool, 6);
  EXPECT_EQ(e.newBlockColour, 1);
  click(kBlueCell);
  EXPECT_EQ(e.paintTool, 0);

  // The hammer puts the paint tool away; a cell pressed then only puts the hammer away.
  click(kBlueCell);
  ASSERT_EQ(e.paintTool, 6);
  click(kHammer);
  EXPECT_TRUE(e.removeTool);
  EXPECT_EQ(e.paintTool, 0);
  EXPECT_TRUE(panelShows(art.heditx, kHammer));
  EXPECT_TRUE(panelShows(art.hedit, kToolStrip));
  click(kRedCell);
  EXPECT_FALSE(e.removeTool);
  EXPECT_EQ(e.paintTool, 0);
  EXPECT_TRUE(panelShows(art.hedit, kHammer));
  click(kRedCell);
  EXPECT_EQ(e.paintTool, 4);
  // The hammer pressed twice is off again.
  click(kHammer);
  click(kHammer);
  EXPECT_FALSE(e.removeTool);
  EXPECT_EQ(e.paintTool, 0);
}

TEST_F(BottomPanel, MovementToggleFlipsWholeBrickDropAndItsPicture) {
  start();
  const PanelArt& art = p->panelArt;
  ASSERT_TRUE(p->world.movement.wholeBrickDrop);
  ASSERT_TRUE(panelShows(art.hedit, kMovement));
  ASSERT_FALSE(panelShows(art.heditx, kMovement));

  press(inside(kMovement));
  EXPECT_FALSE(p->world.movement.wholeBrickDrop);  // on the press
  release();
  EXPECT_TRUE(panelShows(art.heditx, kMovement));
  EXPECT_EQ(p->shell.viewActive, 0);
  EXPECT_EQ(cursorName(currentCursor()), "HAND2");
  click(kMovement);
  EXPECT_TRUE(p->world.movement.wholeBrickDrop);
  EXPECT_TRUE(panelShows(art.hedit, kMovement));
}

TEST_F(BottomPanel, TurnAndZoomButtonsAnimateTheViewAndRotateTurnsTheSelectedBlock) {
  start();
  SceneView& view = p->world.view;

  const float azimuth = view.azimuth;
  click(Rect{134, 35, 162, 71});  // orbit right
  runAnimation();
  EXPECT_NEAR(std::fabs(view.azimuth - azimuth), 30, 0.01f);
  click(Rect{108, 35, 134, 71});  // orbit left
  runAnimation();
  EXPECT_NEAR(view.azimuth, azimuth, 0.01f);

  const float distance = view.distance;
  click(Rect{77, 45, 89, 55});  // zoom out
  runAnimation();
  EXPECT_NEAR(view.distance, distance + 32, 0.01f);
  click(Rect{55, 20, 68, 38});  // zoom in
  runAnimation();
  EXPECT_NEAR(view.distance, distance, 0.01f);

  // Rotate block does nothing without a selected block; with one it turns a quarter.
  Block* red = redBrick();
  ASSERT_TRUE(red);
  const float width = red->outerMax.x - red->outerMin.x, depth = red->outerMax.z - red->outerMin.z;
  ASSERT_NE(width, depth);
  ASSERT_EQ(p->world.selectedBlock, nullptr);
  click(kRotate);
  EXPECT_FLOAT_EQ(red->outerMax.x - red->outerMin.x, width);
  p->world.selectedBlock = red;
  click(kRotate);
  EXPECT_FLOAT_EQ(red->outerMax.x - red->outerMin.x, depth);
  EXPECT_FLOAT_EQ(red->outerMax.z - red->outerMin.z, width);
  EXPECT_EQ(p->world.movingSet.count(), 0);
  EXPECT_FALSE(p->editor.state.holding);
  EXPECT_TRUE(panelShows(p->panelArt.hedit, kRotate));
}
