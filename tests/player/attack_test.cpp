#include "player_fixture.h"

TEST_F(PlayerRun, ComboStepsHoldTheirFramesAndLungeToTheirReach) {
    Run(1, {KeyX});  // frame 0 of step 1
    EXPECT_EQ(ThePlayer.attackState, 1);
    EXPECT_EQ(ThePlayer.attackCount, 29);
    EXPECT_EQ(ThePlayer.attackStartX, StartXPx);
    EXPECT_EQ(ThePlayer.vx, 10.0f);
    Run(29);  // frames 1 to 29
    EXPECT_EQ(ThePlayer.attackState, 1);
    EXPECT_EQ(ThePlayer.attackCount, 0);
    EXPECT_EQ(ThePlayer.x, StartXPx + 50.0f);
    EXPECT_EQ(ThePlayer.vx, 10.0f);  // kept while the step runs

    Run(1, {KeyX});  // a press in frame 30 still moves the combo on
    EXPECT_EQ(ThePlayer.attackState, 2);
    EXPECT_EQ(ThePlayer.attackStartX, StartXPx + 50.0f);
    EXPECT_EQ(ThePlayer.attackCount, 29);
    Run(1);
    Run(1, {KeyX});
    EXPECT_EQ(ThePlayer.attackState, 3);
    EXPECT_EQ(ThePlayer.attackCount, 49);
    const float stepThreeStart = ThePlayer.attackStartX;
    EXPECT_EQ(stepThreeStart, StartXPx + 70.0f);
    Run(49, {KeyX});  // to frame 49
    EXPECT_EQ(ThePlayer.attackState, 3);
    EXPECT_EQ(ThePlayer.x, stepThreeStart + 20.0f);
    Run(1);  // frame 50: the finisher ends
    EXPECT_EQ(ThePlayer.attackState, 0);
    EXPECT_EQ(ThePlayer.attackStartX, 0.0f);
    EXPECT_EQ(ThePlayer.vx, 10.0f);  // the lunge step saw the finisher still running
    Run(1);
    EXPECT_EQ(ThePlayer.vx, 0.0f);
}

