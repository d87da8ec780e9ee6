// The WAV and Ogg readers: formats, looping reads, silence past the end, and damaged files.
#include <cstdlib>
#include <cstring>

#include "snd_test_util.h"
#include "sound/snd_file.h"

using namespace sndtest;

namespace {
std::vector<int> ramp(int n, int start = 0) {
  std::vector<int> v;
  for (int i = 0; i < n; ++i) v.push_back(start + i);
  return v;
}

std::string demoFile(const char* name) {
  const char* src = std::getenv("MM_SOURCE_DIR");
  return std::string(src ? src : "../../..") + "/demo/data/snd/" + name;
}
}  // namespace

TEST(SoundWav, FormatsOfEightAndSixteenBitMonoAndStereo) {
  struct Case { int bits, channels; uint32_t rate; uint16_t align; };
  for (Case c : {Case{8, 1, 11025, 1}, Case{8, 2, 22050, 2}, Case{16, 1, 44100, 2}, Case{16, 2, 8000, 4}}) {
    CFileWAV w;
    auto bytes = makeWav(c.bits, c.channels, c.rate, std::vector<int>(size_t(40 * c.channels), c.bits == 8 ? 128 : 0));
    ASSERT_EQ(w.OpenMemory(bytes.data(), bytes.size(), "case"), SND_OPEN_OK);
    EXPECT_EQ(w.Format().channels, c.channels);
    EXPECT_EQ(w.Format().bitsPerSample, c.bits);
    EXPECT_EQ(w.Format().blockAlign, c.align);
    EXPECT_EQ(w.Format().avgBytesPerSec, c.rate * c.align);
    EXPECT_EQ(w.DataSize(), 40u * c.align);
  }
}

TEST(SoundWav, LoopingReadWrapsAndPlainReadPadsWithSilence) {
  auto bytes = makeWav(8, 1, 22050, ramp(600, 0));  // 600 one-byte frames 0..255,0..
  for (int i = 0; i < 600; ++i) bytes[44 + i] = uint8_t(i % 251);
  CFileWAV w;
  ASSERT_EQ(w.OpenMemory(bytes.data(), bytes.size(), "ramp"), SND_OPEN_OK);
  std::vector<uint8_t> out(1000);
  EXPECT_EQ(w.Read(out.data(), out.size(), true), 1000u);
  for (int i = 0; i < 600; ++i) ASSERT_EQ(out[size_t(i)], i % 251);
  for (int i = 0; i < 400; ++i) ASSERT_EQ(out[size_t(600 + i)], i % 251);

  w.Rewind();
  EXPECT_EQ(w.Read(out.data(), out.size(), false), 600u);
  // Unsigned 8-bit silence is the mid value; zero bytes would be a full-scale click.
  for (int i = 600; i < 1000; ++i) ASSERT_EQ(out[size_t(i)], 0x80);
  EXPECT_EQ(w.Read(out.data(), 10, false), 0u);

  auto wide = makeWav(16, 1, 22050, ramp(10, 1000));
  CFileWAV w16;
  ASSERT_EQ(w16.OpenMemory(wide.data(), wide.size(), "wide"), SND_OPEN_OK);
  std::vector<uint8_t> o16(40, 0xAA);
  EXPECT_EQ(w16.Read(o16.data(), o16.size(), false), 20u);
  for (size_t i = 20; i < 40; ++i) ASSERT_EQ(o16[i], 0);
}

TEST(SoundWav, DamagedFilesGiveTheWholePartOrNothing) {
  ErrorCapture log;
  // A data chunk that claims more bytes than the file has: the bytes present, whole frames only.
  auto full = makeWav(16, 2, 22050, ramp(200));
  std::vector<uint8_t> cut(full.begin(), full.begin() + 44 + 203);
  CFileWAV w;
  ASSERT_EQ(w.OpenMemory(cut.data(), cut.size(), "cut.wav"), SND_OPEN_OK);
  EXPECT_EQ(w.DataSize(), 200u);  // 203 bytes, cut back to 50 whole 4-byte frames

  auto noData = makeWav(16, 1, 22050, ramp(10), false);
  EXPECT_EQ(w.OpenMemory(noData.data(), noData.size(), "nodata.wav"), SND_OPEN_DAMAGED);
  auto noFmt = makeWav(16, 1, 22050, ramp(10), true, false);
  EXPECT_EQ(w.OpenMemory(noFmt.data(), noFmt.size(), "nofmt.wav"), SND_OPEN_DAMAGED);
  std::vector<uint8_t> header(full.begin(), full.begin() + 30);  // stops inside the format chunk
  EXPECT_EQ(w.OpenMemory(header.data(), header.size(), "header.wav"), SND_OPEN_DAMAGED);
  auto odd = makeWav(16, 1, 22050, ramp(10));
  odd[22] = 3;  // three channels
  EXPECT_EQ(w.OpenMemory(odd.data(), odd.size(), "three.wav"), SND_OPEN_DAMAGED);
  odd = makeWav(16, 1, 0, ramp(10));
  EXPECT_EQ(w.OpenMemory(odd.data(), odd.size(), "norate.wav"), SND_OPEN_DAMAGED);
  EXPECT_EQ(w.Read(header.data(), header.size(), true), 0u);  // a refused reader reads nothing

  std::string text = log.Text();
  for (const char* name : {"cut.wav", "nodata.wav", "nofmt.wav", "header.wav", "three.wav", "norate.wav"})
    EXPECT_NE(text.find(name), std::string::npos) << name;
}

