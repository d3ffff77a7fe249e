// The enemies' frame: waking, each kind's behaviour, launches and motion,
// run through UpdateEnemies and UpdateShots with a fixed random sequence.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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
    // The draws of the seeded sequence, read ahead and then put back.
    static void Peek(unsigned seed, int* draws, int count) {
        crt::srand(seed);
        for (int i = 0; i < count; ++i) draws[i] = crt::rand();
        crt::srand(seed);
    }
};

TEST_F(EnemyFrame, WakesInsideEightHundredAndActsNearInsideThreeTwenty) {
    Enemy* atLimit = PlaceEnemy(0, 2, PlayerX + 800.0f, PlayerY);
    Enemy* diagonal = PlaceEnemy(1, 2, PlayerX + 480.0f, PlayerY - 640.0f);  // 480² + 640² = 800²
    Enemy* inside = PlaceEnemy(2, 2, PlayerX - 799.5f, PlayerY);
    Enemy* atNear = PlaceEnemy(3, 2, PlayerX - 320.0f, PlayerY);
    Enemy* inNear = PlaceEnemy(4, 2, PlayerX - 319.5f, PlayerY);
    Enemy* dying = PlaceEnemy(5, 0, PlayerX + 5000.0f, PlayerY);
    dying->state = 2;
    for (Enemy* e : {atLimit, diagonal, inside, atNear, inNear}) {
        e->xF = 1.0f;
        e->airborne = 2;
    }
    UpdateEnemies();
    EXPECT_EQ(atLimit->state, 0);
    EXPECT_EQ(atLimit->x, PlayerX + 800.0f);
    EXPECT_EQ(diagonal->state, 0);
    // Woken in this frame, it moves in this frame.
    EXPECT_EQ(inside->state, 1);
    EXPECT_EQ(inside->x, PlayerX - 798.5f);
    EXPECT_EQ(inside->yF, 0.25f);
    // Exactly 320 px away it paces (between its bounds: speed kept) ...
    EXPECT_EQ(atNear->xF, 1.0f);
    // ... a little nearer it keeps its distance, walking toward the player.
    EXPECT_EQ(inNear->xF, 4.0f);
    EXPECT_EQ(inNear->facing, 0);
    EXPECT_EQ(dying->state, 2);
    EXPECT_EQ(dying->spin, 20.0f);
}

TEST_F(EnemyFrame, ThrowerAndShooterKeepTheirDistanceAndTheShooterReversesOneStepInTen) {
    // The thrower keeps 200 to 210 px away, the shooter 195 to 200.
    const struct { int kind; float dx, xF; int facing; } rows[] = {
        {2, -211, -4, 1}, {2, -210, 0, 1}, {2, -205, 0, 1}, {2, -200, 0, 1}, {2, -199, 4, 1},
        {2, -1, 4, 1},    {2, 0, 0, 0},    {2, 0.5f, -4, 0}, {2, 199, -4, 0}, {2, 200, 0, 0},
        {2, 210, 0, 0},   {2, 211, 4, 0},  {3, -201, -2, 1}, {3, -200, 0, 1}, {3, -195, 0, 1},
        {3, -194, 2, 1},  {3, 0, 0, 0},    {3, 194, -2, 0},  {3, 195, 0, 0},  {3, 200, 0, 0},
        {3, 201, 2, 0},
    };
    for (bool reversed : {false, true}) {
        unsigned seed = SeedFor(1, [&](const int* d) { return (d[0] % 100 >= 90) == reversed; });
        for (const auto& row : rows) {
            if (reversed && row.kind == 2) continue;
            SCOPED_TRACE(testing::Message() << "kind " << row.kind << " dx " << row.dx << " reversed " << reversed);
            int draws[3];
            Peek(seed, draws, 3);
            Enemy* e = AtDx(row.kind, row.dx);
            e->xF = 99.0f;
            e->facing = 1 - row.facing;
            e->attack = 1;
            e->attackCounter = 10;
            UpdateEnemies();
            EXPECT_EQ(e->xF, reversed ? -row.xF : row.xF);
            EXPECT_EQ(e->facing, row.facing);
            // A standing shooter takes no step draw, only the shot's.
            if (row.kind == 3) {
                EXPECT_EQ(crt::rand(), draws[row.xF == 0.0f ? 1 : 2]);
            }
        }
    }
}

