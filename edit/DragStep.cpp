// One drag step per frame: the pointer's movement carried onto the drag plane, the held stack moved with
// the collision response, and the pointer kept on the block when the move was turned aside; and the
// editing part of every frame around it.
#include <cmath>

#include "edit/Camera.h"
#include "edit/EditState.h"
#include "edit/Picking.h"
#include "platform/window.h"
#include "render/RenderDevice.h"
#include "render/SceneRenderer.h"
#include "scene/BlockList.h"
#include "scene/Movement.h"
#include "scene/SceneFlags.h"
#include "scene/SceneList.h"
#include "scene/Settings.h"

namespace {

// Put the system pointer on a point of the view without showing it on its way there.
void movePointerTo(Editor& ed, int x, int y) {
  HWindow view = ed.device.window;
  if (!view) return;
  const Point p = clientToScreen(view, Point{x, y});
  showCursor(false);
  setCursorPos(p.x, p.y);
  showCursor(true);
}

// Once after a pick, a block whose middle lies far from the pointer brings the pointer to its middle.
void warpPointerOntoBlock(Editor& ed) {
  EditState& e = ed.state;
  if (!e.cursorWarpPending || !e.holding || !e.pickedBlock || e.pickedBlock != ed.world.selectedBlock) return;
  if (!isWindow(ed.device.window)) {
    e.cursorWarpPending = false;
    return;
  }
  const Rect view = clientRect(ed.device.window);
  const Vec3 p = projectPoint(ed.renderer, e.pickedBlock->position.x, e.pickedBlock->position.y, e.pickedBlock->position.z);
  const int px = static_cast<int>(p.x), py = static_cast<int>(p.y);
  if (!view.contains(px, py) || (px == 0 && py == 0)) return;
  const int dx = px - e.pointerX, dy = py - e.pointerY;
  if (dx * dx + dy * dy < 2501) return;
  movePointerTo(ed, px, py);
  e.pointerX = px;
  e.pointerY = py;
  e.cursorWarpPending = false;
}

bool deflected(Vec3 requested, Vec3 applied) {
  return std::fabs(applied.x - requested.x) >= 0.001f || std::fabs(applied.y - requested.y) >= 0.001f ||
         std::fabs(applied.z - requested.z) >= 0.001f;
}

}  // namespace

void dragStep(Editor& ed) {
  EditState& e = ed.state;
  const bool keyStep = ed.world.movement.keyMove;
  Vec3 offset = keyStep ? e.keyOffset
                        : rayToDragPlane(ed, e.pointerX, e.pointerY) -
                              rayToDragPlane(ed, e.pointerX - e.deltaX, e.pointerY - e.deltaY);
  warpPointerOntoBlock(ed);
  if (ed.world.movingSet.count() > 0 && clampToWorkArea(ed.world, offset)) {
    const Vec3 applied = moveMovingSet(ed.world, offset);
    e.grabPoint = e.grabPoint + applied;
    if (keyStep || deflected(offset, applied)) {
      const Vec3 p = projectPoint(ed.renderer, e.grabPoint.x, e.grabPoint.y, e.grabPoint.z);
      const int px = static_cast<int>(p.x), py = static_cast<int>(p.y);
      if (px != 0 && py != 0) {
        e.pointerX = px;
        e.pointerY = py;
        movePointerTo(ed, px, py);
      } else if (ed.settings.autoView && applied.y > 24) {
        autoViewAdjust(ed, 48, 0.7f);
      }
    }
  }
  e.deltaX = e.deltaY = 0;
}

bool editFrameStep(Editor& ed) {
  EditState& e = ed.state;
  const bool running = ed.world.game.gameRunning;
  ed.world.movement.paintToolActive = e.paintTool != 0;
  const bool gameStepDue = e.movePending && running;
  if (e.movePending && !running) dragStep(ed);
  if (e.settlePending && ed.world.movingSet.count() > 0) moveMovingSet(ed.world, Vec3{});
  // The camera's share: orbit and zoom by the pointer's movement of an active drag.
  if (e.orbitDrag) orbitStep(ed, e.deltaX, e.deltaY);
  if (e.zoomDrag) zoomStep(ed, e.deltaY);
  e.deltaX = e.deltaY = 0;
  if (!running) {
    e.movePending = false;
    e.settlePending = false;
    e.orbitDrag = false;
    e.cameraChanged = false;
  }
  ed.world.movement.keyMove = false;
  advanceCameraAnimation(ed);
  return gameStepDue;
}
