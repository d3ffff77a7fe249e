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
    Enemy* atLimit = PlaceEnemy(0, 2, PlayerX + 800.0f, PlayerY);
    Enemy* diagonal = PlaceEnemy(1, 2, PlayerX + 480.0f, PlayerY - 640.0f);  // 480² + 640² = 800²
    Enemy* inside = PlaceEnemy(2, 2, PlayerX - 799.5f, PlayerY);
    Enemy* atNear = PlaceEnemy(3, 2, PlayerX - 320.0f, PlayerY);
    Enemy* inNear = PlaceEnemy(4, 2, PlayerX - 319.5f, PlayerY);
    for (Enemy* e : {atLimit, diagonal, inside, atNear, inNear}) {
        e->xF = 1.0f;
        e->airborne = 2;
    }
    UpdateEnemies();
    EXPECT_EQ(atLimit->state, EnemyAsleep);
    EXPECT_EQ(atLimit->x, PlayerX + 800.0f);
    EXPECT_EQ(diagonal->state, EnemyAsleep);
    EXPECT_EQ(inside->x, PlayerX - 798.5f);  // woken in this frame, it moves in this frame
    EXPECT_EQ(atNear->xF, 1.0f);             // exactly 320 px away it paces
    EXPECT_EQ(inNear->xF, 4.0f);             // nearer it keeps its distance
}

TEST_F(EnemyFrame, ThrowerAndShooterKeepTheirBandsAndOneShooterStepInTenGoesBack) {
    // The thrower keeps 200 to 210 px away, the shooter 195 to 200.
    const struct { int kind; float dx, xF; } rows[] = {
        {2, -211, -4}, {2, -210, 0}, {2, -200, 0}, {2, -199, 4}, {2, 0, 0},     {2, 0.5f, -4},
        {2, 200, 0},   {2, 210, 0},  {2, 211, 4},  {3, -201, -2}, {3, -200, 0}, {3, -195, 0},
        {3, -194, 2},  {3, 194, -2}, {3, 195, 0},  {3, 201, 2},
    };
    for (int stepDraw : {89, 90}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(testing::Message() << "kind " << row.kind << " dx " << row.dx << " step draw " << stepDraw);
            NextDraws(100, stepDraw);
            Enemy* e = AtDx(row.kind, row.dx);
            e->attack = 1;
            e->attackCounter = 10;
            UpdateEnemies();
            EXPECT_EQ(e->xF, row.kind == 3 && stepDraw == 90 ? -row.xF : row.xF);
            EXPECT_EQ(e->facing, row.dx < 0.0f ? 1 : 0);
        }
    }
}

TEST_F(EnemyFrame, WalkersTurnOnTheirRollsBoundariesAndCountALevelPlayerAsOnTheLeft) {
    const struct { int turnDraw, towardDraw; float dx, xF; } rows[] = {
        {24, 82, 2.0f, -3.0f}, {24, 83, 2.0f, 3.0f}, {24, 82, 3.0f, 3.0f},
        {24, 83, 3.0f, -3.0f}, {25, 0, 2.0f, 1.5f},  {24, 0, -50.0f, -3.0f},
    };
    for (int kind : {0, 1}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " draws " << row.turnDraw << " " << row.towardDraw
                                            << " dx " << row.dx);
            NextDraws(1000, row.turnDraw, 100, row.towardDraw);
            Enemy* e = AtDx(kind, row.dx);
            e->xF = 1.5f;
            UpdateEnemies();
            EXPECT_EQ(e->xF, row.xF);
        }
    }
}

TEST_F(EnemyFrame, AwayFromThePlayerEachKindPacesAboutItsHome) {
    const struct { int kind; float offset, xF; int facing; } rows[] = {
        {0, -50.0f, 3.0f, 0}, {1, -49.5f, 7.0f, 0}, {2, 50.0f, 7.0f, 0},  {2, 50.5f, -3.0f, 1},
        {3, -70.0f, 7.0f, 0}, {3, -70.5f, 2.0f, 1}, {3, 70.5f, -2.0f, 1}, {9, -60.0f, 7.0f, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "kind " << row.kind << " offset " << row.offset);
        Enemy* e = PlaceEnemy(0, row.kind, PlayerX - 500.0f, PlayerY);
        e->x += row.offset;
        e->xF = 7.0f;
        crt::srand(7);
        const int next = crt::rand();
        crt::srand(7);
        UpdateEnemies();
        EXPECT_EQ(e->xF, row.xF);
        EXPECT_EQ(e->facing, row.facing);
        EXPECT_EQ(crt::rand(), next);  // pacing draws nothing
    }
}

TEST_F(EnemyFrame, ThrowOnTheRollsLowestTwoIntoTheFirstFreeSlotAndNeverAFullTable) {
    for (int draw : {2, 1}) {
        SCOPED_TRACE(draw);
        SetUp();
        Enemy* e = PlaceEnemy(0, 2, PlayerX + 100.0f, PlayerY, 33, 45);  // the player is on its left
        e->airborne = 2;
        LaunchTestShot(0, 1, 0.0f, 0.0f, 40);
        Shots[2].spin = 123.0f;
        NextDraws(100, draw);
        UpdateEnemies();
        EXPECT_EQ(ShotFields(Shots[1]), draw == 1 ? "x 1084 y 454 v -6 0 spin 0 type 0 size 49x49 life 100 active 1"
                                                  : "x 0 y 0 v 0 0 spin 0 type 0 size 0x0 life 0 active 0");
        EXPECT_EQ(e->attackCounter, draw == 1 ? 29 : 0);
    }
    // Thrown to the right from the enemy's right side.
    PlaceEnemy(0, 2, PlayerX - 100.0f, PlayerY, 33);
    NextDraws(100, 0);
    UpdateEnemies();
    EXPECT_EQ(Shots[2].vx, 6.0f);
    EXPECT_EQ(Shots[2].x, PlayerX - 100.0f + 16.0f);
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
    for (int shotDraw : {4, 3}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(testing::Message() << row.dx << ", " << row.dy << " draw " << shotDraw);
            LaunchTestShot(0, 0, 1.0f, 2.0f, 49);  // a thrower's shot in flight is replaced
            Shots[0].spin = 70.0f;
            Enemy* e = PlaceEnemy(0, 3, PlayerX - row.dx, PlayerY - row.dy);
            e->airborne = 2;
            // Level with the player the shooter stands and draws only for its shot.
            if (row.dx == 0.0f) NextDraws(100, shotDraw);
            else NextDraws(100, 0, 100, shotDraw);
            UpdateEnemies();
            const Shot& s = Shots[0];
            ASSERT_EQ(e->attack, shotDraw == 3 ? 1 : 0);
            if (shotDraw == 4) continue;
            EXPECT_EQ(ShotFields(s), ShotFields(Shot{PlayerX - row.dx, PlayerY - row.dy - 40.0f, row.vx, row.vy, 70.0f,
                                                     1, 40, 40, 100, 1}));
        }
    }
}

}  // namespace
