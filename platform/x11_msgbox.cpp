// The message box of our own on X: a small dialog window over the game's,
// drawn with Xft in a font that has Japanese letters, answered from the
// keyboard by the rules of msgbox_keys and by the mouse. It talks to the
// X server on a connection of its own, so that SDL's queue for the game's
// window is left as it was.
#include <SDL_syswm.h>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xft/Xft.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/msgbox_keys.h"
#include "platform/win32_internal.h"
#include "platform/x11_keyboard.h"

namespace {

// Fontconfig picks the font: a sans-serif one that covers Japanese.
constexpr const char* FontPattern = "sans-serif:lang=ja:pixelsize=16";

// The layout, in pixels.
constexpr int MarginPx = 20;
constexpr int TextToButtonsPx = 18;
constexpr int ButtonWidthPx = 96;
constexpr int ButtonHeightPx = 30;
constexpr int ButtonGapPx = 12;
constexpr int BorderPx = 1;
constexpr int FocusRingPx = 2;
constexpr int FocusInsetPx = 3;
constexpr int MaxTextWidthPx = 1200;

constexpr const char* FaceColour = "#ECECEC";
constexpr const char* ButtonColour = "#DADADA";
constexpr const char* InkColour = "#202020";
constexpr const char* FocusColour = "#2A62C8";

constexpr int KeymapBytes = 32;
constexpr int MaxButtons = 2;

// Button labels, each with the letter that answers it; the Latin ones
// stand in when no font has the Japanese letters.
constexpr const char* YesLabel = "はい(Y)";
constexpr const char* NoLabel = "いいえ(N)";
constexpr const char* OkLabel = "OK";
constexpr const char* LatinYesLabel = "Yes (Y)";
constexpr const char* LatinNoLabel = "No (N)";

enum Colour { Face, Button, Ink, Focus, ColourCount };

struct Box {
    Display* display;
    Window window;
    XftFont* font;
    XftDraw* draw;
    XftColor colours[ColourCount];
    const char* text;
    const char* labels[MaxButtons];
    int buttons;
    int width, height;
    int buttonX[MaxButtons], buttonY;
    BoxKeys keys;
    int pointerOn;  // the button the mouse went down on, or -1
};

// One connection, and one font, for every box of the run: Xrender and Xft
// keep what they learn of a connection by its address, and one closed and
// opened again at the same address would meet their stale records.
struct Connection {
    Display* display;
    XftFont* font;  // null when fontconfig has no font at all
};
Connection TheConnection;

bool Connect(const char* displayName) {
    if (TheConnection.display) return true;
    Display* display = XOpenDisplay(displayName);
    if (!display) return false;
    // Auto-repeat then sends presses alone, which the box's rules ignore.
    int xkbOpcode = 0, xkbEvent = 0, xkbError = 0, xkbMajor = XkbMajorVersion, xkbMinor = XkbMinorVersion;
    if (XkbQueryExtension(display, &xkbOpcode, &xkbEvent, &xkbError, &xkbMajor, &xkbMinor))
        XkbSetDetectableAutoRepeat(display, True, nullptr);
    TheConnection.display = display;
    TheConnection.font = XftFontOpenName(display, DefaultScreen(display), FontPattern);
    if (!TheConnection.font) std::fprintf(stderr, "message box: no font at all; its buttons show no labels\n");
    return true;
}

BoxKey KeyOf(KeySym sym) {
    switch (sym) {
    case XK_Tab:
    case XK_ISO_Left_Tab: return BoxKey::Tab;
    case XK_Left:
    case XK_KP_Left: return BoxKey::Left;
    case XK_Right:
    case XK_KP_Right: return BoxKey::Right;
    case XK_Return:
    case XK_KP_Enter: return BoxKey::Enter;
    case XK_space: return BoxKey::Space;
    case XK_Escape: return BoxKey::Escape;
    default: return BoxKey::Other;
    }
}

// Y and N by the letters on the keys in the layout active as they are
// pressed, the other keys by their one meaning in every layout.
BoxKey KeyOf(Display* display, KeyCode code, int layout) {
    switch (PlatformLetterOfKey(display, code, layout)) {
    case 0: return KeyOf(XkbKeycodeToKeysym(display, code, 0, 0));
    case 'Y': return BoxKey::Yes;
    case 'N': return BoxKey::No;
    default: return BoxKey::Other;
    }
}

// Whether the font draws every letter of the UTF-8 text.
bool Covers(Display* display, XftFont* font, const char* text) {
    const FcChar8* at = reinterpret_cast<const FcChar8*>(text);
    int left = static_cast<int>(std::strlen(text));
    while (left > 0) {
        FcChar32 letter = 0;
        const int used = FcUtf8ToUcs4(at, &letter, left);
        if (used <= 0 || !XftCharExists(display, font, letter)) return false;
        at += used;
        left -= used;
    }
    return true;
}

int TextWidth(const Box& box, const char* text) {
    if (!box.font) return 0;
    XGlyphInfo extents{};
    XftTextExtentsUtf8(box.display, box.font, reinterpret_cast<const FcChar8*>(text),
                       static_cast<int>(std::strlen(text)), &extents);
    return extents.xOff;
}

void DrawText(Box& box, const char* text, int x, int baseline) {
    if (!box.font) return;
    XftDrawStringUtf8(box.draw, &box.colours[Ink], box.font, x, baseline, reinterpret_cast<const FcChar8*>(text),
                      static_cast<int>(std::strlen(text)));
}

// A rectangle's outline, `thickness` wide, inside it.
void Outline(Box& box, Colour colour, int x, int y, int width, int height, int thickness) {
    XftColor* c = &box.colours[colour];
    XftDrawRect(box.draw, c, x, y, width, thickness);
    XftDrawRect(box.draw, c, x, y + height - thickness, width, thickness);
    XftDrawRect(box.draw, c, x, y, thickness, height);
    XftDrawRect(box.draw, c, x + width - thickness, y, thickness, height);
}

void Draw(Box& box) {
    XftDrawRect(box.draw, &box.colours[Face], 0, 0, box.width, box.height);
    const int ascent = box.font ? box.font->ascent : 0;
    DrawText(box, box.text, MarginPx, MarginPx + ascent);
    for (int i = 0; i < box.buttons; ++i) {
        const int x = box.buttonX[i];
        XftDrawRect(box.draw, &box.colours[Button], x, box.buttonY, ButtonWidthPx, ButtonHeightPx);
        Outline(box, Ink, x, box.buttonY, ButtonWidthPx, ButtonHeightPx, BorderPx);
        if (i == box.keys.focus)
            Outline(box, Focus, x + FocusInsetPx, box.buttonY + FocusInsetPx, ButtonWidthPx - 2 * FocusInsetPx,
                    ButtonHeightPx - 2 * FocusInsetPx, FocusRingPx);
        const int labelX = x + (ButtonWidthPx - TextWidth(box, box.labels[i])) / 2;
        const int labelBaseline = box.buttonY + (ButtonHeightPx + ascent - (box.font ? box.font->descent : 0)) / 2;
        DrawText(box, box.labels[i], labelX, labelBaseline);
    }
    XFlush(box.display);
}

// The labels, the size and the buttons' places, from the text's width.
void Lay(Box& box, bool yesNo) {
    box.buttons = yesNo ? 2 : 1;
    box.labels[FirstButton] = yesNo ? YesLabel : OkLabel;
    box.labels[SecondButton] = NoLabel;
    const bool japanese = box.font && Covers(box.display, box.font, box.text) &&
                          Covers(box.display, box.font, YesLabel) && Covers(box.display, box.font, NoLabel);
    if (!japanese) {
        std::fprintf(stderr, "message box \"%s\": no font has its Japanese letters (install fonts-ipafont-gothic); "
                             "its buttons read Yes and No\n", box.text);
        box.labels[FirstButton] = yesNo ? LatinYesLabel : OkLabel;
        box.labels[SecondButton] = LatinNoLabel;
    }
    const int lineHeight = box.font ? box.font->ascent + box.font->descent : 0;
    const int buttonsWidth = box.buttons * ButtonWidthPx + (box.buttons - 1) * ButtonGapPx;
    const int textWidth = std::min(TextWidth(box, box.text), MaxTextWidthPx);
    box.width = std::max(textWidth, buttonsWidth) + 2 * MarginPx;
    box.buttonY = MarginPx + lineHeight + TextToButtonsPx;
    box.height = box.buttonY + ButtonHeightPx + MarginPx;
    for (int i = 0; i < box.buttons; ++i)
        box.buttonX[i] = (box.width - buttonsWidth) / 2 + i * (ButtonWidthPx + ButtonGapPx);
}

int ButtonAt(const Box& box, int x, int y) {
    if (y < box.buttonY || y >= box.buttonY + ButtonHeightPx) return -1;
    for (int i = 0; i < box.buttons; ++i)
        if (x >= box.buttonX[i] && x < box.buttonX[i] + ButtonWidthPx) return i;
    return -1;
}

void SetUtf8Property(Display* display, Window window, const char* name, const char* value) {
    XChangeProperty(display, window, XInternAtom(display, name, False), XInternAtom(display, "UTF8_STRING", False),
                    8, PropModeReplace, reinterpret_cast<const unsigned char*>(value),
                    static_cast<int>(std::strlen(value)));
}

// A fixed-size dialog, centred on the owner and kept above it by the
// window manager, that the window manager asks to close rather than
// destroying.
void OpenWindow(Box& box, Window owner, const char* caption) {
    Display* display = box.display;
    XWindowAttributes ownerAttributes{};
    int ownerX = 0, ownerY = 0;
    Window child = 0;
    XGetWindowAttributes(display, owner, &ownerAttributes);
    XTranslateCoordinates(display, owner, DefaultRootWindow(display), 0, 0, &ownerX, &ownerY, &child);
    const int x = ownerX + (ownerAttributes.width - box.width) / 2;
    const int y = ownerY + (ownerAttributes.height - box.height) / 2;

    XSetWindowAttributes attributes{};
    attributes.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                            StructureNotifyMask;
    box.window = XCreateWindow(display, DefaultRootWindow(display), x, y, box.width, box.height, 0,
                               CopyFromParent, InputOutput, CopyFromParent, CWEventMask, &attributes);
    XSizeHints size{};
    size.flags = PPosition | PMinSize | PMaxSize;
    size.x = x;
    size.y = y;
    size.min_width = size.max_width = box.width;
    size.min_height = size.max_height = box.height;
    XSetWMNormalHints(display, box.window, &size);
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(display, box.window, &hints);
    SetUtf8Property(display, box.window, "WM_NAME", caption);
    SetUtf8Property(display, box.window, "_NET_WM_NAME", caption);
    XSetTransientForHint(display, box.window, owner);
    Atom dialog = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    XChangeProperty(display, box.window, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&dialog), 1);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, box.window, &deleteWindow, 1);
    XMapRaised(display, box.window);
}

