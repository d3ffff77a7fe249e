// Shots and bodies against the player, with and without the canopy.
#include <gtest/gtest.h>

#include <climits>

#include "game/actors/enemies.h"
#include "support/actor_scene.h"

namespace {

// The player stands at x 1000, feet at 500: body 979-1020 x 404-499; facing
// right the forward guard is 1013-1044 and the back half 979-999; facing
// left the guard is 955-986 and the back half 1000-1020.
constexpr float PlayerX = 1000.0f;
constexpr float PlayerY = 500.0f;
constexpr int Right = 0;
constexpr int Left = 1;

class Damage : public testing::Test {
protected:
    void SetUp() override {
        ClearActors();
        StandPlayer(PlayerX, PlayerY, Right);
    }

    void Guard(int facing, int guardState) {
        ThePlayer.facing = facing;
        ThePlayer.guardState = guardState;
    }

    // Calls ActorTouchesPlayer for an active enemy of the given size.
    static void Touch(Enemy* e, int airborne = 0) {
        ActorTouchesPlayer(&e->x, &e->y, e->width, e->height, airborne, e->state);
    }
};

TEST_F(Damage, ShotsMeetTheCanopyTheBackHalfOrTheBody) {
    const struct {
        const char* what;
        int facing, guard;
        float x, y;
        int hpLost, active;
    } rows[] = {
        {"unguarded body", Right, 0, 990, 450, 5, 0},
        {"missing the body", Right, 0, 1021, 450, 0, 1},
        {"canopy, body too", Right, 1, 1015, 450, 0, 0},
        {"back half", Right, 1, 985, 450, 5, 0},
        {"between canopy and back", Right, 1, 1002, 450, 0, 1},
        {"thrust wind-up, canopy", Right, 3, 1015, 450, 0, 0},
        {"thrust reach, back half", Right, 4, 985, 450, 5, 0},
        {"facing left, canopy", Left, 1, 977, 450, 0, 0},
        {"facing left, back half", Left, 1, 1005, 450, 5, 0},
        {"overhead, front", Right, 2, 1015, 470, 0, 0},
        {"overhead, back half counted once", Right, 2, 985, 410, 5, 0},
        {"overhead box", Right, 2, 1002, 426, 0, 0},
        {"overhead, low body", Right, 2, 1002, 437, 5, 0},
        {"a stray facing value", 7, 1, 985, 450, 0, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        StandPlayer(PlayerX, PlayerY, Right);
        Guard(row.facing, row.guard);
        Shot* s = LaunchTestShot(3, 1, row.x, row.y, 10);
        ShotsHitPlayer();
        EXPECT_EQ(ThePlayer.HP, 300 - row.hpLost);
        EXPECT_EQ(s->active, row.active);
        // A shot changes nothing else of the player.
        EXPECT_EQ(ThePlayer.Cnt, 0);
        EXPECT_EQ(ThePlayer.guardState, row.guard);
        EXPECT_EQ(ThePlayer.vx, 0.0f);
    }
}

TEST_F(Damage, EveryShotCountsButLifeStopsAtZeroAndNothingHitsWhileCntRuns) {
    LaunchTestShot(0, 0, 985.0f, 420.0f, 10);
    LaunchTestShot(7, 2, 1000.0f, 480.0f, 10);
    ShotsHitPlayer();
    EXPECT_EQ(ThePlayer.HP, 290);
    EXPECT_EQ(Shots[0].active, 0);
    EXPECT_EQ(Shots[7].active, 0);

    ThePlayer.HP = 5;
    LaunchTestShot(0, 0, 985.0f, 420.0f, 10);
    LaunchTestShot(7, 2, 1000.0f, 480.0f, 10);
    ShotsHitPlayer();
    EXPECT_EQ(ThePlayer.HP, 0);

    ThePlayer.HP = 300;
    ThePlayer.Cnt = 1;
    LaunchTestShot(0, 0, 985.0f, 420.0f, 10);
    ShotsHitPlayer();
    EXPECT_EQ(ThePlayer.HP, 300);
    EXPECT_EQ(Shots[0].active, 1);
}

TEST_F(Damage, TheForwardCanopyPushesAndTheBodyStepFollows) {
    // Facing right: 10 px, only the canopy touched.
    Guard(Right, 1);
    Enemy* e = PlaceEnemy(0, 0, 1050.0f, PlayerY);
    Touch(e);
    EXPECT_EQ(e->x, 1060.0f);
    EXPECT_EQ(ThePlayer.HP, 300);
    Touch(e);
    EXPECT_EQ(e->x, 1060.0f);  // out of the canopy's reach now

    // Facing left: 12 px.
    Guard(Left, 1);
    e = PlaceEnemy(0, 0, 965.0f, PlayerY);
    Touch(e);
    EXPECT_EQ(e->x, 953.0f);
    EXPECT_EQ(ThePlayer.HP, 300);

    // A wide body still over the player after the push hurts at once.
    Guard(Right, 1);
    e = PlaceEnemy(0, 0, 1030.0f, PlayerY, 64, 32);
    Touch(e);
    EXPECT_EQ(e->x, 1040.0f);
    EXPECT_EQ(ThePlayer.HP, 290);
    EXPECT_EQ(ThePlayer.vx, -5.0f);
    EXPECT_EQ(ThePlayer.Cnt, 100);
    EXPECT_EQ(ThePlayer.controllable, 0);
    EXPECT_EQ(ThePlayer.guardState, 0);
}

TEST_F(Damage, TheThrustThrowsAndItsWindUpGuardsNothing) {
    Guard(Right, 4);
    Enemy* e = PlaceEnemy(0, 0, 1040.0f, PlayerY);
    Touch(e);
    EXPECT_EQ(e->x, 1140.0f);
    Guard(Left, 4);
    e = PlaceEnemy(0, 0, 960.0f, PlayerY);
    Touch(e);
    EXPECT_EQ(e->x, 860.0f);
    EXPECT_EQ(ThePlayer.HP, 300);

    Guard(Right, 3);
    e = PlaceEnemy(0, 0, 1025.0f, PlayerY);
    Touch(e);
    EXPECT_EQ(e->x, 1025.0f);
    EXPECT_EQ(ThePlayer.HP, 290);
    EXPECT_EQ(ThePlayer.vx, -5.0f);
}

TEST_F(Damage, ReachedFromBehindTheGuardingPlayerIsHurtTwice) {
    Guard(Right, 1);
    Enemy* e = PlaceEnemy(0, 0, 975.0f, PlayerY);
    Touch(e);
    EXPECT_EQ(ThePlayer.HP, 280);
    EXPECT_EQ(ThePlayer.vx, 5.0f);
    EXPECT_EQ(ThePlayer.Cnt, 100);
    EXPECT_EQ(e->x, 975.0f);

    // Level with the player the first knock-back stands.
    StandPlayer(PlayerX, PlayerY, Left);
    ThePlayer.guardState = 4;
    e = PlaceEnemy(0, 0, PlayerX, PlayerY);
    Touch(e);
    EXPECT_EQ(ThePlayer.HP, 280);
    EXPECT_EQ(ThePlayer.vx, -5.0f);

    StandPlayer(PlayerX, PlayerY, Right);
    ThePlayer.guardState = 1;
    ThePlayer.HP = 15;
    e = PlaceEnemy(0, 0, 975.0f, PlayerY);
    Touch(e);
    EXPECT_EQ(ThePlayer.HP, 0);
}

TEST_F(Damage, TheOverheadCanopyLiftsActorsInTheAirOnly) {
    Guard(Right, 2);
    Enemy* e = PlaceEnemy(0, 0, PlayerX, 420.0f);
    Touch(e, 1);
    EXPECT_EQ(e->y, 410.0f);
    EXPECT_EQ(ThePlayer.HP, 300);
    // Below the overhead box an actor in the air neither rises nor hurts.
    e = PlaceEnemy(0, 0, PlayerX, 480.0f);
    Touch(e, 1);
    EXPECT_EQ(e->y, 480.0f);
    EXPECT_EQ(ThePlayer.HP, 300);
    // On the ground the overhead canopy is no help.
    Touch(e, 0);
    EXPECT_EQ(ThePlayer.HP, 290);
    EXPECT_EQ(ThePlayer.vx, 0.0f);  // level with the player: no knock-back
}

TEST_F(Damage, OnlyActiveActorsTouchAndOnlyOnceAHurt) {
    for (int state : {0, 2, 3}) {
        Enemy* e = PlaceEnemy(0, 0, PlayerX + 5.0f, PlayerY);
        e->state = state;
        Touch(e);
        EXPECT_EQ(ThePlayer.HP, 300) << state;
    }
    ThePlayer.controllable = 0;
    Touch(PlaceEnemy(0, 0, PlayerX + 5.0f, PlayerY));
    EXPECT_EQ(ThePlayer.HP, 300);

    // The first contact hurts; the timer keeps the second harmless.
    ThePlayer.controllable = 1;
    Enemy* a = PlaceEnemy(0, 0, PlayerX + 5.0f, PlayerY);
    Enemy* b = PlaceEnemy(1, 0, PlayerX - 5.0f, PlayerY);
    Touch(a);
    Touch(b);
    EXPECT_EQ(ThePlayer.HP, 290);
    EXPECT_EQ(ThePlayer.vx, -5.0f);

    // Pushes set no timer: both enemies go back in one frame.
    StandPlayer(PlayerX, PlayerY, Right);
    Guard(Right, 1);
    a = PlaceEnemy(0, 0, 1040.0f, PlayerY);
    b = PlaceEnemy(1, 0, 1045.0f, PlayerY);
    Touch(a);
    Touch(b);
    EXPECT_EQ(a->x, 1050.0f);
    EXPECT_EQ(b->x, 1055.0f);
}

TEST_F(Damage, ABossSizedActorUsesTheSizeItIsHanded) {
    // 176 x 226 gives a 166 px box from x - 83: just clear at 1104, not at 1103.5.
    float x = 1104.0f, y = PlayerY;
    ActorTouchesPlayer(&x, &y, 176, 226, 0, 1);
    EXPECT_EQ(ThePlayer.HP, 300);
    x = 1103.5f;
    ActorTouchesPlayer(&x, &y, 176, 226, 0, 1);
    EXPECT_EQ(ThePlayer.HP, 290);
}

TEST_F(Damage, DegenerateSizesStayWellDefined) {
    const int sizes[] = {0, 5, -40, INT_MIN, INT_MAX};
    for (int w : sizes) {
        for (int h : sizes) {
            StandPlayer(PlayerX, PlayerY, Right);
            float x = PlayerX, y = PlayerY;
            ActorTouchesPlayer(&x, &y, w, h, 0, 1);
            EXPECT_GE(ThePlayer.HP, 290);
            Box box = ActorBox(PlayerX, PlayerY, w, h);
            EXPECT_LE(box.width, w);
        }
    }
    Box box = ActorBox(PlayerX, PlayerY, INT_MIN, 32);
    EXPECT_EQ(box.width, INT_MIN);
}

}  // namespace
