// The generator's effects and note sets: every sound an action makes, and the four sets of eight notes
// (Do, high Do, Re, Mi, Fa, Sol, La, Si) in their own timbres.
#pragma once

#include <string>
#include <vector>

#include "Synth.h"

struct NamedSound {
  std::string file;
  Track track;
};

std::vector<NamedSound> effectSounds();
std::vector<NamedSound> noteSounds();
