// The sounds a block asks for while it changes size, and the effect file each one plays.
#pragma once

enum class BlockSound { Grow, Shrink };

const char* blockSoundFile(BlockSound sound);
