// The main loop pass by pass: messages before frames, the 16 ms pacing on
// a driven clock, and the lost device. The window's close is WinMain's test.
#include <gtest/gtest.h>

#include "driven_clock.h"
#include "game/title.h"
#include "graphics/graphics.h"
#include "support/message_box_recorder.h"
#include "support/test_window.h"
#include "shell/shell.h"

namespace {

using driven::Ms;
using driven::TheClock;

class MainLoopTest : public testing::Test {
protected:
    void SetUp() override {
        boxes::Record(IDNO);
        window = OpenTestWindow("Window", WndProc);
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(Graphics.Create(window, 640, 480, D3DFMT_X8R8G8B8, TRUE), 1);
        Graphics.SetRenderStates();
        ResetTitle();
        driven::Drive(3 * Ms);
    }
    void TearDown() override {
        driven::Release();
        ForceDeviceLossState(DeviceLossState::Working);
        Graphics.Release();
        Graphics.deviceLost = 0;
        CloseTestWindow(window, "Window");
        boxes::Stop();
        Running = 1;
    }
    int Pass() { return MainLoopPass(window, &msg); }

    HWND window = nullptr;
    MSG msg{};
};

TEST_F(MainLoopTest, AFrameIsPaddedToSixteenMillisecondsFromItsStart) {
    TheClock.frameLengths = {3 * Ms, 16 * Ms, 20 * Ms, 15 * Ms + 500000, 0};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Pass(), 1);
    EXPECT_EQ(TheClock.Frames(), 5);
    // 16 ms and 20 ms frames go straight on; the rest sleep to the
    // sub-millisecond, not a whole millisecond more or less.
    EXPECT_EQ(TheClock.sleeps, (std::vector<int64_t>{13 * Ms, 500000, 16 * Ms}));
    EXPECT_EQ(TheClock.sleepAfterFrame, (std::vector<int>{1, 4, 5}));
    EXPECT_EQ(Running, 1);
}

TEST_F(MainLoopTest, EachWaitingMessageTakesAPassOfItsOwnBeforeAnyFrame) {
    PostTestMessage(window, WM_NULL, 0, 0);
    PostTestMessage(window, WM_KEYDOWN, 'Z', 0);
    PostTestMessage(window, WM_NULL, 5, 0);
    // The translation of Z is a message too.
    for (UINT message : {WM_NULL, WM_KEYDOWN, WM_NULL, WM_CHAR}) {
        EXPECT_EQ(Pass(), 1);
        EXPECT_EQ(msg.message, message);
    }
    EXPECT_EQ(TheClock.reads, 0);

    // A message that arrives during a frame's sleep goes before the next frame.
    TheClock.onSleep = [this](int frame) {
        if (frame == 1) PostTestMessage(window, WM_NULL, 9, 0);
    };
    EXPECT_EQ(Pass(), 1);
    EXPECT_EQ(TheClock.Frames(), 1);
    EXPECT_EQ(Pass(), 1);
    EXPECT_EQ(msg.wParam, 9u);
    EXPECT_EQ(TheClock.Frames(), 1);
    EXPECT_EQ(Pass(), 1);
    EXPECT_EQ(TheClock.Frames(), 2);
    EXPECT_EQ(TheClock.sleeps.size(), 2u);
}

TEST_F(MainLoopTest, ALostDeviceStopsFramesAndWaitsForMessagesUntilItIsRestored) {
    EXPECT_EQ(Pass(), 1);
    ForceDeviceLossState(DeviceLossState::Lost);
    EXPECT_EQ(Pass(), 1);  // this frame's Present finds the device lost
    EXPECT_EQ(Graphics.deviceLost, 1);
    EXPECT_EQ(TheClock.Frames(), 2);
    ASSERT_EQ(TheClock.sleeps.size(), 2u);

    // Each pass with nothing to do waits up to a frame period for a message.
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Pass(), 1);
    EXPECT_EQ(TheClock.Frames(), 2);
    EXPECT_EQ(TheClock.sleeps.size(), 2u);
    EXPECT_EQ(TheClock.waits, std::vector<int64_t>(5, 16 * Ms));
    EXPECT_EQ(Graphics.deviceLost, 1);
    // A waiting message is handled at once, without a wait.
    PostTestMessage(window, WM_NULL, 4, 0);
    EXPECT_EQ(Pass(), 1);
    EXPECT_EQ(msg.wParam, 4u);
    EXPECT_EQ(TheClock.waits.size(), 5u);

    // Back, but not yet reset: the pass resets it and the frame runs at once.
    ForceDeviceLossState(DeviceLossState::NotReset);
    EXPECT_EQ(Pass(), 1);
    EXPECT_EQ(Graphics.deviceLost, 0);
    EXPECT_EQ(TheClock.Frames(), 3);
    EXPECT_EQ(TheClock.sleeps.size(), 3u);
    EXPECT_EQ(TheClock.waits.size(), 5u);
    EXPECT_NE(Graphics.sprite, nullptr);
    EXPECT_EQ(Graphics.device->TestCooperativeLevel(), D3D_OK);
}

TEST(AdjustWindowTest, TheClientAreaComesOutExactAndTheCornerStays) {
    HWND window = OpenTestWindow("Window", WndProc, "Kestoria", 30, 40);
    RECT client, outer;
    ASSERT_TRUE(GetClientRect(window, &client));
    ASSERT_LT(client.right, 640);
    for (int size : {480, 200, 900}) {
        EXPECT_TRUE(AdjustWindowToClient(window, size + 160, size));
        ASSERT_TRUE(GetClientRect(window, &client));
        EXPECT_EQ(client.right, size + 160);
        EXPECT_EQ(client.bottom, size);
        ASSERT_TRUE(GetWindowRect(window, &outer));
        EXPECT_EQ(outer.left, 30);
        EXPECT_EQ(outer.top, 40);
    }
    EXPECT_TRUE(CloseTestWindow(window, "Window"));
}

}  // namespace
