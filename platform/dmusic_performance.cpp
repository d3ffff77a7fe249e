// The DirectMusic performance and its audio paths over SDL2_mixer: each
// playing sound is one mixer channel (a voice) that holds a reference on
// its segment and its path until it ends or is stopped, so no sound is
// freed while the mixer still reads it. A sound still being converted for
// the device gets its voice at once; the voice starts when the conversion
// is done.
#include <SDL.h>
#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdio>
#include <mutex>
#include "platform/dmusic.h"
#include "platform/dmusic_internal.h"
#include "platform/testhooks.h"

namespace {
constexpr int MixRateHz = 44100;
constexpr Uint16 MixSampleFormat = AUDIO_S16SYS;
constexpr int MixOutputChannels = 2;
constexpr int MixBufferFrames = 1024;
// Mixer channels: the loops and effects of a scene never cut each other off.
constexpr int VoiceCount = 64;
constexpr float HundredthsDbPerDecade = 2000.0f;

struct Voice {
    IDirectMusicSegment8* segment;  // null: the channel is free
    IDirectMusicAudioPath8* path;   // null when played with no path at all
    bool primary;
    bool waiting;  // for its segment's conversion, to play with these loops
    int loops;
};

Voice Voices[VoiceCount];
IDirectMusicPerformance8* AudioOwner = nullptr;  // the performance holding the device
MixerOutput Output;
int OpenCount = 0;
std::atomic<MixHook> TheMixHook{nullptr};
SoundRequestHook TheSoundRequestHook = nullptr;

void PostMix(void*, Uint8* stream, int bytes) {
    MixHook hook = TheMixHook.load();
    if (hook) hook(reinterpret_cast<const int16_t*>(stream), bytes / (2 * Output.channels), Output.channels, Output.rate);
}

// The game only learns that sound failed; the player is told why here,
// once for each failure.
HRESULT NoSound(const char* why, HRESULT result = DMUS_E_NO_AUDIO_DEVICE) {
    std::fprintf(stderr, "No sound: %s\n", why);
    return result;
}

int MixVolume(LONG hundredthsDb) {
    LONG clamped = std::clamp(hundredthsDb, DMUS_VOLUME_MIN, DMUS_VOLUME_MAX);
    float gain = std::pow(10.0f, (float)clamped / HundredthsDbPerDecade);
    return (int)std::lround(gain * MIX_MAX_VOLUME);
}

void ReleaseVoice(int channel) {
    Voice& voice = Voices[channel];
    voice.segment->Release();
    if (voice.path) voice.path->Release();
    voice = Voice{};
}

void HaltVoice(int channel) {
    Mix_HaltChannel(channel);
    ReleaseVoice(channel);
}

// Finished channels give their segments back; only this file starts
// channels, so a channel not playing is free unless it waits for a
// conversion still running.
void ReapFinishedVoices() {
    for (int channel = 0; channel < VoiceCount; ++channel) {
        const Voice& voice = Voices[channel];
        if (!voice.segment) continue;
        if (voice.waiting ? !SegmentConverting(voice.segment, Output.generation) : !Mix_Playing(channel))
            ReleaseVoice(channel);
    }
}

int FreeVoice() {
    for (int channel = 0; channel < VoiceCount; ++channel)
        if (!Voices[channel].segment) return channel;
    return -1;
}

IDirectMusicAudioPath8* NewAudioPath();
}  // namespace

struct IDirectMusicAudioPath8::Impl {
    ULONG refs = 1;
    LONG volume = DMUS_VOLUME_MAX;
};

struct IDirectMusicPerformance8::Impl {
    ULONG refs = 1;
    bool audioOpen = false;
    IDirectMusicAudioPath8* defaultPath = nullptr;
};

namespace {
IDirectMusicAudioPath8* NewAudioPath() {
    IDirectMusicAudioPath8* path = new IDirectMusicAudioPath8;
    path->impl = new IDirectMusicAudioPath8::Impl;
    return path;
}

bool KnownPathType(DWORD type) {
    return type == DMUS_APATH_SHARED_STEREOPLUSREVERB || type == DMUS_APATH_DYNAMIC_STEREO;
}
}  // namespace

