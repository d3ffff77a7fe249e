// A window class registered for one test and a window of it, and their
// removal together with every message they left in the queue.
#pragma once
#include "platform/win32.h"

// Registers `className` with `proc` and the arrow cursor; false when taken.
bool RegisterTestClass(const char* className, WNDPROC proc);
// Registers the class and opens a 640 x 480 overlapped window of it at (x, y).
HWND OpenTestWindow(const char* className, WNDPROC proc, const char* title = "Kestoria", int x = 0, int y = 0);
// Destroys the window (when not null), empties the queue and unregisters the
// class; false when the class was not registered.
bool CloseTestWindow(HWND window, const char* className);
// Removes every waiting message.
void DrainMessages();
