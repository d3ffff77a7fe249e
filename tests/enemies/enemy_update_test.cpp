// The enemies' frame at its edges: the ranges where they wake and act, the
// distance bands, the draws at each roll's boundary, launches and motion.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "game/actors/enemies.h"
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

TEST_F(EnemyFrame, AShooterFiresAtMostOnceInThirtyOneFrames) {
    Enemy* e = AtDx(3, -150.0f);
    e->airborne = 2;
    int lastShot = -1000, shots = 0, shortestGap = 1000;
    for (int frame = 0; frame < 4000; ++frame) {
        e->x = PlayerX + 150.0f;
        UpdateEnemies();
        if (e->attackCounter == 29) {
            shortestGap = std::min(shortestGap, frame - lastShot);
            lastShot = frame;
            ++shots;
        }
        EXPECT_EQ(e->attack, frame - lastShot < 30 ? 1 : 0) << frame;  // from the shot's frame to the 29th after
    }
    EXPECT_GT(shots, 30);
    EXPECT_EQ(shortestGap, 31);
}

TEST_F(EnemyFrame, AShotIsFreedByItsHundredAndFirstUpdate) {
    Shot* s = LaunchTestShot(4, 0, 10.0f, 20.0f, 49);
    s->vx = -6.0f;
    s->vy = 0.5f;
    Shots[5].vx = 3.0f;  // idle slots stand still
    for (int i = 0; i < 100; ++i) UpdateShots();
    EXPECT_EQ(s->active, 1);
    UpdateShots();
    UpdateShots();
    EXPECT_EQ(ShotFields(*s), "x -596 y 70.5 v -6 0.5 spin 1010 type 0 size 49x49 life -1 active 0");
    EXPECT_EQ(Shots[5].x, 0.0f);
}

TEST_F(EnemyFrame, ActiveEnemiesFallCappedAndDyingOnesWithoutEnd) {
    Enemy* walker = PlaceEnemy(0, 9, PlayerX - 500.0f, PlayerY);  // a stray kind: motion only
    Enemy* hovering = PlaceEnemy(1, 9, PlayerX - 500.0f, PlayerY);
    hovering->airborne = 2;
    Enemy* dying = PlaceEnemy(2, 0, PlayerX, PlayerY);
    dying->state = EnemyDying;
    dying->xF = -1.0f;
    dying->animation = 1.5f;
    for (int frame = 0; frame < 60; ++frame) {
        UpdateEnemies();
        // A 20-frame cycle: whole part 0 for ten frames, 1 for ten.
        if (frame < 20) EXPECT_EQ(std::trunc(walker->animation), (frame + 1) % 20 >= 10 ? 1.0f : 0.0f) << frame;
    }
    EXPECT_EQ(walker->y, PlayerY + 395.0f);  // 0.25 a frame more up to the cap of 10, then 10 a frame
    EXPECT_EQ(hovering->yF, 10.0f);
    EXPECT_EQ(hovering->y, PlayerY);
    EXPECT_EQ(ShotFields(Shot{dying->x, dying->y, dying->xF, dying->yF, dying->spin, dying->state, 0, 0, 0, 0}),
              "x 940 y 683 v -1 5.99999666 spin 1200 type 2 size 0x0 life 0 active 0");
    EXPECT_EQ(dying->animation, 1.5f);
}

}  // namespace
