// The keyboard as the X server knows it, whichever window has the focus.
// SDL forgets the keys held when a box takes the focus and does not learn
// them again when the focus comes back; the server still knows them.
#include <SDL_syswm.h>
#include <X11/keysym.h>

#include "platform/win32_internal.h"

namespace {

struct NamedKey {
    int vk;
    KeySym sym;
};

constexpr NamedKey NamedKeys[] = {
    {VK_RETURN, XK_Return}, {VK_RETURN, XK_KP_Enter}, {VK_ESCAPE, XK_Escape}, {' ', XK_space},
    {VK_LEFT, XK_Left},     {VK_UP, XK_Up},           {VK_RIGHT, XK_Right},   {VK_DOWN, XK_Down},
};
constexpr int LetterCount = 26;
constexpr int DigitCount = 10;
constexpr int KeymapBytes = 32;

// The X display the game's windows are on; null on any other window system.
Display* GameDisplay() {
    SDL_Window* window = PlatformSdlWindow(PlatformNewestWindow());
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
    return info.info.x11.display;
}

bool IsDown(Display* display, const char* keymap, KeySym sym) {
    KeyCode code = XKeysymToKeycode(display, sym);
    return code != 0 && (keymap[code / 8] & (1 << (code % 8))) != 0;
}

}  // namespace

bool PlatformKeyboardNow(bool* down) {
    Display* display = GameDisplay();
    if (!display) return false;
    char keymap[KeymapBytes] = {};
    XQueryKeymap(display, keymap);
    for (const NamedKey& key : NamedKeys) down[key.vk] = down[key.vk] || IsDown(display, keymap, key.sym);
    for (int i = 0; i < LetterCount; ++i) down['A' + i] = IsDown(display, keymap, XK_a + i);
    for (int i = 0; i < DigitCount; ++i) down['0' + i] = IsDown(display, keymap, XK_0 + i);
    return true;
}

void PlatformSyncWindowSystem() {
    if (Display* display = GameDisplay()) XSync(display, False);
}
