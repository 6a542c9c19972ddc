// During a fast flight on the game screen the view follows the aeroplane: every idle pass the camera's
// target and heading go a fifth of the way toward the aeroplane and its direction of flight.
#include "app/Shell.h"
#include "edit/EditState.h"
#include "render/SceneRenderer.h"
#include "scene/SceneFlags.h"
#include "scene/SceneView.h"

namespace {
constexpr float kFollowDivisor = 5;

float wrapDegrees(float angle, float low, float high) {
  if (angle > high) return angle - 360;
  if (angle < low) return angle + 360;
  return angle;
}
}  // namespace

void followViewStep(Program& p, const Block* block) {
  if (!p.world.game.fastFlight || !block || p.shell.screenState != GameScreen) return;
  SceneView& v = p.world.view;
  const Vec3 wanted = block->position + Vec3{0, 6, 0};
  v.target.x += (wanted.x - v.target.x) / kFollowDivisor;
  v.target.y += (wanted.y - v.target.y) / kFollowDivisor;
  v.target.z += (wanted.z - v.target.z) / kFollowDivisor;

  float heading = static_cast<float>(block->orientation) * 90 - 90;
  if (heading > 360) heading -= 360;
  else if (heading < 0) heading += 360;
  const float turn = wrapDegrees(heading - v.azimuth, -180, 180);
  float azimuth = v.azimuth + turn / kFollowDivisor;
  if (azimuth > 360) azimuth -= 360;
  else if (azimuth < 0) azimuth += 360;
  v.azimuth = azimuth;

  p.editor.state.cameraChanged = true;
  p.renderer.drawStuds = 0;
}
