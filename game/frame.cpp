// Placeholder until this area is built; replace wholesale.
#include "game/frame.h"

int Scene;
int LoadedSoundSet;

int UpdateFrame(HWND) { return 1; }
void SwitchSoundSet(int) {}
