// Window classes, windows, the message queue and the keyboard state, on
// SDL's headless video driver.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/testhooks.h"
#include "platform/win32_internal.h"
#include "support/test_window.h"

namespace {

std::vector<UINT> SeenMessages;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SeenMessages.push_back(message);
    if (message == WM_DESTROY) {
        PostQuitMessage(3);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        SeenMessages.clear();
        window = OpenTestWindow("TestClass", RecordingProc, "Test window");
        ASSERT_NE(window, nullptr);
        DrainMessages();
    }
    void TearDown() override {
        EXPECT_TRUE(CloseTestWindow(window, "TestClass"));
        BYTE none[256] = {};
        SetKeyboardState(none);
    }
    // Pushes an event for the test window: a key, a window event or a move.
    void Push(Uint32 type, SDL_Keycode key = 0, Uint8 windowEvent = 0) {
        SDL_Event e{};
        e.type = type;
        const Uint32 id = SDL_GetWindowID(PlatformSdlWindow(window));
        if (type == SDL_WINDOWEVENT) e.window.windowID = id, e.window.event = windowEvent;
        else if (type == SDL_MOUSEMOTION) e.motion.windowID = id;
        else e.key.windowID = id, e.key.keysym.sym = key;
        ASSERT_EQ(SDL_PushEvent(&e), 1);
    }
    void PushKey(Uint32 type, SDL_Keycode key) { Push(type, key); }
    void PushClose() { Push(SDL_WINDOWEVENT, 0, SDL_WINDOWEVENT_CLOSE); }
    static HWND Open(const char* title) {
        return CreateWindowExA(0, "TestClass", title, 0, 0, 0, 32, 32, nullptr, nullptr, nullptr, nullptr);
    }
    static bool KeyDown(int vk) {
        BYTE keys[256];
        EXPECT_TRUE(GetKeyboardState(keys));
        return (keys[vk] & 0x80) != 0;
    }
    HWND window = nullptr;
};

TEST_F(WindowTest, KeyEventsBecomeKeyMessagesAndTheStateFollowsFetchedOnes) {
    const struct {
        SDL_Keycode key;
        int vk;
        WPARAM character;  // what TranslateMessage posts, 0 for nothing
    } keys[] = {{SDLK_LEFT, VK_LEFT, 0},    {SDLK_UP, VK_UP, 0},         {SDLK_RIGHT, VK_RIGHT, 0},
                {SDLK_DOWN, VK_DOWN, 0},    {SDLK_RETURN, VK_RETURN, 13}, {SDLK_KP_ENTER, VK_RETURN, 13},
                {SDLK_ESCAPE, VK_ESCAPE, 27}, {SDLK_SPACE, ' ', ' '},     {SDLK_a, 'A', 'a'},
                {SDLK_z, 'Z', 'z'},         {SDLK_0, '0', '0'},          {SDLK_9, '9', '9'}};
    for (const auto& k : keys) {
        SCOPED_TRACE(k.vk);
        PushKey(SDL_KEYDOWN, k.key);
        MSG msg{};
        // Looking does not fetch: the state moves only when the message is taken.
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
        EXPECT_EQ(std::make_tuple(msg.message, msg.wParam, msg.hwnd), std::make_tuple(WM_KEYDOWN, (WPARAM)k.vk, window));
        EXPECT_FALSE(KeyDown(k.vk));
        ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
        EXPECT_TRUE(KeyDown(k.vk));
        EXPECT_EQ(TranslateMessage(&msg), k.character != 0);
        if (k.character) {
            ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE));
            EXPECT_EQ(msg.wParam, k.character);
        }
        PushKey(SDL_KEYUP, k.key);
        ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
        EXPECT_EQ(std::make_pair(msg.message, msg.wParam), std::make_pair(WM_KEYUP, (WPARAM)k.vk));
        EXPECT_FALSE(KeyDown(k.vk));
        EXPECT_FALSE(TranslateMessage(&msg));
    }
    MSG msg{};
    // A key the game has no code for, or for a window not the game's, posts nothing.
    PushKey(SDL_KEYDOWN, SDLK_F13);
    SDL_Event stranger{};
    stranger.type = SDL_KEYDOWN;
    stranger.key.keysym.sym = SDLK_c;
    stranger.key.windowID = SDL_GetWindowID(PlatformSdlWindow(window)) + 100;
    ASSERT_EQ(SDL_PushEvent(&stranger), 1);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    // A message whose code is no key leaves the keyboard alone.
    PostTestMessage(window, WM_KEYDOWN, 300, 0);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

