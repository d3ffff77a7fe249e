// The frame road and the scene machine, driven through UpdateFrame with a
// real device and sprite, scripted keys and an answered question box.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>

#include "game/frame.h"
#include "game/records.h"
#include "game/sounds.h"
#include "game/stage/stage.h"
#include "game/title.h"
#include "graphics/graphics.h"
#include "platform/d3dx9.h"
#include "platform/testhooks.h"
#include "platform/win32.h"
#include "support/headless_game.h"
#include "support/message_box_recorder.h"
#include "support/test_graphics.h"

namespace {

class FrameTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OpenTestGraphics());
        boxes::Record(IDNO);
        // A flat floor from cell row 28 down; a standing player on it.
        std::memset(MapTiles, 0, sizeof MapTiles);
        std::memset(&MapTiles[1], MaskSolid, sizeof(MapTile));
        for (int row = 0; row < StageRows; ++row)
            for (int column = 0; column < StageColumns; ++column) TileIndexMap[row][column] = row >= 28 ? 1 : 0;
        ResetGameToProgramStart();
        ThePlayer.HP = 300;
        ThePlayer.x = 1000.0f;
        ThePlayer.y = 896.0f;
        ThePlayer.controllable = 1;
        Scene = SceneField;
    }
    void TearDown() override {
        ForceDeviceLossState(DeviceLossState::Working);
        boxes::Stop();
        HoldKeys({});
        CloseTestGraphics();
    }
    int Frame(std::initializer_list<int> down = {}) {
        HoldKeys(down);
        return UpdateFrame(nullptr);
    }
    // Runs one frame and checks where the scene machine and the sounds stand after it.
    void FrameLeaves(int scene, int soundSet, std::initializer_list<int> down = {}) {
        EXPECT_EQ(Frame(down), 1);
        EXPECT_EQ(Scene, scene);
        EXPECT_EQ(LoadedSoundSet, soundSet);
    }
};

TEST_F(FrameTest, UnknownSceneClearsToBlueSetsTheDrawingStatesAndPresents) {
    Graphics.device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    Graphics.device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    Graphics.device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_POINT);
    Graphics.device->SetRenderState(D3DRS_SRCBLEND, 1);
    Graphics.device->SetRenderState(D3DRS_DESTBLEND, 1);
    Scene = 9;
    ThePlayer.x = 6500.0f;
    for (int i = 0; i < 640 * 480; ++i) Graphics.device->BackBuffer()[i] = 0x123456;
    FrameLeaves(9, SoundSetNone);
    EXPECT_EQ(ThePlayer.x, 6500.0f);
    for (int i = 0; i < 640 * 480; ++i) ASSERT_EQ(BackPixel(i % 640, i / 640) & 0xFFFFFF, 0x0000FFu) << i;
    EXPECT_EQ(Graphics.deviceLost, 0);

    DWORD value = 99;
    Graphics.device->GetRenderState(D3DRS_SRCBLEND, &value);
    EXPECT_EQ(value, D3DBLEND_SRCALPHA);
    Graphics.device->GetRenderState(D3DRS_DESTBLEND, &value);
    EXPECT_EQ(value, D3DBLEND_INVSRCALPHA);
    for (D3DSAMPLERSTATETYPE type : {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MIPFILTER}) {
        Graphics.device->GetSamplerState(0, type, &value);
        EXPECT_EQ(value, D3DTEXF_NONE) << type;
    }

    ForceDeviceLossState(DeviceLossState::Lost);
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Graphics.deviceLost, 1) << "Present on a lost device raises the flag";
}

TEST_F(FrameTest, FailedBeginSkipsTheBodyButClosesAndPresents) {
    ThePlayer.x = 6500.0f;  // a field body would switch to the boss
    ASSERT_TRUE(SUCCEEDED(Graphics.device->BeginScene()));  // the frame's own BeginScene now fails
    FrameLeaves(SceneField, SoundSetNone);
    Graphics.device->EndScene();

    ASSERT_TRUE(SUCCEEDED(Graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND)));  // and now the batch's Begin
    FrameLeaves(SceneField, SoundSetNone);
    EXPECT_TRUE(SUCCEEDED(Graphics.device->BeginScene())) << "the frame ended its scene";
    Graphics.device->EndScene();
    Graphics.sprite->End();
    FrameLeaves(SceneBoss, SoundSetField);
}

TEST_F(FrameTest, BossPartStartsStrictlyPastTheGateAndEachSceneLoadsItsSounds) {
    Scene = SceneTitle;
    FrameLeaves(SceneTitle, SoundSetTitle);
    Scene = SceneField;
    ThePlayer.x = 6000.0f;
    FrameLeaves(SceneField, SoundSetField);
    FrameLeaves(SceneField, SoundSetField);
    // A continue after a death in the field keeps the field's set.
    Scene = SceneContinue;
    for (int i = 0; i < 5; ++i) FrameLeaves(SceneContinue, SoundSetField);
    Scene = SceneField;

    ThePlayer.x = std::nextafter(6000.0f, 7000.0f);
    FrameLeaves(SceneBoss, SoundSetField);  // the switching frame is still a field frame
    FrameLeaves(SceneBoss, SoundSetBoss);
}

TEST_F(FrameTest, EscAsksOnEveryFrameItIsDownAndYesOrEnterAfterTheBossFallsReturnsToTheTitle) {
    LoadedSoundSet = SoundSetField;
    FrameLeaves(SceneField, SoundSetField, {VK_ESCAPE});
    ASSERT_EQ((int)boxes::Seen.size(), 1);
    EXPECT_EQ(boxes::Seen.back().owner, nullptr);
    EXPECT_EQ(boxes::Seen.back().text, "タイトルに戻ります。よろしいですか？");
    EXPECT_EQ(boxes::Seen.back().caption, "タイトルに戻る");
    EXPECT_EQ(boxes::Seen.back().type, 0x1024u);
    Frame({VK_ESCAPE});
    Frame();
    EXPECT_EQ((int)boxes::Seen.size(), 2);

    boxes::Reply = IDYES;
    FrameLeaves(SceneTitle, SoundSetField, {VK_ESCAPE});
    FrameLeaves(SceneTitle, SoundSetTitle);  // the next frame is a title frame
    EXPECT_EQ((int)boxes::Seen.size(), 3);

    Scene = SceneBoss;
    LoadedSoundSet = SoundSetBoss;
    ThePlayer.x = 6200.0f;
    FrameLeaves(SceneTitle, SoundSetBoss, {VK_ESCAPE});
    EXPECT_EQ((int)boxes::Seen.size(), 4);

    // Enter leaves the boss part only after the boss's defeat.
    Scene = SceneBoss;
    FrameLeaves(SceneBoss, SoundSetBoss, {VK_RETURN});
    BossHp = 0;
    FrameLeaves(SceneTitle, SoundSetBoss, {VK_RETURN});
    EXPECT_EQ(EnterHeld, 1) << "the same press must not act on the title";

    Scene = SceneBoss;
    BossHp = -40;
    FrameLeaves(SceneBoss, SoundSetBoss);
    FrameLeaves(SceneTitle, SoundSetBoss, {VK_RETURN});
}

}  // namespace
