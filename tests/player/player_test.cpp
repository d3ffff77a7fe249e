// The player's keys at the frames where counts run out and at the presses
// the scripted player never makes (the thrust among them), the hit timer's
// floor and the places where boxes stop; aerial strikes in everyday play are
// pinned frame by frame by the golden replays.
#include "player_fixture.h"

TEST_F(PlayerRun, ComboCountsRunOutOnTheirLastFrameAndLungesStopAtTheirReach) {
    Run(1, {KeyX});
    Run(29);
    EXPECT_EQ(ThePlayer.attackState, 1);         // frame 29: count 0, the step still runs
    EXPECT_EQ(ThePlayer.x, StartXPx + 50.0f);  // the lunge stops at its reach
    Run(1, {KeyX});                              // frame 30 still moves the combo on
    Run(1);
    Run(1, {KeyX});
    ASSERT_EQ(ThePlayer.attackState, 3);
    const float finisherStart = ThePlayer.attackStartX;
    Run(9);
    Run(40, {KeyX});  // refused, and so never latched, to frame 49
    EXPECT_EQ(ThePlayer.attackState, 3);
    EXPECT_EQ(ThePlayer.x, finisherStart + 20.0f);
    Frame();  // frame 50: the finisher ends
    EXPECT_EQ(ThePlayer.attackState, 0);
    EXPECT_EQ(XFlag, 0);
    Frame();  // the held key starts a new combo
    EXPECT_EQ(ThePlayer.attackState, 1);
    EXPECT_EQ(XFlag, 1);
}

TEST_F(PlayerRun, RefusedAttackPressesChangeNothing) {
    const struct {
        int airborne, attack, count, guard, latch;
    } cases[] = {{2, 0, 0, 0, 0}, {0, 3, 20, 0, 0}, {0, 0, 50, 0, 0}, {0, 0, 0, 2, 0},
                 {0, 0, 6, 3, 0}, {0, 0, 0, 0, 1}, {1, 5, 20, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.airborne << " " << c.attack << " " << c.count << " " << c.guard);
        SetUp();
        ThePlayer.airborne = c.airborne;
        ThePlayer.attackState = c.attack;
        ThePlayer.attackCount = c.count;
        ThePlayer.guardState = c.guard;
        XFlag = c.latch;
        // With the guard's key held the guard step changes nothing either.
        GuardKeyHeld = c.guard != 0;
        Run(0, {KeyX, c.guard ? KeyC : KeyX});
        const Player before = ThePlayer;
        HandlePlayerInput(keys);
        EXPECT_EQ(XFlag, c.latch);
        EXPECT_EQ(ThePlayer.attackState, before.attackState);
        EXPECT_EQ(ThePlayer.attackCount, before.attackCount);
        EXPECT_EQ(ThePlayer.vx, before.vx);
    }
}

TEST_F(PlayerRun, ThrustRunsWindUpReachThenForwardGuard) {
    Run(1, {KeyC});
    const int expected[12] = {0, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 1};
    for (int f = 1; f <= 11; ++f) {
        keys[KeyX] = f == 3 ? 0 : 0x80;  // pressed again in frame 4: refused
        Frame();
        EXPECT_EQ(ThePlayer.guardState, expected[f]) << "frame " << f;
    }
    EXPECT_EQ(XFlag, 0);
    EXPECT_EQ(ThePlayer.x, StartXPx);
    Run(1, {KeyX});
    EXPECT_EQ(ThePlayer.guardState, 0);
}

TEST_F(PlayerRun, GuardsOpenOnlyOnAFreshPressOutsideAttacksAndGlides) {
    Run(1, {VK_UP, KeyC});
    EXPECT_EQ(ThePlayer.guardState, GuardOverhead);
    Run(1);
    Run(1, {KeyZ});
    Run(1, {KeyZ, VK_UP, KeyC});
    EXPECT_EQ(ThePlayer.guardState, GuardForward);  // in the air: forward
    SetUp();
    Run(1, {KeyX});
    Run(40, {KeyX, KeyC});  // pressed during the step: spent
    EXPECT_EQ(ThePlayer.guardState, GuardNone);
    SetUp();
    ThePlayer.airborne = 2;
    Run(1, {KeyC});
    EXPECT_EQ(ThePlayer.guardState, GuardNone);
}

