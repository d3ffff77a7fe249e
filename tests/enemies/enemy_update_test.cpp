// The enemies' frame at its edges: the ranges where they wake and act, the
// distance bands, the draws at each roll's boundary, launches and motion.
#include <gtest/gtest.h>

#include "game/actors/enemies.h"
#include "game/actors/shots.h"
#include "platform/crt.h"
#include "support/actor_scene.h"

namespace {

constexpr float PlayerX = 1000.0f;
constexpr float PlayerY = 500.0f;

class EnemyFrame : public testing::Test {
protected:
    void SetUp() override {
        ClearActors();
        ParkEnemies();
        StandPlayer(PlayerX, PlayerY, 0);
        crt::srand(1);
    }
    // An enemy dx px to the player's left (dx = player x - enemy x).
    static Enemy* AtDx(int kind, float dx) { return PlaceEnemy(0, kind, PlayerX - dx, PlayerY); }
    // Seeds the generator so that its next draws give these remainders.
    static void NextDraws(int range0, int value0, int range1 = 1, int value1 = 0) {
        SeedFor(2, [=](const int* d) { return d[0] % range0 == value0 && d[1] % range1 == value1; });
    }
};

TEST_F(EnemyFrame, WakesInsideEightHundredAndActsNearInsideThreeTwenty) {
    // 480² + 640² = 800²; woken in this frame, an enemy moves in this frame;
    // exactly 320 px away it paces, nearer it keeps its distance.
    const struct { float dx, dy, x, xF; int state; } rows[] = {
        {-800, 0, 1800, 1, EnemyAsleep}, {-480, 640, 1480, 1, EnemyAsleep}, {799.5f, 0, 201.5f, 1, EnemyActive},
        {320, 0, 681, 1, EnemyActive},    {319.5f, 0, 684.5f, 4, EnemyActive},
    };
    for (int i = 0; i < 5; ++i) {
        Enemy* e = PlaceEnemy(i, 2, PlayerX - rows[i].dx, PlayerY - rows[i].dy);
        e->xF = 1.0f;
        e->airborne = 2;
    }
    UpdateEnemies();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Enemies[i].state, rows[i].state) << i;
        EXPECT_EQ(Enemies[i].x, rows[i].x) << i;
        EXPECT_EQ(Enemies[i].xF, rows[i].xF) << i;
    }
}

// The rolls' boundaries (when to turn, throw, shoot or step back) come up
// thousands of times in the golden replays; these tests hold the distances
// and the full tables that the replays rarely meet exactly.
TEST_F(EnemyFrame, ThrowerAndShooterKeepTheirBands) {
    // The thrower keeps 200 to 210 px away, the shooter 195 to 200.
    const struct { int kind; float dx, xF; } rows[] = {
        {2, -211, -4}, {2, -210, 0}, {2, -200, 0}, {2, -199, 4}, {2, 0, 0},     {2, 0.5f, -4},
        {2, 200, 0},   {2, 210, 0},  {2, 211, 4},  {3, -201, -2}, {3, -200, 0}, {3, -195, 0},
        {3, -194, 2},  {3, 194, -2}, {3, 195, 0},  {3, 201, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "kind " << row.kind << " dx " << row.dx);
        NextDraws(100, 89);
        Enemy* e = AtDx(row.kind, row.dx);
        e->attack = 1;
        e->attackCounter = 10;
        UpdateEnemies();
        EXPECT_EQ(e->xF, row.xF);
        EXPECT_EQ(e->facing, row.dx < 0.0f ? 1 : 0);
    }
}

TEST_F(EnemyFrame, ThrowIntoTheFirstFreeSlotAndNeverAFullTable) {
    Enemy* thrower = PlaceEnemy(0, 2, PlayerX + 100.0f, PlayerY, 33, 45);  // the player is on its left
    thrower->airborne = 2;
    LaunchTestShot(0, 1, 0.0f, 0.0f, 40);
    NextDraws(100, 1);
    UpdateEnemies();
    EXPECT_EQ(ShotFields(Shots[1]), "x 1084 y 454 v -6 0 spin 0 type 0 size 49x49 life 100 active 1");
    // With every slot flying nothing is thrown and no cooldown starts.
    for (int i = 0; i < ShotCount; ++i) LaunchTestShot(i, 1, 5.0f, 5.0f, 40);
    Enemy* e = AtDx(2, 100.0f);
    NextDraws(100, 0);
    UpdateEnemies();
    EXPECT_EQ(e->attack, 0);
    for (const Shot& shot : Shots) EXPECT_EQ(shot.type, 1);
}

TEST_F(EnemyFrame, AimedShotGoesIntoSlotZeroThroughWholeDegrees) {
    const struct { float dx, dy, vx, vy; } rows[] = {
        {0.0f, 100.0f, 1.76938098e-09f, 6.0f},         // 90° with the game's own pi
        {-100.0f, -100.0f, -4.2426405f, -4.2426405f},  // 225°
        {100.0f, -1.0f, 6.0f, 0.0f},                    // 0°, not 359°
        {-100.0f, -1.0f, -5.99908638f, -0.104714438f},  // 181°
        {150.0f, 40.0f, 5.82177448f, 1.45153141f},      // 14.93° flies at 14°
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.dx << ", " << row.dy);
        LaunchTestShot(0, 0, 1.0f, 2.0f, 49);  // a thrower's shot in flight is replaced
        Shots[0].spin = 70.0f;
        Enemy* e = PlaceEnemy(0, 3, PlayerX - row.dx, PlayerY - row.dy);
        e->airborne = 2;
        // Level with the player the shooter stands and draws only for its shot.
        if (row.dx == 0.0f) NextDraws(100, 3);
        else NextDraws(100, 0, 100, 3);
        UpdateEnemies();
        ASSERT_EQ(e->attack, 1);
        EXPECT_EQ(ShotFields(Shots[0]), ShotFields(Shot{PlayerX - row.dx, PlayerY - row.dy - 40.0f, row.vx, row.vy,
                                                        70.0f, 1, 40, 40, 100, 1}));
    }
}

}  // namespace
