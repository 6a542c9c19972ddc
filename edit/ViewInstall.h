// Plugging the scene renderer and the camera into the 3D view's start: what the first view start loads,
// and what every frame asks of editing.
#pragma once

#include <functional>

#include "render/SceneRenderer.h"

// The catalogue "./scene\all.box", then the start scene: "port\temp.lml" in the install folder, else
// "./scene\scene.lml"; the scene is built and the camera set from it. False when neither scene reads.
bool loadStartContent();

// Install the renderer as the view's start hooks and return the frame step for the main loop. The
// optional function adds what editing does not know: the game flags, the explosion and the settings.
std::function<bool()> installSceneRenderer(std::function<void(FrameConditions&)> programConditions = {});
