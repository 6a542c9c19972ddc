// The screens and the keyboard in the real program, headless, driven by injected clicks and keys: the tabs
// switch screens and paint their panels, a click into the view on the options screen only comes back to
// editing, the options buttons act only when released on themselves, the cheat code with other keys in between, and the hammer's explosion.
#include <gtest/gtest.h>

#include "app/PanelArt.h"
#include "app/ProgramFixture.h"
#include "app/Shell.h"
#include "edit/EditState.h"
#include "files/InstallFolders.h"
#include "platform/paths.h"
#include "scene/SceneList.h"
#include "platform/dialog.h"
#include "platform/registry.h"
#include "sound/SoundBank.h"
#include "sound/Sounds.h"

namespace {

const Rect kOptionsTab{422, 0, 485, 23}, kEditTab{292, 0, 354, 23}, kGameTab{356, 0, 420, 23},
    kSaveTab{226, 0, 290, 23};
const Rect kHelp{17, 8, 66, 60}, kPrint{195, 9, 259, 58}, kBackground{127, 8, 181, 57};
const Rect kHammer{422, 9, 471, 68};

class Screens : public ProgramFixture {
protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    recordDir(tmp.file("install"));
    copyPanelPictures();
    std::string explosion;
    ASSERT_TRUE(readWholeFile(buildDataPath("menu/explode.bmp"), explosion));
    tmp.write("data/menu/explode.bmp", explosion);
    writeStartScene({plainBlock(BasePlate, 10, 10, {0, 0, 0}, {0.2f, 0.7f, 0.2f, 1}),
                     plainBlock(Brick, 4, 2, {-8, 4, -12}, {1, 0, 0, 1})},
                    200);
    ASSERT_TRUE(startUp(*p, ""));
    pump();
  }
  Point centre(HWindow w, const Rect& r) { return clientToScreen(w, Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}); }
  void click(HWindow w, const Rect& r) {
    press(centre(w, r));
    release();
  }
  // The panel shows this picture's pixels at the centre of r.
  bool shows(HWindow w, const Surface& picture, const Rect& r) {
    const Point at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return windowSurface(w).at(at.x, at.y) == picture.at(at.x, at.y);
  }
  void typeKeys(const std::string& keys) {
    for (char key : keys) headlessKeyPress(key);
    pump();
  }
};

TEST_F(Screens, TabsSwitchScreensAndAViewClickOnTheOptionsScreenOnlyComesBack) {
  const Rect wholeBottom{0, 0, 540, 76};
  click(p->shell.TabStrip, kOptionsTab);
  EXPECT_EQ(p->shell.screenState, OptionsScreen);
  EXPECT_TRUE(shows(p->shell.BottomPanel, p->panelArt.hoption, wholeBottom));
  EXPECT_TRUE(shows(p->shell.SidePanel, p->panelArt.vfile, Rect{0, 200, 100, 300}));
  EXPECT_TRUE(shows(p->shell.TabStrip, p->panelArt.mselectx, kOptionsTab));

  // The click that brings the edit screen back picks nothing up, even right on the brick.
  const Block* brick = p->world.scene.nodes.back()->block.get();
  press(onScreen(brick->position));
  EXPECT_EQ(p->shell.screenState, EditScreen);
  EXPECT_FALSE(p->editor.state.holding);
  release();
  EXPECT_TRUE(shows(p->shell.BottomPanel, p->panelArt.hedit, Rect{0, 11, 49, 68}));
  EXPECT_TRUE(shows(p->shell.TabStrip, p->panelArt.mselectx, kEditTab));

  // A paint message on any screen paints that screen's panels again.
  click(p->shell.TabStrip, kOptionsTab);
  fillSurfaceRect(windowSurface(p->shell.BottomPanel), windowSurface(p->shell.BottomPanel).bounds(), 0);
  invalidateRect(p->shell.BottomPanel, nullptr);
  pump();
  EXPECT_TRUE(shows(p->shell.BottomPanel, p->panelArt.hoption, wholeBottom));
  click(p->shell.TabStrip, kEditTab);
  EXPECT_EQ(p->shell.screenState, EditScreen);

  // The save tab opens the scene slots over the edit screen, which stays.
  headlessClearDialogsOpened();
  click(p->shell.TabStrip, kSaveTab);
  ASSERT_EQ(headlessDialogsOpened().size(), 1u);
  EXPECT_EQ(headlessDialogsOpened()[0], "THUMBNAIL");
  EXPECT_EQ(p->shell.screenState, EditScreen);
}

