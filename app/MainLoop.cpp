// The frame loop: messages first; then, when a frame is due, the edit step, the game step, drawing and
// presenting, in that order.
#include "app/Shell.h"
#include "edit/Picking.h"
#include "sound/Sounds.h"

namespace {

// The third rendering failure in a run ends the program, whether or not the failures were consecutive.
constexpr int kFailuresBeforeExit = 3;

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
  while (true) {
    while (peekMessage(message)) {
      if (message.msg == Msg::Quit) return message.code;
      lastCode = message.code;
      if (droppedDuringTurn(p, message)) continue;
      dispatchMessage(message);
      takeEdits(p);
      reportMissingShapes(p);
    }
    if (!p.shell.onDemandRedraw) p.shell.frameRequested = 1;
    if (p.explosion.active) p.shell.frameRequested = 1;
    if (p.editor.state.animation.kind != CameraAnimation::Kind::None) p.shell.frameRequested = 1;
    followViewStep(p, p.world.selectedBlock);
    fanfareStep(p);
    if (p.world.game.gameRunning) p.shell.frameRequested = 1;
    bool drew = false;
    if (p.shell.viewActive && p.shell.frameRequested) {
      drew = true;
      if (!runFrame(p) && ++p.shell.renderFailures >= kFailuresBeforeExit) {
        shutDownApp(p);
        return lastCode;
      }
      takeEdits(p);
    }
    // Nothing to draw: give the processor back for a moment instead of spinning.
    if (!drew) idleWait(1);
  }
}
