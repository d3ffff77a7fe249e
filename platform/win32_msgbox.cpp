// MessageBoxA as a modal SDL message box over the game's window.
#include "platform/testhooks.h"
#include "platform/win32_internal.h"

namespace {

constexpr UINT ButtonsMask = 0x000F;
constexpr UINT IconMask = 0x00F0;

constexpr Uint32 FocusWaitMs = 500;
constexpr int HintChars = 16;

MessageBoxHook Hook;

Uint32 SdlBoxFlags(UINT type) {
    switch (type & IconMask) {
    case MB_ICONERROR: return SDL_MESSAGEBOX_ERROR;
    case MB_ICONQUESTION: return SDL_MESSAGEBOX_INFORMATION;
    default: return 0;
    }
}

// The game's window back in front with the keyboard. Waits until SDL has
// seen the focus come back (or a short while), so that the box's taking of
// the focus is behind us before the window may minimise on a loss again.
void TakeBackFocus(SDL_Window* window) {
    if (!window || !(SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN)) return;
    PlatformSyncWindowSystem();
    SDL_PumpEvents();
    SDL_RaiseWindow(window);
    SDL_SetWindowInputFocus(window);
    const Uint32 start = SDL_GetTicks();
    while (!(SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) && SDL_GetTicks() - start < FocusWaitMs) {
        SDL_Delay(1);
        SDL_PumpEvents();
    }
}

}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) { Hook = hook; }

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (Hook) return Hook(owner, text, caption, type);

    // Yes/No: Enter answers Yes; Esc answers nothing, so an Esc still held
    // from the game cannot answer the question by itself.
    static const SDL_MessageBoxButtonData YesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "はい"},
        {0, IDNO, "いいえ"},
    };
    static const SDL_MessageBoxButtonData OkButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"},
    };
    bool yesNo = (type & ButtonsMask) == MB_YESNO;

    SDL_MessageBoxData box{};
    box.flags = SdlBoxFlags(type);
    // Without an owner the box still belongs over the full-screen game.
    box.window = PlatformSdlWindow(owner ? owner : PlatformNewestWindow());
    box.title = caption ? caption : "";
    box.message = text ? text : "";
    box.buttons = yesNo ? YesNoButtons : OkButtons;
    box.numbuttons = yesNo ? 2 : 1;

    // The full-screen window steps aside when another program takes the
    // focus; our own box taking it must not minimise the game.
    const char* hint = SDL_GetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS);
    const bool hinted = hint != nullptr;
    char minimiseOnFocusLoss[HintChars] = {};
    if (hinted) SDL_strlcpy(minimiseOnFocusLoss, hint, sizeof minimiseOnFocusLoss);
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    int pressed = -1;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        SDL_Log("Cannot show the message box \"%s\": %s", box.message, SDL_GetError());
        pressed = -1;
    }
    TakeBackFocus(box.window);
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, hinted ? minimiseOnFocusLoss : nullptr);
    // The box had the keyboard: keys let go meanwhile are up, keys still
    // held are down.
    PlatformTakeKeysFromKeyboard();
    return (pressed == IDOK || pressed == IDYES) ? pressed : IDNO;
}