TEST_F(Screens, OptionButtonsActOnlyWhenReleasedOnThemselves) {
  click(p->shell.TabStrip, kOptionsTab);
  headlessClearMessageBoxes();
  // Pressed on print, let go on help: neither prints nor opens help, and print is drawn normal again.
  press(centre(p->shell.BottomPanel, kPrint));
  EXPECT_TRUE(shows(p->shell.BottomPanel, p->panelArt.hoptionx, kPrint));
  const size_t documents = headlessOpenedDocuments().size();
  moveTo(centre(p->shell.BottomPanel, kHelp));
  release();
  EXPECT_TRUE(headlessMessageBoxes().empty());
  EXPECT_EQ(headlessOpenedDocuments().size(), documents);
  EXPECT_TRUE(shows(p->shell.BottomPanel, p->panelArt.hoption, kPrint));

  // Help shows the data folder's page in the browser; without the page it says it cannot.
  click(p->shell.BottomPanel, kHelp);
  ASSERT_EQ(headlessMessageBoxes().size(), 1u);
  EXPECT_NE(headlessMessageBoxes()[0].text.find("help.html"), std::string::npos);
  headlessClearMessageBoxes();
  tmp.write("data/help.html", "<html></html>");
  click(p->shell.BottomPanel, kHelp);
  ASSERT_EQ(headlessOpenedDocuments().size(), documents + 1);
  EXPECT_EQ(headlessOpenedDocuments().back(), joinPath(p->folders.dataRoot, "help.html"));

  click(p->shell.BottomPanel, kPrint);
  headlessClearDialogsOpened();
  click(p->shell.BottomPanel, kBackground);  // the picture chooser, closed at once
  ASSERT_EQ(headlessMessageBoxes().size(), 1u);
  EXPECT_EQ(headlessMessageBoxes()[0].text.rfind("PDF 파일로 인쇄했습니다.", 0), 0u);  // the page, printed to a file
  EXPECT_EQ(headlessDialogsOpened(), std::vector<std::string>{"THUMBNAIL"});
  EXPECT_TRUE(isWindowEnabled(p->shell.ViewWindow));
  EXPECT_TRUE(isWindowEnabled(p->shell.BottomPanel));
  EXPECT_TRUE(isWindowEnabled(p->shell.TabStrip));
}

TEST_F(Screens, TheCheatCodeTogglesWithOtherKeysInBetweenAndUnlocksTheLight) {
  headlessSetMessageBoxPolicy([](const MessageBoxShown&) { return IDOK; });
  const Vec3 light = p->world.view.lightDirection;
  typeKeys("Z");
  EXPECT_EQ(p->world.view.lightDirection.x, light.x);  // no light keys outside cheat mode

  // Typed from its last letter to its first, digits and arrows in between.
  headlessClearMessageBoxes();
  headlessKeyPress('X');
  headlessKeyPress('1');
  headlessKeyPress(VK_LEFT);
  typeKeys("OMUL9P");
  ASSERT_EQ(headlessMessageBoxes().size(), 1u);
  EXPECT_EQ(headlessMessageBoxes()[0].text, "Cheat key enable");
  EXPECT_EQ(headlessMessageBoxes()[0].caption, "cheat");
  EXPECT_TRUE(p->world.cheatMode);
  EXPECT_EQ(p->shell.onDemandRedraw, 1);
  typeKeys("Z");
  EXPECT_NE(p->world.view.lightDirection.x, light.x);

  typeKeys("XOMULP");
  ASSERT_EQ(headlessMessageBoxes().size(), 2u);
  EXPECT_EQ(headlessMessageBoxes()[1].text, "Cheat key disable");
  EXPECT_FALSE(p->world.cheatMode);
  EXPECT_EQ(p->shell.onDemandRedraw, 0);
}

