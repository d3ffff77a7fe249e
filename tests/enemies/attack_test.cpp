// The player's strikes against the field's enemies and the boss.
#include <gtest/gtest.h>

#include "game/actors/boss.h"
#include "game/actors/enemies.h"
#include "game/actors/hits.h"
#include "game/frame.h"
#include "support/actor_scene.h"
#include "support/played_sounds.h"

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
        Attack(1, 25);
    }
    static void Attack(int state, int count) {
        ThePlayer.attackState = state;
        ThePlayer.attackCount = count;
    }
    // A 32 x 32 enemy; its hit box spans x - 11 to x + 10.
    static Enemy* EnemyAt(int index, float x, float y = PlayerY) { return PlaceEnemy(index, 0, x, y); }
    static void BossAt(float x, float y) {
        ResetBoss();
        Boss.x = x;
        Boss.y = y;
    }
};

TEST_F(Strikes, TheGroundBoxReachesFortyEightToNinetyThreePxAheadWhileTheCountWindowIsOpen) {
    const struct { int state, count, facing; float dx, dy; int hit; } rows[] = {
        {1, 19, Right, 60, 0, 1},     {1, 18, Right, 60, 0, 0},    {2, 29, Right, 60, 0, 1},
        {3, 49, Right, 60, 0, 1},     {3, 0, Right, 60, 0, 0},     {0, 25, Right, 60, 0, 0},
        {4, 29, Right, 60, 0, 0},     {4, 19, Right, 60, 0, 0},    {5, 24, Right, 60, 0, 1},
        {5, 18, Right, 60, 0, 0},     {1, 25, Right, 20, 0, 0},    {1, 25, Right, 104, 0, 0},
        {1, 25, Right, 103.5f, 0, 1}, {1, 25, Right, 48, 0, 1},    {1, 25, Right, 37, 0, 0},
        {1, 25, Left, -60, 0, 1},     {1, 25, Left, 60, 0, 0},     {1, 25, Left, -104, 0, 0},
        {1, 25, Left, -103, 0, 1},    {1, 25, Right, 60, -80, 0},  {1, 25, Right, 60, -47, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "state " << row.state << " count " << row.count << " facing "
                                        << row.facing << " at " << row.dx << ", " << row.dy);
        ThePlayer.facing = row.facing;
        Attack(row.state, row.count);
        Enemy* e = EnemyAt(0, PlayerX + row.dx, PlayerY + row.dy);
        PlayerAttackHits(SceneField);
        EXPECT_EQ(e->state, row.hit ? 2 : 1);
    }
}

TEST_F(Strikes, EveryEnemyInTheBoxFallsAndTheDyingAreKnockedAgain) {
    PlayedSounds sounds({9});
    Enemy* a = EnemyAt(3, PlayerX + 60.0f);
    Enemy* b = EnemyAt(17, PlayerX + 75.0f);
    Enemy* asleep = EnemyAt(20, PlayerX + 80.0f);
    asleep->state = 0;
    a->xF = -3.0f;  // walking at the player who faces it
    PlayerAttackHits(SceneField);
    EXPECT_EQ(a->state, 2);
    EXPECT_EQ(b->state, 2);
    EXPECT_EQ(asleep->state, 2);
    EXPECT_EQ(a->xF, 0.0f);
    EXPECT_EQ(a->yF, -3.0f);
    EXPECT_EQ(b->xF, 3.0f);
    EXPECT_EQ(sounds.Plays(9), 3);
    PlayerAttackHits(SceneField);
    EXPECT_EQ(b->xF, 6.0f);
    EXPECT_EQ(b->yF, -6.0f);
    EXPECT_EQ(sounds.Plays(9), 3);
    ThePlayer.facing = Left;
    Enemy* c = EnemyAt(4, PlayerX - 60.0f);
    PlayerAttackHits(SceneField);
    EXPECT_EQ(c->xF, -3.0f);
    EXPECT_EQ(sounds.Plays(9), 1);
}

