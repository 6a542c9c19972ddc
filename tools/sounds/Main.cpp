// The sound generator: composes and synthesises every WAV file the program plays and writes them into the
// folder named on its command line (the data folder's "sound" folder). Deterministic: the same source
// always gives the same files.
#include <cstdio>
#include <filesystem>
#include <string>

#include "Effects.h"
#include "Pieces.h"

namespace {

bool save(const std::filesystem::path& folder, const std::string& name, const Track& track) {
  if (writeWav((folder / name).string(), track)) return true;
  std::fprintf(stderr, "sound generator: cannot write %s\n", (folder / name).string().c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <sound folder>\n", argv[0]);
    return 2;
  }
  std::filesystem::path folder(argv[1]);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "sound generator: cannot create %s\n", argv[1]);
    return 1;
  }
  bool ok = true;
  for (const NamedSound& sound : effectSounds()) ok = save(folder, sound.file, sound.track) && ok;
  for (const NamedSound& sound : noteSounds()) ok = save(folder, sound.file, sound.track) && ok;
  ok = save(folder, "sting.wav", stingTune()) && ok;
  ok = save(folder, "waltz.wav", waltzTune()) && ok;
  ok = save(folder, "polka.wav", polkaTune()) && ok;
  ok = save(folder, "bal.wav", ballroomTune()) && ok;
  for (int n = 1; n <= 4; ++n) ok = save(folder, "game" + std::to_string(n) + ".wav", gameTune(n)) && ok;
  ok = save(folder, "cast.wav", castTune()) && ok;
  ok = save(folder, "start.wav", startJingle()) && ok;
  ok = save(folder, "quit.wav", quitJingle()) && ok;
  return ok ? 0 : 1;
}