TEST_F(Screens, TheHammersExplosionPlaysOverTheViewAndLeavesNoTrace) {
  click(p->shell.BottomPanel, kHammer);
  ASSERT_TRUE(p->editor.state.removeTool);
  pump();
  pump();
  const Surface before = windowSurface(p->shell.ViewWindow);
  const Block* brick = p->world.scene.nodes.back()->block.get();
  const Point at = onScreen(brick->position);
  const size_t blocks = p->world.scene.nodes.size();
  press(at);
  release();
  EXPECT_EQ(p->world.scene.nodes.size(), blocks - 1);
  EXPECT_TRUE(p->explosion.active);
  int frames = 0;
  for (int i = 0; i < 200 && p->explosion.active; ++i) {
    headlessAdvanceClock(25);
    pump();
    ++frames;
  }
  EXPECT_FALSE(p->explosion.active);
  EXPECT_GE(frames, 10);
  // Once it ends, the view shows what a full redraw of the scene without the brick shows.
  const Surface after = windowSurface(p->shell.ViewWindow);
  p->shell.frameRequested = 1;
  p->renderer.fullRedrawPending = 1;
  pump();
  const Point local = screenToClient(p->shell.ViewWindow, at);
  int differing = 0;
  for (int y = std::max(0, local.y - 50); y < std::min(380, local.y + 50); y += 2)
    for (int x = std::max(0, local.x - 50); x < std::min(540, local.x + 50); x += 2)
      differing += after.at(x, y) != windowSurface(p->shell.ViewWindow).at(x, y);
  EXPECT_EQ(differing, 0);
  EXPECT_NE(before.at(local.x, local.y), after.at(local.x, local.y));  // the brick is gone
}

TEST_F(Screens, AnExplosionAtTheViewsEdgesIsCutAndItsSourceMovesWithTheCut) {
  ExplosionSprite& e = p->explosion;
  ASSERT_TRUE(e.picture);
  const Surface& frames = e.picture->pixels();
  const uint16_t key = frames.at(0, 0);
  startExplosion(e, 10, 10);
  ASSERT_EQ(explosionStep(e, p->device, tickCount()), ExplosionStep::FirstFrame);
  EXPECT_EQ(e.lastDrawn, (Rect{0, 0, 60, 60}));
  // The back buffer at (x, y) shows the first frame at (x + 40, y + 40) wherever that is not the key colour.
  const Surface& back = p->device.backBuffer->pixels();
  int compared = 0;
  for (int y = 0; y < 60; y += 3)
    for (int x = 0; x < 60; x += 3)
      if (frames.at(x + 40, y + 40) != key) {
        EXPECT_EQ(back.at(x, y), frames.at(x + 40, y + 40)) << x << "," << y;
        ++compared;
      }
  EXPECT_GT(compared, 20);
  restoreUnderExplosion(e, p->device);

  startExplosion(e, 530, 370);  // a running animation moves and goes on
  EXPECT_EQ(explosionStep(e, p->device, tickCount() + 30), ExplosionStep::NextFrame);
  EXPECT_EQ(e.lastDrawn, (Rect{480, 320, 540, 380}));
  EXPECT_EQ(e.frame, 2);
  restoreUnderExplosion(e, p->device);
}

}  // namespace

namespace {

// The keys on the shipped data folder, where the tunes and notes exist.
class Keys : public ProgramFixture {
protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    startOnShippedData();
    setFocus(p->shell.ViewWindow);
  }
  void key(int code) {
    headlessKeyPress(code);
    pump();
  }
};

