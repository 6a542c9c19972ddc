// Routing of the grow and shrink sounds to whichever player the sound subsystem has set.
#include "scene/BlockSounds.h"

static BlockSoundPlayer* currentPlayer = nullptr;

const char* blockSoundFile(BlockSound sound) {
  return sound == BlockSound::Grow ? "./sound/b_inc.wav" : "./sound/b_dec.wav";
}

void setBlockSoundPlayer(BlockSoundPlayer* player) { currentPlayer = player; }

void playBlockSound(BlockSound sound) {
  if (currentPlayer) currentPlayer->play(sound);
}
