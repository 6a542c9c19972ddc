// The scene renderer: draws the scene into the back buffer one block (one execute buffer) at a time, keeps
// the base image (background and plate) and the backup image (the static scene without the moving blocks)
// so that a frame redraws only what changed, and answers the two questions editing asks: where a world
// point lands on the screen and which face of a block lies under the pointer.
//
// Index: [SECTION] Records  [SECTION] View start  [SECTION] Frames  [SECTION] Drawing  [SECTION] Queries
#pragma once

#include <climits>
#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/device3d.h"
#include "scene/Block.h"
#include "scene/Geometry.h"
#include "scene/MaterialTable.h"

struct World;

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

// Which drawing path a frame took: only the moving blocks over the cached picture, only the turned or
// stepped block, or the scene.
enum class FramePath { Nothing, MovingSet, TurnOrKeyMove, Scene };

constexpr Rect kEmptyExtent{INT_MAX, INT_MAX, -INT_MAX, -INT_MAX};
// The extent an execute starts from, so that it reports only what it drew.
constexpr Rect kExecuteStartExtent{2048, 2048, 0, 0};

struct RenderDevice;

struct SceneRenderer {
  explicit SceneRenderer(RenderDevice& target) : display(target) {}
  SceneRenderer(const SceneRenderer&) = delete;
  SceneRenderer& operator=(const SceneRenderer&) = delete;

  RenderDevice& display;  // the surfaces the view is drawn on and presented from
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
  D3DMatrix cameraMatrix;
  // Where each block (by its serial) was last drawn.
  std::unordered_map<uint64_t, Rect> screenRects;
  // The world's material table, and the device behind its materials.
  MaterialTable* materials = nullptr;
  std::unique_ptr<MaterialDevice> materialDevice;
  // The slot of the selection box's white, taken from the table once per table generation.
  int boxSlot = -1;
  uint32_t boxGeneration = 0;
};

// [SECTION] View start

// The device, viewport and pictures the view draws with; the cached images are rebuilt on the next frame.
bool InitView(SceneRenderer& r, Direct3D& direct3D, Device3D& device, ViewportHandle viewport, int textureCount,
              const TextureHandle* textureHandles);
// The world's blocks get their materials from this renderer's device.
void attachWorld(SceneRenderer& r, World& world);
// The lights of the world's scene; run once the scene is loaded.
bool startSceneView(SceneRenderer& r, World& world);
void releaseViewObjects(SceneRenderer& r);
// Make the background picture (texture entry 0) the viewport background again; false when it could not.
bool setViewBackground(SceneRenderer& r);
// Put the picture file in texture entry 0 and make it the viewport background; a full redraw follows.
// False when the picture did not load: the background then has no picture until another one loads.
bool changeViewBackground(SceneRenderer& r, const std::string& file);

// [SECTION] Frames

// Clear the back buffer for a frame (kept while the explosion plays over a still view); false on failure.
bool beginFrame(SceneRenderer& r, const FrameConditions& c);
FramePath drawFrame(SceneRenderer& r, World& world, const FrameConditions& c);
// Present the area of the back buffer that changed; false on failure.
bool presentFrame(SceneRenderer& r, const Rect& area);
void restoreDirtyArea(SceneRenderer& r);
void redrawAll(SceneRenderer& r, World& world, const FrameConditions& c);
void fullRedraw(SceneRenderer& r, World& world);
void buildBaseImage(SceneRenderer& r, Block& basePlate);
// Take the moving set out of the cached picture of the static scene.
void liftMovingSet(SceneRenderer& r, World& world);

// [SECTION] Drawing

void drawMovingSet(SceneRenderer& r, World& world);
void drawSelectionBox(SceneRenderer& r, const Block& block);
bool drawBlock(SceneRenderer& r, Block& block);
void drawBasePlate(SceneRenderer& r, Block& block);
// Where the block was last drawn; inverted when it never was.
Rect screenRectOf(const SceneRenderer& r, const Block& block);
// The union of two rectangles; an inverted rectangle adds nothing.
Rect uniteExtent(const Rect& a, const Rect& b);
// Strict overlap of two rectangles.
bool extentsOverlap(const Rect& a, const Rect& b);

// [SECTION] Queries

void setCamera(SceneRenderer& r, Vec3 eye, Vec3 forward, Vec3 up, Vec3 right);
// Screen x, y and depth of a world point; (0, 0, 0) when it lies outside the view.
Vec3 projectPoint(SceneRenderer& r, float x, float y, float z);
// Depth of the nearest face of the block under rect; kFloatMax when none (face is then left alone).
float pickFace(SceneRenderer& r, Block& block, const Rect& rect, int& face);
void rotateLight(SceneRenderer& r, World& world, float angle);
