// The title and continue screens at the edges the golden replays pass
// over: keys held across the moment they start to count, the quit's last
// frame, giving up, a continue back into the boss part.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "game/frame.h"
#include "game/records.h"
#include "game/resources.h"
#include "game/sounds.h"
#include "game/title.h"
#include "graphics/graphics.h"
#include "platform/d3dx9.h"
#include "platform/testhooks.h"
#include "sound/sound.h"
#include "tools/replay/headless_game.h"
#include "support/test_graphics.h"

namespace {

constexpr uint32_t ClearColour = 0x0000FF;

class ScreenTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OpenTestGraphics());
        // Every screen picture opaque grey, so any drawing shows.
        for (IDirect3DTexture9*& texture : SceneTextures)
            texture = MakeTestTexture(640, 480, [](int, int) { return 0xFF808080u; });
        ResetGameToProgramStart();
        Scene = SceneTitle;
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
};

TEST_F(ScreenTest, TitleEnterSkipsTheSlideOnlyOnAFreshPress) {
    Frames(1, {VK_RETURN});  // the program's first frame has no latch
    EXPECT_EQ(LogoX, 0.0f);
    EXPECT_EQ(LogoY, 0.0f);
    EXPECT_EQ(TitleAlpha, 255);

    ResetTitle();  // as a return to the title leaves it: the Enter is held
    Frames(60, {VK_RETURN});
    EXPECT_EQ(LogoX, 2560.0f - 32.0f * 9);
    Frames(1);
    Frames(1, {VK_RETURN, VK_DOWN});  // opens the menu and moves in one frame, chooses nothing
    EXPECT_EQ(LogoX, 0.0f);
    EXPECT_EQ(TitleCursor, 1);
    Frames(3, {VK_RETURN});
    EXPECT_EQ(TitleChoice, 0);
}

TEST_F(ScreenTest, QuitsLastFrameNeitherDrawsNorPresentsButClosesItsBatch) {
    Frames(131);
    Frames(1, {VK_DOWN});
    Frames(1, {VK_RETURN});
    Frames(82);
    EXPECT_EQ(TitleAlpha, 1);
    ForceDeviceLossState(DeviceLossState::Lost);  // shows whether a frame presented
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Graphics.deviceLost, 0);
    ForceDeviceLossState(DeviceLossState::Working);
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 640; x += 7) ASSERT_EQ(BackPixel(x, y) & 0xFFFFFF, ClearColour) << x << "," << y;
    EXPECT_TRUE(SUCCEEDED(Graphics.device->BeginScene()));
    EXPECT_TRUE(SUCCEEDED(Graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND)));
    Graphics.sprite->End();
    Graphics.device->EndScene();
}

class ContinueTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Scene = SceneContinue;
        LoadedSoundSet = SoundSetField;
    }
};

TEST_F(ContinueTest, KeysCountFromFullStrengthAndTheChoiceActsSixtyTwoFramesLater) {
    Frames(63, {VK_RETURN, VK_RIGHT});
    EXPECT_EQ(ContinueDelay, 0);
    Frames(1, {VK_RETURN, VK_RIGHT});  // Enter wins over Right
    EXPECT_EQ(ContinueDelay, 62);
    EXPECT_EQ(ContinueCursor, 0);
    Frames(61, {VK_RETURN, VK_RIGHT});
    EXPECT_EQ(Scene, SceneContinue);
    Frames(1);
    EXPECT_EQ(Scene, SceneField);
    EXPECT_EQ(ContinueAlpha, 0);

    Scene = SceneContinue;
    Frames(63, {VK_RIGHT});
    EXPECT_EQ(ContinueCursor, 0);
    Frames(1, {VK_RIGHT});
    EXPECT_EQ(ContinueCursor, 1);
    Frames(1, {VK_LEFT, VK_RIGHT});
    EXPECT_EQ(ContinueCursor, 1) << "Right sees the cursor as Left left it";
}

TEST_F(ContinueTest, GiveUpResetsTheTitleAtOnceAndSwitchesLater) {
    TitleCursor = TitleChoice = 1;
    TitleAlpha = 200;
    LogoX = LogoY = 0.0f;
    ContinueCursor = 1;
    Frames(63);
    Frames(1, {VK_RETURN});
    EXPECT_EQ(TitleCursor, 0);
    EXPECT_EQ(TitleChoice, 0);
    EXPECT_EQ(TitleAlpha, 0);
    EXPECT_EQ(LogoX, 2560.0f);
    EXPECT_EQ(LogoY, -1920.0f);
    EXPECT_EQ(EnterHeld, 1);
    Frames(62, {VK_RETURN});
    EXPECT_EQ(Scene, SceneTitle);
    Frames(1, {VK_RETURN});
    EXPECT_EQ(LogoX, 2560.0f) << "the held Enter waits";
}

TEST_F(ContinueTest, BackIntoTheBossPartThroughOneFieldFrameWithTheBossAfresh) {
    LoadedSoundSet = SoundSetBoss;
    ThePlayer.x = 6100.0f;
    BossHp = 20;
    Boss.kind = 2;
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

}  // namespace
