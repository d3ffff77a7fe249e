// Placeholder until this area is built; replace wholesale.
#include "shell/shell.h"

int Running = 1;

int WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM) { return 0; }
BOOL AdjustWindowToClient(HWND, int, int) { return 0; }