ULONG IDirectMusicAudioPath8::AddRef() { return ++impl->refs; }

ULONG IDirectMusicAudioPath8::Release() {
    ULONG refs = --impl->refs;
    if (refs == 0) {
        delete impl;
        delete this;
    }
    return refs;
}

HRESULT IDirectMusicAudioPath8::SetVolume(LONG volume, DWORD) {
    std::lock_guard<std::recursive_mutex> hold(SoundLock());
    impl->volume = std::clamp(volume, DMUS_VOLUME_MIN, DMUS_VOLUME_MAX);
    for (int channel = 0; channel < VoiceCount; ++channel)
        if (Voices[channel].path == this) Mix_Volume(channel, MixVolume(impl->volume));
    return S_OK;
}

IDirectMusicPerformance8* NewPerformance() {
    IDirectMusicPerformance8* performance = new IDirectMusicPerformance8;
    performance->impl = new IDirectMusicPerformance8::Impl;
    return performance;
}

bool PerformanceOutput(IDirectMusicPerformance8* performance, MixerOutput* output) {
    if (!performance || performance != AudioOwner) return false;
    *output = Output;
    return true;
}

ULONG IDirectMusicPerformance8::AddRef() { return ++impl->refs; }

ULONG IDirectMusicPerformance8::Release() {
    ULONG refs = --impl->refs;
    if (refs == 0) {
        CloseDown();
        delete impl;
        delete this;
    }
    return refs;
}

