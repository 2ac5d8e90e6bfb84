// The sound library over SDL2_mixer. One device, opened by dsInitialize; each buffer
// is a decoded Mix_Chunk with at most one voice, like a hardware sound buffer with a
// single play position.
#include "mirado_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kChannels = 16;  // voices mixed at once; the game uses five buffers

struct Buffer {
  Mix_Chunk* chunk = nullptr;  // null once freed
  int channel = -1;            // the channel it last started on
  bool looping = false;
};

struct Device {
  int32_t context = 0;     // 0 while closed
  int32_t generation = 0;  // a reopened device gets a new context
  std::vector<Buffer> buffers;  // handle h lives at h - 1; handles are never reused
};

Device device;
std::string last_error;

void fail(std::string text) { last_error = std::move(text); }

void fail_sdl() {
  const char* why = SDL_GetError();
  fail(why && *why ? why : "unknown error");
}

Buffer* find(int32_t handle) {
  if (device.context == 0 || handle <= 0) return nullptr;
  const auto i = static_cast<size_t>(handle - 1);
  if (i >= device.buffers.size() || device.buffers[i].chunk == nullptr) return nullptr;
  return &device.buffers[i];
}

// True while this buffer's own voice is sounding (its channel may since have been
// handed to another buffer).
bool sounding(const Buffer& b) {
  return b.channel >= 0 && Mix_Playing(b.channel) && Mix_GetChunk(b.channel) == b.chunk;
}

void silence(Buffer& b) {
  if (sounding(b)) Mix_HaltChannel(b.channel);
  b.channel = -1;
  b.looping = false;
}

// A buffer holds the sound decoded to the device's format; past this it is refused
// before decoding, as a long sound at a low rate would grow many times its file's size.
constexpr uint64_t kMaxDecodedBytes = 64u << 20;

uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24; }
uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

struct WavHeader {
  uint16_t format = 0, channels = 0, bits = 0;
  uint32_t rate = 0;
  uint64_t data_bytes = 0;  // as far as the data reaches into the buffer
  bool has_fmt = false, has_data = false;
};

// The first "fmt " chunk after "RIFF....WAVE" and the first "data" chunk after it, as
// the decoder takes them.
WavHeader wav_header(const unsigned char* p, size_t size) {
  WavHeader h;
  for (size_t at = 12; at + 8 <= size && !(h.has_fmt && h.has_data);) {
    const uint64_t len = le32(p + at + 4);
    const unsigned char* body = p + at + 8;
    const size_t left = size - at - 8;
    if (std::memcmp(p + at, "fmt ", 4) == 0 && !h.has_fmt && len >= 16 && left >= 16) {
      h.has_fmt = true;
      h.format = le16(body);
      h.channels = le16(body + 2);
      h.rate = le32(body + 4);
      h.bits = le16(body + 14);
    } else if (std::memcmp(p + at, "data", 4) == 0 && h.has_fmt) {
      h.has_data = true;
      h.data_bytes = std::min<uint64_t>(len, left);
    }
    at += 8 + static_cast<size_t>(std::min<uint64_t>(len + (len & 1), left));
  }
  return h;
}

// Empty when the WAV data may be decoded; otherwise why not. Only a RIFF WAVE file is a
// sound here: the mixer would decode any other format it knows to an unknown size.
std::string too_large_or_not_wav(const void* wav, size_t size) {
  const auto* p = static_cast<const unsigned char*>(wav);
  if (size < 12 || std::memcmp(p, "RIFF", 4) != 0 || std::memcmp(p + 8, "WAVE", 4) != 0)
    return "the data is not a WAV file";
  const WavHeader h = wav_header(p, size);
  if (!h.has_fmt || !h.has_data || h.channels == 0 || h.rate == 0)
    return "the WAV data has no usable format or data chunk";
  int freq = 0, channels = 0;
  Uint16 format = 0;
  if (Mix_QuerySpec(&freq, &format, &channels) == 0) return "the sound device is not open";
  // ADPCM and any format not known here counted at 4 bits a sample, the fewest a
  // decoder reads: the bound may be high, never low.
  const bool pcm_like = h.format == 1 || h.format == 3 || h.format == 6 || h.format == 7 || h.format == 0xFFFE;
  const uint64_t bits = pcm_like ? std::max<uint64_t>(h.bits, 8) : 4;
  const uint64_t frames = h.data_bytes * 8 / (bits * h.channels) + 1;
  const uint64_t out_frame = static_cast<uint64_t>(SDL_AUDIO_BITSIZE(format) / 8) * static_cast<uint64_t>(channels);
  const uint64_t decoded = (frames * static_cast<uint64_t>(freq) / h.rate + 1) * out_frame;
  if (decoded > kMaxDecodedBytes)
    return "the decoded sound would take " + std::to_string(decoded >> 20) + " MiB, more than " +
           std::to_string(kMaxDecodedBytes >> 20) + " MiB";
  return {};
}

