// The whole game played through, headless: from the title through the
// field and the boss fight to the stage-clear picture and back to the
// title, by a scripted player that reads the records, for fixed seeds.
#include <gtest/gtest.h>

#include <cstdio>

#include "tools/replay/bot.h"
#include "support/data_tree.h"
#include "support/game_device.h"
#include "game/frame.h"
#include "game/records.h"
#include "game/resources.h"
#include "game/title.h"
#include "platform/crt.h"
#include "platform/d3dx9.h"
#include "sound/sound.h"

namespace {

constexpr int FrameLimit = 20000;  // five times what the scripted player needs
constexpr uint32_t StageClearGold = 0xFFFFD66Bu;  // the banner's rule across the stage-clear picture
constexpr int GoldRuleY = 150;

class Playthrough : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok()) << "KESTORIA_DATA_DIR must name the built data tree";
        ASSERT_TRUE(graphics.ok());
        LoadResources();
        InitSound(nullptr);
    }
    void TearDown() override {
        ReleaseSound();
        ReleaseTextures();
    }
    InDataDirectory dir;
    GameDevice graphics;
};

TEST_P(Playthrough, FromTheTitleThroughTheBossToTheStageClearAndBack) {
    crt::srand(GetParam());
    Bot bot;
    int frame = 0, field = -1, boss = -1, clear = -1, titleAgain = -1;
    bool clearShown = false;
    for (; frame < FrameLimit && titleAgain < 0; ++frame) {
        BotKeys keys = bot.Decide();
        SetKeyboardState(keys.state);
        ASSERT_EQ(UpdateFrame(nullptr), 1) << "the game ended at frame " << frame;
        if (Scene == SceneField && field < 0) field = frame;
        if (Scene == SceneBoss && boss < 0) boss = frame;
        if (BossHp <= 0 && Scene == SceneBoss) {
            if (clear < 0) clear = frame;
            clearShown |= graphics.device->BackBuffer()[GoldRuleY * 640 + 320] == StageClearGold;
        }
        if (Scene == SceneTitle && clear >= 0) titleAgain = frame;
    }
    std::printf("seed %u: field from %d, boss from %d, cleared at %d, title at %d\n", GetParam(), field, boss, clear,
                titleAgain);
    EXPECT_GE(field, 0) << "never left the title";
    EXPECT_GT(boss, field) << "never reached the boss, stopped at x " << ThePlayer.x;
    ASSERT_GT(clear, boss) << "the boss was not beaten; its life " << BossHp;
    EXPECT_TRUE(clearShown) << "the stage-clear picture was not on the screen";
    EXPECT_GT(titleAgain, clear) << "Enter did not return to the title";
    EXPECT_EQ(TitleChoice, 0);
    EXPECT_EQ(TitleAlpha, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, Playthrough, ::testing::Values(1u, 20240607u, 987654321u));

}  // namespace
