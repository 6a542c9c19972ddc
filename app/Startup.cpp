// Start-up in its fixed order: folders, window classes, the backdrop, the display mode, the working windows.
// Any failure before the message loop ends the program with exit code 1.
#include <cstdio>
#include <ctime>

#include "app/Settings.h"
#include "app/Shell.h"
#include "edit/Camera.h"
#include "files/MeshLoader.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "platform/text.h"
#include "render/Textures.h"

bool ChangeDisplayMode(Program& p, HWindow window, int width, int height, int bits) {
  bool ok = checkScreenWindow(p.device, window, ScreenUse::FullScreen);
  ok = ok && setScreenMode(p.device, width, height, bits);
  ok = ok && checkScreenWindow(p.device, window, ScreenUse::Windowed);
  if (!ok) messageBox(nullptr, lastRenderErrorText(p.device), p.shell.sharedCaption, MB_OK);
  return ok;
}

void leaveProgramMode(Program& p) {
  if (!restoreScreenMode(p.device)) messageBox(nullptr, lastRenderErrorText(p.device), p.shell.sharedCaption, MB_OK);
}

static void loadCursors(Program& p) {
  p.shell.handCursor = loadCursor("HAND");
  p.shell.hand2Cursor = loadCursor("HAND2");
  p.shell.paintCursor = loadCursor("PAINT");
  p.shell.soundCursor = loadCursor("SOUND");
  p.shell.cannotCursor = loadCursor("CANNOT");
  p.shell.hammerCursor = loadCursor("HAMMER");
  p.shell.waitCursor = loadCursor("wait");
  p.shell.arrowCursor = loadCursor("arrow");
}

bool confirmInstall(Program& p) {
  std::optional<Folders> folders = confirmFolders();
  if (!folders) {
    const char* text = loadString(26);
    messageBox(nullptr, text ? text : "", "", MB_OK);
    return false;
  }
  p.folders = *folders;
  return true;
}

// A block whose catalogue shape is missing was built empty: the user hears of each one.
void reportMissingShapes(Program& p) {
  for (; p.world.missingShapes > 0; --p.world.missingShapes) {
    const char* text = loadString(19);
    messageBox(nullptr, text ? text : "잘못된 파일 포맷입니다.", "", MB_OK);
  }
}

// A kept scene the reader refuses is moved aside before anything could be written in its place, and the
// user hears where it went.
static void setAsideUnreadableScene(const std::string& path) {
  const std::string aside = path + ".damaged-" + std::to_string(static_cast<long long>(std::time(nullptr)));
  if (!renameFile(path, aside)) return;
  const std::string text = "지난번에 쓰던 장면 파일을 읽을 수 없어서 다른 이름으로 옮겨 두었습니다:\n" + aside;
  messageBox(nullptr, text, "", MB_OK);
}

bool loadStartContent(Program& p) {
  // Shapes whose meshes are missing stay empty; blocks of those kinds report it when they are built.
  LoadShapeCatalogue(p.world.shapes, "./scene\\all.box");
  sceneClear(p.world);
  const std::string kept = joinPath(p.folders.installDir, "port\\temp.lml");
  bool read = ReadSceneFile(p.sceneFile, p.world, kept);
  if (!read && fileExists(kept)) setAsideUnreadableScene(kept);
  if (!read && !ReadSceneFile(p.sceneFile, p.world, "./scene\\scene.lml")) return false;
  BuildLoadedScene(p.sceneFile, p.world);
  reportMissingShapes(p);
  // The background chosen before the last exit comes back with the kept scene.
  showNamedBackground(p, p.sceneFile.namedBackground);
  resetCamera(p.editor);
  return true;
}

// A start-up refusal: the user sees why, in a box and on standard error; the program then ends with 1.
static bool refuseStart(const std::string& text) {
  std::fprintf(stderr, "tolvane: %s\n", text.c_str());
  messageBox(nullptr, text, "Tolvane", MB_OK);
  return false;
}

// The 3D view: the framework starts the device, the renderer takes it, the start scene is loaded and lit,
// and the camera is placed.
static bool startView(Program& p, const std::string& commandLine) {
  p.shell.shutDownDone = false;
  if (!startRenderView(p.device, p.shell.ViewWindow, commandLine, p.folders.dataRoot)) {
    // The view starts with its background picture: a missing or damaged one is the usual reason.
    const std::string sky = p.folders.dataRoot + "scene/sky.ppm";
    return refuseStart("3D 화면을 시작할 수 없습니다. 배경 그림을 확인해 주세요: " + sky + "\n" +
                       lastRenderErrorText(p.device));
  }
  RenderDevice& d = p.device;
  attachWorld(p.renderer, p.world);
  const std::vector<TextureHandle> handles = textureHandles(d);
  if (!InitView(p.renderer, *d.direct3D, *d.device, d.viewport, static_cast<int>(handles.size()), handles.data())) {
    reportRenderFailure(d, "InitView failed.\n");
    shutDownApp(p);
    return refuseStart("3D 화면을 시작할 수 없습니다: " + lastRenderErrorText(d));
  }
  if (!loadStartContent(p)) {
    shutDownApp(p);
    return refuseStart("시작 장면을 읽을 수 없습니다: " + p.folders.dataRoot + "scene/scene.lml");
  }
  startSceneView(p.renderer, p.world);
  cameraStartOfView(p.editor);
  return true;
}

