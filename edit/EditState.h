// The one editing record: pointer and hold state, undo, and the camera's working vectors. The camera's
// stored values (azimuth, polar, distance, target) are the scene's view values, kept in `sceneView`, so that
// loading and saving a scene moves the camera with it.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "scene/Block.h"
#include "scene/Geometry.h"

struct SoundState;

// What a tentative camera move saves and puts back when the probe refuses it.
struct CameraSnapshot {
  float azimuth = 0, polar = 0, distance = 0;
  Vec3 toEye, eye, forward, up, probePoint;
};

enum UndoAction : int {
  UndoNone = 0, UndoMove = 1, UndoTurn = 2, UndoCameraTurn = 3, UndoZoomIn = 5, UndoZoomOut = 6, UndoAdd = 7,
  UndoDelete = 8, UndoColour = 9,
};

struct EditState {
  // Pointer and hold.
  Block* pickedBlock = nullptr;
  int pointerX = 0, pointerY = 0;
  int deltaX = 0, deltaY = 0;
  bool holding = false;
  bool movePending = false;
  bool buttonDown = false;  // leftDrag itself is movement.leftDrag
  float pickDepthFactor = 0;
  Vec3 grabPoint;
  Vec3 keyOffset;  // keyMove itself is movement.keyMove
  bool cursorWarpPending = false;
  bool rotatePending = false;
  bool settlePending = false;
  bool pointerOutside = false;  // the pointer left the view during a drag; its movement there is not used

  // Tools chosen on the side panel: a paint colour 1-7 (0 none) and the hammer that removes stacks.
  int paintTool = 0;
  bool removeTool = false;
  // The colour new blocks take, 1-6 (0: none chosen, white).
  int newBlockColour = 0;
  // Which side-panel palette started a drag and which of its entries it shows; a drag brings that entry's
  // block into the view and then ends.
  bool brickPaletteDrag = false, shapePalette1Drag = false, shapePalette2Drag = false;
  int brickPaletteEntry = 1, shapePalette1Entry = 1, shapePalette2Entry = 1;

  // Undo.
  int undoAction = UndoNone;
  Vec3 undoPosition;
  std::array<float, 4> undoColour{};
  std::array<int, 2> undoCamera{};
  std::vector<BlockDescription> deletedBlocks;
  int undoTurnDegrees = -90;  // undoing a turn turns back, undoing it again turns forward

  // Camera.
  Vec3 toEye, eye, forward, up, right, probePoint;
  CameraSnapshot saved;
  bool orbitDrag = false, zoomDrag = false;
  bool cameraChanged = false;
  Vec3 lightPos{0, 30, 0};
  Vec3 lightDir{0, -1, 0};
  Block* cameraProbe = nullptr;

  // Set by the shell: pending input is dropped during camera animations only on the editing screen.
  bool editScreen = true;
  // Set by the shell: where the editor's sounds play; none while null.
  SoundState* sound = nullptr;
};

extern EditState editState;
