// The boss's swing and thud against the player, with the canopy's guard.
#include <gtest/gtest.h>

#include "game/actors/boss.h"
#include "game/actors/enemies.h"
#include "game/actors/hits.h"
#include "support/actor_scene.h"

namespace {

// The boss stands at 6500 with its feet at 500: its swing covers 6325-6499
// facing left, 6500-6674 facing right, rows 244-499.
constexpr float BossY = 500.0f;
constexpr int Right = 0;
constexpr int Left = 1;

// A fresh boss mid-attack and a fresh player (vx 3) at x.
void Ready(int attack, int bossFacing, float x, int playerFacing, int guard, float y = BossY) {
    ClearActors();
    ResetBoss();
    Boss.attack = attack;
    Boss.attackCounter = 24;
    Boss.facing = bossFacing;
    StandPlayer(x, y, playerFacing);
    ThePlayer.guardState = guard;
    ThePlayer.vx = 3.0f;
}

TEST(BossStrikes, TheSwingMeetsTheCanopyByBothFacings) {
    const struct { const char* what; int playerFacing, guard, bossFacing; float x; int hp; float vx; } rows[] = {
        {"unguarded", Right, 0, Left, 6400, 270, -20},
        {"overhead guard is no help", Left, 2, Right, 6600, 270, 20},
        {"left, canopy toward the boss", Left, 1, Right, 6600, 300, 23},
        {"left, from behind", Left, 1, Left, 6400, 240, -20},
        {"left, back half clear of it", Left, 1, Left, 6500, 300, 3},
        {"right, canopy toward the boss", Right, 1, Left, 6400, 300, -17},
        {"right, from behind", Right, 1, Right, 6600, 240, 20},
        {"right, thrust reach from behind", Right, 4, Right, 6600, 240, 20},
        {"right, canopy clear of it", Right, 1, Left, 6280, 300, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Ready(BossSwing, row.bossFacing, row.x, row.playerFacing, row.guard);
        BossAttackHitsPlayer();
        EXPECT_EQ(ThePlayer.HP, row.hp);
        EXPECT_EQ(ThePlayer.vx, row.vx);
        EXPECT_EQ(ThePlayer.Cnt, row.hp < 300 ? 100 : 0);
    }
}

TEST(BossStrikes, TheThudsShockWaveRunsAlongTheFeetAndNoGuardHelps) {
    const struct { float x, y; int guard, hp; } rows[] = {
        {6400.0f, BossY, 1, 290},         {6400.0f, BossY - 9.0f, 2, 290},
        {6400.0f, BossY - 10.0f, 0, 300}, {6302.0f, BossY, 0, 290},
        {6301.0f, BossY, 0, 300},         {6698.0f, BossY, 4, 290},
        {6699.0f, BossY, 0, 300},         {6400.0f, BossY + 96.0f, 0, 300},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.x << ", " << row.y);
        Ready(BossThud, Left, row.x, Left, row.guard, row.y);
        BossAttackHitsPlayer();
        EXPECT_EQ(ThePlayer.HP, row.hp);
        EXPECT_EQ(ThePlayer.vx, 3.0f);
    }
}

TEST(BossStrikes, LifeStopsAtZeroAndTheTimerShieldsThePlayer) {
    Ready(BossSwing, Left, 6400.0f, Right, 0);
    ThePlayer.HP = 20;
    BossAttackHitsPlayer();
    EXPECT_EQ(ThePlayer.HP, 0);
    // The hurt timer and a player out of control shield it.
    Ready(BossSwing, Left, 6400.0f, Right, 0);
    ThePlayer.Cnt = 1;
    BossAttackHitsPlayer();
    ThePlayer.Cnt = 0;
    ThePlayer.controllable = 0;
    BossAttackHitsPlayer();
    EXPECT_EQ(ThePlayer.HP, 300);
    // Defeated and flying off, it still strikes.
    Ready(BossSwing, Left, 6400.0f, Right, 0);
    Boss.state = BossDefeated;
    BossAttackHitsPlayer();
    EXPECT_EQ(ThePlayer.HP, 270);
}

}  // namespace
