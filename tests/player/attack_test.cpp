#include "player_fixture.h"

TEST_F(PlayerRun, ComboStepsHoldTheirFramesAndLungeToTheirReach) {
    Press(KeyX);
    Frame();  // frame 0 of step 1
    EXPECT_EQ(ThePlayer.attackState, 1);
    EXPECT_EQ(ThePlayer.attackCount, 29);
    EXPECT_EQ(ThePlayer.attackStartX, StartXPx);
    EXPECT_EQ(ThePlayer.vx, 10.0f);
    Release(KeyX);
    Frames(29);  // frames 1 to 29
    EXPECT_EQ(ThePlayer.attackState, 1);
    EXPECT_EQ(ThePlayer.attackCount, 0);
    EXPECT_EQ(ThePlayer.x, StartXPx + 50.0f);
    EXPECT_EQ(ThePlayer.vx, 10.0f);  // kept while the step runs

    // A press in frame 30 still moves the combo on.
    Press(KeyX);
    Frame();
    EXPECT_EQ(ThePlayer.attackState, 2);
    EXPECT_EQ(ThePlayer.attackStartX, StartXPx + 50.0f);
    EXPECT_EQ(ThePlayer.attackCount, 29);
    Release(KeyX);
    Frame();
    Press(KeyX);
    Frame();
    EXPECT_EQ(ThePlayer.attackState, 3);
    EXPECT_EQ(ThePlayer.attackCount, 49);
    const float stepThreeStart = ThePlayer.attackStartX;
    EXPECT_EQ(stepThreeStart, StartXPx + 70.0f);
    Frames(49);  // to frame 49
    EXPECT_EQ(ThePlayer.attackState, 3);
    EXPECT_EQ(ThePlayer.x, stepThreeStart + 20.0f);
    Release(KeyX);
    Frame();  // frame 50: the finisher ends
    EXPECT_EQ(ThePlayer.attackState, 0);
    EXPECT_EQ(ThePlayer.attackStartX, 0.0f);
    EXPECT_EQ(ThePlayer.vx, 10.0f);  // the lunge step saw the finisher still running
    Frame();
    EXPECT_EQ(ThePlayer.vx, 0.0f);
}

