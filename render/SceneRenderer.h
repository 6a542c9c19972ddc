// The scene renderer: draws the scene into the back buffer one block (one execute buffer) at a time, keeps
// the base image (background and plate) and the backup image (the static scene without the moving blocks)
// so that a frame redraws only what changed, and answers the two questions editing asks: where a world
// point lands on the screen and which face of a block lies under the pointer.
//
// Index: [SECTION] Records  [SECTION] View start  [SECTION] Frames  [SECTION] Drawing  [SECTION] Queries
#pragma once

#include <climits>
#include <cstddef>
#include <functional>
#include <vector>

#include "platform/device3d.h"
#include "scene/Block.h"
#include "scene/Geometry.h"

// [SECTION] Records

// What the frame needs to know about editing, the game and the settings; the editing code answers it.
struct FrameConditions {
  bool holding = false;        // a block is picked up
  bool keyMove = false;        // an arrow-key move is under way
  bool rotatePending = false;  // a turn of the selected block waits to be drawn
  bool fastFlight = false;     // the game's fast flight draws whole frames
  bool leftDrag = false;       // the left button is down on the view
  bool gameRunning = false;
  bool gameSetup = false;
  bool explosionRunning = false;  // the explosion animation plays over the view
  bool hideStuds = false;         // the setting "블럭 꼭지 감추기"
};

// What other parts plug into the renderer. Every hook may be empty.
struct SceneRendererHooks {
  // The first view start: the catalogue, the start scene and the camera; false when no scene could be read.
  std::function<bool()> loadStartContent;
  // The camera's start of view, run at the end of every view start.
  std::function<void()> startOfView;
  std::function<FrameConditions()> conditions;
  // The frame drew a turn or key move of the selected block: clear `rotatePending` and `keyMove`.
  std::function<void()> rotateOrKeyMoveDrawn;
  std::function<void()> editFrameStep;
  // Advance the explosion animation one step; its rectangle.
  std::function<Rect()> explosionStep;
};

constexpr Rect kEmptyExtent{INT_MAX, INT_MAX, -INT_MAX, -INT_MAX};
// The extent an execute starts from, so that it reports only what it drew.
constexpr Rect kExecuteStartExtent{2048, 2048, 0, 0};

struct SceneRenderer {
  Direct3D* direct3D = nullptr;
  Device3D* device = nullptr;
  ViewportHandle viewport = 0;
  int textureCount = 0;
  Rect frameExtent = kEmptyExtent;
  Rect lastExtent = kEmptyExtent;
  uint32_t pickBase = 0;
  LightHandle light1 = 0, light2 = 0;
  MatrixHandle projectionMatrix = 0, viewMatrix = 0, worldMatrix = 0;
  ExecuteStatus executeData;
  ExecuteBuffer executeBuffer;
  size_t executeBufferSize = 0;  // bytes of the equivalent byte buffer; 0 when none exists
  MaterialHandle backgroundMaterial = 0;
  std::vector<TextureHandle> textureHandles;
  int drawStuds = 1;
  int fullRedrawPending = 1;
  // Cleared while the view turns with the setting "시점 변경시 기본블럭만 보여주기" on: only bricks, plates
  // and slopes are drawn then.
  bool drawAllShapes = true;
  bool startContentLoaded = false;  // the first view start of the run has loaded the start scene
  D3DMatrix cameraMatrix;
  SceneRendererHooks hooks;
};

extern SceneRenderer sceneRenderer;

// [SECTION] View start

bool InitView(Direct3D& direct3D, Device3D& device, ViewportHandle viewport, int textureCount,
              const TextureHandle* textureHandles);
void releaseViewObjects();
// Make the background picture (texture entry 0) the viewport background again; false when it could not.
bool setViewBackground();

// [SECTION] Frames

bool frameStep();
bool RenderScene(Rect& extent);
void drawFrame();
void redrawNow();
void restoreDirtyArea();
void redrawAll();
void fullRedraw();
void buildBaseImage(Block& basePlate);
void liftMovingSet();

// [SECTION] Drawing

void drawMovingSet();
void drawSelectionBox(const Block& block);
bool drawBlock(Block& block);
void drawBasePlate(Block& block);
// The union of two rectangles; an inverted rectangle adds nothing.
Rect uniteExtent(const Rect& a, const Rect& b);
// Strict overlap of two rectangles.
bool extentsOverlap(const Rect& a, const Rect& b);

// [SECTION] Queries

void setCamera(Vec3 eye, Vec3 forward, Vec3 up, Vec3 right);
// Screen x, y and depth of a world point; (0, 0, 0) when it lies outside the view.
Vec3 projectPoint(float x, float y, float z);
// Depth of the nearest face of the block under rect; kFloatMax when none (face is then left alone).
float pickFace(Block& block, const Rect& rect, int& face);
void rotateLight(float angle);