TEST(SoundWav, SkipsOtherChunksWithTheirPadByte) {
  auto b = makeWav(16, 1, 22050, ramp(4, 7));
  // A "LIST" chunk of odd length (3 bytes plus the pad byte) before the data.
  std::vector<uint8_t> list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  b.insert(b.begin() + 36, list.begin(), list.end());
  uint32_t riff = uint32_t(b.size() - 8);
  std::memcpy(&b[4], &riff, 4);
  CFileWAV w;
  ASSERT_EQ(w.OpenMemory(b.data(), b.size(), "list"), SND_OPEN_OK);
  int16_t s[4];
  ASSERT_EQ(w.Read(s, sizeof s, false), 8u);
  EXPECT_EQ(s[0], 7);
  EXPECT_EQ(s[3], 10);
}

TEST(SoundReaders, ChoiceByExtensionAndMissingFiles) {
  ErrorCapture log;
  writeFile("sndtest/reader.WAV", makeWav(16, 1, 22050, ramp(8)));
  auto r = sndOpenReader("sndtest/reader.WAV");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->DataSize(), 16u);
  EXPECT_FALSE(sndOpenReader("sndtest/reader.mp3"));
  EXPECT_FALSE(sndOpenReader("sndtest/absent.ogg"));
  EXPECT_NE(log.Text().find("sndtest/absent.ogg"), std::string::npos);
}

TEST(SoundOgg, DecodesTheDemoMusicAndLoops) {
  CFileOGG o;
  ASSERT_EQ(o.Open(demoFile("menu.ogg")), SND_OPEN_OK);
  EXPECT_EQ(o.Format().channels, 1);
  EXPECT_EQ(o.Format().samplesPerSec, 22050u);
  EXPECT_EQ(o.Format().bitsPerSample, 16);
  const uint32_t size = o.DataSize();
  EXPECT_EQ(size, 220500u * 2);  // ten seconds
  std::vector<uint8_t> all(size);
  EXPECT_EQ(o.Read(all.data(), size, false), size);
  int p = 0;
  for (size_t i = 0; i + 1 < all.size(); i += 2) p = std::max(p, std::abs(int(int16_t(all[i] | all[i + 1] << 8))));
  EXPECT_GT(p, 10000);
  std::vector<uint8_t> more(1000, 1);
  EXPECT_EQ(o.Read(more.data(), more.size(), false), 0u);
  EXPECT_EQ(more[999], 0);
  // A looping read past the end continues with the first bytes again.
  o.Rewind();
  std::vector<uint8_t> skip(size - 100);
  o.Read(skip.data(), skip.size(), true);
  std::vector<uint8_t> wrap(300);
  EXPECT_EQ(o.Read(wrap.data(), wrap.size(), true), 300u);
  EXPECT_EQ(std::memcmp(wrap.data() + 100, all.data(), 200), 0);
}

TEST(SoundOgg, StreamThatStopsMidwayAnswersWhatWasDecoded) {
  auto bytes = readFile(demoFile("level.ogg"));
  ASSERT_GT(bytes.size(), 4000u);
  ErrorCapture log;
  CFileOGG o;
  std::vector<uint8_t> half(bytes.begin(), bytes.begin() + long(bytes.size() / 2));
  ASSERT_EQ(o.OpenMemory(half.data(), half.size(), "half.ogg"), SND_OPEN_OK);
  EXPECT_LT(o.DataSize(), 220500u * 2);  // only what the pages present cover
  {
    std::vector<uint8_t> all(o.DataSize() + 20000, 0x55);
    size_t got = o.Read(all.data(), all.size(), false);
    EXPECT_LE(got, size_t(o.DataSize()));
    EXPECT_EQ(o.DataSize() % 2, 0u);
    for (size_t i = got; i < all.size(); ++i) ASSERT_EQ(all[i], 0) << i;
    // Looping over a shortened stream still terminates and delivers the part that is whole.
    std::vector<uint8_t> loop(got * 2 + 10);
    if (got) {
      EXPECT_EQ(o.Read(loop.data(), loop.size(), true), loop.size());
    }
  }
  EXPECT_EQ(o.OpenMemory(bytes.data(), 100, "stub.ogg"), SND_OPEN_UNDECODABLE);
  std::vector<uint8_t> junk(5000, 0x4F);
  EXPECT_EQ(o.OpenMemory(junk.data(), junk.size(), "junk.ogg"), SND_OPEN_UNDECODABLE);
  EXPECT_EQ(o.Open("sndtest/none.ogg"), SND_OPEN_MISSING);
  std::string text = log.Text();
  EXPECT_NE(text.find("stub.ogg"), std::string::npos);
  EXPECT_NE(text.find("junk.ogg"), std::string::npos);
}

TEST(SoundOgg, CorruptedPagesEndEarlyWithoutNoise) {
  auto bytes = readFile(demoFile("level.ogg"));
  ASSERT_GT(bytes.size(), 4000u);
  for (size_t i = bytes.size() / 3; i < bytes.size() / 3 + 600; ++i) bytes[i] ^= 0x5A;
  CFileOGG o;
  ASSERT_EQ(o.OpenMemory(bytes.data(), bytes.size(), "bent.ogg"), SND_OPEN_OK);
  const uint32_t claimed = o.DataSize();
  std::vector<uint8_t> all(claimed);
  size_t got = o.Read(all.data(), all.size(), false);
  EXPECT_LE(got, size_t(claimed));
  EXPECT_EQ(got, size_t(o.DataSize()));  // the length now says what really decoded
}
