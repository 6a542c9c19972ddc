// The view's start hooks: loading the catalogue and the start scene on the first start, the frame
// conditions taken from the editing record, and the editing step of every frame.
#include "edit/ViewInstall.h"

#include "edit/Camera.h"
#include "edit/Picking.h"
#include "scene/Movement.h"
#include "files/InstallFolders.h"
#include "files/MeshLoader.h"
#include "files/SceneFile.h"
#include "platform/paths.h"
#include "render/RenderView.h"
#include "scene/SceneList.h"

bool loadStartContent() {
  // Shapes whose meshes are missing stay empty; blocks of those kinds report it when they are built.
  LoadShapeCatalogue("./scene\\all.box");
  sceneClear();
  if (!ReadSceneFile(joinPath(InstallDir, "port\\temp.lml")) && !ReadSceneFile("./scene\\scene.lml")) return false;
  BuildLoadedScene();
  resetCamera();
  return true;
}

std::function<bool()> installSceneRenderer(std::function<void(FrameConditions&)> programConditions) {
  SceneRendererHooks& hooks = sceneRenderer.hooks;
  hooks.loadStartContent = loadStartContent;
  hooks.startOfView = cameraStartOfView;
  hooks.conditions = [programConditions] {
    FrameConditions c;
    c.holding = editState.holding;
    c.keyMove = movement.keyMove;
    c.rotatePending = editState.rotatePending;
    c.leftDrag = movement.leftDrag;
    if (programConditions) programConditions(c);
    return c;
  };
  hooks.rotateOrKeyMoveDrawn = [] {
    editState.rotatePending = false;
    movement.keyMove = false;
  };
  hooks.editFrameStep = editFrameStep;
  ViewHooks view;
  view.initView = InitView;
  view.releaseViewObjects = releaseViewObjects;
  setViewHooks(view);
  return frameStep;
}
