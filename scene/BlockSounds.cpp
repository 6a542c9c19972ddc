// The effect files of the grow and shrink sounds.
#include "scene/BlockSounds.h"

const char* blockSoundFile(BlockSound sound) {
  return sound == BlockSound::Grow ? "./sound/b_inc.wav" : "./sound/b_dec.wav";
}
