// Window classes and windows over SDL: a fixed class table, a fixed window
// table, and the nominal frame that makes window and client rectangles
// differ as they do on Windows.
#include <cstdio>
#include <cstring>

#include "platform/testhooks.h"
#include "platform/win32_internal.h"

namespace {

constexpr int MaxClasses = 16;
constexpr int MaxClassNameChars = 64;
constexpr int MaxWindows = 64;
constexpr WORD FirstClassAtom = 0xC000;

// Video drivers that show nothing on a screen. SDL falls back to one when
// there is no display; the game would then play on unseen.
constexpr const char* UnseenVideoDrivers[] = {"offscreen", "dummy"};

// The frame of a captioned, sizable window at 100 % scale.
constexpr int FrameSidePx = 8;
constexpr int CaptionPx = 23;

struct WindowClass {
    bool used;
    char name[MaxClassNameChars];
    WNDPROC proc;
    HCURSOR cursor;
};

struct Window {
    bool alive;
    bool destroying;
    uint32_t generation;
    int classIndex;
    SDL_Window* sdl;
    RECT rect;  // outer rectangle, screen coordinates
    int frameLeft, frameTop, frameRight, frameBottom;
    uint64_t createdOrder;
};

WindowClass Classes[MaxClasses];
Window Windows[MaxWindows];
uint64_t CreatedCount;
HCURSOR CurrentCursor;

// A handle carries its slot in the low byte and the slot's generation
// above it, so a handle to a destroyed window never names its successor.
HWND MakeHandle(int slot) {
    uintptr_t value = (static_cast<uintptr_t>(Windows[slot].generation) << 8) | static_cast<uintptr_t>(slot + 1);
    return reinterpret_cast<HWND>(value);
}

Window* LiveWindow(HWND handle) {
    uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    int slot = static_cast<int>(value & 0xFF) - 1;
    if (slot < 0 || slot >= MaxWindows) return nullptr;
    Window& w = Windows[slot];
    if (!w.alive || (value >> 8) != w.generation) return nullptr;
    return &w;
}

int FindClass(LPCSTR name) {
    if (!name) return -1;
    for (int i = 0; i < MaxClasses; ++i) {
        if (Classes[i].used && std::strcmp(Classes[i].name, name) == 0) return i;
    }
    return -1;
}

int ClientWidth(const Window& w) {
    int width = (w.rect.right - w.rect.left) - w.frameLeft - w.frameRight;
    return width > 0 ? width : 0;
}

int ClientHeight(const Window& w) {
    int height = (w.rect.bottom - w.rect.top) - w.frameTop - w.frameBottom;
    return height > 0 ? height : 0;
}

// The SDL window is the client area, placed at the window's top-left: the
// desktop draws its own frame around it, and a window at (0, 0) that goes
// full screen covers the screen even where no window manager moves it.
void PlaceSdlWindow(const Window& w) {
    if (!w.sdl) return;
    SDL_SetWindowPosition(w.sdl, w.rect.left, w.rect.top);
    int width = ClientWidth(w);
    int height = ClientHeight(w);
    if (width > 0 && height > 0) SDL_SetWindowSize(w.sdl, width, height);
}

// Fake handles for the system's icons, cursors and stock objects: distinct,
// non-null, never dereferenced.
template <typename Handle>
Handle ResourceHandle(uintptr_t kind, LPCSTR name) {
    return reinterpret_cast<Handle>((kind << 16) | (reinterpret_cast<uintptr_t>(name) & 0xFFFF));
}

// SDL settled on a driver that shows nothing without being asked for it
// (asking is how the tests run headless).
bool FellBackToUnseenDriver() {
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    const char* driver = SDL_GetCurrentVideoDriver();
    if ((asked && *asked) || !driver) return false;
    for (const char* unseen : UnseenVideoDrivers)
        if (std::strcmp(driver, unseen) == 0) return true;
    return false;
}

}  // namespace

