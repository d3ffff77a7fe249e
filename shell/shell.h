// The program's entry, window and main loop.
#pragma once
#include "platform/win32.h"

extern int Running;  // result of the last frame; the loop runs while it is not 0

int WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL AdjustWindowToClient(HWND window, int width, int height);
