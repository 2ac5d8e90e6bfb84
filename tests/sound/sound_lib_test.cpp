// The sound library under SDL's dummy audio driver (set by CTest), the game's port
// onto it, and the generated sound files. What is sounding is asked of SDL_mixer.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "sound/mirado_sound.h"
#include "sound/sound_port.h"

namespace {

namespace fs = std::filesystem;

// A mono 16-bit WAV file of a sine tone, as bytes.
std::string wav(double seconds, double hz = 440) {
  const int rate = 22050;
  const auto n = static_cast<std::uint32_t>(seconds * rate);
  auto u32 = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  auto u16 = [](unsigned v) { return std::string{char(v), char(v >> 8)}; };
  std::string s = "RIFF" + u32(36 + 2 * n) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(rate) +
                  u32(rate * 2) + u16(2) + u16(16) + "data" + u32(2 * n);
  for (std::uint32_t i = 0; i < n; ++i)
    s += u16(static_cast<unsigned>(std::lround(8000 * std::sin(6.2831853 * hz * i / rate))) & 0xFFFF);
  return s;
}

// An 8-bit mono WAV of `bytes` samples at `rate` per second: at a low rate a small
// file lasts long, and decoded for the device it grows many times over.
std::string low_rate_wav(std::uint32_t rate, std::uint32_t bytes) {
  auto u32 = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  auto u16 = [](unsigned v) { return std::string{char(v), char(v >> 8)}; };
  return "RIFF" + u32(36 + bytes) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(rate) + u32(rate) + u16(1) +
         u16(8) + "data" + u32(bytes) + std::string(bytes, '\x80');
}

int32_t load(int32_t ctx, const std::string& bytes) {
  return dsCreateDSB(ctx, bytes.data(), bytes.size(), 3);
}

int voices() { return Mix_Playing(-1); }

// Waits up to `limit` seconds for the number of sounding voices to become `n`.
bool wait_for_voices(int n, double limit = 3.0) {
  for (int waited = 0; waited < limit * 1000; waited += 10) {
    if (voices() == n) return true;
    SDL_Delay(10);
  }
  return voices() == n;
}

class SoundLib : public ::testing::Test {
 protected:
  void SetUp() override {
    ctx = dsInitialize(0);
    ASSERT_NE(ctx, 0) << dsLastError();
  }
  void TearDown() override { dsTerminate(ctx); }
  int32_t ctx = 0;
};

TEST_F(SoundLib, PlaysOnceLoopsStopsAndFrees) {
  const int32_t beep = load(ctx, wav(0.05));
  ASSERT_NE(beep, 0) << dsLastError();
  EXPECT_EQ(dsPlay(beep), 1);
  EXPECT_EQ(voices(), 1);
  EXPECT_TRUE(wait_for_voices(0)) << "a one-shot sound should end by itself";

  EXPECT_EQ(dsPlayLooping(beep), 1);
  SDL_Delay(300);  // six times its length
  EXPECT_EQ(voices(), 1);
  EXPECT_EQ(dsPlayLooping(beep), 1);
  EXPECT_EQ(voices(), 1) << "looping again must not start a second copy";
  EXPECT_EQ(dsStop(beep), 1);
  EXPECT_EQ(voices(), 0);

  EXPECT_EQ(dsPlayLooping(beep), 1);
  EXPECT_EQ(dsFree(beep), 1);
  EXPECT_EQ(voices(), 0) << "freeing silences the sound";
  EXPECT_EQ(dsPlay(beep), 0);
  EXPECT_EQ(dsFree(beep), 0);
  EXPECT_EQ(voices(), 0);
}

TEST_F(SoundLib, SeveralSoundsMixAtOnceAndEachStopsAlone) {
  const std::string a = wav(0.5, 330), b = wav(0.5, 440), c = wav(0.5, 550);
  const int32_t ha = load(ctx, a), hb = load(ctx, b), hc = load(ctx, c);
  ASSERT_TRUE(ha && hb && hc);
  EXPECT_TRUE(ha != hb && hb != hc && ha != hc);
  dsPlayLooping(ha);
  dsPlay(hb);
  dsPlay(hc);
  dsPlay(hc);  // restarts its own voice rather than adding one
  EXPECT_EQ(voices(), 3);
  dsStop(hb);
  EXPECT_EQ(voices(), 2);
  dsStop(ha);
  dsStop(hc);
  EXPECT_EQ(voices(), 0);
}

TEST_F(SoundLib, DataThatIsNotAWavFileGivesZeroAndAReason) {
  const std::string good = wav(0.1);
  std::string no_data_chunk = good.substr(0, 36);
  no_data_chunk.replace(4, 4, std::string{28, 0, 0, 0});
  std::string noise(4096, '\0');
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919) >> 3);
  const struct {
    const char* what;
    const void* p;
    size_t n;
  } cases[] = {{"zero length", good.data(), 0},
               {"no data at all", nullptr, 100},
               {"random bytes", noise.data(), noise.size()},
               {"a RIFF header without a data chunk", no_data_chunk.data(), no_data_chunk.size()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(dsCreateDSB(ctx, c.p, c.n, 3), 0);
    EXPECT_STRNE(dsLastError(), "");
  }
  EXPECT_EQ(dsCreateDSB(ctx, good.data(), 0, 3), 0);
  EXPECT_STREQ(dsLastError(), "the WAV data is empty");
  EXPECT_EQ(dsCreateDSB(ctx + 1, good.data(), good.size(), 3), 0) << "a context never opened";
  EXPECT_EQ(dsCreateDSB(0, good.data(), good.size(), 3), 0);
  EXPECT_NE(load(ctx, good), 0) << "a failure leaves the library usable";
}

