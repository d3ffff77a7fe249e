// Window classes, windows, the message queue and the keyboard state, on
// SDL's headless video driver.
#include <gtest/gtest.h>

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
    void Push(SDL_Event e) {
        const Uint32 id = SDL_GetWindowID(PlatformSdlWindow(window));
        if (e.type == SDL_WINDOWEVENT) e.window.windowID = id;
        else if (e.type == SDL_MOUSEMOTION) e.motion.windowID = id;
        else e.key.windowID = id;
        ASSERT_EQ(SDL_PushEvent(&e), 1);
    }
    void PushKey(Uint32 type, SDL_Keycode key) {
        SDL_Event e{};
        e.type = type;
        e.key.keysym.sym = key;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        Push(e);
    }
    void PushClose() {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = SDL_WINDOWEVENT_CLOSE;
        Push(e);
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
    } keys[] = {{SDLK_LEFT, VK_LEFT}, {SDLK_UP, VK_UP},         {SDLK_RIGHT, VK_RIGHT}, {SDLK_DOWN, VK_DOWN},
                {SDLK_RETURN, VK_RETURN}, {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_z, 'Z'},       {SDLK_x, 'X'},
                {SDLK_c, 'C'}};
    for (const auto& k : keys) {
        SCOPED_TRACE(k.vk);
        PushKey(SDL_KEYDOWN, k.key);
        MSG msg{};
        // Looking does not fetch: the state moves only when the message is taken.
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
        EXPECT_EQ(msg.message, WM_KEYDOWN);
        EXPECT_EQ(msg.wParam, static_cast<WPARAM>(k.vk));
        EXPECT_EQ(msg.hwnd, window);
        EXPECT_FALSE(KeyDown(k.vk));
        ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
        EXPECT_TRUE(KeyDown(k.vk));

        PushKey(SDL_KEYUP, k.key);
        ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
        EXPECT_EQ(msg.message, WM_KEYUP);
        EXPECT_EQ(msg.wParam, static_cast<WPARAM>(k.vk));
        EXPECT_FALSE(KeyDown(k.vk));
    }
    // Held together, each key stays down until its own release is fetched.
    PushKey(SDL_KEYDOWN, SDLK_z);
    PushKey(SDL_KEYDOWN, SDLK_RIGHT);
    PushKey(SDL_KEYUP, SDLK_z);
    MSG msg{};
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(KeyDown('Z'));
    EXPECT_TRUE(KeyDown(VK_RIGHT));

    // A key SDL gives no window (it no longer counts ours as focused) was
    // still delivered to the game's window.
    PushKey(SDL_KEYDOWN, SDLK_c);
    SDL_Event unfocused{};
    ASSERT_EQ(SDL_PeepEvents(&unfocused, 1, SDL_GETEVENT, SDL_KEYDOWN, SDL_KEYDOWN), 1);
    unfocused.key.windowID = 0;
    ASSERT_EQ(SDL_PushEvent(&unfocused), 1);
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('C'));

    // A key the game has no code for posts nothing.
    PushKey(SDL_KEYDOWN, SDLK_F13);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
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
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 1);
    PushClose();
    ASSERT_EQ(SDL_PushEvent(&quit), 1);
    MSG msg{};
    int closes = 0;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        EXPECT_EQ(msg.hwnd, window);
        closes += msg.message == WM_CLOSE;
    }
    EXPECT_EQ(closes, 1);
}

TEST_F(WindowTest, QuitWaitsBehindPostedMessagesAndPeekCanLeaveIt) {
    PostQuitMessage(9);
    PostTestMessage(window, WM_NULL, 1, 0);
    PostTestMessage(window, WM_KEYDOWN, VK_LEFT, 0);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYUP, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_KEYDOWN);
    EXPECT_TRUE(KeyDown(VK_LEFT));
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, WM_NULL);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.wParam, 9u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

// The framed window's client-area sums are the shell's tests.
TEST_F(WindowTest, AFramelessWindowIsAllClientAreaAndAStaleHandleNamesNothing) {
    RECT outer, client;
    HWND bare = CreateWindowExA(0, "TestClass", "Bare", 0, 0, 0, 320, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(GetWindowRect(bare, &outer));
    ASSERT_TRUE(GetClientRect(bare, &client));
    EXPECT_EQ(outer.right - outer.left, client.right);
    EXPECT_EQ(outer.bottom - outer.top, client.bottom);
    EXPECT_EQ(FindTestWindow("Bare"), bare);
    EXPECT_TRUE(DestroyWindow(bare));
    EXPECT_EQ(FindTestWindow("Bare"), nullptr);
    // Its slot is taken again, but the old handle names nothing.
    HWND next = CreateWindowExA(0, "TestClass", "Next", 0, 0, 0, 32, 32, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, bare);
    EXPECT_FALSE(ShowWindow(bare, SW_SHOW));
    EXPECT_FALSE(DestroyWindow(bare));
    EXPECT_TRUE(DestroyWindow(next));
}

TEST_F(WindowTest, TheCursorHidesWhenTheProcedureSetsNone) {
    ShowWindow(window, SW_SHOWDEFAULT);
    EXPECT_TRUE(SDL_GetWindowFlags(PlatformSdlWindow(window)) & SDL_WINDOW_SHOWN);
    SetCursor(nullptr);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

    // A pointer moving over the window asks the procedure at once; the
    // default answer is the class's cursor.
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    Push(e);
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
