// Placeholder until the window layer is built; replace wholesale.
#include "platform/win32_internal.h"

SDL_Window* PlatformSdlWindow(HWND) { return nullptr; }
