// A real device and sprite batch with small marked pictures in the scene
// table, and frames run through UpdateFrame with scripted keys.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

#include "game/frame.h"
#include "game/resources.h"
#include "game/title.h"
#include "graphics/graphics.h"
#include "platform/testhooks.h"
#include "support/headless_game.h"
#include "support/test_graphics.h"

// Each picture is transparent but for opaque markers of its own colours.
constexpr uint32_t RainTopColour = 0x3060C0;     // rain row 0, whole width
constexpr uint32_t RainBottomColour = 0x60C030;  // rain row 479, whole width
constexpr uint32_t LogoColour = 0xC03060;        // logo (20..40, 20..40)
constexpr uint32_t TitleColour = 0xA0A020;       // title (100..120, 20..40)
constexpr uint32_t MenuStartColour = 0x20A0A0;   // menu rows 0..99
constexpr uint32_t MenuQuitColour = 0xA020A0;    // menu rows 100..199
constexpr uint32_t FarewellColour = 0xF0F0F0;    // farewell (500..520, 20..40)
constexpr uint32_t ContinueColour = 0x40F040;    // continue (300..340, 200..240)
constexpr uint32_t GiveUpColour = 0xF04040;      // give up, same place
constexpr uint32_t ClearColour = 0x0000FF;       // the frame's clear

constexpr int RainColumn = 600;  // no marker but the rain's crosses it

class ScreenTest : public testing::Test {
protected:
    struct Mark {
        int left, top, right, bottom;  // half-open
        uint32_t colour;
    };
    static IDirect3DTexture9* MarkedPicture(int width, int height, std::initializer_list<Mark> marks) {
        return MakeTestTexture(width, height, [&](int u, int v) {
            for (const Mark& m : marks)
                if (u >= m.left && u < m.right && v >= m.top && v < m.bottom) return 0xFF000000u | m.colour;
            return 0u;
        });
    }

    void SetUp() override {
        ASSERT_TRUE(OpenTestGraphics());
        SceneTextures[0] = MarkedPicture(640, 480, {{0, 0, 640, 1, RainTopColour}, {0, 479, 640, 480, RainBottomColour}});
        SceneTextures[1] = MarkedPicture(640, 480, {{20, 20, 40, 40, LogoColour}});
        SceneTextures[2] = MarkedPicture(640, 480, {{100, 20, 120, 40, TitleColour}});
        SceneTextures[3] = MarkedPicture(160, 200, {{0, 0, 160, 100, MenuStartColour}, {0, 100, 160, 200, MenuQuitColour}});
        SceneTextures[4] = MarkedPicture(640, 480, {{500, 20, 520, 40, FarewellColour}});
        SceneTextures[5] = MarkedPicture(640, 480, {{300, 200, 340, 240, ContinueColour}});
        SceneTextures[6] = MarkedPicture(640, 480, {{300, 200, 340, 240, GiveUpColour}});
        Scene = SceneTitle;
        ResetGameToProgramStart();
    }
    void TearDown() override {
        for (IDirect3DTexture9*& texture : SceneTextures) {
            if (texture) texture->Release();
            texture = nullptr;
        }
        CloseTestGraphics();
        ForceDeviceLossState(DeviceLossState::Working);
    }

    int Frame(std::initializer_list<int> keys = {}) {
        HoldKeys(keys);
        return UpdateFrame(nullptr);
    }
    // Frames that must all go on (result 1).
    void Frames(int count, std::initializer_list<int> keys = {}) {
        for (int i = 0; i < count; ++i) ASSERT_EQ(Frame(keys), 1);
    }
    // Without the unused top byte.
    uint32_t Pixel(int x, int y) const { return BackPixel(x, y) & 0xFFFFFFu; }
    // Title frames without keys until the logo rests and the menu opens.
    void OpenMenu() { Frames(131); }
};
