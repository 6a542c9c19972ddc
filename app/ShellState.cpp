// The program object, and the sounds the block model asks for.
#include "app/Shell.h"

Program::Program()
    : renderer(device), sounds(*this), world(&sounds), editor(world, renderer, device, sound) {}

void ProgramSounds::moveNote(MoveNote note) {
  const Block* held = p.editor.state.holding ? p.world.selectedBlock : nullptr;
  const int h = noteHeight(held != nullptr, held ? held->position.y : 0.0f);
  if (note == MoveNote::Landing)
    landingNote(p.sound, h);
  else
    bumpNote(p.sound, h);
}

void ProgramSounds::blockSound(BlockSound sound) {
  playEffect(p.sound, sound == BlockSound::Grow ? EffectId::Grow : EffectId::Shrink);
}