int32_t start(Buffer& b, bool loop) {
  silence(b);
  const int ch = Mix_PlayChannel(-1, b.chunk, loop ? -1 : 0);
  if (ch < 0) return 0;  // every channel busy: this sound is skipped
  b.channel = ch;
  b.looping = loop;
  return 1;
}

}  // namespace

extern "C" {

int32_t dsInitialize(intptr_t /*window*/) {
  if (device.context != 0) return device.context;
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // the window owns the process's signals
  SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "ミラド将棋");
  SDL_ClearError();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    fail_sdl();
    return 0;
  }
  SDL_ClearError();
  // 512 frames (12 ms): sounds start soon after their move, and closing the device, which
  // waits for the buffer in play, never holds up quitting.
  if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 512) != 0) {
    fail_sdl();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return 0;
  }
  Mix_AllocateChannels(kChannels);
  device.context = ++device.generation;
  last_error.clear();
  return device.context;
}

void dsTerminate(int32_t context) {
  if (context == 0 || context != device.context) return;
  Mix_HaltChannel(-1);
  for (Buffer& b : device.buffers)
    if (b.chunk) Mix_FreeChunk(b.chunk);
  device.buffers.clear();
  device.context = 0;
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int32_t dsCreateDSB(int32_t context, const void* wav, size_t size, int32_t /*flags*/) {
  if (context == 0 || context != device.context) {
    fail("the sound device is not open");
    return 0;
  }
  if (wav == nullptr || size == 0) {
    fail("the WAV data is empty");
    return 0;
  }
  if (size > static_cast<size_t>(INT32_MAX)) {
    fail("the WAV data is too large");
    return 0;
  }
  if (std::string why = too_large_or_not_wav(wav, size); !why.empty()) {
    fail(std::move(why));
    return 0;
  }
  SDL_ClearError();  // SDL keeps stale error texts
  SDL_RWops* rw = SDL_RWFromConstMem(wav, static_cast<int>(size));
  // The stream is closed here, not by the loader: SDL_mixer 2.6 leaves it open when it
  // does not recognise the data.
  Mix_Chunk* chunk = rw ? Mix_LoadWAV_RW(rw, 0) : nullptr;
  if (rw) SDL_RWclose(rw);
  if (chunk == nullptr) {
    fail_sdl();
    return 0;
  }
  if (device.buffers.size() >= static_cast<size_t>(INT32_MAX) - 1) {
    Mix_FreeChunk(chunk);
    fail("too many sound buffers");
    return 0;
  }
  device.buffers.push_back(Buffer{chunk});
  return static_cast<int32_t>(device.buffers.size());
}

int32_t dsPlay(int32_t buffer) {
  Buffer* b = find(buffer);
  return b ? start(*b, false) : 0;
}

int32_t dsPlayLooping(int32_t buffer) {
  Buffer* b = find(buffer);
  if (!b) return 0;
  if (b->looping && sounding(*b)) return 1;  // never two copies of the music at once
  return start(*b, true);
}

int32_t dsStop(int32_t buffer) {
  Buffer* b = find(buffer);
  if (!b) return 0;
  silence(*b);
  return 1;
}

int32_t dsFree(int32_t buffer) {
  Buffer* b = find(buffer);
  if (!b) return 0;
  silence(*b);
  Mix_FreeChunk(b->chunk);
  *b = Buffer{};
  return 1;
}

const char* dsLastError(void) { return last_error.c_str(); }

int32_t dsCreateResDSB(int32_t, const char*, int32_t) {
  fail("there are no sound resources");
  return 0;
}

int32_t dsPlayPan(int32_t buffer, int32_t) { return dsPlay(buffer); }
int32_t dsPlayEx(int32_t buffer, int32_t flags) {
  return (flags & 1) ? dsPlayLooping(buffer) : dsPlay(buffer);
}
int32_t dsPlayLoopingEx(int32_t buffer, int32_t) { return dsPlayLooping(buffer); }
int32_t dsSetVolume(int32_t, int32_t) { return 0; }
int32_t dsSetPan(int32_t, int32_t) { return 0; }
int32_t dsSetFrequency(int32_t, int32_t) { return 0; }

}  // extern "C"
