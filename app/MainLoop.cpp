// The frame loop: messages first; then, when a frame is due, the edit step, the game step, drawing and
// presenting, in that order.
#include "app/Shell.h"
#include "edit/Picking.h"
#include "sound/Sounds.h"

namespace {

// The third rendering failure in a run ends the program, whether or not the failures were consecutive.
constexpr int kFailuresBeforeExit = 3;
// With nothing to draw the loop sleeps until input arrives, waking this often to look at the sounds.
constexpr uint32_t kIdleWakeMs = 100;
// While the fanfare plays its end is looked for this often.
constexpr uint32_t kFanfareWakeMs = 20;

bool isInput(Msg m) {
  switch (m) {
    case Msg::KeyDown: case Msg::KeyUp: case Msg::SysKeyDown: case Msg::Char: case Msg::MouseMove:
    case Msg::LButtonDown: case Msg::LButtonUp: case Msg::LButtonDblClk: case Msg::RButtonDown:
    case Msg::RButtonUp: case Msg::RButtonDblClk:
      return true;
    default:
      return false;
  }
}

// Clicks and keys made while the view turns on the edit screen are dropped.
bool droppedDuringTurn(const Program& p, const Message& m) {
  const EditState& e = p.editor.state;
  return e.animation.kind == CameraAnimation::Kind::Turn && e.editScreen && isInput(m.msg);
}

// Work the view has of its own, whoever asked for it: animations, the flight, and edit steps waiting for
// the next frame. Each of these moves what the view shows without any further input.
bool viewBusy(const Program& p) {
  const EditState& e = p.editor.state;
  return p.explosion.active || e.animation.kind != CameraAnimation::Kind::None || p.world.game.gameRunning ||
         e.movePending || e.settlePending || e.orbitDrag || (e.zoomDrag && e.deltaY != 0) || e.rotatePending ||
         p.world.movement.keyMove;
}

// A key or a click may change anything on the screen: the view draws once more after it. Pointer movements
// ask for frames in their handlers, only when they move something.
bool changesView(Msg m) { return isInput(m) && m != Msg::MouseMove; }

// An edit marks the scene as changed since it was loaded or kept.
void takeEdits(Program& p) {
  if (!p.editor.sceneEdited) return;
  p.editor.sceneEdited = false;
  p.shell.sceneUnchanged = 0;
}

}  // namespace

FrameConditions frameConditions(const Program& p) {
  FrameConditions c;
  c.holding = p.editor.state.holding;
  c.keyMove = p.world.movement.keyMove;
  c.rotatePending = p.editor.state.rotatePending;
  c.leftDrag = p.world.movement.leftDrag;
  c.explosionRunning = p.explosion.active;
  c.hideStuds = p.editor.settings.hideStuds;
  c.gameRunning = p.world.game.gameRunning;
  c.gameSetup = p.world.game.gameSetup;
  c.fastFlight = p.world.game.fastFlight;
  return c;
}

bool runFrame(Program& p) {
  if (editFrameStep(p.editor)) gameStep(p);
  reportMissingShapes(p);
  const FrameConditions c = frameConditions(p);
  if (!beginFrame(p.renderer, c)) return false;
  if (drawFrame(p.renderer, p.world, c) == FramePath::TurnOrKeyMove) {
    p.editor.state.rotatePending = false;
    p.world.movement.keyMove = false;
  }
  Rect shown = p.renderer.frameExtent;
  if (p.explosion.active) {
    if (explosionStep(p.explosion, p.device, tickCount()) == ExplosionStep::FirstFrame)
      playEffect(p.sound, EffectId::BlockOut);
    shown = c.leftDrag ? unionRect(p.explosion.area, shown) : p.explosion.area;
  }
  const bool presented = presentFrame(p.renderer, shown);
  // Whoever asked for the frame, the explosion's pixels leave the back buffer once they are shown.
  restoreUnderExplosion(p.explosion, p.device);
  return presented;
}

int runMessageLoop(Program& p) {
  Message message;
  int lastCode = 0;
  bool wasBusy = false;
  uint32_t lastFrame = tickCount() - frameInterval();
  while (true) {
    while (peekMessage(message)) {
      if (message.msg == Msg::Quit) return message.code;
      lastCode = message.code;
      if (droppedDuringTurn(p, message)) continue;
      if (changesView(message.msg)) p.shell.frameRequested = 1;
      dispatchMessage(message);
      takeEdits(p);
      reportMissingShapes(p);
    }
    if (!p.shell.onDemandRedraw) p.shell.frameRequested = 1;
    // Busy views draw every frame, and once more when the work has ended (the explosion's last picture
    // leaves, the aeroplane stands where it landed).
    const bool busy = viewBusy(p);
    if (busy || wasBusy) p.shell.frameRequested = 1;
    wasBusy = busy;
    followViewStep(p, p.world.selectedBlock);
    fanfareStep(p);

    uint32_t wait = p.gameState.fanfare ? kFanfareWakeMs : kIdleWakeMs;
    if (p.shell.viewActive && p.shell.frameRequested) {
      // Frames follow the display's refresh: one drawn sooner would never be seen.
      const uint32_t sinceLast = tickCount() - lastFrame;
      if (sinceLast >= frameInterval()) {
        lastFrame = tickCount();
        // Cleared first: whatever the frame's own steps ask for (the flight's next leg) is drawn next time.
        if (p.shell.onDemandRedraw) p.shell.frameRequested = 0;
        if (!runFrame(p) && ++p.shell.renderFailures >= kFailuresBeforeExit) {
          shutDownApp(p);
          return lastCode;
        }
        takeEdits(p);
        continue;
      }
      wait = frameInterval() - sinceLast;
    }
    // Nothing due: sleep until input arrives or the next frame or check is due. The screen as last drawn
    // stays on show.
    idleWait(wait);
  }
}
