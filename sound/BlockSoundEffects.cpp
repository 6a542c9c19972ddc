// The block model's grow and shrink sounds come from the effects bank.
#include "sound/BlockSoundEffects.h"

void EffectsBlockSounds::play(BlockSound block) {
  playEffect(sound, block == BlockSound::Grow ? EffectId::Grow : EffectId::Shrink);
}
