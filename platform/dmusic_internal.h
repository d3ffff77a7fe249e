// Shared inside the platform layer only: how the DirectMusic stand-ins
// meet the mixer.
#pragma once
#include <SDL_mixer.h>
#include <mutex>
#include "platform/dmusic.h"

// The output the open audio device mixes: signed 16-bit samples.
struct MixerOutput {
    int rate;         // frames a second
    Uint16 format;    // SDL audio format
    int channels;     // interleaved samples per frame
    int generation;   // counts device openings; a chunk made for an
                      // earlier opening is stale
};

// True when this performance holds the open audio device.
bool PerformanceOutput(IDirectMusicPerformance8* performance, MixerOutput* output);

// Held for every Mix_ call and every look at a voice or a segment's chunk:
// a conversion finished on a worker starts its sound from there.
std::recursive_mutex& SoundLock();

// The chunk Download prepared for the device opening `generation`; null
// when it was never downloaded there or is still being converted.
Mix_Chunk* SegmentChunk(IDirectMusicSegment8* segment, int generation);
// Whether Download's conversion for that opening is still running.
bool SegmentConverting(IDirectMusicSegment8* segment, int generation);
// A conversion is done: the voices that wait for the segment start.
void StartWaitingVoices(IDirectMusicSegment8* segment, Mix_Chunk* chunk, int generation);
DWORD SegmentRepeats(IDirectMusicSegment8* segment);

// Reads a WAV file into a new segment (one reference). Fails with
// DMUS_E_LOADER_FAILEDOPEN when the file cannot be read and
// DMUS_E_UNSUPPORTED_STREAM when it is no WAV or holds no sound; *why then
// says so in words, valid until the next SDL call.
HRESULT DecodeWaveFile(const char* path, IDirectMusicSegment8** segment, const char** why);

IDirectMusicPerformance8* NewPerformance();
IDirectMusicLoader8* NewLoader();
