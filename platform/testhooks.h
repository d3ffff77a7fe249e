// Seams for the tests: they stand where a person or the machine would act
// (answering a box, minimising the window, the clock). The game never
// calls these.
#pragma once
#include "platform/d3d9.h"
#include "platform/dmusic.h"

// Answers every MessageBoxA instead of showing it; null restores the real
// box. The hook sees the owner, the UTF-8 text, caption and type.
typedef int (*MessageBoxHook)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
void SetMessageBoxHook(MessageBoxHook hook);

// The device's cooperative state as the window would drive it.
enum class DeviceLossState { Working, Lost, NotReset };
void ForceDeviceLossState(DeviceLossState state);
// The next Reset finds the device lost again, as when the window loses
// the focus once more just as the reset is tried; it then stays lost.
// ForceDeviceLossState drops a loss still waiting.
void LoseDeviceOnNextReset();

// Makes CreateDevice fail for the tries whose (type, behaviour) the hook
// refuses; null lets every try succeed.
typedef bool (*CreateDeviceHook)(D3DDEVTYPE type, DWORD behaviorFlags);
void SetCreateDeviceHook(CreateDeviceHook hook);

// Replaces the monotonic clock behind timeGetTime, Sleep and the frame
// pacing with a clock the test drives; null restores the real one. Under
// the hooks Sleep(ms) becomes sleepUntil(now() + ms in nanoseconds), and a
// wait for messages with an empty queue becomes wait(its time limit), or
// passes at once when wait is null.
struct ClockHooks {
    uint64_t (*now)();                      // nanoseconds
    void (*sleepUntil)(uint64_t deadline);  // a sleep asked for, to this time
    void (*wait)(uint64_t nanoseconds);     // a wait for messages, at most this long
};
void SetClockHooks(const ClockHooks* hooks);

// The live window with this title (the most recent if several), or null.
HWND FindTestWindow(LPCSTR title);

// Puts a message on the queue as if the window system had sent it.
void PostTestMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Sees every buffer the mixer has finished, on the audio thread: signed
// 16-bit samples, `channels` interleaved per frame, `rate` frames a second.
// Null removes the hook.
typedef void (*MixHook)(const int16_t* samples, int frames, int channels, int rate);
void SetMixHook(MixHook hook);

// Sees every play and stop asked of a performance, on the caller's thread,
// before the performance acts on it: what was asked, whether or not it
// could be done. A stop of every sound has a null segment. Null removes
// the hook.
struct SoundRequest {
    bool play;                      // false: a stop
    IDirectMusicSegment8* segment;
    DWORD flags;                    // a play's DMUS_SEGF_* flags
    DWORD repeats;                  // the segment's repeats when played
    IDirectMusicAudioPath8* path;   // a play's path as passed; null is the default
};
typedef void (*SoundRequestHook)(const SoundRequest& request);
void SetSoundRequestHook(SoundRequestHook hook);

// Decoded sounds (DirectMusic segments) alive now.
int LiveSoundSegments();
