// The sound files the build generates: every file the program opens is there and playable, the tunes and
// jingles have their lengths, nothing clips, and loops join without a click.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>

#include "platform/paths.h"
#include "sound/Sounds.h"
#include "sound/WaveFile.h"
#include "support/TestSupport.h"

namespace {

// The build's data folder: as the test environment names it, else the one beside the test program.
std::string dataFile(const std::string& relative) {
  if (std::getenv("TOLVANE_BUILD_DATA")) return buildDataPath(relative);
  std::string root = findDataRoot();
  return root.empty() ? buildDataPath(relative) : root + relative;
}

std::string soundFile(const std::string& programPath) {
  size_t cut = programPath.find_last_of("\\/");
  return dataFile("sound/" + programPath.substr(cut + 1));
}

std::vector<int16_t> samplesOf(const WaveFile& wave) {
  std::vector<int16_t> out;
  for (size_t i = 0; i + 1 < wave.data.size(); i += 2)
    out.push_back(static_cast<int16_t>(wave.data[i] | (wave.data[i + 1] << 8)));
  return out;
}

double seconds(const WaveFile& wave) {
  return static_cast<double>(wave.dataSize) / wave.format.blockAlign / wave.format.samplesPerSec;
}

// Every file the program opens, by the path it opens it with.
std::set<std::string> everyProgramFile() {
  std::set<std::string> files;
  for (int i = 0; i < kEffectCount; ++i) files.insert(effectPath(static_cast<EffectId>(i)));
  for (int style = 1; style <= 9; ++style) {
    files.insert(tuneFile(style));
    for (const std::string& note : noteFiles(style))
      if (!note.empty()) files.insert(note);
  }
  files.insert("./sound\\start.wav");
  files.insert("./sound\\quit.wav");
  return files;
}

class GeneratedSounds : public ::testing::Test {
protected:
  void SetUp() override {
    if (!fileExists(dataFile("sound/menu.wav"))) GTEST_SKIP() << "the data folder has not been built";
  }
};

}  // namespace

TEST_F(GeneratedSounds, EveryFileTheProgramOpensIsPlayablePcm) {
  size_t total = 0;
  for (const std::string& path : everyProgramFile()) {
    WaveFile wave(soundFile(path));
    ASSERT_TRUE(wave.loaded) << path;
    EXPECT_EQ(wave.format.formatTag, kWaveFormatPcm) << path;
    EXPECT_EQ(wave.format.bitsPerSample, 16) << path;
    EXPECT_TRUE(wave.format.samplesPerSec == 22050 || wave.format.samplesPerSec == 44100) << path;
    total += wave.dataSize;
  }
  EXPECT_EQ(everyProgramFile().size(), 27u + 9u + 24u + 1u + 2u);
  EXPECT_LT(total, 40u << 20);
}

TEST_F(GeneratedSounds, TunesAndJinglesHaveTheirLengths) {
  for (int style = 1; style <= 9; ++style) {
    WaveFile wave(soundFile(tuneFile(style)));
    ASSERT_TRUE(wave.loaded) << style;
    EXPECT_GE(seconds(wave), 20.0) << style;
    EXPECT_LE(seconds(wave), 60.0) << style;
  }
  WaveFile start(soundFile("start.wav"));
  WaveFile quit(soundFile("quit.wav"));
  EXPECT_GE(seconds(start), 2.0);
  EXPECT_LE(seconds(start), 4.0);
  EXPECT_GE(seconds(quit), 1.0);
  EXPECT_LE(seconds(quit), 2.0);
}

TEST_F(GeneratedSounds, NothingClipsAndSoundsStartAndEndInSilence) {
  std::set<std::string> loops = {tuneFile(1), tuneFile(2), tuneFile(3), tuneFile(4), tuneFile(5),
                                 tuneFile(6), tuneFile(7), tuneFile(8), tuneFile(9), "./sound/paint.wav"};
  for (const std::string& path : everyProgramFile()) {
    WaveFile wave(soundFile(path));
    ASSERT_TRUE(wave.loaded) << path;
    std::vector<int16_t> s = samplesOf(wave);
    int peak = 0;
    for (int16_t v : s) peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_LT(peak, 32000) << path;
    EXPECT_GT(peak, 3000) << path;  // audible
    if (loops.count(path)) continue;
    EXPECT_LT(std::abs(s.front()), 200) << path;
    EXPECT_LT(std::abs(s.back()), 200) << path;
  }
}

TEST_F(GeneratedSounds, LoopsJoinWithoutAStep) {
  for (std::string path : {tuneFile(1), tuneFile(2), tuneFile(3), tuneFile(4), tuneFile(5), tuneFile(6), tuneFile(7),
                           tuneFile(8), tuneFile(9), std::string("./sound/paint.wav")}) {
    WaveFile wave(soundFile(path));
    ASSERT_TRUE(wave.loaded) << path;
    std::vector<int16_t> s = samplesOf(wave);
    double meanStep = 0.0;
    for (size_t i = 1; i < s.size(); ++i) meanStep += std::abs(s[i] - s[i - 1]);
    meanStep /= static_cast<double>(s.size() - 1);
    int seam = std::abs(s.front() - s.back());
    EXPECT_LE(seam, 4.0 * meanStep + 50.0) << path;
  }
}

TEST_F(GeneratedSounds, TheWaltzIsInThreeAndThePolkaInTwo) {
  // The loudness of each beat: a tune's accents repeat every bar, so the energy pattern correlates best at
  // the bar's length in beats.
  struct Dance {
    std::string path;
    double bpm;
    int beats;
  };
  for (const Dance& dance : {Dance{tuneFile(2), 156, 3}, Dance{tuneFile(3), 128, 2}}) {
    WaveFile wave(soundFile(dance.path));
    ASSERT_TRUE(wave.loaded);
    std::vector<int16_t> s = samplesOf(wave);
    size_t beat = static_cast<size_t>(wave.format.samplesPerSec * 60.0 / dance.bpm);
    std::vector<double> energy;
    for (size_t at = 0; at + beat <= s.size(); at += beat) {
      double sum = 0.0;
      for (size_t i = at; i < at + beat / 4; ++i) sum += static_cast<double>(s[i]) * s[i];
      energy.push_back(sum);
    }
    // Downbeats carry the bass: the first beat of each bar is the loudest on average.
    std::vector<double> byPosition(static_cast<size_t>(dance.beats), 0.0);
    for (size_t i = 0; i < energy.size(); ++i) byPosition[i % static_cast<size_t>(dance.beats)] += energy[i];
    for (size_t p = 1; p < byPosition.size(); ++p) EXPECT_GT(byPosition[0], byPosition[p]) << dance.path << " " << p;
  }
}