// Shown, with the keyboard; the keys down then are the ones held when the
// box appeared. The first Expose comes once the window is viewable, which
// the focus needs (a window manager maps its frame after the box).
void TakeKeyboard(Box& box, bool* heldAtOpen) {
    XEvent event;
    XWindowEvent(box.display, box.window, ExposureMask, &event);
    XSetInputFocus(box.display, box.window, RevertToParent, CurrentTime);
    XSync(box.display, False);
    char keymap[KeymapBytes] = {};
    XQueryKeymap(box.display, keymap);
    const int layout = PlatformActiveLayout(box.display);
    for (int code = 0; code < KeymapBytes * 8; ++code)
        if (keymap[code / 8] & (1 << (code % 8))) heldAtOpen[static_cast<int>(KeyOf(box.display, code, layout))] = true;
}

// Events until one answers.
int Answer(Box& box, Atom deleteWindow) {
    int answer = NoAnswer;
    while (answer == NoAnswer) {
        XEvent event;
        XNextEvent(box.display, &event);
        if (event.xany.window != box.window) continue;
        switch (event.type) {
        case Expose:
            if (event.xexpose.count == 0) Draw(box);
            break;
        case KeyPress:
            BoxKeyDown(&box.keys, KeyOf(box.display, event.xkey.keycode, PlatformLayoutOfEvent(event.xkey)),
                       (event.xkey.state & ShiftMask) != 0);
            Draw(box);
            break;
        case KeyRelease:
            answer = BoxKeyUp(&box.keys, KeyOf(box.display, event.xkey.keycode, PlatformLayoutOfEvent(event.xkey)));
            break;
        case ButtonPress:
            if (event.xbutton.button == Button1) box.pointerOn = ButtonAt(box, event.xbutton.x, event.xbutton.y);
            break;
        case ButtonRelease:
            if (event.xbutton.button == Button1 && box.pointerOn >= 0 &&
                ButtonAt(box, event.xbutton.x, event.xbutton.y) == box.pointerOn)
                answer = BoxButtonAnswer(box.keys, box.pointerOn);
            box.pointerOn = -1;
            break;
        case ClientMessage:
            if (static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) answer = IDNO;
            break;
        default: break;
        }
    }
    return answer;
}

}  // namespace

