#include "player_fixture.h"

#include "game/actors/hits.h"

TEST_F(PlayerRun, KnockBackHoldsFortyTwoFramesThenControlReturns) {
    Run(1, {KeyX});
    // Hit in this frame by something to the player's right.
    HurtPlayer(10);
    ThePlayer.vx = -3.0f;
    EXPECT_EQ(ThePlayer.HP, 290);
    EXPECT_EQ(ThePlayer.attackState, 0);
    EXPECT_EQ(ThePlayer.attackCount, 0);
    EXPECT_EQ(ThePlayer.vy, -5.0f);
    EXPECT_EQ(ThePlayer.Cnt, 100);

    Run(0, {VK_RIGHT, KeyC});
    float x = ThePlayer.x;
    for (int k = 1; k <= 42; ++k) {
        ASSERT_EQ(ThePlayer.controllable, 0) << "frame N+" << k;
        Frame();
        x += -3.0f;
        EXPECT_EQ(ThePlayer.x, x) << "frame N+" << k;
        EXPECT_EQ(ThePlayer.guardState, 0);
    }
    EXPECT_EQ(ThePlayer.controllable, 1);
    EXPECT_EQ(ThePlayer.Cnt, 58);
    EXPECT_EQ(GuardKeyHeld, 0);  // no latch moves while the keys are ignored
    Run(1, {VK_RIGHT});  // N+43: the keys act again
    EXPECT_EQ(ThePlayer.x, x + 5.0f);
    EXPECT_EQ(ThePlayer.vx, 0.0f);
    EXPECT_EQ(ThePlayer.Cnt, 57);
    Frames(56);
    EXPECT_EQ(ThePlayer.Cnt, 1);
    Frame();  // N+100
    EXPECT_EQ(ThePlayer.Cnt, 0);
}

TEST_F(PlayerRun, BoxesTruncateTheWholeExpressionTowardZero) {
    ThePlayer.x = 10.5f;
    ThePlayer.y = 60.25f;
    ThePlayer.facing = 1;
    const Box body = PlayerBodyBox();
    EXPECT_EQ(body.left, -10);  // trunc(-10.5), not trunc(10.5) - 21
    EXPECT_EQ(body.top, -35);
    EXPECT_EQ(body.width, 42);
    EXPECT_EQ(body.height, 96);
    EXPECT_EQ(PlayerForwardGuardBox().left, -34);
    EXPECT_EQ(PlayerThrustReachBox().left, -37);
    EXPECT_EQ(PlayerBackHalfBox().left, 10);
    EXPECT_EQ(PlayerBackHalfBox().width, 21);
    EXPECT_EQ(PlayerOverheadBox().left, -37);
    EXPECT_EQ(PlayerOverheadBox().width, 96);
    EXPECT_EQ(PlayerOverheadBox().height, 32);
    EXPECT_EQ(PlayerLowBodyBox().top, -3);
    EXPECT_EQ(PlayerLowBodyBox().height, 64);

    ThePlayer.facing = 0;
    EXPECT_EQ(PlayerForwardGuardBox().left, 23);
    EXPECT_EQ(PlayerThrustReachBox().left, 26);
    EXPECT_EQ(PlayerBackHalfBox().left, -10);

    // The whole sum is taken before the truncation, as for every actor's
    // box: just below 4096, x + 13 stays below 4109.
    ThePlayer.x = 4096.0f - 1.0f / 4096;
    EXPECT_EQ(PlayerForwardGuardBox().left, 4108);
    EXPECT_EQ(PlayerThrustReachBox().left, 4111);

    // The forward guard lies in front of the body and touches it only along
    // an edge; the back half lies inside it.
    ThePlayer.x = 500.0f;
    ThePlayer.y = 896.0f;
    const Box guard = PlayerForwardGuardBox();
    const Box touching{guard.left - 1, guard.top, 1, guard.height};
    EXPECT_EQ(BoxesOverlap(guard, touching), 0);
    EXPECT_EQ(BoxesOverlap(guard, Box{guard.left, guard.top + 95, 1, 1}), 1);
    EXPECT_EQ(BoxesOverlap(PlayerBodyBox(), PlayerBackHalfBox()), 1);
    EXPECT_EQ(BoxesOverlap(PlayerOverheadBox(), Box{452, 832, 96, 1}), 0);
}