TEST_F(PlayerRun, KnockBackHoldsFortyTwoFramesAndTheHitTimerStopsAtZero) {
    HurtPlayer(10);
    ThePlayer.vx = -3.0f;
    Run(0, {VK_RIGHT, KeyC});
    const float y = ThePlayer.y;
    Frame();
    EXPECT_EQ(ThePlayer.y, y - 4.75f);  // the hop rises under gravity
    for (int k = 2; k <= 42; ++k) {
        ASSERT_EQ(ThePlayer.controllable, 0) << "frame N+" << k;
        Frame();
    }
    EXPECT_EQ(ThePlayer.controllable, 1);
    EXPECT_EQ(ThePlayer.x, StartXPx - 42 * 3.0f);
    EXPECT_EQ(GuardKeyHeld, 0);
    Run(1, {VK_RIGHT});  // N+43: the keys act again
    EXPECT_EQ(ThePlayer.x, StartXPx - 42 * 3.0f + 5.0f);
    Run(57);
    EXPECT_EQ(ThePlayer.Cnt, 0);  // N+100
    Run(1);
    EXPECT_EQ(ThePlayer.Cnt, 0);
}

TEST_F(PlayerRun, BoxesTruncateTheWholeSumTowardZero) {
    const struct {
        float x;
        int facing, body, guard, reach, back, overhead;
    } rows[] = {{10.5f, 1, -10, -34, -37, 10, -37},
                {10.5f, 0, -10, 23, 26, -10, -37},
                {4096.0f - 1.0f / 4096, 0, 4074, 4108, 4111, 4074, 4047}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.x);
        StandPlayer(r.x, 60.25f, r.facing);
        EXPECT_EQ(PlayerBodyBox().left, r.body);
        EXPECT_EQ(PlayerForwardGuardBox().left, r.guard);
        EXPECT_EQ(PlayerThrustReachBox().left, r.reach);
        EXPECT_EQ(PlayerBackHalfBox().left, r.back);
        EXPECT_EQ(PlayerOverheadBox().left, r.overhead);
        EXPECT_EQ(PlayerBodyBox().top, -35);
        EXPECT_EQ(PlayerLowBodyBox().top, -3);
        // The overhead canopy covers the body down to where its low part starts.
        EXPECT_EQ(PlayerOverheadBox().top + PlayerOverheadBox().height, PlayerLowBodyBox().top);
    }
    // Boxes that only share an edge do not overlap.
    const Box guard = PlayerForwardGuardBox();
    EXPECT_EQ(BoxesOverlap(guard, Box{guard.left - 1, guard.top, 1, 96}), 0);
    EXPECT_EQ(BoxesOverlap(guard, Box{guard.left + 31, guard.top + 95, 1, 1}), 1);
    EXPECT_EQ(BoxesOverlap(guard, Box{guard.left + 32, guard.top, 1, 96}), 0);
}

TEST_F(PlayerRun, TheCanopyOpensOnASecondPressOnlyOnceFalling) {
    Run(1, {KeyZ});
    EXPECT_EQ(ThePlayer.y, FloorTopPx - 8.0f);
    Run(1);
    Run(1, {KeyZ});  // still rising
    EXPECT_EQ(ThePlayer.airborne, 1);
    Run(1);
    while (ThePlayer.vy <= 0.0f) Frame();
    const float y = ThePlayer.y, vy = ThePlayer.vy;
    Run(1, {KeyZ});
    EXPECT_EQ(ThePlayer.airborne, 2);
    EXPECT_EQ(ThePlayer.y, y + vy);  // the first glide frame keeps the old speed
    Frame();
    EXPECT_EQ(ThePlayer.y, y + vy + 1.5f);
}

TEST_F(PlayerRun, DeathBelowTheFloorLimitAndNoKeysOnceTheBossIsBeaten) {
    std::memset(TileIndexMap, 0, sizeof TileIndexMap);
    ThePlayer.y = 1124.0f;
    UpdatePlayer();
    EXPECT_EQ(Scene, SceneField);
    UpdatePlayer();
    EXPECT_EQ(Scene, SceneField);
    UpdatePlayer();
    EXPECT_EQ(Scene, SceneContinue);
    EXPECT_EQ(ThePlayer.HP, 0);
    // Life runs out at zero, not before.
    for (int hp : {1, 0}) {
        SetUp();
        ThePlayer.HP = hp;
        UpdatePlayer();
        EXPECT_EQ(Scene, hp > 0 ? SceneField : SceneContinue) << "HP " << hp;
    }
    SetUp();
    BossHp = 0;
    Run(1, {VK_RIGHT, KeyZ, KeyX, KeyC});
    EXPECT_EQ(ThePlayer.x, StartXPx);
    EXPECT_EQ(ZFlag + XFlag + GuardKeyHeld, 0);
}