static bool startSteps(Program& p, const std::string& commandLine);

bool startUp(Program& p, const std::string& commandLine) {
  p.shell.starting = true;
  p.shell.closeRequested = false;
  const bool started = startSteps(p, commandLine);
  p.shell.starting = false;
  if (started && p.shell.closeRequested) {
    // Asked to close while starting: nothing was edited yet, so the program ends without a question.
    sceneClear(p.world);
    shutDownApp(p);
  }
  return started;
}

static bool startSteps(Program& p, const std::string& commandLine) {
  readSettings(p);
  p.sceneFile.backgroundPath = "./scene\\sky.ppm";
  if (!confirmInstall(p)) return false;
  if (!fileExists(p.folders.dataRoot + "scene/scene.lml") && !fileExists(p.folders.dataRoot + "scene/sky.ppm"))
    return refuseStart("자료 폴더를 찾을 수 없습니다 (TOLVANE_DATA 또는 프로그램 옆의 data 폴더): " + p.folders.dataRoot);
  if (!fontLoads()) return refuseStart("글꼴 파일을 읽을 수 없습니다: " + fontFilePath());
  // Saves cut short (the program killed while writing) leave temporary files behind: they go now.
  for (const char* folder : {"Save", "Port"}) removeStaleTemporaries(joinPath(p.folders.installDir, folder));
  enterDataRoot(p.folders);
  loadCursors(p);
  registerShellClasses(p);

  p.shell.BackdropWindow = createWindow("ViewerClass2", "Tolvane", true, 0, 0, 540, 380, nullptr);
  if (!p.shell.BackdropWindow) return false;

  p.shell.savedDisplayMode = desktopDisplayMode();
  if (ChangeDisplayMode(p, p.shell.BackdropWindow, 640, 480, 16))
    p.shell.gameDisplayMode = DisplayMode{640, 480, 16};
  else if (ChangeDisplayMode(p, p.shell.BackdropWindow, 800, 600, 16))
    p.shell.gameDisplayMode = DisplayMode{800, 600, 16};
  else
    return false;

  showWindow(p.shell.BackdropWindow, ShowCmd::ShowMaximised);
  // The start picture covers the screen while the rest loads; the first frame of the view replaces it.
  const Rect screen = windowRect(p.shell.BackdropWindow);
  p.shell.VideoWindow = createWindow("AVIViewerClass", "Tolvane", false, (screen.right - screen.left) / 2 - 320,
                                     (screen.bottom - screen.top) / 2 - 240, 640, 480, p.shell.BackdropWindow);
  showWindow(p.shell.VideoWindow, ShowCmd::Show);
  playTitleVideos(p);
  paintStartPicture(p.shell.VideoWindow);
  idleWait(0);  // on the screen now: start-up keeps the loop busy until the first frame
  if (!createWorkingWindows(p)) return false;

  // The start jingle plays while the rest starts; the effects load alongside (a missing one only silences).
  setCursor(p.shell.waitCursor);
  loadJingle(p.sound, JingleKind::Start, p.shell.ViewWindow);
  loadEffects(p.sound, p.shell.ViewWindow);
  playJingle(p.sound);
  loadPanelBitmapsFirst(p);
  prepareExplosion(p.explosion, "./menu/explode.bmp", 10, Rect{0, 0, 100, 100});

  if (!startView(p, commandLine)) return false;

  for (HWindow window : {p.shell.SidePanel, p.shell.BottomPanel, p.shell.TabStrip, p.shell.ViewWindow})
    showWindow(window, ShowCmd::Show);
  // The start picture stays in front of them until the view has drawn its first frame.
  bringToTop(p.shell.VideoWindow);
  loadPanelBitmapsSecond(p);
  waitForStartJingle(p.sound);
  runFrame(p);
  destroyWindow(p.shell.VideoWindow);
  p.shell.VideoWindow = nullptr;
  p.sound.dataRoot = confirmInstall(p) ? p.folders.dataRoot : std::string();
  startBackgroundMusic(p.sound);
  setCursor(p.shell.hand2Cursor);
  return true;
}

void shutDownApp(Program& p) {
  if (p.shell.shutDownDone) return;
  p.shell.shutDownDone = true;
  // The renderer lets go of its lights and materials before the device they belong to goes.
  releaseViewObjects(p.renderer);
  shutDownRenderDevice(p.device);
  postQuitMessage(0);
}

void waitForStartJingle(SoundState& sound) {
  uint32_t limit = jingleWaitLimit(sound);
  for (uint32_t waited = 0; jingleIsPlaying(sound) && waited < limit; waited += 10) idleWait(10);
  releaseJingle(sound);
}

int runTolvane(Program& p, const std::string& commandLine) {
  const bool started = startUp(p, commandLine);
  int code = started ? runMessageLoop(p) : 1;
  resetSound(p.sound);
  return code;
}
