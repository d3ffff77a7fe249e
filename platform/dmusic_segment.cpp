// Segments: a WAV file decoded once, and the mixer chunk made from it for
// the open device by Download. A sound that must be resampled for the
// device is converted on a worker: a resampler is slow, and a scene's
// sounds are loaded in the middle of its first frame.
#include <SDL.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>
#include "platform/background_work.h"
#include "platform/dmusic.h"
#include "platform/dmusic_internal.h"
#include "platform/testhooks.h"

struct ChunkConversion;

struct IDirectMusicSegment8::Impl {
    ULONG refs = 1;
    DWORD repeats = 0;
    SDL_AudioSpec spec{};           // the file's format
    Uint8* samples = nullptr;       // the file's sound, from SDL_LoadWAV_RW
    Uint32 bytes = 0;
    Mix_Chunk* chunk = nullptr;     // the sound in the device's format
    Uint8* chunkSamples = nullptr;  // owned here, not by the chunk
    int chunkGeneration = 0;
    ChunkConversion* converting = nullptr;  // for converting->generation
};

// The sound converted for one device opening, off the game's thread. The
// worker touches only the buffer until it takes SoundLock to hand the
// result over; a segment released before then lets go of it.
struct ChunkConversion : BackgroundJob {
    IDirectMusicSegment8* segment;  // null once the segment is gone
    SDL_AudioCVT cvt;
    int frameBytes;
    int generation;
    bool finished;  // under SoundLock: run has nothing left to do but return
    ChunkConversion* nextFinished;
};

namespace {
// Larger files and prepared sounds are refused: a game's sound is far
// smaller, and a broken header must not reserve gigabytes.
constexpr size_t MaxFileBytes = 64u << 20;
constexpr Uint32 MaxPreparedBytes = 256u << 20;

int LiveSegments = 0;

int FrameBytes(SDL_AudioFormat format, int channels) { return SDL_AUDIO_BITSIZE(format) / 8 * channels; }

bool ReadWholeFile(const char* path, std::vector<Uint8>* bytes) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    Uint8 block[4096];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0 && bytes->size() <= MaxFileBytes)
        bytes->insert(bytes->end(), block, block + got);
    bool read = !std::ferror(file);
    std::fclose(file);
    return read;
}

Uint32 ReadLittleEndian32(const Uint8* at) {
    return (Uint32)at[0] | (Uint32)at[1] << 8 | (Uint32)at[2] << 16 | (Uint32)at[3] << 24;
}

void WriteLittleEndian32(Uint8* at, Uint32 value) {
    for (int i = 0; i < 4; ++i) at[i] = (Uint8)(value >> (8 * i));
}

// A chunk may claim more bytes than the file holds; the decoder would
// reserve all of them. Each claim is cut to what is there.
void ClampChunkSizes(std::vector<Uint8>* bytes) {
    constexpr size_t ChunkHeaderBytes = 8;
    // The decoder also takes a file that starts at "WAVE", without "RIFF".
    size_t at = bytes->size() >= 4 && std::memcmp(bytes->data(), "WAVE", 4) == 0 ? 4 : 12;
    while (at + ChunkHeaderBytes <= bytes->size()) {
        Uint8* header = bytes->data() + at;
        size_t room = bytes->size() - at - ChunkHeaderBytes;
        Uint32 size = ReadLittleEndian32(header + 4);
        if (size > room) {
            size = (Uint32)room;
            WriteLittleEndian32(header + 4, size);
        }
        at += ChunkHeaderBytes + size + (size & 1);
    }
}

void FreeChunk(IDirectMusicSegment8::Impl* impl) {
    if (impl->chunk) Mix_FreeChunk(impl->chunk);
    SDL_free(impl->chunkSamples);
    impl->chunk = nullptr;
    impl->chunkSamples = nullptr;
}

// Conversions done with, freed once their worker has let go of them too;
// under SoundLock.
ChunkConversion* Finished = nullptr;

void FreeFinishedConversions() {
    while (ChunkConversion* done = Finished) {
        Finished = done->nextFinished;
        FinishBackgroundJob(done);  // the worker is past the lock: no wait on it
        delete done;
    }
}

// The converter's length, trimmed to whole frames, in a buffer of its own
// size; the buffer is kept by the chunk made of it.
Mix_Chunk* MakeChunk(SDL_AudioCVT* cvt, bool converted, int frameBytes) {
    Uint32 length = (Uint32)(converted ? cvt->len_cvt : cvt->len) / frameBytes * frameBytes;
    if (length == 0) return nullptr;
    // The converter works in room for its widest step; the sound needs
    // only its own length.
    Uint8* fitted = (Uint8*)SDL_realloc(cvt->buf, length);
    if (fitted) cvt->buf = fitted;
    return Mix_QuickLoad_RAW(cvt->buf, length);
}

