// The slice of Win32 the game and its shell call, carried on SDL2.
// Only what the game uses is declared; values match the Windows ones.
#pragma once
#include <cstddef>
#include <cstdint>

#define WINAPI
#define CALLBACK

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef uint32_t UINT;
typedef int32_t INT;
typedef int32_t LONG;
typedef int32_t HRESULT;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef char CHAR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef char16_t WCHAR;  // UTF-16 unit, as on Windows
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;

struct HWND__;
typedef HWND__* HWND;
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;
struct HICON__;
typedef HICON__* HICON;
struct HCURSOR__;
typedef HCURSOR__* HCURSOR;
struct HGDIOBJ__;
typedef HGDIOBJ__* HGDIOBJ;
typedef HGDIOBJ HBRUSH;
struct HMENU__;
typedef HMENU__* HMENU;
typedef void* HANDLE;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = (HRESULT)0x80004005u;
constexpr HRESULT E_NOINTERFACE = (HRESULT)0x80004002u;
constexpr HRESULT E_POINTER = (HRESULT)0x80004003u;
constexpr HRESULT E_OUTOFMEMORY = (HRESULT)0x8007000Eu;
constexpr HRESULT E_INVALIDARG = (HRESULT)0x80070057u;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

struct POINT {
    LONG x, y;
};

struct RECT {
    LONG left, top, right, bottom;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

struct WNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
};

#define MAKEINTRESOURCEA(i) ((LPCSTR)(uintptr_t)(WORD)(i))
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDI_WINLOGO MAKEINTRESOURCEA(32517)
#define IDC_ARROW MAKEINTRESOURCEA(32512)

// Window messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWDEFAULT = 10;
constexpr int WHITE_BRUSH = 0;

// Message boxes.
constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_YESNO = 0x0004;
constexpr UINT MB_ICONERROR = 0x0010;
constexpr UINT MB_ICONQUESTION = 0x0020;
constexpr UINT MB_SYSTEMMODAL = 0x1000;
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Virtual keys the game reads.
constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;

// Window class and window. CreateWindowExA opens a hidden SDL window
// titled windowName (SDL's video starts on first use); the handle stays
// valid until the window is destroyed. A window with a caption or a sizing
// frame has a nominal frame around its client area, as on Windows, so
// GetWindowRect is larger than GetClientRect; the SDL window is the
// client area, placed at the window's top-left corner.
WORD RegisterClassExA(const WNDCLASSEXA* wc);
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
// Sends WM_DESTROY to the window's procedure, then closes the SDL window.
BOOL DestroyWindow(HWND window);
BOOL ShowWindow(HWND window, int showCommand);
BOOL UpdateWindow(HWND window);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HGDIOBJ GetStockObject(int object);
// SetCursor(NULL) hides the mouse cursor over the game's window.
HCURSOR SetCursor(HCURSOR cursor);

// The message queue, fed from SDL events. Key presses arrive as
// WM_KEYDOWN/WM_KEYUP with the virtual-key code in wParam; closing the
// window arrives as WM_CLOSE.
BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeMsg);
BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
// WM_CLOSE destroys the window, which sends WM_DESTROY.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// With no handles: returns WAIT_OBJECT_0 as soon as a message is waiting,
// WAIT_TIMEOUT when the time runs out first.
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD QS_ALLINPUT = 0x04FF;
DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask);

// 256 bytes, one per virtual key; bit 0x80 is set for a key that is down
// as of the last key message fetched from the queue.
BOOL GetKeyboardState(BYTE* keys);
BOOL SetKeyboardState(const BYTE* keys);

// A modal box over the game's window (texts in UTF-8). Returns IDOK, IDYES
// or IDNO. A box closed without a button answers IDNO, or IDOK when OK is
// its only button; one that cannot be shown returns IDNO at once.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// Clock and sleep (milliseconds).
void Sleep(DWORD milliseconds);
DWORD timeGetTime();
UINT timeBeginPeriod(UINT period);

// Not Win32: the monotonic clock in nanoseconds and a sleep to an absolute
// time on it, for frame pacing finer than the millisecond timer.
uint64_t MonotonicNanoseconds();
void SleepUntilNanoseconds(uint64_t deadline);

// The program's own instance handle for a null name; no other modules.
HINSTANCE GetModuleHandleA(LPCSTR moduleName);
DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);
// Converts from UTF-8 (the game's text) to UTF-16. Returns the number of
// units written (with the terminator when length is -1), 0 on failure.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR out, int outSize);