TEST_F(Keys, TheSettingsDialogShowsTheStoreAndKeepsWhatIsTicked) {
  Point settings = clientToScreen(p->shell.BottomPanel, Point{297, 36});
  headlessClick(clientToScreen(p->shell.TabStrip, Point{450, 10}).x, clientToScreen(p->shell.TabStrip, Point{450, 10}).y);
  pump();
  ASSERT_EQ(p->shell.screenState, OptionsScreen);

  // The store says "hide the studs" while this run does not: the dialog shows the store.
  RegKey store = regCreateKey(RegRoot::CurrentUser, "Software\\Tolvane");
  regSetValue(store, "NotDrawButton", "1", 2);
  regCloseKey(store);
  bool shownHidden = false, windowsDisabled = false;
  headlessSetDialogPolicy([&](Dialog& d, const std::string& name) {
    if (name != "SETTINGDLG") return IDOK;
    shownHidden = d.checked(1063) && !d.checked(1042);
    windowsDisabled = !isWindowEnabled(p->shell.TabStrip) && !isWindowEnabled(p->shell.SidePanel);
    d.setChecked(1042, true);
    return IDOK;
  });
  headlessClick(settings.x, settings.y);
  pump();
  EXPECT_TRUE(shownHidden);
  EXPECT_TRUE(windowsDisabled);
  EXPECT_TRUE(isWindowEnabled(p->shell.TabStrip));
  EXPECT_TRUE(p->editor.settings.autoView);
  EXPECT_TRUE(p->editor.settings.hideStuds);
  const std::string written = tmp.read("config/registry.txt");
  EXPECT_NE(written.find("\"View Change\" = 10:\"1\""), std::string::npos);
  EXPECT_NE(written.find("\"NotDrawButton\" = 10:\"1\""), std::string::npos);
}

TEST_F(Keys, NoteKeysPlayTheTunesNotesAndMSwitchesBetweenSilenceAndTheGameTunes) {
  SoundState& s = p->sound;
  ASSERT_TRUE(s.musicOn);  // the background tune starts with the program
  key('3');
  EXPECT_TRUE(s.musicBank->isPlaying(s.musicNotes[static_cast<int>(Note::Mi)]));

  key('M');  // music on: M stops it and turns the game tunes off
  EXPECT_FALSE(s.musicOn);
  EXPECT_FALSE(s.gameMusicOn);
  key('3');  // without music the plain notes play
  EXPECT_TRUE(s.effectsBank->isPlaying(s.effects[static_cast<int>(EffectId::NoteMi)]));
  key('M');  // no music: M turns the game tunes on and starts the next one
  EXPECT_TRUE(s.gameMusicOn);
  EXPECT_TRUE(s.musicOn);
  EXPECT_EQ(s.tuneStyle, 5);
}

TEST_F(Keys, SReadsTheSettingsAgainAndSpaceShowsTheMovementSwitch) {
  RegKey store = regCreateKey(RegRoot::CurrentUser, "Software\\Tolvane");
  regSetValue(store, "NotDrawButton", "1", 2);
  regCloseKey(store);
  EXPECT_FALSE(p->editor.settings.hideStuds);
  key('S');
  EXPECT_TRUE(p->editor.settings.hideStuds);

  const bool before = p->world.movement.wholeBrickDrop;
  key(VK_SPACE);
  ASSERT_NE(p->world.movement.wholeBrickDrop, before);
  const Surface& shown = p->world.movement.wholeBrickDrop ? p->panelArt.hedit : p->panelArt.heditx;
  EXPECT_EQ(windowSurface(p->shell.BottomPanel).at(196, 40), shown.at(196, 40));
}

TEST_F(Keys, MinimisingGivesTheScreenAndTheMusicBackAndRestoringKeepsTheMusicOff) {
  ASSERT_TRUE(p->sound.musicOn);
  minimiseProgram(*p);
  EXPECT_FALSE(p->sound.musicOn);
  EXPECT_FALSE(programModeActive());
  headlessRestoreRequest();
  pump();
  EXPECT_EQ(p->shell.minimised, 0);
  EXPECT_TRUE(programModeActive());
  EXPECT_FALSE(p->sound.musicOn);
  EXPECT_FALSE(p->editor.state.holding);
}

}  // namespace
