// The scene renderer's view start and frames: InitView with its lights, matrices and background, the frame
// step and its three drawing paths, and the cached base and backup images that let a frame redraw only
// what changed.
//
// Index: [SECTION] View start  [SECTION] Frames  [SECTION] Cached images
#include "render/SceneRenderer.h"

#include <algorithm>

#include "render/RenderDevice.h"
#include "render/RenderView.h"
#include "scene/BlockList.h"
#include "scene/MaterialTable.h"
#include "scene/SceneList.h"
#include "scene/SceneView.h"

SceneRenderer sceneRenderer;

void installRendererMaterialDevice();
bool addSceneLights();

// [SECTION] View start

namespace {

bool makeMatrices(SceneRenderer& r) {
  D3DMatrix view, projection;
  programViewMatrices(view, projection);
  if (failed(createMatrix(*r.device, r.projectionMatrix)) || failed(createMatrix(*r.device, r.viewMatrix)) ||
      failed(createMatrix(*r.device, r.worldMatrix)))
    return false;
  return succeeded(setMatrix(*r.device, r.worldMatrix, r.cameraMatrix)) &&
         succeeded(setMatrix(*r.device, r.viewMatrix, view)) &&
         succeeded(setMatrix(*r.device, r.projectionMatrix, projection));
}

// Hands the matrices and the ambient level to the device once.
bool runSetUpBuffer(SceneRenderer& r) {
  ExecuteBuffer setUp;
  setUp.stateTransform({{D3DTRANSFORMSTATE_PROJECTION, r.projectionMatrix},
                        {D3DTRANSFORMSTATE_VIEW, r.viewMatrix},
                        {D3DTRANSFORMSTATE_WORLD, r.worldMatrix}});
  setUp.stateLight({{D3DLIGHTSTATE_AMBIENT, 0x14141414}});
  setUp.exit();
  if (failed(beginScene(*r.device))) return false;
  const HResult result = execute(*r.device, setUp, r.viewport, D3DEXECUTE_UNCLIPPED);
  return succeeded(endScene(*r.device)) && succeeded(result);
}

bool initViewSteps(Direct3D& direct3D, Device3D& device, ViewportHandle viewport, int textureCount,
                   const TextureHandle* textureHandles) {
  SceneRenderer& r = sceneRenderer;
  r.direct3D = &direct3D;
  r.device = &device;
  r.viewport = viewport;
  r.textureCount = textureHandles ? std::max(textureCount, 0) : 0;
  r.textureHandles.assign(textureHandles, textureHandles + r.textureCount);
  r.executeBuffer = ExecuteBuffer{};
  r.executeBufferSize = 0;
  r.light1 = r.light2 = 0;
  r.backgroundMaterial = 0;
  r.projectionMatrix = r.viewMatrix = r.worldMatrix = 0;
  r.frameExtent = r.lastExtent = kEmptyExtent;

  if (!r.startContentLoaded) {
    installRendererMaterialDevice();
    if (r.hooks.loadStartContent && !r.hooks.loadStartContent()) return false;
    r.startContentLoaded = true;
  }
  r.fullRedrawPending = 1;
  r.drawStuds = 1;
  setViewBackground();  // a view without its picture still works
  addSceneLights();
  if (!makeMatrices(r)) return false;
  if (!runSetUpBuffer(r)) return false;
  if (r.hooks.startOfView) r.hooks.startOfView();
  return true;
}

}  // namespace

bool InitView(Direct3D& direct3D, Device3D& device, ViewportHandle viewport, int textureCount,
              const TextureHandle* textureHandles) {
  if (initViewSteps(direct3D, device, viewport, textureCount, textureHandles)) return true;
  // A view that failed to start is never released by the framework: let go of the device now, so that
  // nothing keeps pointing at it after the framework shuts down.
  releaseViewObjects();
  return false;
}

bool setViewBackground() {
  SceneRenderer& r = sceneRenderer;
  if (!r.direct3D) return false;
  if (!r.backgroundMaterial && failed(createMaterial(*r.direct3D, r.backgroundMaterial))) {
    r.backgroundMaterial = 0;
    return false;
  }
  Material3D m;
  m.diffuse = m.ambient = {1, 1, 1, 1};
  m.specular = {0.3f, 0.3f, 0.3f, 0};
  m.emissive = {0, 0, 0, 0};
  m.power = 0;
  m.texture = r.textureHandles.empty() ? 0 : r.textureHandles[0];
  m.rampSize = 1;
  if (failed(setMaterial(*r.direct3D, r.backgroundMaterial, m))) return false;
  return succeeded(setViewportBackground(*r.direct3D, r.viewport, r.backgroundMaterial));
}