// SDL may give a key no window when it no longer counts ours as focused;
// the window system still delivered it to the newest of the game's windows.
TEST_F(WindowTest, AKeyWithoutAWindowGoesToTheNewestWindow) {
    HWND older = Open("Older");
    EXPECT_TRUE(DestroyWindow(window));  // its slot, the first, goes to the newest
    window = Open("Newest");
    DrainMessages();
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_c;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
    MSG msg{};
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_TRUE(DestroyWindow(older));
}

// Filters take a window and an inclusive range; quit answers any filter
// whose range holds it, once nothing posted that the filter takes is left.
TEST_F(WindowTest, FiltersTakeWindowsAndInclusiveRangesAndQuitComesLast) {
    HWND other = Open("Other");
    PostQuitMessage(4);
    PostTestMessage(window, WM_NULL, 1, 0);
    PostTestMessage(other, WM_KEYUP, 'X', 0);
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_KEYDOWN, WM_KEYUP, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, other, WM_KEYUP, WM_CHAR, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_KEYUP);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_SETCURSOR, WM_KEYUP, PM_NOREMOVE));
    for (auto [low, high] : {std::pair{WM_QUIT, WM_QUIT}, {WM_CLOSE, WM_QUIT}, {WM_QUIT, WM_KEYUP}}) {
        ASSERT_TRUE(PeekMessageA(&msg, window, low, high, PM_NOREMOVE));
        EXPECT_EQ(std::make_pair(msg.message, msg.wParam), std::make_pair(WM_QUIT, WPARAM{4}));
    }
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, WM_NULL);
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.wParam, 4u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_TRUE(DestroyWindow(other));
}

// A full queue drops what comes after, and takes messages again once read.
TEST_F(WindowTest, AFullQueueDropsTheExcess) {
    for (int i = 0; i < 513; ++i) PostTestMessage(window, WM_NULL, i, 0);
    MSG msg{};
    int taken = 0;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) EXPECT_EQ(msg.wParam, (WPARAM)taken++);
    EXPECT_EQ(taken, 512);
    PostTestMessage(window, WM_NULL, 7, 0);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(WindowTest, ClosingTheWindowDestroysItAndQuitComesLast) {
    PushClose();
    PostTestMessage(window, WM_NULL, 42, 0);
    MSG msg{};
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    // Posted before this fetch pumped the window system, so it comes first.
    EXPECT_EQ(msg.message, WM_NULL);
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    ASSERT_EQ(msg.message, WM_CLOSE);
    EXPECT_EQ(msg.hwnd, window);
    PostTestMessage(window, WM_NULL, 7, 0);
    DispatchMessageA(&msg);

    EXPECT_EQ(SeenMessages, (std::vector<UINT>{WM_CLOSE, WM_DESTROY}));
    EXPECT_EQ(PlatformSdlWindow(window), nullptr);
    RECT r;
    EXPECT_FALSE(GetClientRect(window, &r));
    // The dead window's messages went with it; quit is all that is left.
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(DispatchMessageA(&msg), 0);
}

TEST_F(WindowTest, AnEndOfProgramRequestClosesEachWindowOnce) {
    Push(SDL_QUIT);
    PushClose();
    Push(SDL_QUIT);
    MSG msg{};
    int closes = 0;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        EXPECT_EQ(msg.hwnd, window);
        closes += msg.message == WM_CLOSE;
    }
    EXPECT_EQ(closes, 1);
}

