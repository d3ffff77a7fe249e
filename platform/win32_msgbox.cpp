// MessageBoxA as a modal SDL message box over the game's window.
#include "platform/testhooks.h"
#include "platform/win32_internal.h"

namespace {

constexpr UINT ButtonsMask = 0x000F;
constexpr UINT IconMask = 0x00F0;

MessageBoxHook Hook;

Uint32 SdlBoxFlags(UINT type) {
    switch (type & IconMask) {
    case MB_ICONERROR: return SDL_MESSAGEBOX_ERROR;
    case MB_ICONQUESTION: return SDL_MESSAGEBOX_INFORMATION;
    default: return 0;
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

    int pressed = -1;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        SDL_Log("Cannot show the message box \"%s\": %s", box.message, SDL_GetError());
        pressed = -1;
    }
    // The box had the keyboard; key releases it saw never reach the game.
    PlatformReleaseAllKeys();
    return (pressed == IDOK || pressed == IDYES) ? pressed : IDNO;
}