void releaseViewObjects() {
  SceneRenderer& r = sceneRenderer;
  if (r.direct3D) {
    if (r.light1) releaseLight(*r.direct3D, r.light1);
    if (r.light2) releaseLight(*r.direct3D, r.light2);
    if (r.backgroundMaterial) releaseMaterial(*r.direct3D, r.backgroundMaterial);
  }
  r.light1 = r.light2 = 0;
  r.backgroundMaterial = 0;
  r.executeBuffer = ExecuteBuffer{};
  r.executeBufferSize = 0;
  r.direct3D = nullptr;
  r.device = nullptr;
  r.viewport = 0;
}

// [SECTION] Frames

namespace {

FrameConditions frameConditions() {
  return sceneRenderer.hooks.conditions ? sceneRenderer.hooks.conditions() : FrameConditions{};
}

bool anySurfaceLost() {
  const RenderDevice& d = renderDevice;
  for (const DisplaySurface* s : {d.frontBuffer.get(), d.backBuffer.get(), d.zBuffer.get()})
    if (s && s->lost) return true;
  return false;
}

}  // namespace

bool frameStep() {
  SceneRenderer& r = sceneRenderer;
  if (!renderDevice.bRenderingIsOK || !r.device) return true;
  const bool lost = anySurfaceLost();
  if (!D3DAppRestoreSurfaces()) return true;
  // A restore blanks the cached images; the next frame builds them again.
  if (lost) r.fullRedrawPending = 1;
  const FrameConditions before = frameConditions();
  if (!(before.explosionRunning && !before.leftDrag) && !D3DAppClearBackBuffer(0)) {
    reportRenderFailure("%s", D3DAppLastErrorText().c_str());
    return false;
  }
  Rect present;
  RenderScene(present);
  const FrameConditions after = frameConditions();
  if (after.explosionRunning && r.hooks.explosionStep) {
    const Rect animation = r.hooks.explosionStep();
    present = after.leftDrag ? uniteExtent(animation, present) : animation;
  }
  if (!D3DAppSetDirtyRects(1, &present, 0) || !D3DAppShowBackBuffer(0)) {
    reportRenderFailure("%s", D3DAppLastErrorText().c_str());
    return false;
  }
  return true;
}

bool RenderScene(Rect& extent) {
  drawFrame();
  if (sceneRenderer.hooks.editFrameStep) sceneRenderer.hooks.editFrameStep();
  extent = sceneRenderer.frameExtent;
  return true;
}

void redrawNow() {
  if (!renderDevice.bRenderingIsOK || !sceneRenderer.device) return;
  D3DAppClearBackBuffer(0);
  drawFrame();
  D3DAppSetDirtyRects(1, &sceneRenderer.frameExtent, 0);
  D3DAppShowBackBuffer(0);
}

void drawFrame() {
  SceneRenderer& r = sceneRenderer;
  const FrameConditions c = frameConditions();
  if (c.hideStuds) r.drawStuds = 0;
  const bool boxHidden = c.gameRunning || c.gameSetup;
  if ((c.holding || c.keyMove) && !c.fastFlight) {
    restoreDirtyArea();
    if (!c.holding && selectedBlock) listInsert(MovingSet, selectedBlock);
    drawMovingSet();
    if (!c.keyMove && !boxHidden && selectedBlock) drawSelectionBox(*selectedBlock);
    return;
  }
  if (c.rotatePending || c.keyMove) {
    restoreDirtyArea();
    if (selectedBlock && !boxHidden) {
      drawBlock(*selectedBlock);
      drawSelectionBox(*selectedBlock);
    }
    if (r.hooks.rotateOrKeyMoveDrawn) r.hooks.rotateOrKeyMoveDrawn();
    return;
  }
  if (r.fullRedrawPending) {
    fullRedraw();
    r.fullRedrawPending = 0;
  } else if (!(c.explosionRunning && !c.leftDrag)) {
    redrawAll();
  }
  if (selectedBlock && !boxHidden) drawSelectionBox(*selectedBlock);
}

