// The WAV reader: what loads, what is refused, and that no file makes it read or allocate past its end.
#include <gtest/gtest.h>

#include "sound/WaveFile.h"
#include "support/TestSupport.h"
#include "WaveBuilder.h"

namespace {

bool loads(const std::string& bytes) {
  WaveFile wave(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  return wave.loaded;
}

}  // namespace

TEST(WaveFile, PlainPcmLoadsItsFormatAndData) {
  WaveBuilder b;
  b.channels = 2;
  b.rate = 44100;
  b.data = samples16({1, -1, 300, -300});
  std::string bytes = b.file();
  WaveFile wave(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  ASSERT_TRUE(wave.loaded);
  EXPECT_EQ(wave.format.formatTag, 1);
  EXPECT_EQ(wave.format.channels, 2);
  EXPECT_EQ(wave.format.samplesPerSec, 44100u);
  EXPECT_EQ(wave.format.blockAlign, 4);
  EXPECT_EQ(wave.format.bitsPerSample, 16);
  EXPECT_EQ(wave.dataSize, 8u);
  EXPECT_EQ(std::string(wave.data.begin(), wave.data.end()), b.data);
  wave.discard();
  EXPECT_TRUE(wave.data.empty());
}

TEST(WaveFile, FormatChunkOfSixteenBytesLoadsWithNoExtraSize) {
  WaveBuilder b;
  b.fmtSize = 16;
  std::string bytes = b.file();
  WaveFile wave(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  ASSERT_TRUE(wave.loaded);
  // The two bytes after a 16-byte chunk belong to the next chunk's id: they are not taken as the extra size.
  EXPECT_EQ(wave.format.extraSize, 0);
}

TEST(WaveFile, LongFormatChunkLoadsFromItsFirstEighteenBytes) {
  WaveBuilder b;
  b.fmtSize = 30;
  std::string body = b.fmtBody();
  body[16] = 12;  // the extra size field
  std::string bytes = WaveBuilder::riff(WaveBuilder::chunk("fmt ", body) + b.dataChunk());
  WaveFile wave(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  ASSERT_TRUE(wave.loaded);
  EXPECT_EQ(wave.format.extraSize, 12);
  EXPECT_EQ(wave.dataSize, b.data.size());
}

TEST(WaveFile, ExtensibleFormatLoadsOnlyWithPcmInside) {
  WaveBuilder b;
  b.formatTag = 0xFFFE;
  b.fmtSize = 40;
  std::string body = b.fmtBody();
  body[24] = 1;  // sub-format: PCM
  EXPECT_TRUE(loads(WaveBuilder::riff(WaveBuilder::chunk("fmt ", body) + b.dataChunk())));
  body[24] = 3;  // sub-format: floating point
  EXPECT_FALSE(loads(WaveBuilder::riff(WaveBuilder::chunk("fmt ", body) + b.dataChunk())));
}

TEST(WaveFile, FormatsTheOutputCannotPlayAreRefused) {
  WaveBuilder floatWave;
  floatWave.formatTag = 3;
  floatWave.bits = 32;
  EXPECT_FALSE(loads(floatWave.file()));
  WaveBuilder adpcm;
  adpcm.formatTag = 2;
  EXPECT_FALSE(loads(adpcm.file()));
  WaveBuilder deep;
  deep.bits = 24;
  EXPECT_FALSE(loads(deep.file()));
  WaveBuilder surround;
  surround.channels = 6;
  EXPECT_FALSE(loads(surround.file()));
  WaveBuilder noChannels;
  noChannels.channels = 0;
  EXPECT_FALSE(loads(noChannels.file()));
  WaveBuilder badAlign;
  badAlign.blockAlign = 3;
  EXPECT_FALSE(loads(badAlign.file()));
  WaveBuilder silentRate;
  silentRate.rate = 0;
  EXPECT_FALSE(loads(silentRate.file()));
  WaveBuilder eightBit;
  eightBit.bits = 8;
  EXPECT_TRUE(loads(eightBit.file()));
}

TEST(WaveFile, MissingOrShortChunksAreRefused) {
  WaveBuilder b;
  EXPECT_FALSE(loads(WaveBuilder::riff(b.fmtChunk())));          // no data chunk
  EXPECT_FALSE(loads(WaveBuilder::riff(b.dataChunk())));         // no format chunk
  b.fmtSize = 14;
  EXPECT_FALSE(loads(b.file()));                                 // format chunk too short
  WaveBuilder empty;
  empty.data.clear();
  EXPECT_FALSE(loads(empty.file()));                             // nothing to play
  EXPECT_FALSE(loads(""));
  EXPECT_FALSE(loads("RIFF"));
  EXPECT_FALSE(loads(std::string("RIFF\x04\0\0\0AVI ", 12)));  // a RIFF file of another form
}

TEST(WaveFile, ChunkSizesArePaddedAndCheckedAgainstTheFile) {
  WaveBuilder b;
  // An odd-sized chunk before the data keeps its pad byte.
  std::string odd = WaveBuilder::chunk("LIST", "abc");
  EXPECT_TRUE(loads(WaveBuilder::riff(b.fmtChunk() + odd + b.dataChunk())));
  // A data chunk that claims more than the file holds is a cut file: refused, and nothing is allocated for it.
  std::string cut = WaveBuilder::riff(b.fmtChunk() + WaveBuilder::chunk("data", b.data, 0xFFFFFFF0u));
  EXPECT_FALSE(loads(cut));
  // A chunk before the data that claims to run past the end hides everything after it.
  std::string lying = WaveBuilder::riff(b.fmtChunk() + WaveBuilder::chunk("junk", "xx", 0x7FFFFFFFu) + b.dataChunk());
  EXPECT_FALSE(loads(lying));
  // A RIFF size larger than the file is trusted only as far as the file goes.
  std::string bytes = b.file();
  bytes[4] = '\xFF';
  bytes[5] = '\xFF';
  bytes[6] = '\xFF';
  bytes[7] = '\x7F';
  EXPECT_TRUE(loads(bytes));
}

TEST(WaveFile, TheWaveChunkMayFollowOtherTopLevelChunks) {
  WaveBuilder b;
  std::string other = WaveBuilder::chunk("RIFF", "AVI xxxx");
  EXPECT_TRUE(loads(other + b.file()));
  EXPECT_TRUE(loads(WaveBuilder::chunk("JUNK", "12345") + b.file()));
}

TEST(WaveFile, EveryCutOfAGoodFileIsReadSafely) {
  WaveBuilder b;
  b.fmtSize = 18;
  std::string bytes = WaveBuilder::riff(b.fmtChunk() + WaveBuilder::chunk("LIST", "info") + b.dataChunk());
  for (size_t length = 0; length < bytes.size(); ++length) {
    std::string cut = bytes.substr(0, length);
    WaveFile wave(reinterpret_cast<const uint8_t*>(cut.data()), cut.size());
    EXPECT_FALSE(wave.loaded) << "cut at " << length;
    EXPECT_TRUE(wave.data.empty());
  }
  EXPECT_TRUE(loads(bytes));
}

TEST(WaveFile, ReadsThroughThePathResolverAndRefusesMissingFiles) {
  TempFolder folder;
  WaveBuilder b;
  ASSERT_TRUE(folder.write("Sound/Ping.WAV", b.file()));
  WaveFile wave(folder.path() + "/sound\\ping.wav");
  EXPECT_TRUE(wave.loaded);
  WaveFile missing(folder.path() + "/sound/none.wav");
  EXPECT_FALSE(missing.loaded);
  ASSERT_TRUE(folder.write("sound/folder.wav/inside", "x"));
  WaveFile notAFile(folder.file("sound/folder.wav"));
  EXPECT_FALSE(notAFile.loaded);
}

TEST(WaveFile, KeptFuzzInputsAreRefusedOrReadWhole) {
  for (const char* name : {"seed-plain.wav", "seed-stereo8.wav", "seed-longfmt.wav"}) {
    WaveFile wave(testDataPath(std::string("fuzz/WaveFileFuzz/") + name));
    EXPECT_TRUE(wave.loaded) << name;
    EXPECT_EQ(wave.data.size(), wave.dataSize) << name;
  }
}
