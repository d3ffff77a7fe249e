// Shared inside the platform layer only: how the Win32 stand-in's window
// handle maps onto SDL, for the device's Present.
#pragma once
#include <SDL.h>
#include "platform/win32.h"

// The SDL window behind a handle from CreateWindowExA; null for a null or
// unknown handle.
SDL_Window* PlatformSdlWindow(HWND window);