// A termination signal asks the same, once; the flag it leaves is the
// process's for good, so the signal comes in a child.
TEST_F(WindowTest, ATerminationSignalClosesEachWindowOnce) {
    EXPECT_EXIT(
        {
            raise(SIGTERM);
            MSG msg{};
            int closes = 0;
            for (int pass = 0; pass < 3; ++pass)
                while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) closes += msg.message == WM_CLOSE;
            std::exit(closes);
        },
        testing::ExitedWithCode(1), "");
}

TEST_F(WindowTest, TheFrameTakesItsShareOfTheClientAreaAndAStaleHandleNamesNothing) {
    // Framed, the client area is the SDL window, and a move keeps the frame.
    RECT outer, client;
    ASSERT_TRUE(MoveWindow(window, 10, 20, 700, 500, TRUE));
    ASSERT_TRUE(GetWindowRect(window, &outer) && GetClientRect(window, &client));
    EXPECT_EQ(std::make_tuple(outer.left, outer.top, outer.right, outer.bottom), std::make_tuple(10, 20, 710, 520));
    int width = 0, height = 0;
    SDL_GetWindowSize(PlatformSdlWindow(window), &width, &height);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair((int)client.right, (int)client.bottom));
    EXPECT_TRUE(client.right < 700 && client.bottom < 500);
    // Frameless, it is all client area.
    HWND bare = Open("Bare");
    ASSERT_TRUE(GetWindowRect(bare, &outer) && GetClientRect(bare, &client));
    EXPECT_EQ(std::make_pair(outer.right - outer.left, outer.bottom - outer.top), std::make_pair(client.right, client.bottom));
    EXPECT_EQ(FindTestWindow("Bare"), bare);
    EXPECT_FALSE(ShowWindow(bare, SW_SHOW));
    EXPECT_TRUE(ShowWindow(bare, SW_HIDE));
    EXPECT_FALSE(ShowWindow(bare, SW_SHOW));
    EXPECT_TRUE(UpdateWindow(bare));
    // A class is kept while a window of it lives.
    EXPECT_FALSE(UnregisterClassA("TestClass", nullptr));
    EXPECT_TRUE(DestroyWindow(bare));
    EXPECT_EQ(FindTestWindow("Bare"), nullptr);
    // Its slot is taken again, but the old handle names nothing.
    HWND next = Open("Next");
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, bare);
    EXPECT_FALSE(ShowWindow(bare, SW_SHOW) || UpdateWindow(bare) || GetClientRect(bare, &client) ||
                 MoveWindow(bare, 0, 0, 8, 8, TRUE) || DestroyWindow(bare));
    EXPECT_TRUE(DestroyWindow(next));
}

TEST_F(WindowTest, TheCursorHidesWhenTheProcedureSetsNone) {
    ShowWindow(window, SW_SHOWDEFAULT);
    EXPECT_TRUE(SDL_GetWindowFlags(PlatformSdlWindow(window)) & SDL_WINDOW_SHOWN);
    SetCursor(nullptr);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

    // A pointer moving over the window asks the procedure at once; the
    // default answer is the class's cursor.
    Push(SDL_MOUSEMOTION);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(SeenMessages, std::vector<UINT>{WM_SETCURSOR});
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    EXPECT_EQ(SetCursor(nullptr), LoadCursorA(nullptr, IDC_ARROW));
}

TEST(WindowClassTest, ClassesRegisterOnceAndWindowsNeedOne) {
    EXPECT_TRUE(RegisterTestClass("Once", DefWindowProcA));
    EXPECT_FALSE(RegisterTestClass("Once", DefWindowProcA));
    WNDCLASSEXA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "Wrong size";
    wc.cbSize = 12;
    EXPECT_EQ(RegisterClassExA(&wc), 0);
    EXPECT_EQ(RegisterClassExA(nullptr), 0);
    EXPECT_EQ(CreateWindowExA(0, "Unknown", "x", 0, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_TRUE(UnregisterClassA("Once", nullptr));
    EXPECT_FALSE(UnregisterClassA("Once", nullptr));
    EXPECT_EQ(PlatformSdlWindow(nullptr), nullptr);
    EXPECT_FALSE(GetWindowRect(nullptr, nullptr));
}

}  // namespace
