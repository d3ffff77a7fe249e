#include "player_fixture.h"

#include <vector>

TEST_F(PlayerRun, WalkCyclePlaysFootstepsOnItsFifthAndTwentySixthFrames) {
    Run(0, {VK_LEFT, VK_RIGHT});  // left wins
    // Frame * 100 + slot of each footstep, and the exact single-precision
    // sums of 0.1f on the frames around the cycle's turn.
    std::vector<int> steps;
    const struct {
        int frame;
        float animation;
    } sums[] = {{25, 2.4999998f}, {26, 2.5999997f}, {40, 3.9999983f}, {41, 0.1f}};
    for (int frame = 1; frame <= 80; ++frame) {
        HandlePlayerInput(keys);
        if (const int slot = FootstepSlot(ThePlayer.animation)) steps.push_back(frame * 100 + slot);
        UpdatePlayer();
        CollideWithMap(&ThePlayer.x, &ThePlayer.y, 96, 96, &ThePlayer.airborne, &ThePlayer.vy);
        for (const auto& sum : sums)
            if (sum.frame == frame) {
                EXPECT_EQ(ThePlayer.animation, sum.animation) << "frame " << frame;
            }
    }
    EXPECT_EQ(steps, (std::vector<int>{5 * 100 + SlotFootstepA, 26 * 100 + SlotFootstepB, 45 * 100 + SlotFootstepA,
                                        66 * 100 + SlotFootstepB}));
    EXPECT_EQ(ThePlayer.facing, 1);
    EXPECT_EQ(ThePlayer.x, StartXPx - 80 * 5.0f);
    EXPECT_EQ(ThePlayer.y, FloorTopPx);

    Run(1, {VK_RIGHT});
    EXPECT_EQ(ThePlayer.facing, 0);
    EXPECT_EQ(ThePlayer.x, StartXPx - 79 * 5.0f);
    Run(1);
    EXPECT_EQ(ThePlayer.animation, 0.0f);
}

TEST_F(PlayerRun, JumpThenGlideOnASecondPressWhileFalling) {
    Run(1, {KeyZ});
    EXPECT_EQ(ThePlayer.airborne, 1);
    EXPECT_EQ(ThePlayer.y, FloorTopPx - 8.0f);
    EXPECT_EQ(ThePlayer.vy, -7.75f);
    EXPECT_EQ(ZFlag, 1);

    // Holding Z does nothing more; a new press while still rising opens nothing.
    Frames(5);
    Run(1);
    EXPECT_EQ(ZFlag, 0);
    Run(1, {KeyZ});
    EXPECT_EQ(ThePlayer.airborne, 1);
    EXPECT_LT(ThePlayer.vy, 0.0f);
    while (ThePlayer.vy <= 0.0f) Run(1);
    const float vyBefore = ThePlayer.vy;
    const float yBefore = ThePlayer.y;
    Run(1, {KeyZ});
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
    Run(1, {KeyX});
    const float x = ThePlayer.x;
    Run(4, {KeyX, VK_LEFT, KeyZ});  // Z held through the step, taken once it ends
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

    Run(1, {KeyX, KeyC});
    EXPECT_EQ(ThePlayer.guardState, 1);
    Run(3, {KeyX, KeyC, VK_RIGHT, KeyZ});
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
    Run(1, {VK_RIGHT});
    EXPECT_EQ(Scene, SceneContinue);
    EXPECT_EQ(ThePlayer.x, StartXPx + 5.0f);
}

TEST_F(PlayerRun, BeatenBossFreezesTheKeysButNotTheFall) {
    BossHp = 0;
    ThePlayer.y = 800.0f;
    ThePlayer.airborne = 1;
    Run(1, {VK_RIGHT, KeyZ, KeyX, KeyC});
    EXPECT_EQ(ThePlayer.x, StartXPx);
    EXPECT_EQ(ThePlayer.vy, 0.25f);
    EXPECT_EQ(ZFlag + XFlag + GuardKeyHeld, 0);
    EXPECT_EQ(ThePlayer.attackState, 0);
}
