// The picture chooser in the running program, headless: pages of twenty thumbnails, a choice that the
// page turn forgets, a background that shows behind the view, is written into the kept scene and comes
// back after a restart, a picture that is missing changing nothing, and the new-scene plates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ProgramFixture.h"
#include "app/Shell.h"
#include "app/ThumbnailDialog.h"
#include "platform/dialog.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "sound/Sounds.h"

namespace {

using namespace thumbnail;

const Rect kOptionsTab{422, 0, 485, 23}, kBackgroundButton{127, 8, 181, 57};
const uint16_t kSky = rgb565(0x60, 0x60, 0x60);  // the sky picture copyPanelPictures writes

// What the chooser shows while it waits for the user.
struct Seen {
  int items = 0;  // item buttons shown
  uint16_t firstItem = 0;  // the colour in the middle of the first item button
  bool previous = false, next = false, load = false, preview = false;
  std::string message;
};

// One answer of the user: look at the dialog, give the next command.
using Step = std::function<int(Dialog&)>;

class PictureChooser : public ProgramFixture {
protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    installBrickOnPlate();
    ASSERT_TRUE(tmp.makeFolder("data/image"));
    start();
  }
  void TearDown() override {
    headlessSetDialogPolicy(nullptr);
    ProgramFixture::TearDown();
  }
  void start() {
    ASSERT_TRUE(startUp(*p, ""));
    pump();
  }

  // Item n's colour: every thumbnail and picture its own.
  static uint16_t colourOf(int n) { return rgb565(8 * (n % 32), 4 * (n % 64), 255 - 8 * (n % 32)); }
  void thumbnails(const char* prefix, int from, int to) {
    for (int n = from; n <= to; ++n) {
      char name[64];
      std::snprintf(name, sizeof name, "data/image/%s%03d.bmp", prefix, n);
      ASSERT_TRUE(saveSurfaceBmp(Surface(98, 69, colourOf(n)), tmp.file(name).c_str()));
    }
  }
  void backgroundPicture(int n) {
    const uint16_t c = colourOf(n);
    std::string ppm = "P6\n4 4\n255\n";
    for (int i = 0; i < 16; ++i) ppm += std::string{char(red565(c)), char(green565(c)), char(blue565(c))};
    ASSERT_TRUE(tmp.write("data/image/bimg" + std::to_string(1000 + n).substr(1) + ".ppm", ppm));
  }

  // The user's answers, in order; Close once they run out.
  void answer(std::vector<Step> steps) {
    auto left = std::make_shared<std::deque<Step>>(steps.begin(), steps.end());
    headlessSetDialogPolicy([left](Dialog& dialog, const std::string& name) {
      if (name != "THUMBNAIL" || left->empty()) return kClose;
      Step step = std::move(left->front());
      left->pop_front();
      return step(dialog);
    });
    stepsLeft = left;
  }
  size_t unanswered() const { return stepsLeft ? stepsLeft->size() : 0; }

  static Seen seen(Dialog& d) {
    Seen s;
    for (int id : kSlotIds) s.items += d.isShown(id);
    s.firstItem = windowSurface(d.window()).at(30 + 42, 87 + 36);
    s.previous = d.isEnabled(kPrevious);
    s.next = d.isEnabled(kNext);
    s.load = d.isEnabled(kLoad);
    s.preview = d.isShown(kPreview);
    s.message = d.text(kMessage);
    return s;
  }
  static Step look(std::vector<Seen>& into, int command) {
    return [&into, command](Dialog& d) {
      into.push_back(seen(d));
      return command;
    };
  }