HRESULT IDirectMusicPerformance8::InitAudio(IDirectMusic**, IDirectSound**, HWND, DWORD defaultPathType, DWORD,
                                            DWORD, DMUS_AUDIOPARAMS*) {
    std::lock_guard<std::recursive_mutex> hold(SoundLock());
    if (impl->audioOpen || AudioOwner)
        return NoSound("the audio device is already held by another performance", DMUS_E_ALREADY_INITED);
    if (defaultPathType != 0 && !KnownPathType(defaultPathType))
        return NoSound("the default audio path asked for is of no known type", E_INVALIDARG);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return NoSound(SDL_GetError());
    if (Mix_OpenAudio(MixRateHz, MixSampleFormat, MixOutputChannels, MixBufferFrames) != 0) {
        NoSound(Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return DMUS_E_NO_AUDIO_DEVICE;
    }
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    if (format != MixSampleFormat || channels < 1 || Mix_AllocateChannels(VoiceCount) != VoiceCount) {
        NoSound("the device does not take 16-bit sound on enough voices");
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return DMUS_E_NO_AUDIO_DEVICE;
    }
    Output = MixerOutput{rate, format, channels, ++OpenCount};
    for (int channel = 0; channel < VoiceCount; ++channel) Mix_Volume(channel, MIX_MAX_VOLUME);
    Mix_SetPostMix(PostMix, nullptr);
    AudioOwner = this;
    impl->audioOpen = true;
    if (defaultPathType != 0) impl->defaultPath = NewAudioPath();
    return S_OK;
}

HRESULT IDirectMusicPerformance8::GetDefaultAudioPath(IDirectMusicAudioPath8** path) {
    if (!path) return E_POINTER;
    *path = impl->defaultPath;
    if (!*path) return DMUS_E_NOT_INIT;
    (*path)->AddRef();
    return S_OK;
}

HRESULT IDirectMusicPerformance8::CreateStandardAudioPath(DWORD type, DWORD, BOOL, IDirectMusicAudioPath8** path) {
    if (!path) return E_POINTER;
    *path = nullptr;
    if (!impl->audioOpen) return DMUS_E_NOT_INIT;
    if (!KnownPathType(type)) return E_INVALIDARG;
    *path = NewAudioPath();
    return S_OK;
}

HRESULT IDirectMusicPerformance8::PlaySegmentEx(IDirectMusicSegment8* source, const WCHAR*, IDirectMusicSegment8*,
                                                DWORD flags, REFERENCE_TIME, IDirectMusicSegmentState** segmentState,
                                                IUnknown*, IDirectMusicAudioPath8* audioPath) {
    if (segmentState) *segmentState = nullptr;
    if (!source) return E_POINTER;
    if (TheSoundRequestHook) TheSoundRequestHook({true, source, flags, SegmentRepeats(source), audioPath});
    if (!impl->audioOpen) return DMUS_E_NOT_INIT;
    std::lock_guard<std::recursive_mutex> hold(SoundLock());
    Mix_Chunk* chunk = SegmentChunk(source, Output.generation);
    if (!chunk && !SegmentConverting(source, Output.generation)) return DMUS_E_NOT_DOWNLOADED;
    ReapFinishedVoices();
    bool primary = (flags & DMUS_SEGF_SECONDARY) == 0;
    if (primary)
        for (int channel = 0; channel < VoiceCount; ++channel)
            if (Voices[channel].segment && Voices[channel].primary) HaltVoice(channel);
    int channel = FreeVoice();
    if (channel < 0) return DMUS_E_NO_FREE_VOICE;
    IDirectMusicAudioPath8* path = audioPath ? audioPath : impl->defaultPath;
    DWORD repeats = SegmentRepeats(source);
    int loops = repeats == DMUS_SEG_REPEAT_INFINITE ? -1 : (int)std::min<DWORD>(repeats, INT_MAX);
    Mix_Volume(channel, path ? MixVolume(path->impl->volume) : MIX_MAX_VOLUME);
    if (chunk && Mix_PlayChannel(channel, chunk, loops) < 0) return E_FAIL;
    source->AddRef();
    if (path) path->AddRef();
    Voices[channel] = Voice{source, path, primary, chunk == nullptr, loops};
    return S_OK;
}

HRESULT IDirectMusicPerformance8::StopEx(IDirectMusicSegment8* object, REFERENCE_TIME, DWORD) {
    if (TheSoundRequestHook) TheSoundRequestHook({false, object, 0, 0, nullptr});
    if (!impl->audioOpen) return S_OK;
    std::lock_guard<std::recursive_mutex> hold(SoundLock());
    for (int channel = 0; channel < VoiceCount; ++channel) {
        Voice& voice = Voices[channel];
        if (voice.segment && (!object || voice.segment == object)) HaltVoice(channel);
    }
    return S_OK;
}

HRESULT IDirectMusicPerformance8::Stop(IDirectMusicSegment8* segment, IDirectMusicSegmentState*, MUSIC_TIME, DWORD) {
    return StopEx(segment, 0, 0);
}

HRESULT IDirectMusicPerformance8::CloseDown() {
    std::lock_guard<std::recursive_mutex> hold(SoundLock());
    if (impl->audioOpen) {
        StopEx(nullptr, 0, 0);
        Mix_SetPostMix(nullptr, nullptr);
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        AudioOwner = nullptr;
        impl->audioOpen = false;
    }
    if (impl->defaultPath) {
        impl->defaultPath->Release();
        impl->defaultPath = nullptr;
    }
    return S_OK;
}

void StartWaitingVoices(IDirectMusicSegment8* segment, Mix_Chunk* chunk, int generation) {
    if (generation != Output.generation || !AudioOwner) return;
    for (int channel = 0; channel < VoiceCount; ++channel) {
        Voice& voice = Voices[channel];
        if (voice.segment == segment && voice.waiting && Mix_PlayChannel(channel, chunk, voice.loops) >= 0)
            voice.waiting = false;
    }
}

std::recursive_mutex& SoundLock() {
    static std::recursive_mutex lock;
    return lock;
}

void SetMixHook(MixHook hook) { TheMixHook.store(hook); }
void SetSoundRequestHook(SoundRequestHook hook) { TheSoundRequestHook = hook; }
