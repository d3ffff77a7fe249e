// Shared inside the platform layer only: how the Win32 stand-in's window
// handles map onto SDL, and what its message queue needs of the windows.
#pragma once
#include <SDL.h>
#include "platform/win32.h"

// The SDL window behind a handle from CreateWindowExA; null for a null or
// unknown handle.
SDL_Window* PlatformSdlWindow(HWND window);

// The live window whose SDL window has this id; null when none has.
HWND PlatformWindowFromSdlId(Uint32 sdlId);
// The window procedure of the window's class; null for a dead handle.
WNDPROC PlatformWindowProc(HWND window);
// The cursor of the window's class (what DefWindowProcA shows).
HCURSOR PlatformClassCursor(HWND window);
// The most recently created window that is still alive, or null.
HWND PlatformNewestWindow();
// Fills up to maxCount live windows; returns how many.
int PlatformLiveWindows(HWND* out, int maxCount);

// Starts SDL's video on first use, and with it the watch for termination
// signals; false when it cannot start.
bool PlatformStartVideo();

// From then on a termination signal (SIGTERM, SIGINT, SIGHUP) asks the
// program to end: the queue closes every window once, as a close from the
// window system does, and a box up answers as closed.
void PlatformWatchEndSignals();
// Whether a termination signal has come; it stays so for the rest of the run.
bool PlatformEndRequested();
// Readable once a termination signal has come, for a wait on the window
// system's connection to wake on; -1 when there is none.
int PlatformEndRequestFd();

// The full-screen window's minimise-on-focus-loss, held off while the game
// itself moves the focus (a box of its own, a new window manager), then
// given back as it was.
struct HeldMinimise {
    bool hinted;
    char value[16];
};
HeldMinimise PlatformHoldMinimise();
void PlatformGiveBackMinimise(const HeldMinimise& held);

// Message-queue side of a window's end: its posted messages are dropped.
void PlatformDropMessagesFor(HWND window);
// After a real modal box has held the keyboard: every key's down bit from
// the keyboard as it is now, and a key still held is watched until it is
// let go, since SDL has forgotten it and will not report its release.
void PlatformTakeKeysFromKeyboard();

// A modal box over the owner's window, answered from the keyboard (the
// rules of msgbox_keys.h) or the mouse: IDOK, IDYES or IDNO. Closed by the
// window manager, destroyed by another program or ended by a termination
// signal, it answers as closed (BoxCloseAnswer). -1, with the reason on
// stderr and at once, when it cannot be shown (no owner, or the owner is on
// no X display).
int PlatformShowBox(SDL_Window* owner, const char* text, const char* caption, bool yesNo);

// Fills down[vk] for every virtual key held on the keyboard now, whichever
// window has the focus, letters by the layout active now; false when the
// window system cannot tell.
bool PlatformKeyboardNow(bool* down);
// For the window system's event behind one of SDL's key events: the letter
// 'A'..'Z' the key shows in the layout active when it was pressed, 0 for a
// key that is no letter, -1 for an event that is no key's (or from another
// window system).
int PlatformLetterOfSystemKey(const SDL_SysWMmsg* msg);
// Waits until the window system has dealt with everything asked of it so
// far, so that the events it caused are all in.
void PlatformSyncWindowSystem();
// Whether the window system draws this window with a GPU (an X server with
// direct rendering, or a window system that always has one); false on a
// virtual display.
bool PlatformWindowHasGpu(SDL_Window* window);
// On X the server paints what the window uncovers black, not leaving it
// as it was; elsewhere nothing.
void PlatformBlackenUncovered(SDL_Window* window);
// Keeps the full-screen window full screen, and with the keyboard, when a
// window manager starts or takes over on its X display, and keeps the
// focus moving between the managers from minimising it. Called as the
// window system's events are fetched.
void PlatformFollowWindowManager();
// Waits at most this long for the window system to have something for the
// queue.
void PlatformWaitForEvents(DWORD milliseconds);