TEST_F(EnemyFrame, WalkersTurnAtRandomAndCountALevelPlayerAsOnTheLeft) {
    const struct { float dx; bool toward; float xF; } rows[] = {
        {2.0f, true, -3.0f},  {2.0f, false, 3.0f},   {0.0f, true, -3.0f},
        {3.0f, true, 3.0f},   {3.0f, false, -3.0f},  {-50.0f, true, -3.0f},
    };
    for (int kind : {0, 1}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " dx " << row.dx << " toward " << row.toward);
            SeedFor(2, [&](const int* d) { return d[0] % 1000 < 25 && (d[1] % 100 < 83) == row.toward; });
            Enemy* e = AtDx(kind, row.dx);
            e->xF = 99.0f;
            UpdateEnemies();
            EXPECT_EQ(e->xF, row.xF);
            EXPECT_EQ(e->facing, row.xF < 0.0f ? 1 : 0);
        }
        // Most frames nothing turns, and only one number is drawn.
        unsigned seed = SeedFor(1, [](const int* d) { return d[0] % 1000 >= 25; });
        int draws[2];
        Peek(seed, draws, 2);
        Enemy* e = AtDx(kind, 100.0f);
        e->xF = 1.5f;
        UpdateEnemies();
        EXPECT_EQ(e->xF, 1.5f);
        EXPECT_EQ(crt::rand(), draws[1]);
    }
}

TEST_F(EnemyFrame, AwayFromThePlayerEachKindPacesAboutItsHome) {
    const struct { int kind; float offset, xF; int facing; } rows[] = {
        {0, -50.0f, 3.0f, 0}, {1, -49.5f, 7.0f, 0},  {2, 50.0f, 7.0f, 0},  {2, 50.5f, -3.0f, 1},
        {3, -70.0f, 7.0f, 0}, {3, -70.5f, 2.0f, 1},  {3, 70.5f, -2.0f, 1}, {3, 70.0f, 7.0f, 0},
        {9, -60.0f, 7.0f, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "kind " << row.kind << " offset " << row.offset);
        Enemy* e = PlaceEnemy(0, row.kind, PlayerX - 500.0f, PlayerY);
        e->x += row.offset;
        e->xF = 7.0f;
        int next[1];
        Peek(7, next, 1);
        UpdateEnemies();
        EXPECT_EQ(e->xF, row.xF);
        EXPECT_EQ(e->facing, row.facing);
        EXPECT_EQ(crt::rand(), next[0]);  // pacing draws nothing
    }
}

TEST_F(EnemyFrame, ThrowTakesTheFirstFreeSlotAndNeverAFullTable) {
    auto winning = [](const int* d) { return d[0] % 100 < 2; };
    Enemy* e = PlaceEnemy(0, 2, PlayerX + 100.0f, PlayerY, 33, 45);  // the player is on its left
    e->airborne = 2;
    LaunchTestShot(0, 1, 0.0f, 0.0f, 40);
    LaunchTestShot(1, 1, 0.0f, 0.0f, 40);
    Shots[2].spin = 123.0f;
    SeedFor(1, winning);
    UpdateEnemies();
    EXPECT_EQ(ShotFields(Shots[2]), "x 1084 y 454 v -6 0 spin 123 type 0 size 49x49 life 100 active 1");
    EXPECT_EQ(e->attack, 1);
    EXPECT_EQ(e->attackCounter, 29);
    // Thrown to the right from the enemy's right side.
    PlaceEnemy(0, 2, PlayerX - 100.0f, PlayerY, 33);
    SeedFor(1, winning);
    UpdateEnemies();
    EXPECT_EQ(Shots[3].vx, 6.0f);
    EXPECT_EQ(Shots[3].x, PlayerX - 100.0f + 16.0f);
    // With every slot flying nothing is thrown and no cooldown starts.
    for (int i = 0; i < ShotCount; ++i) LaunchTestShot(i, 1, 5.0f, 5.0f, 40);
    e = AtDx(2, 100.0f);
    SeedFor(1, winning);
    UpdateEnemies();
    EXPECT_EQ(e->attack, 0);
    for (const Shot& shot : Shots) EXPECT_EQ(shot.type, 1);
}

