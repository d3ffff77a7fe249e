// Start-up, the main loop and shutdown, in their fixed orders.
#include "game/resources.h"
#include "graphics/graphics.h"
#include "shell/shell.h"
#include "sound/sound.h"

namespace {

constexpr UINT TimerResolutionMs = 1;
constexpr int ExitNormally = 0;
constexpr int ExitStartFailed = 1;

}  // namespace

int WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = 0;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = "Window";
    wc.hIconSm = LoadIconA(nullptr, IDI_WINLOGO);
    if (!RegisterClassExA(&wc)) return ExitStartFailed;

    HWND window = CreateWindowExA(0, "Window", "Kestoria", WS_OVERLAPPEDWINDOW, 0, 0, ScreenWidthPx,
                                  ScreenHeightPx, nullptr, nullptr, instance, nullptr);
    // No window (no display to open it on): nothing to play in.
    if (!window) return ExitStartFailed;
    AdjustWindowToClient(window, ScreenWidthPx, ScreenHeightPx);
    if (!Graphics.Create(window, ScreenWidthPx, ScreenHeightPx, D3DFMT_X8R8G8B8, TRUE)) {
        // Whatever was started goes with the process.
        MessageBoxA(window, "DirectGraphics初期化ミス", "", MB_OK);
        return ExitStartFailed;
    }
    Graphics.SetRenderStates();
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    timeBeginPeriod(TimerResolutionMs);
    LoadResources();
    if (!InitSound(window)) MessageBoxA(window, "シッパイ", "ウィンドウ", MB_OK);

    MSG msg{};
    while (MainLoopPass(window, &msg)) {
    }

    ReleaseTextures();
    Graphics.Release();
    ReleaseSound();
    // The last message's wParam would be the quit choice's Enter key: a
    // normal end reads as success to whoever started the game.
    return ExitNormally;
}
