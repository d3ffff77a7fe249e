// Shots and bodies against the player, with and without the canopy.
#include <gtest/gtest.h>

#include <climits>

#include "game/actors/enemies.h"
#include "game/actors/hits.h"
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
};

TEST_F(Damage, ShotsMeetTheCanopyTheBackHalfOrTheBody) {
    const struct { const char* what; int facing, guard; float x, y; int hpLost, active; } rows[] = {
        {"unguarded body", Right, 0, 990, 450, 5, 0},
        {"missing the body", Right, 0, 1021, 450, 0, 1},
        {"canopy, body too", Right, 1, 1015, 450, 0, 0},
        {"back half", Right, 1, 985, 450, 5, 0},
        {"between canopy and back", Right, 1, 1002, 450, 0, 1},
        {"thrust reach, back half", Right, 4, 985, 450, 5, 0},
        {"facing left, back half", Left, 1, 1005, 450, 5, 0},
        {"overhead, back half counted once", Right, 2, 985, 410, 5, 0},
        {"overhead box", Right, 2, 1002, 426, 0, 0},
        {"overhead, low body", Right, 2, 1002, 437, 5, 0},
        {"a stray facing value", 7, 1, 985, 450, 0, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        StandPlayer(PlayerX, PlayerY, row.facing);
        ThePlayer.guardState = row.guard;
        Shot* s = LaunchTestShot(3, 1, row.x, row.y, 10);
        ShotsHitPlayer();
        EXPECT_EQ(ThePlayer.HP, 300 - row.hpLost);
        EXPECT_EQ(s->active, row.active);
        EXPECT_EQ(ThePlayer.Cnt, 0);  // a shot starts no knock-back
    }
}

TEST_F(Damage, LifeStopsAtZeroAndNothingHitsWhileTheTimerRuns) {
    const struct { int hp, cnt, hpAfter, active; } rows[] = {{300, 0, 290, 0}, {5, 0, 0, 0}, {300, 1, 300, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.hp);
        ThePlayer.HP = row.hp;
        ThePlayer.Cnt = row.cnt;
        LaunchTestShot(0, 0, 985.0f, 420.0f, 10);
        LaunchTestShot(7, 2, 1000.0f, 480.0f, 10);
        ShotsHitPlayer();
        EXPECT_EQ(ThePlayer.HP, row.hpAfter);
        EXPECT_EQ(Shots[7].active, row.active);
    }
}

TEST_F(Damage, BodiesArePushedThrownLiftedOrHurt) {
    const struct { const char* what; int facing, guard; float x, y; int width, airborne;
                   float movedX, movedY; int hp; float vx; } rows[] = {
        {"canopy facing right pushes 10", Right, 1, 1050, 500, 32, 0, 1060, 500, 300, 0},
        {"canopy facing left pushes 12", Left, 1, 965, 500, 32, 0, 953, 500, 300, 0},
        {"still on the body after the push", Right, 1, 1030, 500, 64, 0, 1040, 500, 290, -5},
        {"thrust throws left", Left, 4, 960, 500, 32, 0, 860, 500, 300, 0},
        {"wind-up guards nothing", Right, 3, 1025, 500, 32, 0, 1025, 500, 290, -5},
        {"behind the canopy: hurt twice", Right, 1, 975, 500, 32, 0, 975, 500, 280, 5},
        {"overhead lifts one in the air", Right, 2, 1000, 420, 32, 1, 1000, 410, 300, 0},
        {"overhead, on the ground", Right, 2, 1000, 480, 32, 0, 1000, 480, 290, 0},
        {"boss size, just clear", Right, 0, 1104, 500, 176, 0, 1104, 500, 300, 0},
        {"boss size, a half pixel in", Right, 0, 1103.5f, 500, 176, 0, 1103.5f, 500, 290, -5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        StandPlayer(PlayerX, PlayerY, row.facing);
        ThePlayer.guardState = row.guard;
        float x = row.x, y = row.y;
        ActorTouchesPlayer(&x, &y, row.width, row.width == 176 ? 226 : 32, row.airborne, 1);
        EXPECT_EQ(x, row.movedX);
        EXPECT_EQ(y, row.movedY);
        EXPECT_EQ(ThePlayer.HP, row.hp);
        EXPECT_EQ(ThePlayer.vx, row.vx);
        EXPECT_EQ(ThePlayer.Cnt, row.hp < 300 ? 100 : 0);
        EXPECT_EQ(ThePlayer.controllable, row.hp < 300 ? 0 : 1);
    }
}

TEST_F(Damage, DegenerateSizesStayWellDefined) {
    const int sizes[] = {0, -40, INT_MIN, INT_MAX};
    for (int w : sizes) {
        for (int h : sizes) {
            StandPlayer(PlayerX, PlayerY, Right);
            float x = PlayerX, y = PlayerY;
            ActorTouchesPlayer(&x, &y, w, h, 0, 1);
            EXPECT_GE(ThePlayer.HP, 290);
            EXPECT_LE(ActorBox(PlayerX, PlayerY, w, h).width, w);
        }
    }
    EXPECT_EQ(ActorBox(PlayerX, PlayerY, INT_MIN, 32).width, INT_MIN);
}

}  // namespace
