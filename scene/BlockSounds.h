// The sounds a block asks for while it changes size. The sound subsystem supplies the real player; until
// one is set nothing plays. RecordingBlockSounds keeps what was asked for, for tests.
#pragma once

#include <vector>

enum class BlockSound { Grow, Shrink };

// The effect file each sound plays.
const char* blockSoundFile(BlockSound sound);

class BlockSoundPlayer {
public:
  virtual ~BlockSoundPlayer() = default;
  virtual void play(BlockSound sound) = 0;
};

// The player the block code uses; nullptr plays nothing. The caller keeps the player alive.
void setBlockSoundPlayer(BlockSoundPlayer* player);
void playBlockSound(BlockSound sound);

class RecordingBlockSounds : public BlockSoundPlayer {
public:
  void play(BlockSound sound) override { played.push_back(sound); }
  std::vector<BlockSound> played;
};
