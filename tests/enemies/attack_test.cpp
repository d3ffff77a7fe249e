// The player's strikes against the field's enemies and the boss: where the
// boxes stop and when the count window closes.
#include <gtest/gtest.h>

#include "game/actors/boss.h"
#include "game/actors/enemies.h"
#include "game/actors/hits.h"
#include "game/frame.h"
#include "support/actor_scene.h"

namespace {

constexpr float PlayerX = 1000.0f;
constexpr float PlayerY = 500.0f;
constexpr int Right = 0;
constexpr int Left = 1;

class Strikes : public testing::Test {
protected:
    void SetUp() override {
        ClearActors();
        ParkEnemies();
        StandPlayer(PlayerX, PlayerY, Right);
    }
    static void Attack(int state, int count, int facing = Right) {
        ThePlayer.attackState = state;
        ThePlayer.attackCount = count;
        ThePlayer.facing = facing;
    }
    // A 32 x 32 enemy; its hit box spans x - 11 to x + 10.
    static Enemy* EnemyAt(int index, float x, float y = PlayerY) { return PlaceEnemy(index, 0, x, y); }
};

TEST_F(Strikes, BoxesStopAtTheirEdgesAndTheFieldWindowClosesAtEighteen) {
    // Ground box 48 to 93 px ahead, 80 to 16 px above the feet; aerial box A
    // 38 to 78 px ahead over the full height, B under the feet, 48 px back
    // to 47 px forward.
    const struct { int state, count, facing; float dx, dy; int hit; } rows[] = {
        {1, 19, Right, 60, 0, 1},    {1, 18, Right, 60, 0, 0},     {3, 0, Right, 60, 0, 0},
        {4, 29, Right, 60, 0, 0},    {5, 19, Right, 60, 0, 1},     {0, 25, Right, 60, 0, 0},
        {1, 25, Right, 104, 0, 0},   {1, 25, Right, 103.5f, 0, 1}, {1, 25, Right, 37, 0, 0},
        {1, 25, Left, -104, 0, 0},   {1, 25, Left, -103, 0, 1},    {1, 25, Left, 60, 0, 0},
        {1, 25, Right, 60, -80, 0},  {1, 25, Right, 60, -47, 1},   {5, 25, Right, 70, -60, 1},
        {5, 25, Right, -30, 40, 1},  {5, 25, Right, -30, 42, 0},   {5, 25, Right, -70, -60, 0},
        {5, 25, Left, 58, 40, 1},    {5, 25, Left, 59, 40, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "state " << row.state << " count " << row.count << " facing "
                                        << row.facing << " at " << row.dx << ", " << row.dy);
        Attack(row.state, row.count, row.facing);
        Enemy* e = EnemyAt(0, PlayerX + row.dx, PlayerY + row.dy);
        PlayerAttackHits(SceneField);
        EXPECT_EQ(e->state, row.hit ? EnemyDying : EnemyActive);
    }
}

TEST_F(Strikes, NearTheLeftEdgeBoxesTruncateTowardZeroAndTheDyingAreKnockedAgain) {
    // The ground box starts at trunc(90.5 - 93) = -2.
    StandPlayer(90.5f, PlayerY, Left);
    Attack(1, 25, Left);
    Enemy* touching = EnemyAt(0, -13.0f);  // hit box -24 to -3
    Enemy* reaching = EnemyAt(1, -12.0f);  // hit box -23 to -2
    PlayerAttackHits(SceneField);
    PlayerAttackHits(SceneField);
    EXPECT_EQ(touching->state, EnemyActive);
    EXPECT_EQ(reaching->xF, -6.0f);
    EXPECT_EQ(reaching->yF, -6.0f);
    // 60.99999619 - 1 + 5 truncates to 64, where a float sum rounds to 65.
    EXPECT_EQ(ActorBox(61.0f - 0x1p-18f, PlayerY, 2, 32).left, 64);
}

TEST_F(Strikes, TheBossLosesOnePointAFrameInEveryStateWithoutAWindow) {
    // The boss's hit box spans x - 93 to x + 92.
    const struct { int bossState, attack, count, facing; float dx, dy; int hp; float pushedX; } rows[] = {
        {BossFighting, 1, 5, Right, 185, 0, 299, 193},     {BossFighting, 1, 5, Right, 186, 0, 300, 186},
        {BossFighting, 5, 1, Left, 40, 20, 299, 32},       {BossDefeated, 2, 1, Right, 0, 0, -1, 8},
        {BossTransforming, 2, 1, Right, 0, 0, -1, 8},      {BossFighting, 4, 9, Right, 0, 0, 0, 0},
        {BossFighting, -1, 9, Right, 0, 0, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "state " << row.bossState << " attack " << row.attack);
        ResetBoss();
        Boss.x = PlayerX + row.dx;
        Boss.y = PlayerY + row.dy;
        Boss.state = row.bossState;
        BossHp = row.hp == 299 || row.hp == 300 ? 300 : 0;
        Attack(row.attack, row.count, row.facing);
        PlayerAttackHits(SceneBoss);
        EXPECT_EQ(BossHp, row.hp);
        EXPECT_EQ(Boss.x, PlayerX + row.pushedX);
        EXPECT_EQ(Boss.y, PlayerY + row.dy - (Boss.x == PlayerX + row.dx ? 0.0f : 2.0f));
    }
}

}  // namespace
