// The window procedure and the sizing of the window to its client area.
#include "shell/shell.h"

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_SETCURSOR:
        // No cursor over the game, ever.
        SetCursor(nullptr);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

BOOL AdjustWindowToClient(HWND window, int width, int height) {
    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    int outerWidth = outer.right - outer.left;
    int outerHeight = outer.bottom - outer.top;
    return MoveWindow(window, outer.left, outer.top, outerWidth - client.right + width,
                      outerHeight - client.bottom + height, TRUE);
}
