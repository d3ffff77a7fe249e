#include <algorithm>
#include <cstring>

#include "game/actors/enemies.h"
#include "game/records.h"
#include "platform/crt.h"
#include "platform/d3dx9.h"
#include "platform/win32.h"
#include "screen_fixture.h"

class TitleTest : public ScreenTest {
protected:
    static constexpr uint32_t Seed = 20240607;
    // The rain's top row on screen: where this frame's random draw put it.
    int RainTop() const {
        for (int y = 0; y < 480; ++y)
            if (Pixel(RainColumn, y) == RainTopColour) return y;
        return -1;
    }
    bool MenuShows(uint32_t colour) const { return Pixel(250, 310) == colour; }
};

TEST_F(TitleTest, FadesInSlidesTheLogoOpensTheMenuOnTimeAndUpActsBeforeDown) {
    crt::srand(Seed);
    int rainTops[132];
    for (int frame = 1; frame <= 131; ++frame) {
        // Down is held all along; it counts only once the menu has opened.
        ASSERT_EQ(Frame({VK_DOWN}), 1);
        const float slid = (float)std::max(frame - 51, 0);
        ASSERT_EQ(TitleAlpha, std::min(5 * frame, 255)) << frame;
        ASSERT_EQ(LogoX, 2560.0f - 32.0f * slid) << frame;
        ASSERT_EQ(LogoY, -1920.0f + 24.0f * slid) << frame;
        ASSERT_EQ(TitleCursor, 0) << frame;
        ASSERT_EQ(MenuShows(MenuStartColour), frame == 131) << frame;
        rainTops[frame] = RainTop();
        ASSERT_EQ(Pixel(RainColumn, (rainTops[frame] + 479) % 480), RainBottomColour) << frame;
    }
    EXPECT_EQ(Pixel(30, 30), LogoColour);
    EXPECT_EQ(Pixel(110, 30), TitleColour);
    EXPECT_EQ(LoadedSoundSet, SoundSetTitle);

    ASSERT_EQ(Frame({VK_DOWN}), 1);
    EXPECT_EQ(TitleCursor, 1);
    EXPECT_TRUE(MenuShows(MenuQuitColour));
    // Exactly one draw a frame, and it places the rain.
    const int nextDraw = crt::rand();
    crt::srand(Seed);
    for (int frame = 1; frame <= 131; ++frame) EXPECT_EQ(rainTops[frame], crt::rand() % 480) << frame;
    crt::rand();
    EXPECT_EQ(nextDraw, crt::rand());

    // Up and Down together end on quit from either entry.
    Frames(1, {VK_UP});
    Frames(1, {VK_UP, VK_DOWN});
    EXPECT_EQ(TitleCursor, 1);
    Frames(1, {VK_UP, VK_DOWN});
    EXPECT_EQ(TitleCursor, 1);
    Frames(2, {VK_UP});
    EXPECT_EQ(TitleCursor, 0);
    EXPECT_TRUE(MenuShows(MenuStartColour));
}

TEST_F(TitleTest, EnterSkipsToTheRestingLogoAndNeedsAFreshPress) {
    // On the program's first frame Enter is not latched.
    ASSERT_EQ(Frame({VK_RETURN}), 1);
    EXPECT_EQ(LogoX, 0.0f);
    EXPECT_EQ(LogoY, 0.0f);
    EXPECT_EQ(TitleAlpha, 255);

    // After a return to the title the Enter that caused it is held.
    ResetTitle();
    Frames(60, {VK_RETURN});
    EXPECT_EQ(LogoX, 2560.0f - 32.0f * 9);
    EXPECT_EQ(TitleChoice, 0);
    Frames(1);
    EXPECT_EQ(EnterHeld, 0);
    // Pressed with Down mid-slide: the menu opens and the cursor moves in
    // the same frame, but nothing is chosen yet.
    ASSERT_EQ(Frame({VK_RETURN, VK_DOWN}), 1);
    EXPECT_EQ(LogoX, 0.0f);
    EXPECT_EQ(LogoY, 0.0f);
    EXPECT_EQ(TitleCursor, 1);
    EXPECT_TRUE(MenuShows(MenuQuitColour));
    Frames(3, {VK_RETURN});
    EXPECT_EQ(TitleChoice, 0);
}