TEST_F(PlayerRun, RefusedAttackPressesChangeNothing) {
    const struct {
        const char* name;
        void (*arrange)();
    } cases[] = {
        {"gliding", [] { ThePlayer.airborne = 2; }},
        {"finisher", [] { ThePlayer.attackState = 3; ThePlayer.attackCount = 20; }},
        {"long count", [] { ThePlayer.attackCount = 50; }},
        {"overhead guard", [] { ThePlayer.guardState = 2; }},
        {"thrust wind-up", [] { ThePlayer.guardState = 3; ThePlayer.attackCount = 6; }},
        {"latched", [] { XFlag = 1; }},
        {"aerial strike", [] { ThePlayer.attackState = 5; ThePlayer.airborne = 1; ThePlayer.attackCount = 20; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        c.arrange();
        const Player before = ThePlayer;
        const int latch = XFlag;
        Press(KeyX);
        // With the guard's key held the other steps change nothing either,
        // so any change comes from the attack key.
        if (ThePlayer.guardState != 0) {
            Press(KeyC);
            GuardKeyHeld = 1;
        }
        HandlePlayerInput(keys);
        EXPECT_EQ(XFlag, latch);
        EXPECT_EQ(ThePlayer.attackState, before.attackState);
        EXPECT_EQ(ThePlayer.attackCount, before.attackCount);
        EXPECT_EQ(ThePlayer.attackStartX, before.attackStartX);
        EXPECT_EQ(ThePlayer.vx, before.vx);
    }
}

TEST_F(PlayerRun, PressRefusedDuringTheFinisherStartsANewComboWhenItEnds) {
    for (int step = 1; step <= 2; ++step) {
        Run(1, {KeyX});
        Run(1);
    }
    Run(1, {KeyX});  // frame 0 of the finisher
    ASSERT_EQ(ThePlayer.attackState, 3);
    Run(10);
    Run(40, {KeyX});  // refused, and so not latched, to frame 50 where the finisher ends
    EXPECT_EQ(ThePlayer.attackState, 0);
    EXPECT_EQ(XFlag, 0);
    Frame();
    EXPECT_EQ(ThePlayer.attackState, 1);
    EXPECT_EQ(XFlag, 1);
}

TEST_F(PlayerRun, AerialWindUpTurnsIntoTheStrikeAndEndsOnLanding) {
    Run(1, {KeyZ});
    // Late in the fall, so that the ground comes before the count runs out.
    while (ThePlayer.vy < 4.0f) Frame();
    Run(1, {KeyZ, KeyX});  // frame 0
    EXPECT_EQ(ThePlayer.attackState, 4);
    EXPECT_EQ(ThePlayer.vx, 0.0f);
    Frames(4);
    EXPECT_EQ(ThePlayer.attackState, 4);
    EXPECT_EQ(ThePlayer.attackCount, 25);
    Frame();  // frame 5
    EXPECT_EQ(ThePlayer.attackState, 5);
    ASSERT_NE(ThePlayer.airborne, 0);
    FramesToLanding();
    EXPECT_EQ(ThePlayer.attackState, 5);  // the landing frame's motion came first
    Frame();
    EXPECT_EQ(ThePlayer.attackState, 0);
    EXPECT_GT(ThePlayer.attackCount, 0);
    // With the count still running, C opens no guard but runs the thrust.
    Run(1, {KeyZ, KeyX, KeyC});
    EXPECT_EQ(ThePlayer.guardState, 3);

    // An attack pressed as the floor falls away becomes the wind-up.
    SetUp();
    Run(1, {KeyX});
    Run(1);
    ThePlayer.airborne = 1;
    Press(KeyX);
    HandlePlayerInput(keys);
    EXPECT_EQ(ThePlayer.attackState, 4);
    EXPECT_EQ(ThePlayer.attackCount, 30);
}

TEST_F(PlayerRun, ThrustRunsWindUpReachThenForwardGuard) {
    Run(1, {KeyC});
    EXPECT_EQ(ThePlayer.guardState, 1);
    EXPECT_EQ(GuardKeyHeld, 1);
    Press(KeyX);
    const int expected[12] = {0, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 1};
    for (int f = 1; f <= 11; ++f) {
        if (f == 3) Release(KeyX);
        if (f == 4) Press(KeyX);  // refused during the wind-up
        Frame();
        EXPECT_EQ(ThePlayer.guardState, expected[f]) << "frame " << f;
        if (f == 4) {
            EXPECT_EQ(XFlag, 0);
        }
    }
    EXPECT_EQ(ThePlayer.attackState, 0);
    EXPECT_EQ(ThePlayer.x, StartXPx);
    Run(1, {KeyX});
    EXPECT_EQ(ThePlayer.guardState, 0);
    EXPECT_EQ(GuardKeyHeld, 0);
}

TEST_F(PlayerRun, OverheadGuardNeedsUpOnTheGroundAtThePress) {
    Run(1, {VK_UP, KeyC});
    EXPECT_EQ(ThePlayer.guardState, 2);
    Run(1, {KeyC});
    EXPECT_EQ(ThePlayer.guardState, 2);
    Run(1);
    Run(1, {KeyZ});
    Run(1, {KeyZ, VK_UP, KeyC});
    EXPECT_EQ(ThePlayer.guardState, 1);  // in the air: forward
    Run(1, {KeyZ, VK_UP, KeyC, KeyX});
    EXPECT_EQ(ThePlayer.guardState, 3);  // the thrust works in the air too
}

TEST_F(PlayerRun, CanopyPressDuringAnAttackIsSpent) {
    Run(1, {KeyX});
    Run(1, {KeyX, KeyC});
    EXPECT_EQ(ThePlayer.guardState, 0);
    EXPECT_EQ(GuardKeyHeld, 1);
    Frames(40);  // the step ends, C still held
    EXPECT_EQ(ThePlayer.attackState, 0);
    EXPECT_EQ(ThePlayer.guardState, 0);
    Run(1, {KeyX});
    Run(1, {KeyX, KeyC});
    EXPECT_EQ(ThePlayer.guardState, 1);

    // Gliding opens no guard.
    SetUp();
    ThePlayer.airborne = 2;
    ThePlayer.y = 600.0f;
    Press(KeyC);
    HandlePlayerInput(keys);
    EXPECT_EQ(ThePlayer.guardState, 0);
}
