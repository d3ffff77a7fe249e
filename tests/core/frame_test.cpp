// The frame road where the golden replays do not reach: states spoiled
// before a frame, failed begins, a lost device, the gate's exact frame and
// the edges of the boss's body.
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
#include "platform/crt.h"
#include "platform/d3dx9.h"
#include "platform/testhooks.h"
#include "support/actor_scene.h"
#include "tools/replay/headless_game.h"
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
        StandPlayer(1000.0f, 896.0f, 0);
        Scene = SceneField;
    }
    void TearDown() override {
        ForceDeviceLossState(DeviceLossState::Working);
        boxes::Stop();
        HoldKeys({});
        CloseTestGraphics();
    }
    // Runs one frame and checks where the scene machine and the sounds stand after it.
    void FrameLeaves(int scene, int soundSet, std::initializer_list<int> down = {}) {
        HoldKeys(down);
        EXPECT_EQ(UpdateFrame(nullptr), 1);
        EXPECT_EQ(Scene, scene);
        EXPECT_EQ(LoadedSoundSet, soundSet);
    }
};

TEST_F(FrameTest, UnknownSceneClearsToBlueSetsTheDrawingStatesAndPresents) {
    IDirect3DDevice9* device = Graphics.device;
    for (D3DSAMPLERSTATETYPE type : {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MIPFILTER})
        device->SetSamplerState(0, type, D3DTEXF_LINEAR);
    device->SetRenderState(D3DRS_SRCBLEND, 1);
    device->SetRenderState(D3DRS_DESTBLEND, 1);
    Scene = 9;
    ThePlayer.x = 6500.0f;
    for (int i = 0; i < 640 * 480; ++i) device->BackBuffer()[i] = 0x123456;
    FrameLeaves(9, SoundSetNone);
    EXPECT_EQ(ThePlayer.x, 6500.0f);
    for (int i = 0; i < 640 * 480; ++i) ASSERT_EQ(BackPixel(i % 640, i / 640) & 0xFFFFFF, 0x0000FFu) << i;
    EXPECT_EQ(Graphics.deviceLost, 0);

    DWORD value[5] = {};
    device->GetRenderState(D3DRS_SRCBLEND, &value[0]);
    device->GetRenderState(D3DRS_DESTBLEND, &value[1]);
    device->GetSamplerState(0, D3DSAMP_MINFILTER, &value[2]);
    device->GetSamplerState(0, D3DSAMP_MAGFILTER, &value[3]);
    device->GetSamplerState(0, D3DSAMP_MIPFILTER, &value[4]);
    const DWORD want[5] = {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTEXF_NONE, D3DTEXF_NONE, D3DTEXF_NONE};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(value[i], want[i]) << i;

    ForceDeviceLossState(DeviceLossState::Lost);
    FrameLeaves(9, SoundSetNone);
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

// At x = 6000 the frame is the field's and strikes the enemies; a hair past
// it the same frame turns into the boss part and its strike looks for the
// boss only, though an enemy stands in the box.
TEST_F(FrameTest, TheGateFrameStrikesAsTheSceneItLeavesBehind) {
    for (float x : {6000.0f, std::nextafter(6000.0f, 7000.0f)}) {
        SCOPED_TRACE(x);
        Scene = SceneField;
        ParkEnemies();
        StandPlayer(x, 896.0f, 0);
        ThePlayer.attackState = 1;
        ThePlayer.attackCount = 30;
        PlaceEnemy(0, 0, x + 70.0f, 896.0f, 40, 64);
        Boss = Enemy{};
        HoldKeys({});
        ASSERT_EQ(UpdateFrame(nullptr), 1);
        const bool passed = x > 6000.0f;
        EXPECT_EQ(Scene, passed ? SceneBoss : SceneField);
        EXPECT_EQ(Enemies[0].state, passed ? 1 : 2) << "struck only in a field frame";
    }
}

// The boss's body hurts by a box narrower and lower than its picture: 104
// px either side of its centre after its step and 226 px above its feet.
TEST_F(FrameTest, TheBossHurtsOnlyWithinItsBody) {
    const struct {
        float x, y;
        int airborne;
        bool hurt;
    } players[] = {{6607.0f, 896.0f, 0, false}, {6606.0f, 896.0f, 0, true},
                   {6500.0f, 670.0f, 1, false}, {6500.0f, 671.0f, 1, true}};
    for (const auto& p : players) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        Scene = SceneBoss;
        LoadedSoundSet = SoundSetBoss;
        Boss = Enemy{};
        Boss.x = 6500.0f;  // walks 3 px toward the player in the frame
        Boss.y = 896.0f;
        Boss.width = Boss.height = 256;
        Boss.state = 1;
        StandPlayer(p.x, p.y, 1);
        ThePlayer.airborne = p.airborne;
        crt::srand(1);
        FrameLeaves(SceneBoss, SoundSetBoss);
        EXPECT_EQ(ThePlayer.HP < 300, p.hurt);
    }
}

}  // namespace
