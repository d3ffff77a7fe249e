// The whole program from WinMain: start-up, the loop on a driven clock,
// the two ways it ends, and the start-up failures.
#include <gtest/gtest.h>

#include "driven_clock.h"
#include "game/frame.h"
#include "game/title.h"
#include "graphics/graphics.h"
#include "support/message_box_recorder.h"
#include "support/test_window.h"
#include "platform/win32_internal.h"
#include "shell/shell.h"

namespace {

using driven::Ms;
using driven::TheClock;

bool RefuseEveryDevice(D3DDEVTYPE, DWORD) { return false; }

class WinMainTest : public testing::Test {
protected:
    void SetUp() override {
        boxes::Record(IDNO);
        driven::Drive(3 * Ms);
        ResetTitle();
        const BYTE noKeys[256] = {};
        SetKeyboardState(noKeys);
    }
    void TearDown() override {
        driven::Release();
        SetCreateDeviceHook(nullptr);
        CloseTestWindow(FindTestWindow("Kestoria"), "Window");
        Graphics.Release();
        boxes::Stop();
        Running = 1;
    }
    static int Run() {
        static char commandLine[] = "";
        return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
    }
};

TEST_F(WinMainTest, ClosingTheWindowShutsEverythingDownAndExitsWithZero) {
    HWND window = nullptr;
    RECT client{};
    bool shown = false;
    DWORD lighting = 99;
    TheClock.onSleep = [&](int frame) {
        if (frame != 3) return;
        window = FindTestWindow("Kestoria");
        GetClientRect(window, &client);
        shown = SDL_GetWindowFlags(PlatformSdlWindow(window)) & SDL_WINDOW_SHOWN;
        Graphics.device->GetRenderState(D3DRS_LIGHTING, &lighting);
        PostTestMessage(window, WM_CLOSE, 0, 0);
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(TheClock.Frames(), 3);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    EXPECT_TRUE(shown);
    EXPECT_EQ(lighting, 0u);
    for (const boxes::Shown& b : boxes::Seen) EXPECT_NE(b.text, "DirectGraphics初期化ミス");
    // The window is gone and every device object released.
    EXPECT_EQ(FindTestWindow("Kestoria"), nullptr);
    EXPECT_EQ(Graphics.device, nullptr);
    EXPECT_EQ(Graphics.d3d, nullptr);
    EXPECT_EQ(Graphics.sprite, nullptr);
    EXPECT_EQ(Graphics.font, nullptr);
    EXPECT_EQ(Running, 1);
}

// The title's quit choice, keyed in after frames 1 to 3: Enter skips the
// logo while Down picks quit, both are released, then Enter chooses quit.
// By messages, or straight into the key state as if the keys had been down
// before the program fetched anything. Either way a normal end exits with 0.
TEST_F(WinMainTest, TheQuitChoiceEndsAfterItsFrameIsPaddedAndExitsWithZero) {
    for (bool byMessages : {true, false}) {
        SCOPED_TRACE(byMessages);
        if (!byMessages) {
            TearDown();
            SetUp();
        }
        TheClock.onSleep = [byMessages](int frame) {
            HWND window = FindTestWindow("Kestoria");
            // A quit that never comes must not hold the test forever.
            if (frame == 500) PostTestMessage(window, WM_CLOSE, 0, 0);
            if (frame < 1 || frame > 3) return;
            BYTE keys[256] = {};
            keys[VK_RETURN] = frame != 2 ? 0x80 : 0;
            keys[VK_DOWN] = frame == 1 ? 0x80 : 0;
            if (!byMessages) SetKeyboardState(keys);
            if (byMessages) PostTestMessage(window, frame == 2 ? WM_KEYUP : WM_KEYDOWN, VK_RETURN, 0);
            if (byMessages && frame != 3) PostTestMessage(window, frame == 1 ? WM_KEYDOWN : WM_KEYUP, VK_DOWN, 0);
        };
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(Running, 0);
        // The choice in frame 4 fades out over 84 frames; the quit frame still sleeps.
        EXPECT_EQ(TheClock.Frames(), 87);
        ASSERT_EQ(TheClock.sleeps.size(), 87u);
        EXPECT_EQ(TheClock.sleepAfterFrame.back(), 87);
        EXPECT_EQ(TheClock.sleeps.back(), static_cast<int64_t>(13 * Ms));
        EXPECT_EQ(Graphics.device, nullptr);
        // Nothing closed the window on this road.
        EXPECT_NE(FindTestWindow("Kestoria"), nullptr);
    }
}

TEST_F(WinMainTest, WithoutSoundTheFailureIsToldOnceAndTheGameRunsOn) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    TheClock.onSleep = [](int frame) {
        if (frame == 2) PostTestMessage(FindTestWindow("Kestoria"), WM_CLOSE, 0, 0);
    };
    int code = Run();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(TheClock.Frames(), 2);
    ASSERT_EQ(boxes::Seen.size(), 1u);
    EXPECT_EQ(boxes::Seen[0].text, "シッパイ");
    EXPECT_EQ(boxes::Seen[0].caption, "ウィンドウ");
    EXPECT_EQ(boxes::Seen[0].type, MB_OK);
    EXPECT_NE(boxes::Seen[0].owner, nullptr);
}

TEST_F(WinMainTest, NoDeviceShowsBothBoxesAndEndsBeforeAnyFrameWithOne) {
    SetCreateDeviceHook(RefuseEveryDevice);
    EXPECT_EQ(Run(), 1);
    HWND window = FindTestWindow("Kestoria");
    ASSERT_NE(window, nullptr);
    // The first box's wording is the graphics suite's; here, that both come in order.
    ASSERT_EQ(boxes::Seen.size(), 2u);
    EXPECT_EQ(boxes::Seen[0].text, "Direct3Dの初期化に失敗。");
    EXPECT_EQ(boxes::Seen[1].text, "DirectGraphics初期化ミス");
    EXPECT_EQ(boxes::Seen[1].caption, "");
    EXPECT_EQ(boxes::Seen[1].type, MB_OK);
    EXPECT_EQ(boxes::Seen[1].owner, window);
    EXPECT_EQ(TheClock.reads, 0);
    EXPECT_FALSE(SDL_GetWindowFlags(PlatformSdlWindow(window)) & SDL_WINDOW_SHOWN);
}

TEST_F(WinMainTest, AClassThatCannotBeRegisteredEndsAtOnceWithoutAWordWithOne) {
    ASSERT_TRUE(RegisterTestClass("Window", DefWindowProcA));
    EXPECT_EQ(Run(), 1);
    EXPECT_TRUE(boxes::Seen.empty());
    EXPECT_EQ(FindTestWindow("Kestoria"), nullptr);
    EXPECT_EQ(Graphics.d3d, nullptr);
    EXPECT_EQ(TheClock.reads, 0);
}

}  // namespace
