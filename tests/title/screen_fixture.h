// A real device and sprite batch with small marked pictures in the scene
// table, and frames run through UpdateFrame with scripted keys.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

// Each picture is transparent but for one opaque marker of its own colour.
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
    void SetUp() override;
    void TearDown() override;

    int Frame(std::initializer_list<int> keys = {});
    // Frames that must all go on (result 1).
    void Frames(int count, std::initializer_list<int> keys = {});
    // Without the unused top byte.
    uint32_t Pixel(int x, int y) const;
    // Title frames without keys until the logo rests and the menu opens.
    void OpenMenu() { Frames(131); }
};
