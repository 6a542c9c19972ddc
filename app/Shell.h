// The application shell: the program-wide shell record, start-up, the polling message loop, the window
// procedures of the six windows, minimise and restore, and shut-down.
#pragma once

#include <functional>
#include <string>

#include "platform/window.h"
#include "render/RenderView.h"
#include "sound/Sounds.h"

struct Block;

enum ScreenState : int { OptionsScreen = 1, GameSelectScreen = 2, EditScreen = 3, GameScreen = 22 };

struct ShellState {
  HWindow BackdropWindow = nullptr;
  HWindow VideoWindow = nullptr;
  HWindow ViewWindow = nullptr;
  HWindow SidePanel = nullptr;
  HWindow BottomPanel = nullptr;
  HWindow TabStrip = nullptr;

  DisplayMode savedDisplayMode;
  DisplayMode gameDisplayMode;
  Rect viewClientRect{0, 0, 540, 380};

  int frameRequested = 1;
  int viewActive = 1;
  int onDemandRedraw = 1;
  int explosionActive = 0;
  int sceneUnchanged = 1;
  int minimised = 0;
  int videoFinished = 0;
  int exitWaiting = 0;
  int exitWaitCancelled = 0;
  int screenState = EditScreen;
  int pressedButton = 0;  // the panel button drawn pressed, 0 for none
  int pendingButton = 0;  // the button under the pointer as last seen, or 0
  int renderFailures = 0;
  std::string backgroundPicturePath = "./scene\\sky.ppm";
  std::string sharedCaption;  // caption of every message box that names none

  // The cursors, loaded once at start-up.
  HCursor handCursor = 0, hand2Cursor = 0, paintCursor = 0, soundCursor = 0, cannotCursor = 0, hammerCursor = 0,
          waitCursor = 0, arrowCursor = 0;

  SoundState sound;
};

extern ShellState shell;

// The 3D view's frame step while the renderer runs: true when nothing needed drawing or drawing
// worked. Empty until the renderer starts.
extern std::function<bool()> runFrame;

// The whole program: start-up, then the message loop. Returns the exit code.
int runTolvane(const std::string& commandLine);
// Start-up up to the message loop; false when the program must end with exit code 1.
bool startUp(const std::string& commandLine);
// The polling message loop; returns the exit code carried by the quit message.
int runMessageLoop();
// While a fast flight runs on the game screen, the view follows the aeroplane a fifth of the way a pass.
void followViewStep(const Block* block);
// The start picture "./bmp\\start.bmp" over the whole video window, shown while the program loads.
void paintStartPicture(HWindow window);

bool ChangeDisplayMode(HWindow window, int width, int height, int bits);
void registerShellClasses();
// Create the four working windows at their places around the backdrop's centre; false when the 3D view
// could not be created.
bool createWorkingWindows();
// Move the four working windows to their places around the centre of rect.
void placeWorkingWindows(const Rect& rect);
void minimiseProgram();
void restoreProgram();
// Draw the pressed button normal again unless the pointer is still over it.
void ReleaseButtons();
// The tab strip's base picture with the current screen's tab highlighted.
void paintTabStrip();
intptr_t tabStripInput(HWindow window, const Message& message);
// The exit button: see whether the user wants to save, keep the scene in "port\temp.lml" and quit.
void exitProgram();
// Quit: play quit.wav and wait until it ends or Escape is pressed (only key presses are handled meanwhile);
// then release it.
void playQuitJingleAndWait(SoundState& sound);
// Start-up: sleep in 10 ms steps while the start jingle plays, then release it.
void waitForStartJingle(SoundState& sound);
// Where the scene is kept between runs: the install folder's "port\temp.lml".
std::string keptScenePath();
// The 3D view's pointer and key input (picking, dragging, turning, copying, painting, the camera drags).
void viewMouseMove(const Message& m);
void viewLeftDown(const Message& m);
void viewLeftUp();
void viewLeftDoubleClick(const Message& m);
void viewRightDown(HWindow window, const Message& m);
void viewRightUp();
void viewRightDoubleClick(const Message& m);
void viewKeyDown(int key);
// A left or right button released over a panel ends what the view started.
void endViewHoldOverPanel();
void viewRightUpOverPanel();
extern std::function<void(int x, int y)> startExplosion;
// The scene-slot dialog the exit question's "Yes" opens; empty until the slot dialog exists.
extern std::function<bool(HWindow)> openSceneSlots;
