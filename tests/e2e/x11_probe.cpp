// What the desktop tests ask of the X server that xdotool cannot: a close
// request as a window manager sends it, whether the pointer's cursor is
// blank, how soon a restored window shows a picture again, a switch of the
// keyboard's layout as a layout switcher makes it, and a key pressed by its
// place on the keyboard in whatever layout is active (xdotool switches to
// a layout of its own choosing for every key it sends).
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

constexpr int SampleSidePx = 32;
constexpr long RestoreTimeoutMs = 5000;
constexpr int KeyHeldMs = 100;  // several frames, so that the game sees it down

// A client message about `window` of type `type` with a first datum, sent to `to`.
void SendMessage(Display* display, Window to, Window window, const char* type, long datum, long mask) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, type, False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = datum;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, to, False, mask, &event);
    XSync(display, False);
}

int CloseWindow(Display* display, Window window) {
    const long deleteWindow = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    SendMessage(display, window, window, "WM_PROTOCOLS", deleteWindow, NoEventMask);
    return 0;
}

// 0 when every pixel of the cursor now shown is fully transparent.
int CursorHidden(Display* display) {
    int eventBase = 0, errorBase = 0;
    if (!XFixesQueryExtension(display, &eventBase, &errorBase)) {
        std::fprintf(stderr, "no XFIXES extension\n");
        return 2;
    }
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (!image) return 2;
    int visible = 0;
    for (int i = 0; i < image->width * image->height; ++i) visible += (image->pixels[i] >> 24 & 0xFF) != 0;
    std::printf("cursor %dx%d, %d visible pixels\n", image->width, image->height, visible);
    XFree(image);
    return visible == 0 ? 0 : 1;
}

// Whether anything but black shows in the middle of the screen.
bool MiddleDrawn(Display* display) {
    const int screen = DefaultScreen(display);
    const int left = DisplayWidth(display, screen) / 2 - SampleSidePx / 2;
    const int top = DisplayHeight(display, screen) / 2 - SampleSidePx / 2;
    XImage* image =
        XGetImage(display, RootWindow(display, screen), left, top, SampleSidePx, SampleSidePx, AllPlanes, ZPixmap);
    if (!image) return false;
    bool drawn = false;
    for (int y = 0; y < SampleSidePx && !drawn; ++y)
        for (int x = 0; x < SampleSidePx && !drawn; ++x) drawn = (XGetPixel(image, x, y) & 0xFFFFFF) != 0;
    XDestroyImage(image);
    return drawn;
}

// Asks the window manager to bring a minimised window back, as a task bar
// does, and prints how many milliseconds pass until the middle of the
// (till then black) screen shows a picture again.
int Restore(Display* display, Window window) {
    if (MiddleDrawn(display)) {
        std::fprintf(stderr, "the middle of the screen is not black before the restore\n");
        return 2;
    }
    // Source 2: from a pager or task bar.
    SendMessage(display, DefaultRootWindow(display), window, "_NET_ACTIVE_WINDOW", 2,
                SubstructureRedirectMask | SubstructureNotifyMask);
    using std::chrono::steady_clock;
    const steady_clock::time_point start = steady_clock::now();
    for (;;) {
        const long ms = std::chrono::duration_cast<std::chrono::milliseconds>(steady_clock::now() - start).count();
        if (MiddleDrawn(display)) {
            std::printf("%ld\n", ms);
            return 0;
        }
        if (ms > RestoreTimeoutMs) {
            std::fprintf(stderr, "no picture %ld ms after the restore\n", ms);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Locks the keyboard to layout (XKB group) `layout`, counted from 0.
int SwitchLayout(Display* display, const char* layout) {
    char* end = nullptr;
    const long group = std::strtol(layout, &end, 10);
    if (*end != '\0' || group < 0 || group >= XkbNumKbdGroups) return 2;
    if (!XkbLockGroup(display, XkbUseCoreKbd, static_cast<unsigned int>(group))) return 1;
    XSync(display, False);
    return 0;
}

// Presses and lets go of the key with X keycode `code`.
int PressKey(Display* display, const char* code) {
    char* end = nullptr;
    const long keycode = std::strtol(code, &end, 10);
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (*end != '\0' || keycode < 8 || keycode > 255) return 2;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        std::fprintf(stderr, "no XTEST extension\n");
        return 2;
    }
    XTestFakeKeyEvent(display, static_cast<unsigned int>(keycode), True, CurrentTime);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(KeyHeldMs));
    XTestFakeKeyEvent(display, static_cast<unsigned int>(keycode), False, CurrentTime);
    XSync(display, False);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s close WINDOW | cursor-hidden | restore WINDOW | layout N | key KEYCODE\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    const Window window = argc == 3 ? static_cast<Window>(std::strtoul(argv[2], nullptr, 0)) : 0;
    int result = 2;
    if (std::strcmp(argv[1], "close") == 0 && window) result = CloseWindow(display, window);
    else if (std::strcmp(argv[1], "cursor-hidden") == 0) result = CursorHidden(display);
    else if (std::strcmp(argv[1], "restore") == 0 && window) result = Restore(display, window);
    else if (std::strcmp(argv[1], "layout") == 0 && argc == 3) result = SwitchLayout(display, argv[2]);
    else if (std::strcmp(argv[1], "key") == 0 && argc == 3) result = PressKey(display, argv[2]);
    XCloseDisplay(display);
    return result;
}
