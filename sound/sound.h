// The sound module: 100 numbered slots of loaded sounds, played through DirectMusic.
#pragma once
#include "platform/dmusic.h"
#include "platform/win32.h"

constexpr int SoundSlotCount = 100;

// Arguments of LoadSound and PlaySoundSlot.
constexpr int WaveFile = 0;            // midi: the file is a WAV
constexpr int MidiFile = 1;
constexpr int SecondarySound = 1;      // kind: sounds beside everything playing
constexpr int LoopForever = 0;         // repeats
constexpr int DefaultPathNumber = 0;   // the performance's default audio path

// The performance; every play and stop goes through it.
extern IDirectMusicPerformance8* Performance;
// Loads sounds from files relative to the working directory of start-up.
extern IDirectMusicLoader8* Loader;
// The performance's default audio path (path number 0).
extern IDirectMusicAudioPath8* DefaultAudioPath;
// The extra audio paths (path numbers 1 and 2); null when not made.
extern IDirectMusicAudioPath8* AudioPath1;
extern IDirectMusicAudioPath8* AudioPath2;
// The sound slots; null is empty.
extern IDirectMusicSegment8* SoundSegments[SoundSlotCount];

// Started once by InitSound, shut down once by ReleaseSound; every other
// call does nothing while an object it needs is missing.

// Starts COM and DirectMusic with the working directory as the search
// directory. 1 on success; 0 leaves whatever was made before the failing
// step, tells why in one line on stderr, and the game runs on silently.
int InitSound(HWND window);
// Loads a WAV file into the slot and downloads it. A sound already in the
// slot plays on. A failed load leaves the slot empty and returns 0; so does
// a slot outside 0 to 99.
int LoadSound(const char* path, int slot, int midi);
// Kind 1 sounds beside everything playing, any other kind replaces the
// primary sound. Repeats 0 loops until stopped, n plays n more times after
// the first. Path number 0, 1 or 2; any other plays nothing.
void PlaySoundSlot(int slot, int kind, int repeats, int pathNumber);
// Stops every playing instance of the slot's sound.
void StopSoundSlot(int slot);
// Silences everything at once.
void StopAllSounds();
// Volume of path 0, 1 or 2 in hundredths of a decibel; other numbers do
// nothing.
void SetSoundVolume(int pathNumber, int volume);
// Stops and closes DirectMusic, releases everything and ends COM.
void ReleaseSound();
