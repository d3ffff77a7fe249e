// Segments: a WAV file decoded once, and the mixer chunk made from it for
// the open device by Download.
#include <SDL.h>
#include <climits>
#include <cstring>
#include "platform/dmusic.h"
#include "platform/dmusic_internal.h"
#include "platform/testhooks.h"

struct IDirectMusicSegment8::Impl {
    ULONG refs = 1;
    DWORD repeats = 0;
    SDL_AudioSpec spec{};           // the file's format
    Uint8* samples = nullptr;       // the file's sound, from SDL_LoadWAV_RW
    Uint32 bytes = 0;
    Mix_Chunk* chunk = nullptr;     // the sound in the device's format
    Uint8* chunkSamples = nullptr;  // owned here, not by the chunk
    int chunkGeneration = 0;
};

namespace {
int LiveSegments = 0;

int FrameBytes(SDL_AudioFormat format, int channels) { return SDL_AUDIO_BITSIZE(format) / 8 * channels; }

void FreeChunk(IDirectMusicSegment8::Impl* impl) {
    if (impl->chunk) Mix_FreeChunk(impl->chunk);
    SDL_free(impl->chunkSamples);
    impl->chunk = nullptr;
    impl->chunkSamples = nullptr;
}
}  // namespace

HRESULT DecodeWaveFile(const char* path, IDirectMusicSegment8** segment) {
    *segment = nullptr;
    SDL_RWops* file = SDL_RWFromFile(path, "rb");
    if (!file) return DMUS_E_LOADER_FAILEDOPEN;
    SDL_AudioSpec spec{};
    Uint8* samples = nullptr;
    Uint32 bytes = 0;
    if (!SDL_LoadWAV_RW(file, 1, &spec, &samples, &bytes)) return DMUS_E_UNSUPPORTED_STREAM;
    if (spec.channels < 1 || bytes < (Uint32)FrameBytes(spec.format, spec.channels)) {
        SDL_FreeWAV(samples);
        return DMUS_E_UNSUPPORTED_STREAM;
    }
    IDirectMusicSegment8* made = new IDirectMusicSegment8;
    made->impl = new IDirectMusicSegment8::Impl;
    made->impl->spec = spec;
    made->impl->samples = samples;
    made->impl->bytes = bytes;
    ++LiveSegments;
    *segment = made;
    return S_OK;
}

Mix_Chunk* SegmentChunk(IDirectMusicSegment8* segment, int generation) {
    IDirectMusicSegment8::Impl* impl = segment->impl;
    return impl->chunkGeneration == generation ? impl->chunk : nullptr;
}

DWORD SegmentRepeats(IDirectMusicSegment8* segment) { return segment->impl->repeats; }

ULONG IDirectMusicSegment8::AddRef() { return ++impl->refs; }

ULONG IDirectMusicSegment8::Release() {
    ULONG refs = --impl->refs;
    if (refs == 0) {
        FreeChunk(impl);
        SDL_FreeWAV(impl->samples);
        --LiveSegments;
        delete impl;
        delete this;
    }
    return refs;
}

HRESULT IDirectMusicSegment8::SetRepeats(DWORD repeats) {
    impl->repeats = repeats;
    return S_OK;
}

HRESULT IDirectMusicSegment8::SetParam(REFGUID type, DWORD, DWORD, MUSIC_TIME, void*) {
    return type == GUID_StandardMIDIFile ? S_OK : DMUS_E_TYPE_UNSUPPORTED;
}

HRESULT IDirectMusicSegment8::Download(IDirectMusicPerformance8* performance) {
    if (!performance) return E_POINTER;
    MixerOutput output;
    if (!PerformanceOutput(performance, &output)) return DMUS_E_NOT_INIT;
    if (impl->chunk && impl->chunkGeneration == output.generation) return S_OK;
    // A chunk from an earlier opening of the device: nothing plays it now.
    FreeChunk(impl);
    SDL_AudioCVT cvt;
    int needed = SDL_BuildAudioCVT(&cvt, impl->spec.format, impl->spec.channels, impl->spec.freq, output.format,
                                   output.channels, output.rate);
    if (needed < 0 || impl->bytes > (Uint32)(INT_MAX / cvt.len_mult)) return DMUS_E_UNSUPPORTED_STREAM;
    cvt.len = (int)impl->bytes;
    cvt.buf = (Uint8*)SDL_malloc((size_t)cvt.len * cvt.len_mult);
    if (!cvt.buf) return E_OUTOFMEMORY;
    std::memcpy(cvt.buf, impl->samples, impl->bytes);
    if (needed && SDL_ConvertAudio(&cvt) != 0) {
        SDL_free(cvt.buf);
        return DMUS_E_UNSUPPORTED_STREAM;
    }
    int frameBytes = FrameBytes(output.format, output.channels);
    Uint32 length = (Uint32)(needed ? cvt.len_cvt : cvt.len) / frameBytes * frameBytes;
    Mix_Chunk* chunk = length > 0 ? Mix_QuickLoad_RAW(cvt.buf, length) : nullptr;
    if (!chunk) {
        SDL_free(cvt.buf);
        return DMUS_E_UNSUPPORTED_STREAM;
    }
    impl->chunk = chunk;
    impl->chunkSamples = cvt.buf;
    impl->chunkGeneration = output.generation;
    return S_OK;
}

int LiveSoundSegments() { return LiveSegments; }