// The decoded size is judged from the header before anything is decoded: 8 KB at 8
// samples a second would be over 170 MiB at the device's rate.
TEST_F(SoundLib, ASoundThatWouldDecodePast64MiBIsRefusedBeforeDecoding) {
  EXPECT_EQ(load(ctx, low_rate_wav(8, 8192)), 0);
  EXPECT_NE(std::string(dsLastError()).find("more than 64 MiB"), std::string::npos) << dsLastError();
  // A data chunk claiming more than the file holds counts only what is there.
  std::string claims = low_rate_wav(8000, 8192);
  claims.replace(40, 4, std::string{'\0', '\0', '\0', '\x7f'});
  EXPECT_NE(load(ctx, claims), 0) << dsLastError();
  EXPECT_NE(load(ctx, low_rate_wav(8000, 8192)), 0) << dsLastError();
  // Just under and just over the limit at 2205 samples a second, each decoded 80 times
  // larger (twenty times the rate, stereo, 16 bits) on a 44100 Hz device.
  int freq = 0, channels = 0;
  Uint16 format = 0;
  ASSERT_NE(Mix_QuerySpec(&freq, &format, &channels), 0);
  const std::uint64_t growth = static_cast<std::uint64_t>(freq) / 2205 * (SDL_AUDIO_BITSIZE(format) / 8) * channels;
  const auto limit = static_cast<std::uint32_t>((64u << 20) / growth);
  EXPECT_EQ(load(ctx, low_rate_wav(2205, limit + 64)), 0);
  EXPECT_NE(load(ctx, low_rate_wav(2205, limit - 64)), 0) << dsLastError();
  // Whatever else the mixer can decode is no WAV file: its size would be known only after.
  const std::string ogg = "OggS" + std::string(60, '\0');
  EXPECT_EQ(load(ctx, ogg), 0);
  EXPECT_STREQ(dsLastError(), "the data is not a WAV file");
  EXPECT_NE(load(ctx, wav(0.1)), 0) << "a refusal leaves the library usable";
}

TEST_F(SoundLib, HandleZeroAndUnknownHandlesAreSilent) {
  const int32_t h = load(ctx, wav(0.2));
  for (int32_t bad : {0, -1, h + 1, 1 << 30}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(dsPlay(bad), 0);
    EXPECT_EQ(dsPlayLooping(bad), 0);
    EXPECT_EQ(dsPlayEx(bad, 1), 0);
    EXPECT_EQ(dsPlayPan(bad, 0), 0);
    EXPECT_EQ(dsStop(bad), 0);
    EXPECT_EQ(dsFree(bad), 0);
    EXPECT_EQ(voices(), 0);
  }
  EXPECT_EQ(dsCreateResDSB(ctx, "BGM", 1), 0);
  EXPECT_EQ(dsSetVolume(h, -100), 0);
  EXPECT_EQ(dsSetPan(h, 0), 0);
  EXPECT_EQ(dsSetFrequency(h, 22050), 0);
  EXPECT_EQ(dsPlayLoopingEx(h, 0), 1);
  EXPECT_EQ(voices(), 1);
}

TEST(SoundLibDevice, ReopeningInvalidatesOldContextsAndHandles) {
  const int32_t first = dsInitialize(0);
  ASSERT_NE(first, 0);
  EXPECT_EQ(dsInitialize(0), first) << "opening twice shares the open device";
  const int32_t h = load(first, wav(0.2));
  ASSERT_NE(h, 0);
  dsTerminate(first);
  dsTerminate(first);  // a second close is harmless
  EXPECT_EQ(dsPlay(h), 0);
  const int32_t second = dsInitialize(0);
  ASSERT_NE(second, 0);
  EXPECT_NE(second, first);
  EXPECT_EQ(dsPlay(h), 0) << "a handle of the closed device stays dead";
  EXPECT_EQ(load(first, wav(0.1)), 0);
  dsTerminate(second);
}

