#include "support/test_window.h"

bool RegisterTestClass(const char* className, WNDPROC proc) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0;
}

HWND OpenTestWindow(const char* className, WNDPROC proc, const char* title, int x, int y) {
    if (!RegisterTestClass(className, proc)) return nullptr;
    return CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, x, y, 640, 480, nullptr, nullptr, nullptr,
                           nullptr);
}

void DrainMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

bool CloseTestWindow(HWND window, const char* className) {
    if (window) DestroyWindow(window);
    DrainMessages();
    return UnregisterClassA(className, nullptr);
}
