// The message box of our own on X: a small dialog window over the game's,
// drawn with Xft in a font that has Japanese letters, answered from the
// keyboard by the rules of msgbox_keys and by the mouse. It talks to the
// X server on a connection of its own, so that SDL's queue for the game's
// window is left as it was.
#include <SDL_syswm.h>
#include <poll.h>
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
// Beside its caption a title bar has the window's icon and up to three
// buttons (minimise, maximise, close), where the desktop does not drop them.
constexpr int TitleBarExtrasPx = 128;

constexpr const char* FaceColour = "#ECECEC";
constexpr const char* ButtonColour = "#DADADA";
constexpr const char* InkColour = "#202020";
constexpr const char* FocusColour = "#2A62C8";

constexpr int MaxButtons = 2;

// Button labels, each with the letter that answers it; the Latin ones
// stand in when no font has the Japanese letters.
constexpr const char* YesLabel = "はい(Y)";
constexpr const char* NoLabel = "いいえ(N)";
constexpr const char* OkLabel = "OK";
constexpr const char* LatinYesLabel = "Yes (Y)";
constexpr const char* LatinNoLabel = "No (N)";

// _MOTIF_WM_HINTS, which window managers read for the functions and the
// decorations of a window: a dialog is moved and closed, not minimised,
// maximised or resized (openbox still minimises any dialog with its owner).
constexpr long MotifFunctionsAndDecorations = 1 | 2;
constexpr long MotifFunctionMove = 4;
constexpr long MotifFunctionClose = 32;
constexpr long MotifDecorBorder = 2;
constexpr long MotifDecorTitle = 8;
constexpr long MotifDecorMenu = 16;
constexpr int MotifHintsLongs = 5;

enum Colour { Face, Button, Ink, Focus, ColourCount };

struct Box {
    Display* display;
    Window owner;   // the game's window
    Window window;
    Pixmap canvas;  // drawn on, then copied to the window: it outlives the window
    GC copyGc;
    bool shown;     // exposed, and given the keyboard
    bool gone;      // destroyed by another program
    bool rehomed;   // moved by a window manager that ended or took over
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
    return true;
}

// The box's requests may meet its window, or the game's, gone or not
// viewable (another program destroyed it, the desktop hid it); such an
// error is the box's to pass over, not the end of the game, which Xlib's
// own handler would make it.
XErrorHandler OuterErrorHandler;
int PassOverBoxErrors(Display* display, XErrorEvent* error) {
    if (display == TheConnection.display) return 0;
    return OuterErrorHandler ? OuterErrorHandler(display, error) : 0;
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
    if (!box.shown) return;
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
    XCopyArea(box.display, box.canvas, box.window, box.copyGc, 0, 0, box.width, box.height, 0, 0);
    XFlush(box.display);
}

// The labels, the size and the buttons' places, from the widths of the
// text and the caption.
void Lay(Box& box, const char* caption, bool yesNo) {
    box.buttons = yesNo ? 2 : 1;
    box.labels[FirstButton] = yesNo ? YesLabel : OkLabel;
    box.labels[SecondButton] = NoLabel;
    const bool japanese = box.font && Covers(box.display, box.font, box.text) &&
                          Covers(box.display, box.font, YesLabel) && Covers(box.display, box.font, NoLabel);
    if (!box.font) {
        std::fprintf(stderr, "message box \"%s\": no font at all (install fonts-ipafont-gothic); "
                             "it shows its buttons, without text or labels\n", box.text);
    } else if (!japanese) {
        std::fprintf(stderr, "message box \"%s\": no font has its Japanese letters (install fonts-ipafont-gothic); "
                             "its buttons read Yes and No\n", box.text);
        box.labels[FirstButton] = yesNo ? LatinYesLabel : OkLabel;
        box.labels[SecondButton] = LatinNoLabel;
    }
    const int lineHeight = box.font ? box.font->ascent + box.font->descent : 0;
    const int buttonsWidth = box.buttons * ButtonWidthPx + (box.buttons - 1) * ButtonGapPx;
    const int textWidth = std::min(TextWidth(box, box.text), MaxTextWidthPx);
    const int captionWidth = std::min(TextWidth(box, caption), MaxTextWidthPx) + TitleBarExtrasPx;
    box.width = std::max(std::max(textWidth, buttonsWidth) + 2 * MarginPx, captionWidth);
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

void SetAtomProperty(Display* display, Window window, const char* name, const char* value) {
    Atom atom = XInternAtom(display, value, False);
    XChangeProperty(display, window, XInternAtom(display, name, False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&atom), 1);
}

// Where `size` starts so as to be centred over the owner's span, and yet
// wholly within the screen's `screenSize` where it fits at all.
int Centre(int ownerStart, int ownerSize, int size, int screenSize) {
    const int start = ownerStart + (ownerSize - size) / 2;
    return std::max(0, std::min(start, screenSize - size));
}

// A fixed-size modal dialog over the owner, kept above it and given the
// keyboard in its stead by the window manager, which asks to close it
// rather than destroying it.
void OpenWindow(Box& box, const char* caption) {
    Display* display = box.display;
    const Window owner = box.owner;
    XWindowAttributes ownerAttributes{};
    int ownerX = 0, ownerY = 0;
    Window child = 0;
    XGetWindowAttributes(display, owner, &ownerAttributes);
    XTranslateCoordinates(display, owner, DefaultRootWindow(display), 0, 0, &ownerX, &ownerY, &child);
    const int screen = DefaultScreen(display);
    const int x = Centre(ownerX, ownerAttributes.width, box.width, DisplayWidth(display, screen));
    const int y = Centre(ownerY, ownerAttributes.height, box.height, DisplayHeight(display, screen));

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
    SetAtomProperty(display, box.window, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DIALOG");
    SetAtomProperty(display, box.window, "_NET_WM_STATE", "_NET_WM_STATE_MODAL");
    long motif[MotifHintsLongs] = {MotifFunctionsAndDecorations, MotifFunctionMove | MotifFunctionClose,
                                   MotifDecorBorder | MotifDecorTitle | MotifDecorMenu, 0, 0};
    const Atom motifHints = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, box.window, motifHints, motifHints, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(motif), MotifHintsLongs);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, box.window, &deleteWindow, 1);
    // The game's window getting the focus is the box's cue to take it back.
    XSelectInput(display, owner, FocusChangeMask);
    XMapRaised(display, box.window);
}

