// What the window system does for a window beyond SDL: whether it draws
// with a GPU, (on X) what it shows where the window is uncovered, and how
// the full-screen window lives through a window manager that starts or
// takes over while the game runs.
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>
#include <initializer_list>

#include "platform/win32_internal.h"

namespace {

// A new window manager takes the old one's windows within this; after it
// the change is over, whether or not the window came back full screen.
constexpr Uint32 ManagerChangeMs = 5000;
// A manager that does not reparent has taken the window by this long after
// it took the screen.
constexpr Uint32 ManagerTakesWindowMs = 500;
// Full screen asked for and not granted: asked again after this.
constexpr Uint32 FullScreenAskAgainMs = 1000;
// The manager that ends takes the focus with it, and the game may hear of
// that before it hears of the manager: a game that had the keyboard this
// shortly before the change had it when the change began.
constexpr Uint32 FocusLostWithManagerMs = 1000;
constexpr int SelectionNameChars = 16;  // "WM_S" and a screen number

bool WindowSystemOf(SDL_Window* window, SDL_SysWMinfo* info) {
    SDL_VERSION(&info->version);
    return window && SDL_GetWindowWMInfo(window, info);
}

// The window manager of the game's screen, watched on a connection of our
// own: who owns the screen's manager selection, and the manager's check
// window on the root. A change of either is a manager that starts, ends or
// takes over.
struct ManagerWatch {
    Display* display;  // null until a full-screen window is on X
    bool unavailable;  // not on X, no connection or no XFIXES: nothing is watched
    SDL_Window* sdl;
    Window window;
    Window root;
    Atom selection;  // WM_Sn
    Atom checkWindow;  // _NET_SUPPORTING_WM_CHECK
    int fixesEventBase;
    // The change under way: when it was last seen, whether the game had
    // the keyboard and was minimised before it, when full screen was last
    // asked for.
    Uint32 changedAt;
    Uint32 managerSince;
    bool hadKeyboard;
    bool wasMinimised;
    Uint32 askedAt;
    // When the game last had the keyboard outside a change.
    Uint32 focusedAt;
    // What the game does on a loss of the focus, held off while the
    // focus moves with the managers.
    HeldMinimise minimise;
};
ManagerWatch Watch;

bool Watching(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (Watch.display) {
        // A renderer made on the GPU may have given the window a new X
        // window since; the old one's id is gone, and asking after it
        // would end the game.
        if (Watch.sdl != window || !WindowSystemOf(window, &info)) return false;
        Watch.window = info.info.x11.window;
        return true;
    }
    if (Watch.unavailable) return false;
    if (!WindowSystemOf(window, &info)) return false;
    if (info.subsystem != SDL_SYSWM_X11) {
        Watch.unavailable = true;  // no X, no window managers to follow
        return false;
    }
    Display* display = XOpenDisplay(DisplayString(info.info.x11.display));
    int errorBase = 0;
    if (!display || !XFixesQueryExtension(display, &Watch.fixesEventBase, &errorBase)) {
        std::fprintf(stderr, "The game cannot watch for a new window manager; one that starts may leave it "
                             "out of full screen.\n");
        if (display) XCloseDisplay(display);
        Watch.unavailable = true;
        return false;
    }
    char name[SelectionNameChars];
    std::snprintf(name, sizeof name, "WM_S%d", DefaultScreen(display));
    Watch.display = display;
    Watch.sdl = window;
    Watch.window = info.info.x11.window;
    Watch.root = DefaultRootWindow(display);
    Watch.selection = XInternAtom(display, name, False);
    Watch.checkWindow = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    XFixesSelectSelectionInput(display, Watch.root, Watch.selection,
                               XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                   XFixesSelectionClientCloseNotifyMask);
    XSelectInput(display, Watch.root, PropertyChangeMask);
    XFlush(display);
    return true;
}

bool ManagerChanged() {
    bool changed = false;
    while (XPending(Watch.display)) {
        XEvent event;
        XNextEvent(Watch.display, &event);
        if (event.type == Watch.fixesEventBase + XFixesSelectionNotify)
            changed = changed || reinterpret_cast<XFixesSelectionNotifyEvent&>(event).selection == Watch.selection;
        else if (event.type == PropertyNotify)
            changed = changed || event.xproperty.atom == Watch.checkWindow;
    }
    return changed;
}

void EndChange() {
    Watch.changedAt = 0;
    PlatformGiveBackMinimise(Watch.minimise);
}

// The manager has taken the game's window: reparented it into a frame of
// its own, or had a while to take it.
bool ManagerHasWindow(Uint32 now) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(Watch.display, Watch.window, &root, &parent, &children, &count) && children) XFree(children);
    return parent != Watch.root || now - Watch.managerSince >= ManagerTakesWindowMs;
}

bool CoversScreen() {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(Watch.display, Watch.window, &attributes)) return false;
    return attributes.width == WidthOfScreen(attributes.screen) &&
           attributes.height == HeightOfScreen(attributes.screen);
}

// A new manager knows nothing of the full screen the old one granted, or
// one that starts on a bare display of the full screen asked for before
// it: SDL asks the manager again, and for the keyboard if it had it.
void AskForFullScreen(SDL_Window* window, Uint32 now) {
    Watch.askedAt = now;
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (!Watch.hadKeyboard) return;
    SDL_RaiseWindow(window);
    SDL_SetWindowInputFocus(window);
}

void FollowChange(SDL_Window* window) {
    const Uint32 now = SDL_GetTicks();
    if (now - Watch.changedAt >= ManagerChangeMs) {
        EndChange();
        return;
    }
    if (Watch.wasMinimised) return;
    if (XGetSelectionOwner(Watch.display, Watch.selection) == None) {
        Watch.managerSince = 0;
        return;
    }
    if (Watch.managerSince == 0) Watch.managerSince = now;
    if (Watch.askedAt != 0 && CoversScreen() &&
        (!Watch.hadKeyboard || (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS))) {
        EndChange();
        return;
    }
    if (ManagerHasWindow(now) && (Watch.askedAt == 0 || now - Watch.askedAt >= FullScreenAskAgainMs))
        AskForFullScreen(window, now);
}

}  // namespace

void PlatformFollowWindowManager() {
    SDL_Window* window = PlatformSdlWindow(PlatformNewestWindow());
    const Uint32 flags = window ? SDL_GetWindowFlags(window) : 0;
    if ((flags & SDL_WINDOW_FULLSCREEN_DESKTOP) != SDL_WINDOW_FULLSCREEN_DESKTOP || !Watching(window)) return;
    const Uint32 now = SDL_GetTicks();
    if (ManagerChanged()) {
        if (Watch.changedAt == 0) {
            Watch.hadKeyboard = (flags & SDL_WINDOW_INPUT_FOCUS) != 0 ||
                                (Watch.focusedAt != 0 && now - Watch.focusedAt < FocusLostWithManagerMs);
            Watch.wasMinimised = (flags & SDL_WINDOW_MINIMIZED) != 0;
            Watch.minimise = PlatformHoldMinimise();
        }
        Watch.changedAt = now;
        Watch.managerSince = 0;
        Watch.askedAt = 0;
    }
    if (Watch.changedAt != 0) FollowChange(window);
    else if (flags & SDL_WINDOW_INPUT_FOCUS) Watch.focusedAt = now;
}

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
