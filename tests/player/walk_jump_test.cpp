#include "player_fixture.h"

TEST_F(PlayerRun, WalkCyclePlaysFootstepsOnItsFifthAndTwentySixthFrames) {
    Press(VK_LEFT);
    Press(VK_RIGHT);  // left wins
    int steps[2][2] = {};
    int found = 0;
    for (int frame = 1; frame <= 80; ++frame) {
        HandlePlayerInput(keys);
        const int slot = FootstepSlot(ThePlayer.animation);
        if (slot != 0) {
            ASSERT_LT(found, 4) << "extra footstep on frame " << frame;
            steps[found / 2][found % 2] = frame * 100 + slot;
            ++found;
        }
        UpdatePlayer();
        CollideWithMap(&ThePlayer.x, &ThePlayer.y, 96, 96, &ThePlayer.airborne, &ThePlayer.vy);
        // The exact single-precision sums of 0.1f.
        if (frame == 25) {
            EXPECT_EQ(ThePlayer.animation, 2.4999998f);
        }
        if (frame == 26) {
            EXPECT_EQ(ThePlayer.animation, 2.5999997f);
        }
        if (frame == 40) {
            EXPECT_EQ(ThePlayer.animation, 3.9999983f);
        }
        if (frame == 41) {
            EXPECT_EQ(ThePlayer.animation, 0.1f);
        }
    }
    EXPECT_EQ(found, 4);
    EXPECT_EQ(steps[0][0], 5 * 100 + SlotFootstepA);
    EXPECT_EQ(steps[0][1], 26 * 100 + SlotFootstepB);
    EXPECT_EQ(steps[1][0], 45 * 100 + SlotFootstepA);
    EXPECT_EQ(steps[1][1], 66 * 100 + SlotFootstepB);
    EXPECT_EQ(ThePlayer.facing, 1);
    EXPECT_EQ(ThePlayer.x, StartXPx - 80 * 5.0f);
    EXPECT_EQ(ThePlayer.y, FloorTopPx);

    Release(VK_LEFT);
    Frame();
    EXPECT_EQ(ThePlayer.facing, 0);
    EXPECT_EQ(ThePlayer.x, StartXPx - 79 * 5.0f);
    Release(VK_RIGHT);
    Frame();
    EXPECT_EQ(ThePlayer.animation, 0.0f);
}

TEST_F(PlayerRun, JumpThenGlideOnASecondPressWhileFalling) {
    Press(KeyZ);
    Frame();
    EXPECT_EQ(ThePlayer.airborne, 1);
    EXPECT_EQ(ThePlayer.y, FloorTopPx - 8.0f);
    EXPECT_EQ(ThePlayer.vy, -7.75f);
    EXPECT_EQ(ZFlag, 1);

    // Holding Z does nothing more; a new press while still rising opens nothing.
    Frames(5);
    Release(KeyZ);
    Frame();
    EXPECT_EQ(ZFlag, 0);
    Press(KeyZ);
    Frame();
    EXPECT_EQ(ThePlayer.airborne, 1);
    EXPECT_LT(ThePlayer.vy, 0.0f);

    Release(KeyZ);
    while (ThePlayer.vy <= 0.0f) Frame();
    const float vyBefore = ThePlayer.vy;
    const float yBefore = ThePlayer.y;
    Press(KeyZ);
    Frame();
    EXPECT_EQ(ThePlayer.airborne, 2);
    EXPECT_EQ(ThePlayer.y, yBefore + vyBefore);  // the first glide frame keeps the old speed
    EXPECT_EQ(ThePlayer.vy, 1.5f);
    for (int i = 0; i < 10; ++i) {
        const float y = ThePlayer.y;
        Frame();
        EXPECT_EQ(ThePlayer.y, y + 1.5f);
        EXPECT_EQ(ThePlayer.airborne, 2);
    }
    FramesToLanding();
    EXPECT_EQ(ThePlayer.y, FloorTopPx + 0.25f);  // the floor pushes by whole pixels only
    EXPECT_EQ(ThePlayer.vy, 0.0f);
}

TEST_F(PlayerRun, MovementIsLockedDuringGroundStepsAndGuards) {
    Press(KeyX);
    Frame();
    Press(VK_LEFT);
    Press(KeyZ);  // held through the step, taken once it ends
    const float x = ThePlayer.x;
    Frames(4);
    EXPECT_EQ(ThePlayer.x, x + 40.0f);  // only the lunge moves it
    EXPECT_EQ(ThePlayer.facing, 0);
    EXPECT_EQ(ThePlayer.airborne, 0);
    EXPECT_EQ(ZFlag, 0);
    Frames(26);
    EXPECT_EQ(ThePlayer.attackState, 0);
    Frame();
    EXPECT_EQ(ThePlayer.airborne, 1);
    EXPECT_EQ(ThePlayer.facing, 1);
    FramesToLanding();

    Release(KeyZ);
    Release(VK_LEFT);
    Press(KeyC);
    Frame();
    EXPECT_EQ(ThePlayer.guardState, 1);
    Press(VK_RIGHT);
    Press(KeyZ);
    Frames(3);
    EXPECT_EQ(ThePlayer.facing, 1);
    EXPECT_EQ(ThePlayer.airborne, 0);
    EXPECT_EQ(ThePlayer.animation, 0.0f);
}

TEST_F(PlayerRun, DeathOnlyBelowTheStageFloorLimit) {
    std::memset(TileIndexMap, 0, sizeof TileIndexMap);  // nothing to stand on
    ThePlayer.y = 1124.0f;
    UpdatePlayer();
    EXPECT_EQ(Scene, SceneField);
    EXPECT_EQ(ThePlayer.HP, 300);
    EXPECT_EQ(ThePlayer.y, 1124.0f);
    UpdatePlayer();
    EXPECT_EQ(Scene, SceneField);
    EXPECT_GT(ThePlayer.y, 1124.0f);
    UpdatePlayer();
    EXPECT_EQ(Scene, SceneContinue);
    EXPECT_EQ(ThePlayer.HP, 0);

    // Life run out: the frame's motion still goes on.
    SetUp();
    ThePlayer.HP = 0;
    Press(VK_RIGHT);
    Frame();
    EXPECT_EQ(Scene, SceneContinue);
    EXPECT_EQ(ThePlayer.x, StartXPx + 5.0f);
}

TEST_F(PlayerRun, BeatenBossFreezesTheKeysButNotTheFall) {
    BossHp = 0;
    ThePlayer.y = 800.0f;
    ThePlayer.airborne = 1;
    Press(VK_RIGHT);
    Press(KeyZ);
    Press(KeyX);
    Press(KeyC);
    Frame();
    EXPECT_EQ(ThePlayer.x, StartXPx);
    EXPECT_EQ(ThePlayer.vy, 0.25f);
    EXPECT_EQ(ZFlag + XFlag + GuardKeyHeld, 0);
    EXPECT_EQ(ThePlayer.attackState, 0);
}
