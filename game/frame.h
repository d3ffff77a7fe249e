// One frame of the game and the scene it is in.
#pragma once
#include "platform/win32.h"

constexpr int SceneTitle = 0;
constexpr int SceneField = 1;
constexpr int SceneBoss = 2;
constexpr int SceneContinue = 3;

constexpr int KeyStateBytes = 256;  // one byte per virtual-key code, read once a frame

// A key counts as down in this frame when bit 0x80 of its state byte is set.
inline bool KeyDown(const unsigned char* keys, int virtualKey) { return (keys[virtualKey] & 0x80) != 0; }

extern int Scene;  // the scene whose body the next frame runs

// Runs one frame: reads the keys, runs the current scene's body, presents.
// Returns 0 only on the frame the title's quit choice has faded out.
int UpdateFrame(HWND window);

// The actors' share of a field frame and of a boss frame, in the order the
// game relies on: the player's keys and motion, the enemies or the boss,
// the shots, the stage collision, then who hurts whom (hits.h).
void UpdateFieldActors(const unsigned char* keys);
void UpdateBossActors(const unsigned char* keys);
