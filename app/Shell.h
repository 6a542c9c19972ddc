// The application shell: the shell record and the program object that owns every piece of state, start-up,
// the frame loop, the window procedures of the six windows, minimise and restore, and shut-down.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "app/PanelArt.h"
#include "edit/Editor.h"
#include "files/InstallFolders.h"
#include "files/SceneFile.h"
#include "game/Game.h"
#include "output/TitleVideo.h"
#include "platform/window.h"
#include "render/RenderDevice.h"
#include "render/Explosion.h"
#include "render/RenderView.h"
#include "render/SceneRenderer.h"
#include "scene/World.h"
#include "sound/Sounds.h"

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
  int sceneUnchanged = 1;
  int minimised = 0;
  int videoFinished = 0;
  int exitWaiting = 0;
  int exitWaitCancelled = 0;
  int screenState = EditScreen;
  int pressedButton = 0;  // the panel button drawn pressed, 0 for none
  int pendingButton = 0;  // the button under the pointer as last seen, or 0
  int renderFailures = 0;
  int snapshotReady = 1;  // the snapshot button keeps the scene next (1) or brings it back (0)
  std::array<int, 7> letterHistory{};  // the latest letter keys, newest first
  bool shutDownDone = false;      // the view and the device have been released and the quit posted
  bool starting = false;          // start-up is under way: a close waits for its end
  bool closeRequested = false;    // the desktop or the session asked to close during start-up
  bool exitQuestionOpen = false;  // the exit question waits for its answer
  bool restoring = false;         // a restore is under way
  std::string sharedCaption;  // caption of every message box that names none
  std::string exchangePath;   // the file last chosen to receive, which the send dialog proposes

  // The cursors, loaded once at start-up.
  HCursor handCursor = 0, hand2Cursor = 0, paintCursor = 0, soundCursor = 0, cannotCursor = 0, hammerCursor = 0,
          waitCursor = 0, arrowCursor = 0;
};

struct Program;

// Notes and block sounds asked for by the block model, played from the effects bank.
class ProgramSounds final : public WorldEvents {
public:
  explicit ProgramSounds(Program& program) : p(program) {}
  void moveNote(MoveNote note) override;
  void blockSound(BlockSound sound) override;

private:
  Program& p;
};

// Everything the running program holds, made in one place and handed by reference to what needs it.
struct Program {
  Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  ShellState shell;
  SoundState sound;
  RenderDevice device;
  SceneRenderer renderer;
  ProgramSounds sounds;
  World world;
  Editor editor;
  SceneFileState sceneFile;
  PanelArt panelArt;
  ExplosionSprite explosion;
  GameState gameState;
  Folders folders;
  TitleVideo titleVideo;  // the title video playing at start-up, closed otherwise
};

// The whole program: start-up, then the frame loop. Returns the exit code.
int runTolvane(Program& p, const std::string& commandLine);
// Start-up up to the frame loop; false when the program must end with exit code 1.
bool startUp(Program& p, const std::string& commandLine);
// The frame loop: input, the edit step, the game step, drawing and presenting; returns the exit code.
int runMessageLoop(Program& p);
// One frame of the 3D view when the view runs: the edit step, the game step, drawing, presenting. True
// when nothing needed drawing or drawing worked.
bool runFrame(Program& p);
// What the frame needs to know about editing, the game, the explosion and the settings.
FrameConditions frameConditions(const Program& p);
// While a fast flight runs on the game screen, the view follows the aeroplane a fifth of the way a pass.
void followViewStep(Program& p, const Block* block);
// The two title videos in turn in the video window, each until it ends or Escape skips it; a video that
// cannot be opened or played is skipped without a word. The pointer is hidden meanwhile.
void playTitleVideos(Program& p);
// The start picture "./bmp\\start.bmp" over the whole video window, shown while the program loads.
void paintStartPicture(HWindow window);
// The catalogue "./scene\\all.box", then the start scene: "port\\temp.lml" in the install folder, else
// "./scene\\scene.lml"; the scene is built and the camera set from it. False when neither scene reads.
bool loadStartContent(Program& p);
// Re-confirm the install folders (message 26 when they are gone); false when they are not usable.
bool confirmInstall(Program& p);
// Tell the user of every block built without its catalogue shape since the last report.
void reportMissingShapes(Program& p);

