// The thread's message queue, fed from SDL's events and from the tests,
// and the keyboard state that fetching key messages keeps.
#include <cstring>

#include "platform/testhooks.h"
#include "platform/win32_internal.h"

namespace {

constexpr int QueueCapacity = 512;
constexpr int KeyCount = 256;
constexpr BYTE KeyDownBit = 0x80;
constexpr BYTE KeyToggleBit = 0x01;
constexpr LPARAM KeyRepeatBit = LPARAM(1) << 30;
constexpr LPARAM KeyReleaseBit = LPARAM(1) << 31;
constexpr WPARAM HitClient = 1;  // WM_SETCURSOR: the cursor is over the client area
constexpr int MaxClosedAtOnce = 8;

MSG Queue[QueueCapacity];
int QueueHead;
int QueueCount;
bool QuitPosted;
int QuitCode;
bool EndSignalPosted;
BYTE KeyState[KeyCount];
// Down on the keyboard after a box while SDL counts it up: its release
// comes from the keyboard itself.
bool HeldThroughBox[KeyCount];
// The letter the window system's last event showed, when it was a key's
// (PlatformLetterOfSystemKey); -1 when SDL's next key event is its own
// making, as when the focus goes.
int SystemKeyLetter = -1;
// The virtual key each key, by SDL's scancode, went down as: its repeats
// and its release are that key's even when the layout changed meanwhile.
struct PressedKey {
    bool known;
    int vk;
};
PressedKey PressedAs[SDL_NUM_SCANCODES];

MSG& QueueAt(int i) { return Queue[(QueueHead + i) % QueueCapacity]; }

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (QueueCount == QueueCapacity) {
        SDL_Log("Message queue full; message 0x%04X dropped", message);
        return;
    }
    MSG& msg = QueueAt(QueueCount);
    msg = MSG{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = SDL_GetTicks();  // the real clock: a driven one counts only the loop's reads
    ++QueueCount;
}

void RemoveAt(int index) {
    for (int i = index; i + 1 < QueueCount; ++i) QueueAt(i) = QueueAt(i + 1);
    --QueueCount;
}

bool HasPending(HWND window, UINT message) {
    for (int i = 0; i < QueueCount; ++i) {
        if (QueueAt(i).hwnd == window && QueueAt(i).message == message) return true;
    }
    return false;
}

// The virtual-key code of an SDL key, 0 for keys the game has no code for.
int VirtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    switch (key) {
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return ' ';
    default: return 0;
    }
}

// The virtual key of one of SDL's key events. SDL knows the keyboard's
// layout as it was at start; the window system's letter follows the one
// active now, and a key that shows no letter now is no letter key.
int VirtualKeyOfEvent(const SDL_KeyboardEvent& key, int systemLetter) {
    const SDL_Scancode scancode = key.keysym.scancode;
    const bool tracked = scancode >= 0 && scancode < SDL_NUM_SCANCODES;
    if (tracked && PressedAs[scancode].known && (key.type == SDL_KEYUP || key.repeat)) {
        PressedAs[scancode].known = key.type == SDL_KEYDOWN;
        return PressedAs[scancode].vk;
    }
    int vk = VirtualKey(key.keysym.sym);
    if (systemLetter > 0) vk = systemLetter;
    else if (systemLetter == 0 && vk >= 'A' && vk <= 'Z') vk = 0;
    if (key.type == SDL_KEYDOWN && tracked) PressedAs[scancode] = PressedKey{true, vk};
    return vk;
}

// The window under the cursor is asked for its cursor as it moves, the way
// Windows sends WM_SETCURSOR: sent straight to the procedure, not queued.
void SendSetCursor(HWND window) {
    WNDPROC proc = PlatformWindowProc(window);
    if (proc) proc(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), static_cast<LPARAM>(HitClient));
}

// A request to end the program: every window that has not yet been asked
// is closed. Returns how many windows there are.
int CloseEveryWindow() {
    HWND windows[MaxClosedAtOnce];
    int count = PlatformLiveWindows(windows, MaxClosedAtOnce);
    for (int i = 0; i < count; ++i) {
        if (!HasPending(windows[i], WM_CLOSE)) Post(windows[i], WM_CLOSE, 0, 0);
    }
    return count;
}

