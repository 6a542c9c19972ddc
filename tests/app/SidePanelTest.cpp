// The edit screen's side panel in the real program, headless, driven by injected pointer input: a new block
// taken from a block picture and dragged onto the plate, the page arrows and their wrap, a block picture
// let go over the panel, and the cast button.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/PanelArt.h"
#include "app/ProgramFixture.h"
#include "app/Shell.h"
#include "platform/dialog.h"
#include "edit/EditState.h"
#include "files/SceneFile.h"
#include "render/SceneRenderer.h"
#include "scene/Movement.h"
#include "scene/SceneList.h"
#include "scene/SceneView.h"
#include "scene/World.h"

namespace {

struct Arrow {
  int id;
  Rect rect;
};
// Back and forward arrows of each block picture.
const Arrow kBack[3] = {{305, {59, 95, 91, 108}}, {307, {59, 203, 91, 216}}, {309, {59, 311, 91, 324}}};
const Arrow kForward[3] = {{306, {2, 187, 34, 200}}, {308, {2, 295, 34, 308}}, {310, {2, 403, 34, 416}}};
const Point kBlockPicture[3] = {{45, 150}, {45, 255}, {45, 365}};

class SidePanel : public ProgramFixture {
protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    recordDir(tmp.file("install"));
    copyPanelPictures();
    // The start scene: a base plate and nothing on it.
    writeStartScene({plainBlock(BasePlate, 10, 10, {0, 0, 0}, {0.2f, 0.7f, 0.2f, 1})}, 220);
  }
  Point onPanel(int x, int y) { return clientToScreen(p->shell.SidePanel, Point{x, y}); }
  void clickArrow(const Arrow& arrow) {
    press(onPanel(arrow.rect.left + 4, arrow.rect.top + 4));
    release();
  }
  int page(int n) const { return p->panelArt.blockPage[n - 1]; }
  // Whether the side panel shows this rectangle of the picture at the same place.
  bool panelShows(const Surface& picture, const Rect& r) {
    const Surface& panel = windowSurface(p->shell.SidePanel);
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (panel.at(x, y) != picture.at(x, y)) return false;
    return true;
  }
};

}  // namespace

TEST_F(SidePanel, ABlockTakenFromItsPictureFollowsThePointerAndRestsOnThePlate) {
  ASSERT_TRUE(startUp(*p, ""));
  pump();
  ASSERT_EQ(p->world.scene.count(), 1);
  Block* plate = p->world.basePlate;
  ASSERT_TRUE(plate);

  // The red dot beside the shapes chooses red for new blocks: every row rings red, none rings white.
  const Rect redDots[3] = {{68, 188, 77, 200}, {68, 296, 77, 308}, {68, 404, 77, 416}};
  const Rect whiteDot{41, 188, 50, 200};
  EXPECT_TRUE(panelShows(p->panelArt.veditx, whiteDot));  // white until another colour is chosen
  press(onPanel(72, 302));
  release();
  EXPECT_EQ(p->editor.state.newBlockColour, 4);
  for (const Rect& dot : redDots) EXPECT_TRUE(panelShows(p->panelArt.veditx, dot));
  EXPECT_TRUE(panelShows(p->panelArt.vedit, whiteDot));

  // Leaf the bricks forward to page 3 (a 4 x 2 brick); a picture pressed arms it and puts the tools away.
  clickArrow(kForward[0]);
  clickArrow(kForward[0]);
  ASSERT_EQ(page(1), 3);
  p->editor.state.removeTool = true;
  press(onPanel(kBlockPicture[0].x, kBlockPicture[0].y));
  EXPECT_TRUE(p->editor.state.brickPaletteDrag);
  EXPECT_FALSE(p->editor.state.removeTool);
  EXPECT_EQ(cursorName(currentCursor()), "HAND2");
  EXPECT_EQ(p->world.scene.count(), 1);  // nothing yet: the block comes with the pointer into the view

  // Into the view with the button still down: the block is there and held.
  dragTo(clientToScreen(p->shell.ViewWindow, Point{60, 150}));
  ASSERT_EQ(p->world.scene.count(), 2);
  ASSERT_TRUE(p->editor.state.holding);
  Block* brick = p->world.selectedBlock;
  ASSERT_TRUE(brick && brick != plate);
  EXPECT_EQ(brick->kind, Brick);
  EXPECT_EQ(brick->studsX, 4);
  EXPECT_EQ(brick->studsZ, 2);
  EXPECT_EQ(brick->colour[0], 1.0f);
  EXPECT_EQ(brick->colour[1], 0.0f);
  EXPECT_FALSE(p->editor.state.brickPaletteDrag);

  // It follows the pointer to the middle of the plate and is let go there.
  const Vec3 before = brick->position;
  dragTo(onScreen(Vec3{0, 4, 0}));
  EXPECT_NE(brick->position, before);
  release();
  EXPECT_FALSE(p->editor.state.holding);
  EXPECT_EQ(p->world.scene.count(), 2);
  EXPECT_EQ(p->shell.sceneUnchanged, 0);
  SceneNode* node = sceneFind(p->world.scene, brick);
  ASSERT_TRUE(node);
  ASSERT_EQ(node->supports.size(), 1u);
  EXPECT_EQ(node->supports[0]->lower, plate);
}