TEST_F(Strikes, TheAerialStrikeUsesBoxAInFrontThenBoxBBelow) {
    Attack(5, 20);
    // A: 38 to 78 px ahead over the full height.
    Enemy* ahead = EnemyAt(0, PlayerX + 70.0f, PlayerY - 60.0f);
    // B: centred under the player, 30 px above to 10 px below the feet.
    Enemy* below = EnemyAt(1, PlayerX - 30.0f, PlayerY + 40.0f);
    Enemy* beyondB = EnemyAt(2, PlayerX - 30.0f, PlayerY + 42.0f);
    Enemy* behind = EnemyAt(3, PlayerX - 70.0f, PlayerY - 60.0f);
    PlayerAttackHits(SceneField);
    EXPECT_EQ(ahead->state, 2);
    EXPECT_EQ(below->state, 2);
    EXPECT_EQ(beyondB->state, 1);
    EXPECT_EQ(behind->state, 1);
}

TEST_F(Strikes, NearTheLeftEdgeBoxesTruncateTowardZero) {
    // px 90.5 facing left: the ground box starts at trunc(-2.5) = -2.
    StandPlayer(90.5f, PlayerY, Left);
    Attack(1, 25);
    Enemy* touching = EnemyAt(0, -13.0f);  // hit box -24 to -3
    Enemy* reaching = EnemyAt(1, -12.0f);  // hit box -23 to -2
    PlayerAttackHits(SceneField);
    EXPECT_EQ(touching->state, 1);
    EXPECT_EQ(reaching->state, 2);
    // A corner comes from the whole expression, never a rounded part of it:
    // 60.99999619 - 1 + 5 truncates to 64, where a float sum rounds to 65.
    EXPECT_EQ(ActorBox(61.0f - 0x1p-18f, PlayerY, 2, 32).left, 64);
}

TEST_F(Strikes, TheBossLosesOnePointAFrameInEveryState) {
    PlayedSounds sounds({9});
    // The boss's hit box spans x - 93 to x + 92.
    BossAt(PlayerX + 185.0f, PlayerY);
    Attack(1, 5);  // no count window against the boss
    PlayerAttackHits(SceneBoss);
    EXPECT_EQ(BossHp, 299);
    EXPECT_EQ(Boss.x, PlayerX + 193.0f);
    EXPECT_EQ(Boss.y, PlayerY - 2.0f);
    PlayerAttackHits(SceneBoss);
    EXPECT_EQ(BossHp, 299);  // pushed out of reach
    EXPECT_EQ(sounds.Plays(9), 1);
    // Both aerial boxes over the boss: still one point and one push.
    BossAt(PlayerX + 40.0f, PlayerY + 20.0f);
    Attack(5, 1);
    ThePlayer.facing = Left;
    PlayerAttackHits(SceneBoss);
    EXPECT_EQ(BossHp, 299);
    EXPECT_EQ(Boss.x, PlayerX + 32.0f);
    EXPECT_EQ(sounds.Plays(9), 1);
    // Defeated or transforming it is struck all the same, below 0 too;
    // without a strike running (states 0, 4, -1) nothing lands.
    const struct { int bossState, attack, hp; } rows[] = {
        {BossDefeated, 2, -1}, {BossTransforming, 2, -1}, {BossFighting, 0, 0},
        {BossFighting, 4, 0},  {BossFighting, -1, 0},
    };
    for (const auto& row : rows) {
        BossAt(PlayerX, PlayerY);
        Boss.state = row.bossState;
        BossHp = 0;
        Attack(row.attack, 1);
        PlayerAttackHits(SceneBoss);
        EXPECT_EQ(BossHp, row.hp) << row.bossState << " " << row.attack;
    }
}

TEST_F(Strikes, EachSceneStrikesOnlyItsOwnTargets) {
    Enemy* e = EnemyAt(0, PlayerX + 60.0f);
    BossAt(PlayerX + 60.0f, PlayerY);
    const struct { int scene, enemyState, bossHp; } rows[] = {
        {SceneTitle, 1, 300}, {SceneContinue, 1, 300}, {7, 1, 300},
        {-1, 1, 300},         {SceneBoss, 1, 299},     {SceneField, 2, 299},
    };
    for (const auto& row : rows) {
        PlayerAttackHits(row.scene);
        EXPECT_EQ(e->state, row.enemyState) << row.scene;
        EXPECT_EQ(BossHp, row.bossHp) << row.scene;
    }
}

}  // namespace
