/* The game's sound library: WAV data held in memory becomes a sound buffer that
 * can be played once, looped and stopped; several buffers mix at once.
 *
 * Every call is made from the user-interface thread. Handle 0 (a sound that could
 * not be loaded) and unknown or freed handles are accepted everywhere and do
 * nothing, so callers never need to test a handle before using it. */
#ifndef MIRADO_SOUND_H
#define MIRADO_SOUND_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define MIRADO_SOUND_API __attribute__((visibility("default")))
#else
#define MIRADO_SOUND_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Opens the default audio device. Returns the context, or 0 when no device could be
 * opened (then dsLastError says why); never blocks waiting for a device. The window
 * handle is accepted for compatibility and not needed. */
MIRADO_SOUND_API int32_t dsInitialize(intptr_t window);

/* Stops every sound, frees every buffer of the context and closes the device. */
MIRADO_SOUND_API void dsTerminate(int32_t context);

/* Decodes a whole WAV file held in memory (`size` bytes at `wav`) into a new buffer.
 * The bytes may be freed once this returns. `flags` is kept for compatibility (1 and
 * 3 load alike). Returns the buffer handle, or 0 with dsLastError set. */
MIRADO_SOUND_API int32_t dsCreateDSB(int32_t context, const void* wav, size_t size,
                                     int32_t flags);

/* A buffer has one play position: dsPlay restarts it from the beginning and plays it
 * once; dsPlayLooping plays it over and over (and leaves a loop already running
 * alone); dsStop silences it. Each returns 1 when the request was carried out. */
MIRADO_SOUND_API int32_t dsPlay(int32_t buffer);
MIRADO_SOUND_API int32_t dsPlayLooping(int32_t buffer);
MIRADO_SOUND_API int32_t dsStop(int32_t buffer);

/* Stops the buffer and releases it; the handle becomes unknown. */
MIRADO_SOUND_API int32_t dsFree(int32_t buffer);

/* Text describing the last failure of dsInitialize or dsCreateDSB ("" if none). */
MIRADO_SOUND_API const char* dsLastError(void);

/* Kept for compatibility with older callers; harmless and never needed by the game.
 * Resources do not exist here, so dsCreateResDSB always answers 0. dsPlayPan plays
 * centred; dsPlayEx loops when bit 0 of flags is set, else plays once;
 * dsPlayLoopingEx loops. Volume, pan and frequency cannot be changed: the setters
 * answer 0 and change nothing. */
MIRADO_SOUND_API int32_t dsCreateResDSB(int32_t context, const char* resource, int32_t flags);
MIRADO_SOUND_API int32_t dsPlayPan(int32_t buffer, int32_t pan);
MIRADO_SOUND_API int32_t dsPlayEx(int32_t buffer, int32_t flags);
MIRADO_SOUND_API int32_t dsPlayLoopingEx(int32_t buffer, int32_t flags);
MIRADO_SOUND_API int32_t dsSetVolume(int32_t buffer, int32_t volume);
MIRADO_SOUND_API int32_t dsSetPan(int32_t buffer, int32_t pan);
MIRADO_SOUND_API int32_t dsSetFrequency(int32_t buffer, int32_t frequency);

#ifdef __cplusplus
}
#endif

#endif /* MIRADO_SOUND_H */