bool PlatformStartVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    // SDL's own handlers would only queue a quit, which a box up never reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    PlatformWatchEndSignals();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        SDL_Log("Cannot start the video system: %s", SDL_GetError());
        return false;
    }
    if (FellBackToUnseenDriver()) {
        std::fprintf(stderr, "There is no display to show the game on (DISPLAY is not set or cannot be reached).\n");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    // The window system's own key events, which SDL's follow: they tell
    // the layout the key was pressed in.
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    return true;
}

WORD RegisterClassExA(const WNDCLASSEXA* wc) {
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpfnWndProc || !wc->lpszClassName) return 0;
    if (std::strlen(wc->lpszClassName) >= static_cast<size_t>(MaxClassNameChars)) return 0;
    if (FindClass(wc->lpszClassName) >= 0) return 0;
    for (int i = 0; i < MaxClasses; ++i) {
        WindowClass& c = Classes[i];
        if (c.used) continue;
        c.used = true;
        std::strcpy(c.name, wc->lpszClassName);
        c.proc = wc->lpfnWndProc;
        c.cursor = wc->hCursor;
        return static_cast<WORD>(FirstClassAtom + i);
    }
    return 0;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
    int index = FindClass(className);
    if (index < 0) return FALSE;
    for (const Window& w : Windows) {
        if (w.alive && w.classIndex == index) return FALSE;
    }
    Classes[index] = WindowClass{};
    return TRUE;
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND, HMENU, HINSTANCE, void*) {
    int classIndex = FindClass(className);
    if (classIndex < 0) return nullptr;
    int slot = -1;
    for (int i = 0; i < MaxWindows && slot < 0; ++i) {
        if (!Windows[i].alive) slot = i;
    }
    if (slot < 0 || !PlatformStartVideo()) return nullptr;

    Window& w = Windows[slot];
    uint32_t generation = w.generation + 1;
    w = Window{};
    w.generation = generation & 0x00FFFFFF;
    w.classIndex = classIndex;
    w.rect = RECT{x, y, x + width, y + height};
    if (style & (WS_CAPTION | WS_THICKFRAME)) {
        w.frameLeft = w.frameRight = w.frameBottom = FrameSidePx;
        w.frameTop = FrameSidePx + CaptionPx;
    }
    int clientW = ClientWidth(w) > 0 ? ClientWidth(w) : 1;
    int clientH = ClientHeight(w) > 0 ? ClientHeight(w) : 1;
    w.sdl = SDL_CreateWindow(windowName ? windowName : "", x, y, clientW, clientH,
                             SDL_WINDOW_HIDDEN);
    if (!w.sdl) {
        SDL_Log("Cannot open a window: %s", SDL_GetError());
        return nullptr;
    }
    w.alive = true;
    w.createdOrder = ++CreatedCount;
    return MakeHandle(slot);
}

BOOL DestroyWindow(HWND handle) {
    Window* w = LiveWindow(handle);
    if (!w || w->destroying) return FALSE;
    w->destroying = true;
    WNDPROC proc = Classes[w->classIndex].proc;
    proc(handle, WM_DESTROY, 0, 0);
    PlatformDropMessagesFor(handle);
    if (w->sdl) SDL_DestroyWindow(w->sdl);
    w->sdl = nullptr;
    w->alive = false;
    w->destroying = false;
    return TRUE;
}

BOOL ShowWindow(HWND handle, int showCommand) {
    Window* w = LiveWindow(handle);
    if (!w) return FALSE;
    BOOL wasVisible = (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_SHOWN) ? TRUE : FALSE;
    if (showCommand == SW_HIDE) {
        SDL_HideWindow(w->sdl);
    } else {
        SDL_ShowWindow(w->sdl);
    }
    return wasVisible;
}

BOOL UpdateWindow(HWND handle) { return LiveWindow(handle) ? TRUE : FALSE; }

