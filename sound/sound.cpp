// Placeholder until this area is built; replace wholesale.
#include "sound/sound.h"

int InitSound(HWND) { return 0; }
int LoadSound(const char*, int, int) { return 0; }
void PlaySoundSlot(int, int, int, int) {}
void StopSoundSlot(int) {}
void StopAllSounds() {}
void SetSoundVolume(int, int) {}
void ReleaseSound() {}