TEST_F(SidePanel, PageArrowsWrapBothWaysAndShowPressedOnlyWhileHeld) {
  ASSERT_TRUE(startUp(*p, ""));
  pump();
  const PanelArt& art = p->panelArt;
  ASSERT_FALSE(panelShows(art.veditx, kBack[0].rect)) << "the pressed bitmap must differ from the normal one";

  for (int n = 1; n <= 3; ++n) {
    const int last = kBlockPageCount[n - 1];
    SCOPED_TRACE(n);
    ASSERT_EQ(page(n), 1);
    // Back from the first page is the last; the arrow shows pressed while held and normal after.
    press(onPanel(kBack[n - 1].rect.left + 4, kBack[n - 1].rect.top + 4));
    EXPECT_EQ(page(n), last);
    EXPECT_EQ(p->shell.pressedButton, kBack[n - 1].id);
    EXPECT_TRUE(panelShows(art.veditx, kBack[n - 1].rect));
    release();
    EXPECT_EQ(p->shell.pressedButton, 0);
    EXPECT_TRUE(panelShows(art.vedit, kBack[n - 1].rect));
    // Forward from the last page is the first.
    clickArrow(kForward[n - 1]);
    EXPECT_EQ(page(n), 1);
  }

  // The page turns on the press; letting go away from the arrow keeps the new page and still draws the
  // arrow normal.
  press(onPanel(kForward[1].rect.left + 4, kForward[1].rect.top + 4));
  moveTo(onPanel(50, 470));
  release();
  EXPECT_EQ(page(2), 2);
  EXPECT_EQ(p->shell.pressedButton, 0);
  EXPECT_TRUE(panelShows(art.vedit, kForward[1].rect));
  // The shape picture's page decides the shape that comes in.
  EXPECT_EQ(p->editor.state.shapePalette1Entry, 2);
}

TEST_F(SidePanel, APictureLetGoOverThePanelBringsNothingAndTheCastButtonSpeaks) {
  ASSERT_TRUE(startUp(*p, ""));
  pump();
  headlessClearMessageBoxes();

  press(onPanel(kBlockPicture[2].x, kBlockPicture[2].y));
  EXPECT_TRUE(p->editor.state.shapePalette2Drag);
  release();
  EXPECT_FALSE(p->editor.state.shapePalette2Drag);
  press(onPanel(95, 460));  // a bare part of the panel
  dragTo(clientToScreen(p->shell.ViewWindow, Point{200, 150}));
  release();
  EXPECT_EQ(p->world.scene.count(), 1);

  // The cast button acts on its release inside it, and only then: its picture opens with the cast tune,
  // and the music is off once any click closes it.
  std::string cast;
  ASSERT_TRUE(readWholeFile(buildDataPath("scene/cast2.tbm"), cast));
  tmp.write("data/scene/cast2.tbm", cast);
  headlessClearDialogsOpened();
  press(onPanel(30, 30));
  EXPECT_EQ(p->shell.pressedButton, 601);
  moveTo(onPanel(50, 470));
  release();
  EXPECT_TRUE(headlessDialogsOpened().empty());
  EXPECT_EQ(p->shell.pressedButton, 0);
  bool waited = false;  // the click below must close it, not the policy
  headlessSetDialogPolicy([&](Dialog&, const std::string&) {
    waited = true;
    return IDOK;
  });
  headlessClick(onPanel(30, 30).x, onPanel(30, 30).y);
  headlessClick(320, 240);
  pump();
  ASSERT_EQ(headlessDialogsOpened().size(), 1u);
  EXPECT_EQ(headlessDialogsOpened()[0], "CASTDLG");
  EXPECT_FALSE(p->sound.musicOn);
  EXPECT_TRUE(panelShows(p->panelArt.vedit, Rect{18, 20, 76, 72}));
  EXPECT_FALSE(waited);
  EXPECT_TRUE(headlessMessageBoxes().empty());
}