// Release the view and the render device and post the quit message; only the first call does anything.
void shutDownApp(Program& p);

// Put the screen in the program's mode of that size (full screen); false after telling the user.
bool ChangeDisplayMode(Program& p, HWindow window, int width, int height, int bits);
// Give the screen back to the desktop's own mode (minimising).
void leaveProgramMode(Program& p);
void registerShellClasses(Program& p);
// Create the four working windows at their places around the backdrop's centre; false when the 3D view
// could not be created.
bool createWorkingWindows(Program& p);
// Move the four working windows to their places around the centre of rect.
void placeWorkingWindows(Program& p, const Rect& rect);
void minimiseProgram(Program& p);
void restoreProgram(Program& p);
// Draw the pressed button normal again unless the pointer is still over it.
void ReleaseButtons(Program& p);
// The tab strip's base picture with the current screen's tab highlighted.
void paintTabStrip(Program& p);
intptr_t tabStripInput(Program& p, HWindow window, const Message& message);
// The side panel's pointer input (moves, left presses and releases); false for any other message.
bool sidePanelInput(Program& p, HWindow window, const Message& message);
// Draw a side-panel button (the cast button, a page arrow on the edit screen) in its normal picture.
void drawSidePanelButtonNormal(Program& p, int id);
// The edit screen's bottom-panel pointer input (moves, left presses and releases); false for any other
// message or screen.
bool bottomPanelInput(Program& p, const Message& message);
// Draw an edit-screen bottom-panel button with an identifier (undo, a view preset, rotate block) normal.
void drawBottomPanelButtonNormal(Program& p, int id);
// The side panel's colour dots with the colour new blocks take ringed.
void drawColourDots(Program& p);
// The cast button's credits dialog.
void openCastDialog(Program& p);
// The options screen's settings dialog.
void openSettingsDialog(Program& p);

// The screens. Entering the edit screen paints its panels with the movement toggle, the hammer and the
// chosen paint cell as they stand; the callers play the menu sound where it belongs.
void EnterEditScreen(Program& p);
void enterOptionsScreen(Program& p);
// The game tab: keep the scene for later, stop the music and open the game slots; back to the edit screen
// when they close without a level.
void EnterGameSelectScreen(Program& p);
// A level was loaded from the game slots: the game screen with its strip, panels and tune.
void enterLoadedGame(Program& p);
// Paint both panels for the current screen (after a paint message).
void paintScreenPanels(Program& p);
void drawMusicButton(Program& p);
void drawGameMusicButton(Program& p);
// The edit screen's bottom-panel pictures that show state: the movement toggle, the hammer, the paint cell.
void drawEditToolPictures(Program& p);
// The options screen's bottom-panel pointer input; false for any other message or screen.
bool optionsPanelInput(Program& p, const Message& message);
// Draw an options-screen button with an identifier (help, background picture, print, settings) normal.
void drawOptionsButtonNormal(Program& p, int id);
// Show the help page of that name from the data folder's "help" folder in the desktop's browser.
void openHelpPage(Program& p, const std::string& name);

// The game in the frame loop: a flight step (paced at 40 ms), and the fanfare's end before the next level.
void gameStep(Program& p);
void fanfareStep(Program& p);
// The target was reached: on to the next level in set-up (after the last one, congratulations and level 1).
void finishLevel(Program& p);
// What a game scene lacks, each in its own box; true when it has everything.
bool checkGameSceneWithMessages(Program& p, HWindow owner);
// The scene kept in the scratch folder's "~temp.lml" while a game runs, and brought back afterwards.
bool takeSnapshot(Program& p);
bool restoreSnapshot(Program& p);
// The game screen's pause (also Space during a fast flight) and fast flight (also Space while flying).
void pauseFlight(Program& p);
void speedUpFlight(Program& p);
void drawSnapshotButton(Program& p);
// The bottom panel of the game-selection and game screens; false for other screens and messages.
bool gamePanelInput(Program& p, const Message& message);

