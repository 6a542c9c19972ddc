// The scene renderer's view start and frames: InitView with its lights, matrices and background, the frame
// step and its three drawing paths, and the cached base and backup images that let a frame redraw only
// what changed.
//
// Index: [SECTION] View start  [SECTION] Frames  [SECTION] Cached images
#include "render/SceneRenderer.h"

#include <algorithm>

#include "render/RenderDevice.h"
#include "render/RenderView.h"
#include "render/Textures.h"
#include "scene/World.h"

bool addSceneLights(SceneRenderer& r, World& world);

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

bool initViewSteps(SceneRenderer& r, Direct3D& direct3D, Device3D& device, ViewportHandle viewport,
                   int textureCount, const TextureHandle* textureHandles) {
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

  r.fullRedrawPending = 1;
  r.drawStuds = 1;
  setViewBackground(r);  // a view without its picture still works
  if (!makeMatrices(r)) return false;
  return runSetUpBuffer(r);
}

}  // namespace

bool InitView(SceneRenderer& r, Direct3D& direct3D, Device3D& device, ViewportHandle viewport, int textureCount,
              const TextureHandle* textureHandles) {
  if (initViewSteps(r, direct3D, device, viewport, textureCount, textureHandles)) return true;
  // A view that failed to start is never released by the framework: let go of the device now, so that
  // nothing keeps pointing at it after the framework shuts down.
  releaseViewObjects(r);
  return false;
}

