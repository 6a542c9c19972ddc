// The block model's grow and shrink sounds played from the effects bank of a sound record.
#pragma once

#include "scene/BlockSounds.h"
#include "sound/Sounds.h"

// Plays through the record it was given, which must outlive it.
class EffectsBlockSounds : public BlockSoundPlayer {
public:
  explicit EffectsBlockSounds(SoundState& record) : sound(record) {}
  void play(BlockSound block) override;

private:
  SoundState& sound;
};