// The scene slots: true when New was chosen (the caller then offers the new-scene plates).
bool openSceneSlots(Program& p, HWindow owner);
// The game slots: thumbnail::kLoad when a level was loaded (the game screen is set up), else kClose.
int openGameSlots(Program& p, HWindow owner);

// Print the scene on one page: the 3D view as it is on the screen with the file information under it, to a
// PDF file in the install folder's "Port" folder or to a printer; says how it ended.
void printScene(Program& p);

// The picture chooser: the background picture from "./image/bimg%03d.bmp" (the options screen's button),
// or the base plate of a new scene from "./image/new%03d.bmp" (after the scene slots' New). Nothing opens
// when the install folders are gone (message 26).
void openPictureChooser(Program& p, HWindow owner);
void openNewSceneChooser(Program& p, HWindow owner);
// Show the picture at path ("./image/bimg001.ppm": the data folder's file behind the first two characters)
// behind the view and keep path for the scene files written afterwards. False, with nothing changed, when
// there is no such file.
bool setBackground(Program& p, const std::string& path);
// The background a scene file named, unless it is the one shown already.
void showNamedBackground(Program& p, const std::optional<std::string>& named);

// Exchanging scenes through files, by default in the install folder's "Port" folder. Receiving asks
// first when the scene is unsaved, reads the chosen file and shows it on the edit screen; true when a
// scene was read (a file that cannot be read leaves the scene cleared). Sending asks before overwriting
// (No chooses again), takes the file information in its form and writes; true when the file was written.
bool importScene(Program& p, HWindow owner);
bool exportScene(Program& p, HWindow owner);
// The slot dialog's Receive and Send: with the file's information header; receiving shows what the
// header says, sending says when it is done. True when a scene was read or written.
bool receiveScene(Program& p, HWindow owner);
bool sendScene(Program& p, HWindow owner);
// The file-information form: the profile and the work's title and description, stored on OK. False when
// it closed without OK (the program is closing).
bool openFileInfoForm(Program& p, HWindow owner);

// The keyboard commands every window hands on: the cheat code, the light and walking keys of cheat mode,
// Space and M, and Escape during the exit jingle.
void handleKey(Program& p, int key);
// The keys only the 3D view knows: the note keys 1-8 and "S" (read the settings again).
void viewOnlyKey(Program& p, int key);
// The exit button: see whether the user wants to save, keep the scene in "port\\temp.lml" and quit.
void exitProgram(Program& p);
// Quit: play quit.wav and wait until it ends or Escape is pressed (only key presses are handled meanwhile);
// then release it.
void playQuitJingleAndWait(Program& p);
// Start-up: sleep in 10 ms steps while the start jingle plays, then release it.
void waitForStartJingle(SoundState& sound);
// The session ends and nobody can be asked: keep the scene in "port\\temp.lml" (as "No" does) and shut down.
void keepSessionAndQuit(Program& p);
// The user's text for a scene that could not be saved at path.
std::string saveFailureText(WriteFailure why, const std::string& path);
// Where the scene is kept between runs: the install folder's "port\\temp.lml".
std::string keptScenePath(const Program& p);
// The 3D view's pointer and key input (picking, dragging, turning, copying, painting, the camera drags).
void viewMouseMove(Program& p, const Message& m);
void viewLeftDown(Program& p, const Message& m);
void viewLeftUp(Program& p);
void viewLeftDoubleClick(Program& p, const Message& m);
void viewRightDown(Program& p, HWindow window, const Message& m);
void viewRightUp(Program& p);
void viewRightDoubleClick(Program& p, const Message& m);
void viewKeyDown(Program& p, int key);
// A left or right button released over a panel ends what the view started.
void endViewHoldOverPanel(Program& p);
void viewRightUpOverPanel(Program& p);