void Translate(const SDL_Event& e) {
    const int systemLetter = SystemKeyLetter;
    SystemKeyLetter = -1;
    switch (e.type) {
    case SDL_SYSWMEVENT: SystemKeyLetter = PlatformLetterOfSystemKey(e.syswm.msg); return;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        int vk = VirtualKeyOfEvent(e.key, systemLetter);
        // No window id: SDL no longer counts the window as focused (a
        // message box took the focus and the desktop gave it back without
        // saying so), yet the window system delivered the key to us.
        HWND window = e.key.windowID ? PlatformWindowFromSdlId(e.key.windowID) : PlatformNewestWindow();
        if (vk == 0 || !window) return;
        HeldThroughBox[vk] = false;  // SDL knows the key again
        LPARAM lParam = 1 | (static_cast<LPARAM>(e.key.keysym.scancode & 0xFF) << 16);
        if (e.type == SDL_KEYUP) {
            Post(window, WM_KEYUP, static_cast<WPARAM>(vk), lParam | KeyRepeatBit | KeyReleaseBit);
        } else {
            Post(window, WM_KEYDOWN, static_cast<WPARAM>(vk), lParam | (e.key.repeat ? KeyRepeatBit : 0));
        }
        return;
    }
    case SDL_MOUSEMOTION: {
        HWND window = PlatformWindowFromSdlId(e.motion.windowID);
        if (window) SendSetCursor(window);
        return;
    }
    case SDL_WINDOWEVENT: {
        HWND window = PlatformWindowFromSdlId(e.window.windowID);
        if (!window) return;
        if (e.window.event == SDL_WINDOWEVENT_CLOSE && !HasPending(window, WM_CLOSE)) {
            Post(window, WM_CLOSE, 0, 0);
        } else if (e.window.event == SDL_WINDOWEVENT_ENTER) {
            SendSetCursor(window);
        }
        return;
    }
    case SDL_QUIT: CloseEveryWindow(); return;
    default: return;
    }
}

// Which keys SDL counts as down.
void SdlKeysDown(bool* down) {
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int scancode = 0; scancode < count && scancode < SDL_NUM_SCANCODES; ++scancode) {
        if (!state[scancode]) continue;
        const PressedKey& pressed = PressedAs[scancode];
        const SDL_Keycode key = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode));
        down[pressed.known ? pressed.vk : VirtualKey(key)] = true;
    }
    down[0] = false;
}

// A key held through a box and let go since is released as SDL would.
void ReleaseLetGoKeys() {
    bool watching = false;
    for (bool held : HeldThroughBox) watching = watching || held;
    bool down[KeyCount] = {};
    if (!watching || !PlatformKeyboardNow(down)) return;
    for (int vk = 0; vk < KeyCount; ++vk) {
        if (!HeldThroughBox[vk] || down[vk]) continue;
        HeldThroughBox[vk] = false;
        HWND window = PlatformNewestWindow();
        if (window) Post(window, WM_KEYUP, static_cast<WPARAM>(vk), 1 | KeyRepeatBit | KeyReleaseBit);
    }
}

void PumpEvents() {
    // A termination signal closes the windows once, the way the last
    // window closed does.
    if (PlatformEndRequested() && !EndSignalPosted) EndSignalPosted = CloseEveryWindow() > 0;
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    PlatformFollowWindowManager();
    SDL_Event e;
    while (SDL_PollEvent(&e)) Translate(e);
    ReleaseLetGoKeys();
}

bool Matches(const MSG& msg, HWND window, UINT filterMin, UINT filterMax) {
    if (window && msg.hwnd != window) return false;
    if (filterMin == 0 && filterMax == 0) return true;
    return msg.message >= filterMin && msg.message <= filterMax;
}

// A fetched key message is what the keyboard state follows.
void NoteFetched(const MSG& msg) {
    if (msg.wParam >= static_cast<WPARAM>(KeyCount)) return;
    BYTE& key = KeyState[msg.wParam];
    if (msg.message == WM_KEYDOWN) {
        if (!(key & KeyDownBit)) key ^= KeyToggleBit;
        key |= KeyDownBit;
    } else if (msg.message == WM_KEYUP) {
        key &= static_cast<BYTE>(~KeyDownBit);
    }
}

