// The generator's pieces: the four background tunes, the four game tunes and the cast tune, each a loop,
// and the start and quit jingles.
#pragma once

#include "Synth.h"

Track stingTune();
Track waltzTune();
Track polkaTune();
Track ballroomTune();
Track gameTune(int number);  // 1-4
Track castTune();
Track startJingle();
Track quitJingle();
