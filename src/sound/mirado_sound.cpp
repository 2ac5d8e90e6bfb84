// The sound library over SDL2_mixer. One device, opened by dsInitialize; each buffer
// is a decoded Mix_Chunk with at most one voice, like a hardware sound buffer with a
// single play position.
#include "mirado_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

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
  if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
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
