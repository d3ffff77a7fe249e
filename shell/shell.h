// The program's entry, window and main loop.
#pragma once
#include "platform/win32.h"

// The game's frame is padded to this; all its speeds count frames.
constexpr uint64_t FramePeriodNs = 16000000;
constexpr DWORD FramePeriodMs = 16;

extern int Running;  // result of the last frame; the loop runs while it is not 0

// 0 when the game ends normally (the quit choice, the window closed), 1
// when it cannot start.
int WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL AdjustWindowToClient(HWND window, int width, int height);

// One pass of the main loop: one waiting message, or else one frame (after
// restoring a lost device) padded to the frame period; while the device
// stays lost, a wait of at most the frame period for a message instead of
// the frame. Every fetch fills msg. Returns 0 when the loop is to end: WM_QUIT was fetched, or the
// frame returned 0 (after its sleep).
int MainLoopPass(HWND window, MSG* msg);
