// What the window system does for a window beyond SDL: whether it draws
// with a GPU, and (on X) what it shows where the window is uncovered.
#include <SDL_syswm.h>

#include <initializer_list>

#include "platform/win32_internal.h"

namespace {
bool WindowSystemOf(SDL_Window* window, SDL_SysWMinfo* info) {
    SDL_VERSION(&info->version);
    return window && SDL_GetWindowWMInfo(window, info);
}
}  // namespace

bool PlatformWindowHasGpu(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (!WindowSystemOf(window, &info)) return false;  // SDL's headless drivers
    if (info.subsystem != SDL_SYSWM_X11) return info.subsystem != SDL_SYSWM_UNKNOWN;
    // Direct rendering, Mesa's or NVIDIA's own, means a GPU; a virtual X
    // server offers neither, and GL there is software.
    int opcode = 0, event = 0, error = 0;
    for (const char* name : {"DRI3", "DRI2", "NV-GLX"}) {
        if (XQueryExtension(info.info.x11.display, name, &opcode, &event, &error)) return true;
    }
    return false;
}

void PlatformBlackenUncovered(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (!WindowSystemOf(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    Display* display = info.info.x11.display;
    XSetWindowBackground(display, info.info.x11.window, BlackPixel(display, DefaultScreen(display)));
    XClearWindow(display, info.info.x11.window);
}