// In front of the game's window, with the keyboard.
void TakeFocus(Box& box) {
    XRaiseWindow(box.display, box.window);
    XSetInputFocus(box.display, box.window, RevertToParent, CurrentTime);
}

// The keyboard is the box's, the game's, or no window's at all.
bool FocusIsOurs(const Box& box) {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(box.display, &focus, &revert);
    return focus == None || focus == PointerRoot || focus == box.window || focus == box.owner ||
           focus == DefaultRootWindow(box.display);
}

// Shown, with the keyboard; the keys down then are the ones held when the
// box appeared. The first Expose comes once the window is viewable, which
// the focus needs (a window manager maps its frame after the box).
void TakeKeyboard(Box& box) {
    TakeFocus(box);
    XSync(box.display, False);
    char keymap[KeymapBytes] = {};
    XQueryKeymap(box.display, keymap);
    bool heldAtOpen[BoxKeyCount] = {};
    const int layout = PlatformActiveLayout(box.display);
    for (unsigned int code = 0; code < KeymapBytes * 8; ++code)
        if (PlatformKeyIsDown(keymap, code)) heldAtOpen[static_cast<int>(KeyOf(box.display, code, layout))] = true;
    box.keys = OpenBoxKeys(box.keys.yesNo, heldAtOpen);
    box.shown = true;
}

// The next event for the box's connection; false as soon as the program is
// asked to end instead.
bool NextEvent(Display* display, XEvent* event) {
    for (;;) {
        if (PlatformEndRequested()) return false;
        if (XPending(display)) {
            XNextEvent(display, event);
            return true;
        }
        pollfd waits[] = {{ConnectionNumber(display), POLLIN, 0}, {PlatformEndRequestFd(), POLLIN, 0}};
        poll(waits, waits[1].fd >= 0 ? 2 : 1, -1);
    }
}

// The game's window took the focus from the box (activated, clicked, or
// reached by Alt+Tab): the box takes it back, so the next key answers it.
void OnOwnerFocus(Box& box, const XFocusChangeEvent& focus) {
    if (focus.type == FocusIn && focus.detail != NotifyPointer && box.shown) TakeFocus(box);
}

// Events until one answers.
int Answer(Box& box, Atom deleteWindow) {
    const int closed = BoxCloseAnswer(box.keys);
    int answer = NoAnswer;
    while (answer == NoAnswer) {
        XEvent event;
        if (!NextEvent(box.display, &event)) return closed;
        if (event.xany.window == box.owner && event.type == FocusIn) OnOwnerFocus(box, event.xfocus);
        if (event.xany.window != box.window) continue;
        // A key may come before the first Expose, when the window manager
        // gave the box the keyboard first: a key down then was held before.
        if (!box.shown && (event.type == Expose || event.type == KeyPress || event.type == KeyRelease))
            TakeKeyboard(box);
        switch (event.type) {
        case Expose:
            // Shown again by a new window manager, which gives the
            // keyboard to no one: the box takes it, where no other
            // program had it.
            if (box.rehomed) {
                box.rehomed = false;
                TakeFocus(box);
            }
            if (event.xexpose.count == 0) Draw(box);
            break;
        case ReparentNotify:
            box.rehomed = box.shown && FocusIsOurs(box);
            break;
        case DestroyNotify:
            box.gone = true;
            answer = closed;
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
            if (static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) answer = closed;
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
    OuterErrorHandler = XSetErrorHandler(PassOverBoxErrors);
    Box box{};
    box.display = display;
    box.owner = info.info.x11.window;
    box.font = TheConnection.font;
    box.text = text;
    box.pointerOn = -1;
    box.keys = OpenBoxKeys(yesNo, nullptr);
    Lay(box, caption, yesNo);
    OpenWindow(box, caption);
    box.canvas = XCreatePixmap(display, box.window, box.width, box.height, DefaultDepth(display, screen));
    box.copyGc = XCreateGC(display, box.canvas, 0, nullptr);
    box.draw = XftDrawCreate(display, box.canvas, visual, colormap);
    const char* colourNames[ColourCount] = {FaceColour, ButtonColour, InkColour, FocusColour};
    for (int i = 0; i < ColourCount; ++i) XftColorAllocName(display, visual, colormap, colourNames[i], &box.colours[i]);

    const int answer = Answer(box, XInternAtom(display, "WM_DELETE_WINDOW", False));

    XSelectInput(display, box.owner, NoEventMask);
    for (XftColor& colour : box.colours) XftColorFree(display, visual, colormap, &colour);
    XftDrawDestroy(box.draw);
    XFreeGC(display, box.copyGc);
    XFreePixmap(display, box.canvas);
    // A window another program destroyed is gone already.
    if (!box.gone) XDestroyWindow(display, box.window);
    // The errors of the box's last requests come in while they are passed over.
    XSync(display, False);
    XSetErrorHandler(OuterErrorHandler);
    return answer;
}
