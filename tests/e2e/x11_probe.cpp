// What the desktop test asks of the X server that xdotool cannot: a close
// request as a window manager sends it, and whether the pointer's cursor
// is blank.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int CloseWindow(Display* display, Window window) {
    Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(deleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
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
    for (int i = 0; i < image->width * image->height; ++i) {
        if ((image->pixels[i] >> 24) & 0xFF) ++visible;
    }
    std::printf("cursor %dx%d, %d visible pixels\n", image->width, image->height, visible);
    XFree(image);
    return visible == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s close WINDOW | cursor-hidden\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    int result = 2;
    if (std::strcmp(argv[1], "close") == 0 && argc == 3) {
        result = CloseWindow(display, static_cast<Window>(std::strtoul(argv[2], nullptr, 0)));
    } else if (std::strcmp(argv[1], "cursor-hidden") == 0) {
        result = CursorHidden(display);
    }
    XCloseDisplay(display);
    return result;
}
