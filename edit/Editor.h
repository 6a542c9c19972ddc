// The editor: the editing record, the user's display settings and what editing works on and with (the
// world of blocks, the scene renderer it picks and projects through, the render device's window, the
// sounds). The shell makes one and hands it to every editing operation.
#pragma once

#include <memory>

#include "edit/EditState.h"
#include "scene/Settings.h"
#include "scene/World.h"

struct SceneRenderer;
struct RenderDevice;
struct SoundState;

struct Editor {
  Editor(World& w, SceneRenderer& r, RenderDevice& d, SoundState& s) : world(w), renderer(r), device(d), sound(s) {}
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  World& world;
  SceneRenderer& renderer;
  RenderDevice& device;
  SoundState& sound;
  EditState state;
  DisplaySettings settings;
  // Set by every edit that changes the scene; the shell takes it to know the scene needs saving.
  bool sceneEdited = false;
  // The hidden brick that travels one unit behind the eye; never part of the scene.
  std::unique_ptr<Block> probeBlock;
};
