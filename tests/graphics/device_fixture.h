// A window of the game's class and size for the device tests, released
// with everything made on it.
#pragma once
#include <gtest/gtest.h>

#include "graphics/graphics.h"
#include "support/message_box_recorder.h"
#include "support/test_window.h"
#include "shell/shell.h"

class DeviceTest : public testing::Test {
protected:
    void SetUp() override {
        boxes::Record(IDNO);
        window = OpenTestWindow("DeviceTest", DefWindowProcA);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        graphics.Release();
        SetCreateDeviceHook(nullptr);
        ForceDeviceLossState(DeviceLossState::Working);
        CloseTestWindow(window, "DeviceTest");
        boxes::Stop();
    }
    // A full-screen 640 x 480 device with the fixed states applied.
    void MakeDevice() {
        ASSERT_EQ(graphics.Create(window, 640, 480, D3DFMT_X8R8G8B8, TRUE), 1);
        graphics.SetRenderStates();
    }
    DWORD RenderState(D3DRENDERSTATETYPE state) {
        DWORD value = 0xBADBAD;
        EXPECT_EQ(graphics.device->GetRenderState(state, &value), D3D_OK);
        return value;
    }

    HWND window = nullptr;
    DirectGraphics graphics{};
};