void Convert(BackgroundJob* job) {
    ChunkConversion* conversion = static_cast<ChunkConversion*>(job);
    const bool converted = SDL_ConvertAudio(&conversion->cvt) == 0;
    std::lock_guard<std::recursive_mutex> hold(SoundLock());
    IDirectMusicSegment8* segment = conversion->segment;
    Mix_Chunk* chunk = segment && converted ? MakeChunk(&conversion->cvt, true, conversion->frameBytes) : nullptr;
    if (chunk) {
        segment->impl->chunk = chunk;
        segment->impl->chunkSamples = conversion->cvt.buf;
        segment->impl->chunkGeneration = conversion->generation;
        StartWaitingVoices(segment, chunk, conversion->generation);
    } else {
        SDL_free(conversion->cvt.buf);  // voices left waiting go at the next reaping
    }
    if (segment) segment->impl->converting = nullptr;
    conversion->finished = true;
    conversion->nextFinished = Finished;
    Finished = conversion;
}
}  // namespace

HRESULT DecodeWaveFile(const char* path, IDirectMusicSegment8** segment, const char** why) {
    *segment = nullptr;
    std::vector<Uint8> bytes;
    errno = 0;
    if (!ReadWholeFile(path, &bytes)) {
        *why = errno ? std::strerror(errno) : "cannot read the file";
        return DMUS_E_LOADER_FAILEDOPEN;
    }
    *why = "the file is empty";
    if (bytes.empty()) return DMUS_E_UNSUPPORTED_STREAM;
    *why = "larger than any sound of a game";
    if (bytes.size() > MaxFileBytes) return DMUS_E_UNSUPPORTED_STREAM;
    ClampChunkSizes(&bytes);
    SDL_AudioSpec spec{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), (int)bytes.size()), 1, &spec, &samples, &length)) {
        *why = SDL_GetError();
        return DMUS_E_UNSUPPORTED_STREAM;
    }
    if (spec.channels < 1 || length < (Uint32)FrameBytes(spec.format, spec.channels)) {
        SDL_FreeWAV(samples);
        *why = "holds no sound";
        return DMUS_E_UNSUPPORTED_STREAM;
    }
    IDirectMusicSegment8* made = new IDirectMusicSegment8;
    made->impl = new IDirectMusicSegment8::Impl;
    made->impl->spec = spec;
    made->impl->samples = samples;
    made->impl->bytes = length;
    ++LiveSegments;
    *segment = made;
    return S_OK;
}

Mix_Chunk* SegmentChunk(IDirectMusicSegment8* segment, int generation) {
    IDirectMusicSegment8::Impl* impl = segment->impl;
    return impl->chunkGeneration == generation ? impl->chunk : nullptr;
}

bool SegmentConverting(IDirectMusicSegment8* segment, int generation) {
    const ChunkConversion* conversion = segment->impl->converting;
    return conversion && conversion->generation == generation;
}

DWORD SegmentRepeats(IDirectMusicSegment8* segment) { return segment->impl->repeats; }

ULONG IDirectMusicSegment8::AddRef() { return ++impl->refs; }

ULONG IDirectMusicSegment8::Release() {
    ULONG refs = --impl->refs;
    if (refs == 0) {
        std::lock_guard<std::recursive_mutex> hold(SoundLock());
        if (impl->converting) impl->converting->segment = nullptr;
        FreeFinishedConversions();
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
    std::lock_guard<std::recursive_mutex> hold(SoundLock());
    FreeFinishedConversions();
    MixerOutput output;
    if (!PerformanceOutput(performance, &output)) return DMUS_E_NOT_INIT;
    if (impl->chunk && impl->chunkGeneration == output.generation) return S_OK;
    if (SegmentConverting(this, output.generation)) return S_OK;
    // A chunk or a conversion for an earlier opening of the device: nothing
    // plays it now.
    FreeChunk(impl);
    if (impl->converting) impl->converting->segment = nullptr;
    impl->converting = nullptr;
    SDL_AudioCVT cvt;
    int needed = SDL_BuildAudioCVT(&cvt, impl->spec.format, impl->spec.channels, impl->spec.freq, output.format,
                                   output.channels, output.rate);
    if (needed < 0 || (Uint64)impl->bytes * (Uint64)cvt.len_mult > MaxPreparedBytes) return DMUS_E_UNSUPPORTED_STREAM;
    cvt.len = (int)impl->bytes;
    cvt.buf = (Uint8*)SDL_malloc((size_t)cvt.len * cvt.len_mult);
    if (!cvt.buf) return E_OUTOFMEMORY;
    std::memcpy(cvt.buf, impl->samples, impl->bytes);
    const int frameBytes = FrameBytes(output.format, output.channels);
    if (needed) {
        ChunkConversion* conversion = new ChunkConversion{};
        conversion->run = Convert;
        conversion->segment = this;
        conversion->cvt = cvt;
        conversion->frameBytes = frameBytes;
        conversion->generation = output.generation;
        impl->converting = conversion;
        StartBackgroundJob(conversion);
        return S_OK;
    }
    Mix_Chunk* chunk = MakeChunk(&cvt, false, frameBytes);
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