  // The background button of the options screen.
  void pressBackgroundButton() {
    if (p->shell.screenState != OptionsScreen) click(p->shell.TabStrip, kOptionsTab);
    click(p->shell.BottomPanel, kBackgroundButton);
  }
  void click(HWindow w, const Rect& r) {
    press(clientToScreen(w, Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    release();
  }
  // The colour behind the scene, in the view's top left corner.
  uint16_t backgroundShown() {
    p->shell.viewActive = 1;
    p->shell.frameRequested = 1;
    pump();
    return windowSurface(p->shell.ViewWindow).at(3, 3);
  }

  std::shared_ptr<std::deque<Step>> stepsLeft;
};

}  // namespace

TEST_F(PictureChooser, PagesHoldTwentyPicturesAndOnlyTheLastPageHasNoNext) {
  const std::string chooseBackground = loadString(9);
  int written = 0;
  for (int count : {20, 21, 25}) {
    SCOPED_TRACE(count);
    thumbnails("bimg", written + 1, count);
    written = count;
    std::vector<Seen> pages;
    bool othersHidden = false;
    answer({[&](Dialog& d) {
              othersHidden = true;
              for (int id : {kSave, kDelete, kNew, kCurrentView, kReceive, kSend}) othersHidden &= !d.isShown(id);
              pages.push_back(seen(d));
              return kNext;
            },
            look(pages, kPrevious), look(pages, kClose)});
    pressBackgroundButton();
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_TRUE(othersHidden);

    const Seen& first = pages[0];
    EXPECT_EQ(first.items, 20);
    EXPECT_EQ(first.firstItem, colourOf(1));
    EXPECT_FALSE(first.previous);
    EXPECT_EQ(first.next, count > 20);
    EXPECT_FALSE(first.load);
    EXPECT_FALSE(first.preview);
    EXPECT_EQ(first.message, chooseBackground);

    const Seen& second = pages[1];  // after Next: the same page when there is no other
    EXPECT_EQ(second.items, count > 20 ? count - 20 : 20);
    EXPECT_EQ(second.firstItem, colourOf(count > 20 ? 21 : 1));
    EXPECT_EQ(second.previous, count > 20);
    EXPECT_FALSE(second.next);
    EXPECT_EQ(second.message, chooseBackground);

    EXPECT_EQ(pages[2].items, 20);  // back on the first page
    EXPECT_FALSE(pages[2].previous);
    EXPECT_EQ(pages[2].next, count > 20);
  }
  EXPECT_EQ(p->sceneFile.backgroundPath, "./scene\\sky.ppm");  // closing chose nothing
}

TEST_F(PictureChooser, TheChosenBackgroundShowsAndTurningThePageForgetsTheChoice) {
  // The menu sound needs the effects: the generated data folder's.
  for (const std::string& name : listFolder(buildDataPath("sound"))) {
    std::string bytes;
    ASSERT_TRUE(readWholeFile(buildDataPath("sound/" + name), bytes));
    tmp.write("data/sound/" + name, bytes);
  }
  freshProgram();
  start();
  thumbnails("bimg", 1, 21);
  backgroundPicture(2);
  backgroundPicture(21);
  ASSERT_EQ(backgroundShown(), kSky);

  std::vector<Seen> seenAfter;
  int soundsHeard = 0;
  // Every press plays the menu sound: each look after one hears it, then silences it for the next press.
  auto heard = [&](int command) {
    return [&, command](Dialog& d) {
      if (!seenAfter.empty()) soundsHeard += isEffectPlaying(p->sound, EffectId::Menu);
      stopEffect(p->sound, EffectId::Menu);
      seenAfter.push_back(seen(d));
      return command;
    };
  };
  answer({heard(kSlotIds[1]),  // item 2
          heard(kNext), heard(kLoad),  // Load is off after the turn: nothing happens
          heard(kSlotIds[0]),  // item 21
          heard(kLoad)});
  pressBackgroundButton();
  EXPECT_EQ(unanswered(), 0u);
  ASSERT_EQ(seenAfter.size(), 5u);
  EXPECT_EQ(soundsHeard, 4);

  const Seen& clicked = seenAfter[1];
  EXPECT_TRUE(clicked.load);
  EXPECT_TRUE(clicked.preview);
  EXPECT_EQ(clicked.message, loadString(8));
  for (const Seen& turned : {seenAfter[2], seenAfter[3]}) {
    EXPECT_FALSE(turned.load);
    EXPECT_FALSE(turned.preview);
    EXPECT_EQ(turned.message, loadString(9));
  }
  EXPECT_TRUE(seenAfter[4].load);

  EXPECT_EQ(p->sceneFile.backgroundPath, "./image/bimg021.ppm");
  EXPECT_EQ(backgroundShown(), colourOf(21));
  EXPECT_TRUE(headlessMessageBoxes().empty());
  EXPECT_TRUE(isWindowEnabled(p->shell.TabStrip));
  EXPECT_TRUE(isWindowEnabled(p->shell.BottomPanel));
}

TEST_F(PictureChooser, APictureThatIsMissingLeavesTheBackgroundAndStillCloses) {
  thumbnails("bimg", 1, 3);
  backgroundPicture(1);
  answer({[](Dialog&) { return kSlotIds[2]; }, [](Dialog&) { return kLoad; }});
  pressBackgroundButton();
  EXPECT_EQ(unanswered(), 0u);
  EXPECT_EQ(headlessDialogsOpened().back(), "THUMBNAIL");
  EXPECT_EQ(p->sceneFile.backgroundPath, "./scene\\sky.ppm");
  EXPECT_EQ(backgroundShown(), kSky);
  EXPECT_TRUE(headlessMessageBoxes().empty());

  // Without its install folders the chooser does not open; the user hears why.
  headlessClearDialogsOpened();
  ASSERT_TRUE(renameFile(tmp.file("install/Port"), tmp.file("install/Port-gone")));
  pressBackgroundButton();
  EXPECT_TRUE(headlessDialogsOpened().empty());
  EXPECT_EQ(messagesWithText(loadString(26)), 1);
}

TEST_F(PictureChooser, ABackgroundChosenBeforeQuittingIsThereAfterARestart) {
  thumbnails("bimg", 1, 3);
  backgroundPicture(3);
  answer({[](Dialog&) { return kSlotIds[2]; }, [](Dialog&) { return kLoad; }});
  pressBackgroundButton();
  ASSERT_EQ(backgroundShown(), colourOf(3));

  exitProgram(*p);
  const std::string kept = tmp.read("install/Port/temp.lml");
  EXPECT_EQ(kept.substr(0, kept.find("\r\n")), "//./image/bimg003.ppm");
  freshProgram();
  start();
  EXPECT_EQ(p->sceneFile.backgroundPath, "./image/bimg003.ppm");
  EXPECT_EQ(backgroundShown(), colourOf(3));
  EXPECT_EQ(p->world.scene.count(), 2);

  // A kept scene whose picture has gone since, and one from before backgrounds were kept, start with the sky.
  ASSERT_TRUE(removeFile(tmp.file("data/image/bimg003.ppm")));
  freshProgram();
  start();
  EXPECT_EQ(p->sceneFile.backgroundPath, "./scene\\sky.ppm");
  EXPECT_EQ(backgroundShown(), kSky);
  tmp.write("install/Port/temp.lml", "//" + kept.substr(kept.find("\r\n")));
  freshProgram();
  start();
  EXPECT_EQ(backgroundShown(), kSky);
  EXPECT_EQ(p->world.scene.count(), 2);
}

TEST_F(PictureChooser, NewSceneChoicesLayThePlateAndCountItOnlyTheTwentySizesMakeAScene) {
  thumbnails("new", 1, 21);
  ASSERT_EQ(p->world.blockCounter, 2);
  const Block* brick = p->world.scene.nodes.back()->block.get();
  std::vector<Seen> seenAfter;
  answer({look(seenAfter, kNext), [](Dialog&) { return kSlotIds[0]; }, [](Dialog&) { return kLoad; }});
  openNewSceneChooser(*p, p->shell.ViewWindow);
  pump();
  EXPECT_EQ(unanswered(), 0u);
  ASSERT_EQ(seenAfter.size(), 1u);
  EXPECT_EQ(seenAfter[0].message, loadString(18));
  EXPECT_EQ(seenAfter[0].firstItem, colourOf(1));
  // Choice 21 has a picture but no plate: the scene stays.
  ASSERT_EQ(p->world.scene.count(), 2);
  EXPECT_EQ(p->world.scene.nodes.back()->block.get(), brick);
  EXPECT_EQ(p->world.blockCounter, 2);

  answer({[](Dialog&) { return kSlotIds[7]; }, [](Dialog&) { return kLoad; }});
  openNewSceneChooser(*p, p->shell.ViewWindow);
  pump();
  ASSERT_EQ(p->world.scene.count(), 1);
  const Block& plate = *p->world.scene.nodes.front()->block;
  EXPECT_EQ(p->world.basePlate, &plate);
  EXPECT_EQ(plate.kind, BasePlate);
  EXPECT_EQ(plate.studsX, 30);
  EXPECT_EQ(plate.studsZ, 60);
  EXPECT_EQ(plate.colour, (std::array<float, 4>{0, 1, 0, 1}));
  // The counter counts the plate and never forgets the blocks that went with the old scene.
  EXPECT_EQ(p->world.blockCounter, 3);
  headlessAnswerNext(IDNO);
  exitProgram(*p);
  const std::string kept = tmp.read("install/Port/temp.lml");
  EXPECT_NE(kept.find(" \r\n3 \r\n1 30 60 "), std::string::npos);  // light line, count line, the plate
  EXPECT_EQ(std::count(kept.begin(), kept.end(), '\n'), 5);
}