int PlatformShowBox(SDL_Window* owner, const char* text, const char* caption, bool yesNo) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!owner || !SDL_GetWindowWMInfo(owner, &info) || info.subsystem != SDL_SYSWM_X11) {
        std::fprintf(stderr, "message box \"%s\": the game's window is on no X display\n", text);
        return -1;
    }
    if (!Connect(DisplayString(info.info.x11.display))) {
        std::fprintf(stderr, "message box \"%s\": cannot reach the X display\n", text);
        return -1;
    }
    Display* display = TheConnection.display;
    const int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    const Colormap colormap = DefaultColormap(display, screen);
    // Whatever the last box's window left in the queue is not for this one.
    XSync(display, True);
    Box box{};
    box.display = display;
    box.font = TheConnection.font;
    box.text = text;
    box.pointerOn = -1;
    Lay(box, yesNo);
    OpenWindow(box, info.info.x11.window, caption);
    box.draw = XftDrawCreate(display, box.window, visual, colormap);
    const char* colourNames[ColourCount] = {FaceColour, ButtonColour, InkColour, FocusColour};
    for (int i = 0; i < ColourCount; ++i) XftColorAllocName(display, visual, colormap, colourNames[i], &box.colours[i]);

    bool heldAtOpen[BoxKeyCount] = {};
    TakeKeyboard(box, heldAtOpen);
    box.keys = OpenBoxKeys(yesNo, heldAtOpen);
    Draw(box);
    const int answer = Answer(box, XInternAtom(display, "WM_DELETE_WINDOW", False));

    for (XftColor& colour : box.colours) XftColorFree(display, visual, colormap, &colour);
    XftDrawDestroy(box.draw);
    XDestroyWindow(display, box.window);
    XFlush(display);
    return answer;
}
