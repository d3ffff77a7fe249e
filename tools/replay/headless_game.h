// The game started the way its shell starts it, minus the main loop: the
// window (invisible on SDL's dummy video driver), the device and its
// states, the data tree of the working directory and the sound. Shared by
// the soak, the missing-data tests and the benchmarks, so header-only.
#pragma once
#include <cstring>
#include <initializer_list>

#include "game/frame.h"
#include "game/records.h"
#include "game/resources.h"
#include "game/sounds.h"
#include "game/title.h"
#include "graphics/graphics.h"
#include "shell/shell.h"
#include "sound/sound.h"

// Start-up in the shell's order. Null when no device could be made.
inline HWND StartHeadlessGame() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WndProc;
    wc.lpszClassName = "Window";
    RegisterClassExA(&wc);  // a second start in one process finds it registered
    HWND window = CreateWindowExA(0, "Window", "Kestoria", WS_OVERLAPPEDWINDOW, 0, 0, ScreenWidthPx,
                                  ScreenHeightPx, nullptr, nullptr, nullptr, nullptr);
    if (!window) return nullptr;
    AdjustWindowToClient(window, ScreenWidthPx, ScreenHeightPx);
    if (!Graphics.Create(window, ScreenWidthPx, ScreenHeightPx, D3DFMT_X8R8G8B8, TRUE)) {
        DestroyWindow(window);
        return nullptr;
    }
    Graphics.SetRenderStates();
    ShowWindow(window, SW_SHOW);
    LoadResources();
    InitSound(window);
    return window;
}

// Shutdown in the shell's order, then the window goes too.
inline void StopHeadlessGame(HWND window) {
    ReleaseTextures();
    Graphics.Release();
    ReleaseSound();
    DestroyWindow(window);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// The scene machine as a fresh process has it, for a second start in the
// same process.
inline void ResetGameToProgramStart() {
    ResetTitle();
    EnterHeld = 0;
    ContinueCursor = 0;
    ContinueAlpha = 0;
    ContinueDelay = 0;
    LoadedSoundSet = SoundSetNone;
    ThePlayer = Player{};
    std::memset(Enemies, 0, sizeof Enemies);
    std::memset(Shots, 0, sizeof Shots);
    Boss = Enemy{};
    BossHp = BossStartHp;
    Running = 1;
}

// Exactly these keys down from now on, as if their messages were fetched.
inline void HoldKeys(std::initializer_list<int> down) {
    BYTE keys[256] = {};
    for (int key : down) keys[key] = 0x80;
    SetKeyboardState(keys);
}

// One frame with exactly these keys down; the window's messages are
// handled first, as the main loop would.
inline int HeadlessFrame(HWND window, std::initializer_list<int> down) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    HoldKeys(down);
    return UpdateFrame(window);
}
