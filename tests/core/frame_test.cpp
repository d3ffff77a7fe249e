// The frame road and the scene machine, driven through UpdateFrame with a
// real device and sprite, scripted keys and an answered question box.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <string>

#include "game/frame.h"
#include "game/records.h"
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

constexpr float FloorYPx = 896.0f;  // top of cell row 28

class FrameTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OpenTestGraphics());
        boxes::Record(IDNO);

        // A flat floor under the whole stage; a standing player on it.
        std::memset(MapTiles, 0, sizeof MapTiles);
        std::memset(&MapTiles[1], MaskSolid, sizeof(MapTile));
        for (int row = 0; row < StageRows; ++row)
            for (int column = 0; column < StageColumns; ++column) TileIndexMap[row][column] = row >= 28 ? 1 : 0;
        ThePlayer = {};
        ThePlayer.HP = 300;
        ThePlayer.x = 1000.0f;
        ThePlayer.y = FloorYPx;
        ThePlayer.controllable = 1;
        std::memset(Enemies, 0, sizeof Enemies);
        std::memset(Shots, 0, sizeof Shots);
        Boss = {};
        BossHp = BossStartHp;
        Scene = SceneField;
        LoadedSoundSet = SoundSetNone;
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

    void FillBackBuffer(uint32_t colour) {
        uint32_t* pixels = Graphics.device->BackBuffer();
        for (int i = 0; i < 640 * 480; ++i) pixels[i] = colour;
    }
    bool BackBufferIs(uint32_t rgb) {
        const uint32_t* pixels = Graphics.device->BackBuffer();
        for (int i = 0; i < 640 * 480; ++i)
            if ((pixels[i] & 0xFFFFFF) != rgb) return false;
        return true;
    }
};

TEST_F(FrameTest, FrameClearsToBlueBlendsByAlphaAndSamplesUnfiltered) {
    Graphics.device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    Graphics.device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    Graphics.device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_POINT);
    Graphics.device->SetRenderState(D3DRS_SRCBLEND, 1);
    Graphics.device->SetRenderState(D3DRS_DESTBLEND, 1);
    // A scene the game does not have: blue, nothing updated, still presented.
    Scene = 9;
    ThePlayer.x = 6500.0f;
    FillBackBuffer(0x123456);
    EXPECT_EQ(Frame(), 1);
    EXPECT_TRUE(BackBufferIs(0x0000FF));
    EXPECT_EQ(Scene, 9);
    EXPECT_EQ(ThePlayer.x, 6500.0f);
    EXPECT_EQ(LoadedSoundSet, SoundSetNone);

    DWORD value = 99;
    Graphics.device->GetRenderState(D3DRS_SRCBLEND, &value);
    EXPECT_EQ(value, D3DBLEND_SRCALPHA);
    Graphics.device->GetRenderState(D3DRS_DESTBLEND, &value);
    EXPECT_EQ(value, D3DBLEND_INVSRCALPHA);
    for (D3DSAMPLERSTATETYPE type : {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MIPFILTER}) {
        Graphics.device->GetSamplerState(0, type, &value);
        EXPECT_EQ(value, D3DTEXF_NONE) << type;
    }
}

TEST_F(FrameTest, PresentOnALostDeviceRaisesTheFlag) {
    Scene = 9;
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Graphics.deviceLost, 0);
    ForceDeviceLossState(DeviceLossState::Lost);
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Graphics.deviceLost, 1);
}

TEST_F(FrameTest, FailedBeginSkipsTheBodyButClosesAndPresents) {
    ThePlayer.x = 6500.0f;  // a field body would switch to the boss

    ASSERT_TRUE(SUCCEEDED(Graphics.device->BeginScene()));  // the frame's own BeginScene now fails
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Scene, SceneField);
    EXPECT_EQ(LoadedSoundSet, SoundSetNone);
    Graphics.device->EndScene();

    ASSERT_TRUE(SUCCEEDED(Graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND)));  // and now the batch's Begin
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Scene, SceneField);
    EXPECT_EQ(LoadedSoundSet, SoundSetNone);
    EXPECT_TRUE(SUCCEEDED(Graphics.device->BeginScene())) << "the frame ended its scene";
    Graphics.device->EndScene();
    Graphics.sprite->End();

    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Scene, SceneBoss);
}

TEST_F(FrameTest, BossPartStartsStrictlyPastTheGate) {
    ThePlayer.x = 6000.0f;
    Frame();
    EXPECT_EQ(Scene, SceneField);
    EXPECT_EQ(LoadedSoundSet, SoundSetField);
    Frame();
    EXPECT_EQ(Scene, SceneField);

    ThePlayer.x = std::nextafter(6000.0f, 7000.0f);
    Frame();
    EXPECT_EQ(Scene, SceneBoss);
    EXPECT_EQ(LoadedSoundSet, SoundSetField) << "the switching frame is still a field frame";
    Frame();
    EXPECT_EQ(Scene, SceneBoss);
    EXPECT_EQ(LoadedSoundSet, SoundSetBoss);
}