BOOL GetWindowRect(HWND handle, RECT* rect) {
    Window* w = LiveWindow(handle);
    if (!w || !rect) return FALSE;
    *rect = w->rect;
    return TRUE;
}

BOOL GetClientRect(HWND handle, RECT* rect) {
    Window* w = LiveWindow(handle);
    if (!w || !rect) return FALSE;
    *rect = RECT{0, 0, ClientWidth(*w), ClientHeight(*w)};
    return TRUE;
}

BOOL MoveWindow(HWND handle, int x, int y, int width, int height, BOOL) {
    Window* w = LiveWindow(handle);
    if (!w) return FALSE;
    w->rect = RECT{x, y, x + width, y + height};
    PlaceSdlWindow(*w);
    return TRUE;
}

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom) {
    if (!rect) return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

HICON LoadIconA(HINSTANCE, LPCSTR name) { return ResourceHandle<HICON>(1, name); }

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) { return ResourceHandle<HCURSOR>(2, name); }

HGDIOBJ GetStockObject(int object) {
    if (object < 0) return nullptr;
    return reinterpret_cast<HGDIOBJ>((static_cast<uintptr_t>(3) << 16) | static_cast<uintptr_t>(object));
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous = CurrentCursor;
    CurrentCursor = cursor;
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_ShowCursor(cursor ? SDL_ENABLE : SDL_DISABLE);
        // Applied again to every window: one that SDL has remade since
        // (a renderer may do that) would otherwise keep its old cursor.
        SDL_SetCursor(nullptr);
    }
    return previous;
}

SDL_Window* PlatformSdlWindow(HWND handle) {
    Window* w = LiveWindow(handle);
    return w ? w->sdl : nullptr;
}

HWND PlatformWindowFromSdlId(Uint32 sdlId) {
    for (int i = 0; i < MaxWindows; ++i) {
        const Window& w = Windows[i];
        if (w.alive && w.sdl && SDL_GetWindowID(w.sdl) == sdlId) return MakeHandle(i);
    }
    return nullptr;
}

WNDPROC PlatformWindowProc(HWND handle) {
    Window* w = LiveWindow(handle);
    return w ? Classes[w->classIndex].proc : nullptr;
}

HCURSOR PlatformClassCursor(HWND handle) {
    Window* w = LiveWindow(handle);
    return w ? Classes[w->classIndex].cursor : nullptr;
}

HWND PlatformNewestWindow() {
    int newest = -1;
    for (int i = 0; i < MaxWindows; ++i) {
        if (Windows[i].alive && (newest < 0 || Windows[i].createdOrder > Windows[newest].createdOrder)) newest = i;
    }
    return newest < 0 ? nullptr : MakeHandle(newest);
}

int PlatformLiveWindows(HWND* out, int maxCount) {
    int count = 0;
    for (int i = 0; i < MaxWindows && count < maxCount; ++i) {
        if (Windows[i].alive) out[count++] = MakeHandle(i);
    }
    return count;
}

HWND FindTestWindow(LPCSTR title) {
    if (!title) return nullptr;
    int found = -1;
    for (int i = 0; i < MaxWindows; ++i) {
        const Window& w = Windows[i];
        if (!w.alive || std::strcmp(SDL_GetWindowTitle(w.sdl), title) != 0) continue;
        if (found < 0 || w.createdOrder > Windows[found].createdOrder) found = i;
    }
    return found < 0 ? nullptr : MakeHandle(found);
}

HINSTANCE GetModuleHandleA(LPCSTR moduleName) {
    return moduleName ? nullptr : ResourceHandle<HINSTANCE>(4, nullptr);
}

HeldMinimise PlatformHoldMinimise() {
    HeldMinimise held{};
    const char* hint = SDL_GetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS);
    held.hinted = hint != nullptr;
    if (hint) SDL_strlcpy(held.value, hint, sizeof held.value);
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    return held;
}

void PlatformGiveBackMinimise(const HeldMinimise& held) {
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, held.hinted ? held.value : nullptr);
}