TEST_F(EnemyFrame, AimedShotGoesIntoSlotZeroThroughWholeDegrees) {
    const struct { float dx, dy, vx, vy; } rows[] = {
        {0.0f, 100.0f, 0.0f, 6.0f},               // 90°
        {-100.0f, -100.0f, -4.2426405f, -4.2426405f},  // 225°
        {-3.0f, -3.0f, -4.2426405f, -4.2426405f},
        {100.0f, -1.0f, 6.0f, 0.0f},              // 0°, not 359°
        {-100.0f, -1.0f, -5.9990864f, -0.1047144f},  // 181°
        {150.0f, 40.0f, 5.8217744f, 1.4515314f},  // 14.93° flies at 14°
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.dx << ", " << row.dy);
        // Slot 0 holds a thrower's shot in flight; the aimed shot replaces it.
        LaunchTestShot(0, 0, 1.0f, 2.0f, 49);
        Shots[0].spin = 70.0f;
        Enemy* e = PlaceEnemy(0, 3, PlayerX - row.dx, PlayerY - row.dy);
        e->airborne = 2;
        // Level with the player the shooter stands and draws only for its shot.
        int shotDraw = row.dx == 0.0f ? 0 : 1;
        SeedFor(2, [&](const int* d) { return d[shotDraw] % 100 < 4; });
        UpdateEnemies();
        ASSERT_EQ(e->attack, 1);
        const Shot& s = Shots[0];
        EXPECT_EQ(s.type, 1);
        EXPECT_EQ(s.width, 40);
        EXPECT_EQ(s.x, PlayerX - row.dx);
        EXPECT_EQ(s.y, PlayerY - row.dy - 40.0f);
        EXPECT_EQ(s.spin, 70.0f);
        EXPECT_NEAR(s.vx, row.vx, 1e-5);
        EXPECT_NEAR(s.vy, row.vy, 1e-5);
    }
}

TEST_F(EnemyFrame, AShooterFiresAtMostOnceInThirtyOneFrames) {
    Enemy* e = AtDx(3, -150.0f);
    e->airborne = 2;
    int lastShot = -1000;
    int shots = 0;
    int shortestGap = 1000;
    for (int frame = 0; frame < 4000; ++frame) {
        e->x = PlayerX + 150.0f;
        UpdateEnemies();
        if (e->attackCounter == 29) {
            shortestGap = std::min(shortestGap, frame - lastShot);
            lastShot = frame;
            ++shots;
        }
        // The flag shows from the shot's frame to the 29th after it.
        int since = frame - lastShot;
        EXPECT_EQ(e->attack, since < 30 ? 1 : 0) << frame;
    }
    EXPECT_GT(shots, 30);
    EXPECT_EQ(shortestGap, 31);
}

TEST_F(EnemyFrame, AShotIsFreedByItsHundredAndFirstUpdate) {
    Shot* s = LaunchTestShot(4, 0, 10.0f, 20.0f, 49);
    s->vx = -6.0f;
    s->vy = 0.5f;
    s->spin = 5.0f;
    Shots[5].vx = 3.0f;  // idle slots stand still
    for (int i = 0; i < 100; ++i) UpdateShots();
    EXPECT_EQ(s->active, 1);
    EXPECT_EQ(s->life, 0);
    UpdateShots();
    UpdateShots();
    EXPECT_EQ(ShotFields(*s), "x -596 y 70.5 v -6 0.5 spin 1015 type 0 size 49x49 life -1 active 0");
    EXPECT_EQ(Shots[5].x, 0.0f);
}

TEST_F(EnemyFrame, ActiveEnemiesFallCappedAndDyingOnesWithoutEnd) {
    Enemy* walker = PlaceEnemy(0, 9, PlayerX - 500.0f, PlayerY);  // a stray kind: motion only
    Enemy* hovering = PlaceEnemy(1, 9, PlayerX - 500.0f, PlayerY);
    hovering->airborne = 2;
    Enemy* falling = PlaceEnemy(3, 9, PlayerX - 500.0f, PlayerY);
    falling->airborne = 1;
    Enemy* dying = PlaceEnemy(2, 0, PlayerX, PlayerY);
    dying->state = 2;
    dying->xF = -1.0f;
    dying->animation = 1.5f;
    for (int frame = 0; frame < 60; ++frame) {
        UpdateEnemies();
        // A 20-frame cycle: whole part 0 for ten frames, 1 for ten.
        if (frame < 20) {
            EXPECT_EQ(std::trunc(walker->animation), (frame + 1) % 20 >= 10 ? 1.0f : 0.0f) << frame;
        }
    }
    EXPECT_EQ(walker->yF, 10.0f);
    EXPECT_EQ(walker->y, PlayerY + 395.0f);  // 0.25 a frame more up to the cap of 10, then 10 a frame
    EXPECT_EQ(hovering->yF, 10.0f);
    EXPECT_EQ(hovering->y, PlayerY);
    EXPECT_EQ(falling->y, walker->y);
    EXPECT_EQ(dying->state, 2);
    EXPECT_GT(dying->yF, 5.9f);
    EXPECT_EQ(dying->spin, 1200.0f);
    EXPECT_EQ(dying->x, PlayerX - 60.0f);
    EXPECT_EQ(dying->animation, 1.5f);
}

}  // namespace
