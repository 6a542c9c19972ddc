// The block model's grow and shrink sounds come from the effects bank.
#include "scene/BlockSounds.h"
#include "sound/Sounds.h"

namespace {

class EffectsBlockSounds : public BlockSoundPlayer {
public:
  void play(BlockSound sound) override { playEffect(sound == BlockSound::Grow ? EffectId::Grow : EffectId::Shrink); }
};

}  // namespace

void installBlockSounds() {
  static EffectsBlockSounds player;
  setBlockSoundPlayer(&player);
}
