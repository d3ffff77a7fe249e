#include <cstring>

#include "game/records.h"
#include "platform/win32.h"
#include "screen_fixture.h"

class ContinueTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Scene = SceneContinue;
        LoadedSoundSet = SoundSetField;
    }
    uint32_t Picture() const { return Pixel(320, 220); }
};

TEST_F(ContinueTest, ChoiceWaitsForFullStrengthAndContinuesWhereThePlayerFell) {
    // Fallen into a pit in mid-attack, guarding and knocked back.
    const Player fallen = {0, 2500.0f, 1130.0f, 4.0f, 6.0f, 1.5f, 1, 2400.0f, 1000.0f, 3, 5, 2, 1, 0, 90};
    ThePlayer = fallen;
    Enemies[2].x = 1234.0f;
    // Enter and Right held throughout: the choice falls on the 64th frame,
    // on the cursor as it stood.
    for (int frame = 1; frame <= 63; ++frame) {
        ASSERT_EQ(Frame({VK_RETURN, VK_RIGHT}), 1);
        ASSERT_EQ(ContinueAlpha, 4 * frame);
        ASSERT_EQ(ContinueDelay, 0);
    }
    Frames(1, {VK_RETURN, VK_RIGHT});
    EXPECT_EQ(ContinueAlpha, 255);
    EXPECT_EQ(ContinueDelay, 62);
    EXPECT_EQ(ContinueCursor, 0);
    Frames(61, {VK_RETURN, VK_RIGHT});
    EXPECT_EQ(Scene, SceneContinue);
    EXPECT_EQ(ContinueDelay, 1);
    EXPECT_EQ(Picture(), ContinueColour);

    Frames(1, {VK_RETURN, VK_RIGHT});
    EXPECT_EQ(Scene, SceneField);
    EXPECT_EQ(ContinueDelay, 0);
    EXPECT_EQ(ContinueAlpha, 0);
    EXPECT_NE(Picture(), ContinueColour);
    // Back where it fell, feet at 100, still in its knock-back.
    Player back = fallen;
    back.HP = 300;
    back.y = 100.0f;
    back.attackState = back.guardState = back.airborne = 0;
    EXPECT_EQ(std::memcmp(&ThePlayer, &back, sizeof back), 0);
    EXPECT_EQ(Enemies[2].x, 1234.0f);
    EXPECT_EQ(LoadedSoundSet, SoundSetField);
}

TEST_F(ContinueTest, CursorMovesOnlyAtFullStrengthAndIsKeptForTheNextScreen) {
    Frames(63, {VK_RIGHT});
    EXPECT_EQ(ContinueCursor, 0);
    Frames(1, {VK_RIGHT});
    EXPECT_EQ(ContinueCursor, 1);
    EXPECT_EQ(Picture(), GiveUpColour);
    Frames(1, {VK_LEFT, VK_RIGHT});
    EXPECT_EQ(ContinueCursor, 1) << "Right sees the cursor as Left left it";
    Frames(1, {VK_LEFT});
    EXPECT_EQ(ContinueCursor, 0);
    EXPECT_EQ(Picture(), ContinueColour);
    Frames(1, {VK_RIGHT});

    // A second screen starts from nothing, on the cursor left behind.
    ContinueAlpha = 0;
    Frames(64);
    EXPECT_EQ(ContinueCursor, 1);
    EXPECT_EQ(Picture(), GiveUpColour);
}

TEST_F(ContinueTest, GiveUpResetsTheTitleAtOnceAndReturnsToItLater) {
    LoadedSoundSet = SoundSetBoss;
    TitleCursor = TitleChoice = 1;
    TitleAlpha = 200;
    LogoX = LogoY = 0.0f;
    ContinueCursor = 1;
    Frames(63);
    Frames(1, {VK_RETURN, VK_LEFT});
    EXPECT_EQ(ContinueCursor, 1);
    EXPECT_EQ(ContinueDelay, 62);
    EXPECT_EQ(TitleCursor, 0);
    EXPECT_EQ(TitleChoice, 0);
    EXPECT_EQ(TitleAlpha, 0);
    EXPECT_EQ(LogoX, 2560.0f);
    EXPECT_EQ(LogoY, -1920.0f);
    EXPECT_EQ(EnterHeld, 1);
    Frames(61, {VK_RETURN});
    EXPECT_EQ(Scene, SceneContinue);
    Frames(1, {VK_RETURN});
    EXPECT_EQ(Scene, SceneTitle);
    EXPECT_EQ(ContinueAlpha, 0);

    // The title starts fresh: its sounds load, and the held Enter waits.
    Frames(1, {VK_RETURN});
    EXPECT_EQ(LoadedSoundSet, SoundSetTitle);
    EXPECT_EQ(TitleAlpha, 5);
    EXPECT_EQ(LogoX, 2560.0f);
}

TEST_F(ContinueTest, ContinueInTheBossPartPassesOneFieldFrameAndResetsTheBoss) {
    LoadedSoundSet = SoundSetBoss;
    ThePlayer.x = 6100.0f;
    BossHp = 20;
    Boss.kind = 2;
    Boss.state = 1;
    Frames(63);
    Frames(1, {VK_RETURN});
    Frames(62);
    ASSERT_EQ(Scene, SceneField);
    Frames(1);
    EXPECT_EQ(LoadedSoundSet, SoundSetField);
    EXPECT_EQ(Scene, SceneBoss);
    EXPECT_EQ(BossHp, 20);
    Frames(1);
    EXPECT_EQ(LoadedSoundSet, SoundSetBoss);
    EXPECT_EQ(BossHp, 300);
    EXPECT_EQ(Boss.kind, 0);
}
