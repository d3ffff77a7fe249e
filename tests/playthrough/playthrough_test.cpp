// The whole game played through, headless: from the title through the
// field and the boss fight to the stage-clear picture and back to the
// title, by a scripted player that reads the records, for fixed seeds.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

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

struct Journey {
    int frames = 0;
    int deaths = 0;
    int firstFieldFrame = -1;
    int firstBossFrame = -1;
    int clearFrame = -1;
    bool clearShown = false;
    int titleAgainFrame = -1;
    int lowestHp = 300;
};

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

    Journey Play() {
        Journey run;
        Bot bot;
        int lastScene = Scene;
        for (; run.frames < FrameLimit; ++run.frames) {
            BotKeys keys = bot.Decide();
            SetKeyboardState(keys.state);
            int result = UpdateFrame(nullptr);
            EXPECT_EQ(result, 1) << "the game ended at frame " << run.frames;
            if (result != 1) break;
            if (Scene == SceneField && run.firstFieldFrame < 0) run.firstFieldFrame = run.frames;
            if (Scene == SceneBoss && run.firstBossFrame < 0) run.firstBossFrame = run.frames;
            if (Scene == SceneContinue && lastScene != SceneContinue) {
                ++run.deaths;
                std::printf("  death at frame %d, x %.0f y %.0f, life %d\n", run.frames, ThePlayer.x, ThePlayer.y,
                            ThePlayer.HP);
            }
            if (Scene == SceneField || Scene == SceneBoss) run.lowestHp = std::min(run.lowestHp, ThePlayer.HP);
            if (BossHp <= 0 && Scene == SceneBoss) {
                if (run.clearFrame < 0) run.clearFrame = run.frames;
                if (graphics.device->BackBuffer()[GoldRuleY * 640 + 320] == StageClearGold) run.clearShown = true;
            }
            if (Scene == SceneTitle && run.clearFrame >= 0) {
                run.titleAgainFrame = run.frames;
                break;
            }
            lastScene = Scene;
        }
        return run;
    }

    InDataDirectory dir;
    GameDevice graphics;
};

TEST_P(Playthrough, FromTheTitleThroughTheBossToTheStageClearAndBack) {
    crt::srand(GetParam());
    Journey run = Play();
    std::printf("seed %u: %d frames, field from %d, boss from %d, cleared at %d, %d deaths, lowest life %d\n",
                GetParam(), run.frames, run.firstFieldFrame, run.firstBossFrame, run.clearFrame, run.deaths,
                run.lowestHp);
    EXPECT_GE(run.firstFieldFrame, 0) << "never left the title";
    EXPECT_GT(run.firstBossFrame, run.firstFieldFrame) << "never reached the boss, stopped at x " << ThePlayer.x;
    ASSERT_GT(run.clearFrame, run.firstBossFrame) << "the boss was not beaten; its life " << BossHp;
    EXPECT_TRUE(run.clearShown) << "the stage-clear picture was not on the screen";
    EXPECT_GT(run.titleAgainFrame, run.clearFrame) << "Enter did not return to the title";
    EXPECT_EQ(Scene, SceneTitle);
    EXPECT_EQ(TitleChoice, 0);
    EXPECT_EQ(TitleAlpha, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, Playthrough, ::testing::Values(1u, 20240607u, 987654321u));

}  // namespace