TEST(SoundLibDevice, NoDeviceAnswersZeroWithAReason) {
  const std::string old = std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "";
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  EXPECT_EQ(dsInitialize(0), 0);
  EXPECT_STRNE(dsLastError(), "");
  const std::string w = wav(0.1);
  EXPECT_EQ(dsCreateDSB(0, w.data(), w.size(), 3), 0);
  EXPECT_EQ(dsPlay(1), 0);
  dsTerminate(0);
  setenv("SDL_AUDIODRIVER", old.c_str(), 1);
}

TEST(SoundPort, TheGamesPortDrivesTheLibrary) {
  mirado::SdlSound port;
  const int32_t ctx = port.initialize(0);
  ASSERT_NE(ctx, 0);
  const std::string w = wav(0.2);
  const int32_t h = port.create_dsb(ctx, w.data(), w.size(), 1);
  ASSERT_NE(h, 0);
  port.play_looping(h);
  EXPECT_EQ(voices(), 1);
  port.stop(h);
  EXPECT_EQ(voices(), 0);
  EXPECT_EQ(port.create_dsb(ctx, "RIFF", 4, 3), 0);
  EXPECT_FALSE(port.last_error().empty());
  port.play(h);
  port.free(h);
  EXPECT_EQ(voices(), 0);
  port.terminate(ctx);
}

TEST(SoundPort, TheDataFolderIsFoundNextToAnInstalledProgram) {
  const fs::path self = mirado::program_dir();
  EXPECT_TRUE(fs::exists(self / "mirado_sound_tests"));
  const fs::path prefix = fs::temp_directory_path() / ("mirado-prefix-" + std::to_string(getpid()));
  fs::create_directories(prefix / "bin");
  EXPECT_EQ(mirado::installed_data_dir((prefix / "bin").string()), MIRADO_DATA_DIR);
  fs::create_directories(prefix / "share" / "mirado-shogi");
  EXPECT_TRUE(fs::equivalent(mirado::installed_data_dir((prefix / "bin").string()),
                             prefix / "share" / "mirado-shogi"));
  fs::remove_all(prefix);
}

// ---- the five sounds the build synthesises ----

struct WavInfo {
  double seconds = 0;
  int peak = 0;
  int seam = 0;      // jump from the last sample back to the first
  int max_step = 0;  // largest jump between neighbouring samples
};

WavInfo inspect(const std::string& b) {
  WavInfo w;
  if (b.size() < 44 || b.compare(0, 4, "RIFF") != 0) return w;
  auto s16 = [&](size_t at) { return static_cast<int16_t>(uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8)); };
  const size_t n = (b.size() - 44) / 2;
  w.seconds = static_cast<double>(n) / 44100;
  for (size_t i = 0; i < n; ++i) {
    w.peak = std::max(w.peak, std::abs(s16(44 + 2 * i)));
    if (i > 0) w.max_step = std::max(w.max_step, std::abs(s16(44 + 2 * i) - s16(42 + 2 * i)));
  }
  if (n > 0) w.seam = std::abs(s16(44) - s16(44 + 2 * (n - 1)));
  return w;
}

TEST(GeneratedSounds, AllFiveLoadAndFitTheirUse) {
  const int32_t ctx = dsInitialize(0);
  ASSERT_NE(ctx, 0);
  const struct {
    const char* name;
    double min_s, max_s;
  } files[] = {{"その他.wav", 0.5, 3}, {"禁止.wav", 0.1, 1}, {"駒打音.wav", 0.02, 0.5},
               {"銃声.wav", 0.2, 2}, {"BGM.wav", 20, 60}};
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    std::ifstream in(fs::path(MIRADO_SOUND_DIR) / f.name, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(load(ctx, bytes), 0) << dsLastError();
    const WavInfo w = inspect(bytes);
    EXPECT_GE(w.seconds, f.min_s);
    EXPECT_LE(w.seconds, f.max_s);
    EXPECT_GT(w.peak, 8000) << "audible";
    EXPECT_LT(w.peak, 32000) << "not clipped";
    if (std::string(f.name) == "BGM.wav") {
      EXPECT_LE(w.seam, w.max_step) << "loops without a click";
    }
  }
  dsTerminate(ctx);
}

}  // namespace
