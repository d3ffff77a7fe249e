// MessageBoxA as a modal box of our own over the game's window.
#include "platform/testhooks.h"
#include "platform/win32_internal.h"

namespace {

constexpr UINT ButtonsMask = 0x000F;

constexpr DWORD FocusWaitMs = 500;

MessageBoxHook Hook;

// The game's window back in front with the keyboard. Waits until SDL has
// seen the focus come back (or a short while), so that the box's taking of
// the focus is behind us before the window may minimise on a loss again.
void TakeBackFocus(SDL_Window* window) {
    if (!window || !(SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN)) return;
    PlatformSyncWindowSystem();
    SDL_PumpEvents();
    SDL_RaiseWindow(window);
    SDL_SetWindowInputFocus(window);
    const DWORD start = timeGetTime();
    while (!(SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) && timeGetTime() - start < FocusWaitMs) {
        Sleep(1);
        SDL_PumpEvents();
    }
}

}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) { Hook = hook; }

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (Hook) return Hook(owner, text, caption, type);

    // Without an owner the box still belongs over the full-screen game.
    SDL_Window* window = PlatformSdlWindow(owner ? owner : PlatformNewestWindow());

    // The full-screen window steps aside when another program takes the
    // focus; our own box taking it must not minimise the game.
    const HeldMinimise held = PlatformHoldMinimise();
    const int answer = PlatformShowBox(window, text ? text : "", caption ? caption : "",
                                       (type & ButtonsMask) == MB_YESNO);
    // A box never shown took nothing; a program about to end needs nothing back.
    if (answer > 0 && !PlatformEndRequested()) TakeBackFocus(window);
    PlatformGiveBackMinimise(held);
    // The box had the keyboard: keys let go meanwhile are up, keys still
    // held are down.
    PlatformTakeKeysFromKeyboard();
    return (answer == IDOK || answer == IDYES) ? answer : IDNO;
}
