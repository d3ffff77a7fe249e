// The keyboard as the X server knows it, whichever window has the focus.
// SDL forgets the keys held when a box takes the focus and does not learn
// them again when the focus comes back; the server still knows them. SDL
// also learns the layout once, at start; the server knows the active one.
#include <SDL_syswm.h>
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "platform/win32_internal.h"
#include "platform/x11_keyboard.h"

namespace {

struct NamedKey {
    int vk;
    KeySym sym;
};

constexpr NamedKey NamedKeys[] = {
    {VK_RETURN, XK_Return}, {VK_RETURN, XK_KP_Enter}, {VK_ESCAPE, XK_Escape}, {' ', XK_space},
    {VK_LEFT, XK_Left},     {VK_UP, XK_Up},           {VK_RIGHT, XK_Right},   {VK_DOWN, XK_Down},
};
constexpr int DigitCount = 10;
constexpr int LayoutCount = XkbNumKbdGroups;

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
    return code != 0 && PlatformKeyIsDown(keymap, code);
}

// The key's unshifted symbol in the layout; a layout past the key's own
// count wraps as the server wraps it.
KeySym SymbolIn(Display* display, unsigned int keycode, int layout) {
    unsigned int modifiers = 0;
    KeySym sym = NoSymbol;
    if (!XkbLookupKeySym(display, static_cast<KeyCode>(keycode), XkbBuildCoreState(0, layout), &modifiers, &sym))
        return NoSymbol;
    return sym;
}

int LatinLetter(KeySym sym) {
    if (sym >= XK_a && sym <= XK_z) return static_cast<int>('A' + (sym - XK_a));
    if (sym >= XK_A && sym <= XK_Z) return static_cast<int>('A' + (sym - XK_A));
    return 0;
}

// A letter of a script other than Latin: Cyrillic, Greek, Hebrew, Arabic,
// Thai, Korean, kana, as X names them or by their Unicode code point from
// Greek on. An umlaut or an accented letter is Latin: its key means no
// other letter.
bool OtherScript(KeySym sym) {
    // X's own names: kana, Arabic, Cyrillic and Greek; Hebrew, Thai and Korean.
    constexpr KeySym KanaFirst = 0x4A1, GreekLast = 0x7FF, HebrewFirst = 0xCDF, KoreanLast = 0xEFF;
    // Unicode's, as X names them: Greek up to Georgian and Ethiopic, but for
    // the Latin letters Vietnamese uses.
    constexpr KeySym UnicodeKeysym = 0x1000000;
    constexpr KeySym GreekPoint = 0x370, LatinAdditionalPoint = 0x1E00, LatinAdditionalLastPoint = 0x1EFF,
                     ScriptsLastPoint = 0x1FFF;
    if ((sym >= KanaFirst && sym <= GreekLast) || (sym >= HebrewFirst && sym <= KoreanLast)) return true;
    if (sym < UnicodeKeysym + GreekPoint || sym > UnicodeKeysym + ScriptsLastPoint) return false;
    return sym < UnicodeKeysym + LatinAdditionalPoint || sym > UnicodeKeysym + LatinAdditionalLastPoint;
}

}  // namespace

bool PlatformKeyIsDown(const char* keymap, unsigned int keycode) {
    return (keymap[keycode / 8] & (1 << (keycode % 8))) != 0;
}

int PlatformActiveLayout(Display* display) {
    XkbStateRec state{};
    return XkbGetState(display, XkbUseCoreKbd, &state) == Success ? state.group : 0;
}

int PlatformLayoutOfEvent(const XKeyEvent& event) { return XkbGroupForCoreState(event.state); }

int PlatformLetterOfKey(Display* display, unsigned int keycode, int layout) {
    const KeySym shown = SymbolIn(display, keycode, layout);
    if (const int letter = LatinLetter(shown)) return letter;
    if (!OtherScript(shown)) return 0;
    for (int other = 0; other < LayoutCount; ++other) {
        if (const int letter = LatinLetter(SymbolIn(display, keycode, other))) return letter;
    }
    return 0;
}

int PlatformLetterOfSystemKey(const SDL_SysWMmsg* msg) {
    if (!msg || msg->subsystem != SDL_SYSWM_X11) return -1;
    const XEvent& event = msg->msg.x11.event;
    if (event.type != KeyPress && event.type != KeyRelease) return -1;
    return PlatformLetterOfKey(event.xkey.display, event.xkey.keycode, PlatformLayoutOfEvent(event.xkey));
}

bool PlatformKeyboardNow(bool* down) {
    Display* display = GameDisplay();
    if (!display) return false;
    char keymap[KeymapBytes] = {};
    XQueryKeymap(display, keymap);
    for (const NamedKey& key : NamedKeys) down[key.vk] = down[key.vk] || IsDown(display, keymap, key.sym);
    const int layout = PlatformActiveLayout(display);
    for (unsigned int code = 0; code < KeymapBytes * 8; ++code) {
        if (!PlatformKeyIsDown(keymap, code)) continue;
        if (const int letter = PlatformLetterOfKey(display, code, layout)) down[letter] = true;
    }
    for (int i = 0; i < DigitCount; ++i) down['0' + i] = IsDown(display, keymap, XK_0 + i);
    return true;
}

void PlatformSyncWindowSystem() {
    if (Display* display = GameDisplay()) XSync(display, False);
}