TEST_F(PlayerRun, RefusedAttackPressesChangeNothing) {
    struct Case {
        const char* name;
        void (*arrange)();
    };
    const Case cases[] = {
        {"gliding", [] { ThePlayer.airborne = 2; }},
        {"finisher", [] { ThePlayer.attackState = 3; ThePlayer.attackCount = 20; }},
        {"long count", [] { ThePlayer.attackCount = 50; }},
        {"overhead guard", [] { ThePlayer.guardState = 2; }},
        {"thrust wind-up", [] { ThePlayer.guardState = 3; ThePlayer.attackCount = 6; }},
        {"latched", [] { XFlag = 1; }},
        {"aerial strike", [] { ThePlayer.attackState = 5; ThePlayer.airborne = 1; ThePlayer.attackCount = 20; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        c.arrange();
        const Player before = ThePlayer;
        const int latch = XFlag;
        unsigned char onlyX[256] = {};
        onlyX[KeyX] = 0x80;
        // The movement and canopy steps would change nothing here either,
        // so any change comes from the attack key.
        if (ThePlayer.guardState != 0) {
            onlyX[KeyC] = 0x80;
            GuardKeyHeld = 1;
        }
        HandlePlayerInput(onlyX);
        EXPECT_EQ(XFlag, latch);
        EXPECT_EQ(ThePlayer.attackState, before.attackState);
        EXPECT_EQ(ThePlayer.attackCount, before.attackCount);
        EXPECT_EQ(ThePlayer.attackStartX, before.attackStartX);
        EXPECT_EQ(ThePlayer.vx, before.vx);
    }
}

TEST_F(PlayerRun, PressRefusedDuringTheFinisherStartsANewComboWhenItEnds) {
    Press(KeyX);
    Frame();
    Release(KeyX);
    Frame();
    Press(KeyX);
    Frame();
    Release(KeyX);
    Frame();
    Press(KeyX);
    Frame();  // frame 0 of the finisher
    ASSERT_EQ(ThePlayer.attackState, 3);
    Release(KeyX);
    Frames(10);
    Press(KeyX);  // refused, and so not latched
    Frames(40);   // to frame 50, where the finisher ends
    EXPECT_EQ(ThePlayer.attackState, 0);
    EXPECT_EQ(XFlag, 0);
    Frame();
    EXPECT_EQ(ThePlayer.attackState, 1);
    EXPECT_EQ(XFlag, 1);
}

TEST_F(PlayerRun, AerialWindUpTurnsIntoTheStrikeAndEndsOnLanding) {
    Press(KeyZ);
    Frame();
    // Late in the fall, so that the ground comes before the count runs out.
    while (ThePlayer.vy < 4.0f) Frame();
    Press(KeyX);
    Frame();  // frame 0
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
    Press(KeyC);
    Frame();
    EXPECT_EQ(ThePlayer.guardState, 3);
}

TEST_F(PlayerRun, AttackOffALedgeBecomesTheAerialWindUp) {
    Press(KeyX);
    Frame();
    Release(KeyX);
    Frame();
    ThePlayer.airborne = 1;  // as the stage does when the floor falls away
    Press(KeyX);
    HandlePlayerInput(keys);
    EXPECT_EQ(ThePlayer.attackState, 4);
    EXPECT_EQ(ThePlayer.attackCount, 30);
}

TEST_F(PlayerRun, ThrustRunsWindUpReachThenForwardGuard) {
    Press(KeyC);
    Frame();
    EXPECT_EQ(ThePlayer.guardState, 1);
    EXPECT_EQ(GuardKeyHeld, 1);
    Press(KeyX);
    int states[12] = {};
    for (int f = 1; f <= 11; ++f) {
        if (f == 3) Release(KeyX);
        if (f == 4) Press(KeyX);  // refused during the wind-up
        Frame();
        states[f] = ThePlayer.guardState;
        if (f == 4) {
            EXPECT_EQ(XFlag, 0);
        }
    }
    const int expected[12] = {0, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 1};
    for (int f = 1; f <= 11; ++f) EXPECT_EQ(states[f], expected[f]) << "frame " << f;
    EXPECT_EQ(ThePlayer.attackState, 0);
    EXPECT_EQ(ThePlayer.x, StartXPx);

    Release(KeyC);
    Frame();
    EXPECT_EQ(ThePlayer.guardState, 0);
    EXPECT_EQ(GuardKeyHeld, 0);
}

TEST_F(PlayerRun, OverheadGuardNeedsUpOnTheGroundAtThePress) {
    Press(VK_UP);
    Press(KeyC);
    Frame();
    EXPECT_EQ(ThePlayer.guardState, 2);
    Release(VK_UP);
    Frame();
    EXPECT_EQ(ThePlayer.guardState, 2);

    Release(KeyC);
    Frame();
    Press(KeyZ);
    Frame();
    Press(VK_UP);
    Press(KeyC);
    Frame();
    EXPECT_EQ(ThePlayer.guardState, 1);  // in the air: forward
    Press(KeyX);
    Frame();
    EXPECT_EQ(ThePlayer.guardState, 3);  // the thrust works in the air too
}

TEST_F(PlayerRun, CanopyPressDuringAnAttackIsSpent) {
    Press(KeyX);
    Frame();
    Press(KeyC);
    Frame();
    EXPECT_EQ(ThePlayer.guardState, 0);
    EXPECT_EQ(GuardKeyHeld, 1);
    Frames(40);  // the step ends, C still held
    EXPECT_EQ(ThePlayer.attackState, 0);
    EXPECT_EQ(ThePlayer.guardState, 0);
    Release(KeyC);
    Frame();
    Press(KeyC);
    Frame();
    EXPECT_EQ(ThePlayer.guardState, 1);

    // Gliding opens no guard.
    SetUp();
    ThePlayer.airborne = 2;
    ThePlayer.y = 600.0f;
    Press(KeyC);
    HandlePlayerInput(keys);
    EXPECT_EQ(ThePlayer.guardState, 0);
}