TEST_F(FrameTest, EscAsksOnEveryFrameItIsDownAndYesReturnsToTheTitle) {
    LoadedSoundSet = SoundSetField;
    boxes::Reply = IDNO;
    Frame({VK_ESCAPE});
    EXPECT_EQ((int)boxes::Seen.size(), 1);
    EXPECT_EQ(boxes::Seen.back().owner, nullptr);
    EXPECT_EQ(boxes::Seen.back().text, "タイトルに戻ります。よろしいですか？");
    EXPECT_EQ(boxes::Seen.back().caption, "タイトルに戻る");
    EXPECT_EQ(boxes::Seen.back().type, 0x1024u);
    EXPECT_EQ(Scene, SceneField);
    Frame({VK_ESCAPE});
    EXPECT_EQ((int)boxes::Seen.size(), 2);
    Frame();
    EXPECT_EQ((int)boxes::Seen.size(), 2);

    boxes::Reply = IDYES;
    Frame({VK_ESCAPE});
    EXPECT_EQ((int)boxes::Seen.size(), 3);
    EXPECT_EQ(Scene, SceneTitle);
    EXPECT_EQ(LoadedSoundSet, SoundSetField);
    Frame();
    EXPECT_EQ(LoadedSoundSet, SoundSetTitle) << "the next frame is a title frame";
    EXPECT_EQ((int)boxes::Seen.size(), 3);

    // The same in the boss part.
    Scene = SceneBoss;
    LoadedSoundSet = SoundSetBoss;
    ThePlayer.x = 6200.0f;
    Frame({VK_ESCAPE});
    EXPECT_EQ((int)boxes::Seen.size(), 4);
    EXPECT_EQ(Scene, SceneTitle);
}

TEST_F(FrameTest, EnterLeavesTheBossPartOnlyAfterItsDefeat) {
    Scene = SceneBoss;
    LoadedSoundSet = SoundSetBoss;
    ThePlayer.x = 6200.0f;
    Frame({VK_RETURN});
    EXPECT_EQ(Scene, SceneBoss);

    BossHp = 0;
    Frame({VK_RETURN});
    EXPECT_EQ(Scene, SceneTitle);
    EXPECT_EQ(EnterHeld, 1) << "the same press must not act on the title";

    Scene = SceneBoss;
    BossHp = -40;
    Frame();
    EXPECT_EQ(Scene, SceneBoss);
    Frame({VK_RETURN});
    EXPECT_EQ(Scene, SceneTitle);
}

TEST_F(FrameTest, SoundSetsFollowTheScenes) {
    Scene = SceneTitle;
    Frame();
    EXPECT_EQ(LoadedSoundSet, SoundSetTitle);

    Scene = SceneField;
    Frame();
    EXPECT_EQ(LoadedSoundSet, SoundSetField);

    // A continue after a death in the field keeps the field's set.
    Scene = SceneContinue;
    for (int i = 0; i < 5; ++i) Frame();
    EXPECT_EQ(LoadedSoundSet, SoundSetField);
    Scene = SceneField;
    Frame();
    EXPECT_EQ(LoadedSoundSet, SoundSetField);

    // A continue from the boss part past the gate: one field frame loads the
    // field's set and sends the game back to the boss, which loads its own.
    LoadedSoundSet = SoundSetBoss;
    ThePlayer.x = 6300.0f;
    Frame();
    EXPECT_EQ(LoadedSoundSet, SoundSetField);
    EXPECT_EQ(Scene, SceneBoss);
    Frame();
    EXPECT_EQ(LoadedSoundSet, SoundSetBoss);
}

TEST_F(FrameTest, QuitFrameReturnsZeroWithoutPresenting) {
    Scene = SceneTitle;
    LoadedSoundSet = SoundSetTitle;
    TitleChoice = 2;
    TitleAlpha = 0;
    LogoX = 0.0f;
    LogoY = 0.0f;
    ForceDeviceLossState(DeviceLossState::Lost);
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Graphics.deviceLost, 0) << "nothing was presented";
    ForceDeviceLossState(DeviceLossState::Working);
    EXPECT_TRUE(SUCCEEDED(Graphics.device->BeginScene())) << "the scene was ended";
    EXPECT_TRUE(SUCCEEDED(Graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND))) << "the batch was ended";
    Graphics.sprite->End();
    Graphics.device->EndScene();
    ResetTitle();
}

}  // namespace