TEST_F(TitleTest, StartSetsUpTheNewGameAndFadesIntoTheField) {
    // Mid-attack, guarding and knocked back when the title was entered.
    const Player before = {0, 4000.0f, 1200.0f, 4.0f, 7.5f, 2.5f, 1, 3900.0f, 1100.0f, 2, 9, 1, 2, 0, 70};
    ThePlayer = before;
    Shots[3] = Shot{1000.0f, 800.0f, -6.0f, 0.0f, 40.0f, 0, 49, 49, 50, 1};
    Enemies[4].state = 2;
    Enemies[4].spin = 80.0f;
    Boss.state = 0;
    BossHp = -20;

    OpenMenu();
    crt::srand(Seed);
    ASSERT_EQ(Frame({VK_RETURN}), 1);
    EXPECT_EQ(TitleChoice, 1);
    EXPECT_EQ(TitleAlpha, 247);
    // Only these five change; the rest of the player carries over.
    Player newGame = before;
    newGame.x = 300.0f;
    newGame.y = 900.0f;
    newGame.vy = 1.0f;
    newGame.airborne = 0;
    newGame.HP = 300;
    EXPECT_EQ(std::memcmp(&ThePlayer, &newGame, sizeof newGame), 0);
    EXPECT_EQ(Enemies[4].state, 1);
    EXPECT_EQ(Enemies[4].spin, 0.0f);
    EXPECT_EQ(Boss.state, 1);
    EXPECT_EQ(BossHp, 300);

    // The fade ignores the keys; the 84th frame from the choice switches.
    Frames(1);
    Frames(1, {VK_RETURN, VK_DOWN});
    EXPECT_EQ(TitleCursor, 0);
    EXPECT_EQ(TitleChoice, 1);
    Frames(80);
    EXPECT_EQ(TitleAlpha, 1);
    EXPECT_EQ(Scene, SceneTitle);
    EXPECT_LT(Pixel(510, 30) >> 16, 0x80u) << "no farewell after a start";
    ASSERT_EQ(Frame(), 1);
    EXPECT_EQ(Scene, SceneField);
    EXPECT_EQ(TitleAlpha, 0);
    EXPECT_NE(RainTop(), -1);
    EXPECT_EQ(Shots[3].x, 1000.0f);
    EXPECT_EQ(Shots[3].active, 1);
    // The fading title still draws one number a frame.
    const int nextDraw = crt::rand();
    crt::srand(Seed);
    for (int i = 0; i < 84; ++i) crt::rand();
    EXPECT_EQ(nextDraw, crt::rand());

    ASSERT_EQ(Frame(), 1);
    EXPECT_EQ(LoadedSoundSet, SoundSetField);
    EXPECT_NE(Shots[3].x, 1000.0f);
}

TEST_F(TitleTest, QuitFadesIntoTheFarewellAndEndsWithoutDrawing) {
    OpenMenu();
    Frames(1, {VK_DOWN});
    ASSERT_EQ(Frame({VK_RETURN}), 1);
    EXPECT_EQ(TitleChoice, 2);
    EXPECT_NE(Pixel(510, 30), FarewellColour);
    Frames(81);
    // A lost device shows whether a frame presented.
    ForceDeviceLossState(DeviceLossState::Lost);
    Frames(1);
    EXPECT_EQ(Graphics.deviceLost, 1);
    Graphics.deviceLost = 0;
    EXPECT_EQ(TitleAlpha, 1);
    // At strength 254 the farewell all but covers what lies under it.
    const uint32_t farewell = Pixel(510, 30);
    EXPECT_GE(farewell & 0xFF, 0xEEu);
    EXPECT_GE(farewell >> 16, 0xEEu);

    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Graphics.deviceLost, 0);
    ForceDeviceLossState(DeviceLossState::Working);
    EXPECT_EQ(TitleAlpha, 0);
    for (int y = 0; y < 480; ++y) ASSERT_EQ(Pixel(RainColumn, y), ClearColour) << y;
    EXPECT_EQ(Pixel(510, 30), ClearColour);
    // The last frame still closed its scene and its sprite batch.
    EXPECT_TRUE(SUCCEEDED(Graphics.device->BeginScene()));
    EXPECT_TRUE(SUCCEEDED(Graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND)));
    Graphics.sprite->End();
    Graphics.device->EndScene();
}
