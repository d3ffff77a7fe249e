// The sound module: 100 numbered slots of loaded sounds.
#pragma once
#include "platform/win32.h"

constexpr int SoundSlotCount = 100;

int InitSound(HWND window);
int LoadSound(const char* path, int slot, int midi);
void PlaySoundSlot(int slot, int kind, int repeats, int pathNumber);
void StopSoundSlot(int slot);
void StopAllSounds();
void SetSoundVolume(int pathNumber, int volume);
void ReleaseSound();