// Finds the next message for (window, range); WM_QUIT comes once the
// queue holds nothing else that matches.
bool Take(MSG* msg, HWND window, UINT filterMin, UINT filterMax, bool remove) {
    for (int i = 0; i < QueueCount; ++i) {
        if (!Matches(QueueAt(i), window, filterMin, filterMax)) continue;
        *msg = QueueAt(i);
        if (remove) {
            RemoveAt(i);
            NoteFetched(*msg);
        }
        return true;
    }
    bool quitInRange = (filterMin == 0 && filterMax == 0) || (WM_QUIT >= filterMin && WM_QUIT <= filterMax);
    if (QuitPosted && quitInRange) {
        *msg = MSG{};
        msg->message = WM_QUIT;
        msg->wParam = static_cast<WPARAM>(QuitCode);
        msg->time = SDL_GetTicks();
        if (remove) QuitPosted = false;
        return true;
    }
    return false;
}

}  // namespace

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeMsg) {
    if (!msg) return FALSE;
    PumpEvents();
    return Take(msg, window, filterMin, filterMax, (removeMsg & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax) {
    if (!msg) return -1;
    for (;;) {
        PumpEvents();
        if (Take(msg, window, filterMin, filterMax, true)) return msg->message == WM_QUIT ? FALSE : TRUE;
        if (SDL_WasInit(SDL_INIT_VIDEO)) {
            SDL_WaitEventTimeout(nullptr, 10);
        } else {
            SDL_Delay(1);
        }
    }
}

DWORD MsgWaitForMultipleObjects(DWORD, const HANDLE*, BOOL, DWORD milliseconds, DWORD) {
    PumpEvents();
    if (QueueCount == 0 && !QuitPosted) {
        PlatformWaitForEvents(milliseconds);
        PumpEvents();
    }
    return (QueueCount > 0 || QuitPosted) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN) return FALSE;
    WPARAM vk = msg->wParam;
    WPARAM ch = 0;
    if (vk >= 'A' && vk <= 'Z') ch = vk - 'A' + 'a';
    if ((vk >= '0' && vk <= '9') || vk == ' ' || vk == VK_RETURN || vk == VK_ESCAPE) ch = vk;
    if (ch == 0) return FALSE;
    Post(msg->hwnd, WM_CHAR, ch, msg->lParam);
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg) return 0;
    WNDPROC proc = PlatformWindowProc(msg->hwnd);
    return proc ? proc(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_SETCURSOR: SetCursor(PlatformClassCursor(window)); return TRUE;
    default: return 0;
    }
}

void PostQuitMessage(int exitCode) {
    QuitPosted = true;
    QuitCode = exitCode;
}

BOOL GetKeyboardState(BYTE* keys) {
    if (!keys) return FALSE;
    std::memcpy(keys, KeyState, sizeof KeyState);
    return TRUE;
}

BOOL SetKeyboardState(const BYTE* keys) {
    if (!keys) return FALSE;
    std::memcpy(KeyState, keys, sizeof KeyState);
    return TRUE;
}

void PlatformDropMessagesFor(HWND window) {
    for (int i = QueueCount - 1; i >= 0; --i) {
        if (QueueAt(i).hwnd == window) RemoveAt(i);
    }
}

void PlatformTakeKeysFromKeyboard() {
    // What SDL made of the keys around the box is out of date now.
    PumpEvents();
    for (int i = QueueCount - 1; i >= 0; --i) {
        if (QueueAt(i).message == WM_KEYDOWN || QueueAt(i).message == WM_KEYUP) RemoveAt(i);
    }
    bool inSdl[KeyCount] = {};
    SdlKeysDown(inSdl);
    bool down[KeyCount] = {};
    if (!PlatformKeyboardNow(down)) std::memcpy(down, inSdl, sizeof down);
    for (int vk = 0; vk < KeyCount; ++vk) {
        KeyState[vk] = down[vk] ? (KeyState[vk] | KeyDownBit) : (KeyState[vk] & static_cast<BYTE>(~KeyDownBit));
        HeldThroughBox[vk] = down[vk] && !inSdl[vk];
    }
}

void PostTestMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Post(window, message, wParam, lParam);
}