void redrawAll() {
  SceneRenderer& r = sceneRenderer;
  const FrameConditions c = frameConditions();
  const bool allShapes = r.drawAllShapes || c.gameRunning || c.gameSetup;
  r.frameExtent = kEmptyExtent;
  for (const auto& node : scene.nodes)
    if (node->block->kind < kFirstShapeKind || allShapes) drawBlock(*node->block);
}

void fullRedraw() {
  SceneRenderer& r = sceneRenderer;
  r.frameExtent = kEmptyExtent;
  for (const auto& node : scene.nodes)
    if (node->block->kind == BasePlate) buildBaseImage(*node->block);
  for (const auto& node : scene.nodes) drawBlock(*node->block);
}

// [SECTION] Cached images

namespace {

Rect wholeView() { return Rect{0, 0, renderDevice.clientWidth, renderDevice.clientHeight}; }

Rect clampToView(const Rect& rect) {
  const Rect view = wholeView();
  return Rect{std::max(rect.left, view.left), std::max(rect.top, view.top), std::min(rect.right, view.right),
              std::min(rect.bottom, view.bottom)};
}

// Copies between the cached images never fail a frame; a lost surface is restored and stays blank until
// the next full redraw.
void copyArea(DisplaySurface* to, DisplaySurface* from, const Rect& area, DisplaySurface* restoreA,
              DisplaySurface* restoreB) {
  if (!to || !from) return;
  const Rect rect = clampToView(area);
  if (rect.empty()) return;
  if (surfaceBltFast(*to, rect.left, rect.top, *from, &rect, DDBLTFAST_WAIT) == DDERR_SURFACELOST) {
    if (restoreA) surfaceRestore(*restoreA);
    if (restoreB) surfaceRestore(*restoreB);
    sceneRenderer.fullRedrawPending = 1;
  }
}

}  // namespace

void restoreDirtyArea() {
  RenderDevice& d = renderDevice;
  const Rect area = sceneRenderer.frameExtent;
  copyArea(d.backBuffer.get(), d.backupBuffer.get(), area, d.backupBuffer.get(), d.backBuffer.get());
  copyArea(d.zBuffer.get(), d.zBuffer2.get(), area, d.backupBuffer.get(), d.backBuffer.get());
}

void buildBaseImage(Block& basePlate) {
  RenderDevice& d = renderDevice;
  D3DAppClearBackBuffer(D3DAPP_WHOLEWINDOW);
  drawBlock(basePlate);
  sceneRenderer.frameExtent = wholeView();
  copyArea(d.baseBuffer.get(), d.backBuffer.get(), wholeView(), d.baseBuffer.get(), d.backBuffer.get());
  copyArea(d.baseZBuffer.get(), d.zBuffer.get(), wholeView(), d.baseBuffer.get(), d.backBuffer.get());
}

void liftMovingSet() {
  RenderDevice& d = renderDevice;
  SceneRenderer& r = sceneRenderer;
  if (!r.device) return;
  copyArea(d.backupBuffer.get(), d.backBuffer.get(), wholeView(), d.backupBuffer.get(), d.backBuffer.get());
  copyArea(d.zBuffer2.get(), d.zBuffer.get(), wholeView(), d.backupBuffer.get(), d.backBuffer.get());
  r.frameExtent = kEmptyExtent;
  drawMovingSet();
  const Rect area = uniteExtent(r.frameExtent, r.lastExtent);
  copyArea(d.backBuffer.get(), d.baseBuffer.get(), area, d.backupBuffer.get(), d.backBuffer.get());
  copyArea(d.zBuffer.get(), d.baseZBuffer.get(), area, d.backupBuffer.get(), d.backBuffer.get());
  for (const auto& node : scene.nodes) {
    Block& block = *node->block;
    if (extentsOverlap(block.screenRect, area) && !listContains(MovingSet, &block)) drawBlock(block);
  }
  copyArea(d.backupBuffer.get(), d.backBuffer.get(), area, d.backupBuffer.get(), d.backBuffer.get());
  copyArea(d.zBuffer2.get(), d.zBuffer.get(), area, d.backupBuffer.get(), d.backBuffer.get());
  r.frameExtent = wholeView();
}