bool setViewBackground(SceneRenderer& r) {
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

bool changeViewBackground(SceneRenderer& r, const std::string& file) {
  const bool loaded = changeBackgroundPicture(r.display, file);
  // The material takes the entry's new handle, which is 0 when the picture did not load.
  const std::vector<TextureHandle> handles = textureHandles(r.display);
  if (r.textureHandles.empty()) r.textureHandles.resize(1, 0);
  r.textureHandles[0] = handles.empty() ? 0 : handles[0];
  r.textureCount = static_cast<int>(r.textureHandles.size());
  const bool shown = setViewBackground(r);
  r.fullRedrawPending = 1;
  return loaded && shown;
}

bool startSceneView(SceneRenderer& r, World& world) {
  if (!r.direct3D) return false;
  r.fullRedrawPending = 1;
  return addSceneLights(r, world);
}

void releaseViewObjects(SceneRenderer& r) {
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

bool beginFrame(SceneRenderer& r, const FrameConditions& c) {
  if (!r.display.renderingOk || !r.device) return true;
  // While the explosion plays over a still view, the picture under it is kept rather than cleared.
  if (!(c.explosionRunning && !c.leftDrag) && !clearBackBuffer(r.display, FrameArea::DirtyRects)) {
    reportRenderFailure(r.display, "%s", lastRenderErrorText(r.display).c_str());
    return false;
  }
  return true;
}

bool presentFrame(SceneRenderer& r, const Rect& area) {
  if (!r.display.renderingOk || !r.device) return true;
  if (!setDirtyRects(r.display, 1, &area, FrameArea::DirtyRects) || !showBackBuffer(r.display, FrameArea::DirtyRects)) {
    reportRenderFailure(r.display, "%s", lastRenderErrorText(r.display).c_str());
    return false;
  }
  return true;
}

FramePath drawFrame(SceneRenderer& r, World& world, const FrameConditions& c) {
  if (!r.display.renderingOk || !r.device) return FramePath::Nothing;
  if (c.hideStuds) r.drawStuds = 0;
  const bool boxHidden = c.gameRunning || c.gameSetup;
  if ((c.holding || c.keyMove) && !c.fastFlight) {
    restoreDirtyArea(r);
    if (!c.holding && world.selectedBlock) listInsert(world.movingSet, world.selectedBlock);
    drawMovingSet(r, world);
    if (!c.keyMove && !boxHidden && world.selectedBlock) drawSelectionBox(r, *world.selectedBlock);
    return FramePath::MovingSet;
  }
  if (c.rotatePending || c.keyMove) {
    restoreDirtyArea(r);
    if (world.selectedBlock && !boxHidden) {
      drawBlock(r, *world.selectedBlock);
      drawSelectionBox(r, *world.selectedBlock);
    }
    return FramePath::TurnOrKeyMove;
  }
  if (r.fullRedrawPending) {
    fullRedraw(r, world);
    r.fullRedrawPending = 0;
  } else if (!(c.explosionRunning && !c.leftDrag)) {
    redrawAll(r, world, c);
  }
  if (world.selectedBlock && !boxHidden) drawSelectionBox(r, *world.selectedBlock);
  return FramePath::Scene;
}

void redrawAll(SceneRenderer& r, World& world, const FrameConditions& c) {
  const bool allShapes = r.drawAllShapes || c.gameRunning || c.gameSetup;
  r.frameExtent = kEmptyExtent;
  for (const auto& node : world.scene.nodes)
    if (node->block->kind < kFirstShapeKind || allShapes) drawBlock(r, *node->block);
}

void fullRedraw(SceneRenderer& r, World& world) {
  r.frameExtent = kEmptyExtent;
  r.screenRects.clear();  // every block is drawn again below; blocks gone since are forgotten
  for (const auto& node : world.scene.nodes)
    if (node->block->kind == BasePlate) buildBaseImage(r, *node->block);
  for (const auto& node : world.scene.nodes) drawBlock(r, *node->block);
}

// [SECTION] Cached images

namespace {

Rect wholeView(SceneRenderer& r) { return Rect{0, 0, r.display.clientWidth, r.display.clientHeight}; }

Rect clampToView(SceneRenderer& r, const Rect& rect) {
  const Rect view = wholeView(r);
  return Rect{std::max(rect.left, view.left), std::max(rect.top, view.top), std::min(rect.right, view.right),
              std::min(rect.bottom, view.bottom)};
}

// Copies between the cached images, clamped to the view.
void copyArea(SceneRenderer& r, DisplaySurface* to, DisplaySurface* from, const Rect& area) {
  if (!to || !from) return;
  const Rect rect = clampToView(r, area);
  if (rect.empty()) return;
  surfaceBltFast(*to, rect.left, rect.top, *from, &rect, kCopyPlain);
}

}  // namespace

void restoreDirtyArea(SceneRenderer& r) {
  RenderDevice& d = r.display;
  const Rect area = r.frameExtent;
  copyArea(r, d.backBuffer.get(), d.backupBuffer.get(), area);
  copyArea(r, d.zBuffer.get(), d.zBuffer2.get(), area);
}

void buildBaseImage(SceneRenderer& r, Block& basePlate) {
  RenderDevice& d = r.display;
  clearBackBuffer(r.display, FrameArea::WholeWindow);
  drawBlock(r, basePlate);
  r.frameExtent = wholeView(r);
  copyArea(r, d.baseBuffer.get(), d.backBuffer.get(), wholeView(r));
  copyArea(r, d.baseZBuffer.get(), d.zBuffer.get(), wholeView(r));
}

void liftMovingSet(SceneRenderer& r, World& world) {
  RenderDevice& d = r.display;
  if (!r.device) return;
  copyArea(r, d.backupBuffer.get(), d.backBuffer.get(), wholeView(r));
  copyArea(r, d.zBuffer2.get(), d.zBuffer.get(), wholeView(r));
  r.frameExtent = kEmptyExtent;
  drawMovingSet(r, world);
  const Rect area = uniteExtent(r.frameExtent, r.lastExtent);
  copyArea(r, d.backBuffer.get(), d.baseBuffer.get(), area);
  copyArea(r, d.zBuffer.get(), d.baseZBuffer.get(), area);
  for (const auto& node : world.scene.nodes) {
    Block& block = *node->block;
    if (extentsOverlap(screenRectOf(r, block), area) && !listContains(world.movingSet, &block)) drawBlock(r, block);
  }
  copyArea(r, d.backupBuffer.get(), d.backBuffer.get(), area);
  copyArea(r, d.zBuffer2.get(), d.zBuffer.get(), area);
  r.frameExtent = wholeView(r);
}
