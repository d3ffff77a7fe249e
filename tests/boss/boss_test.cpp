// The boss's frame at its edges: the attack roll's boundary, attacks that
// find no room, the change of form and the defeat. Its everyday fight, with
// its sounds, is pinned by the golden replays.
#include <gtest/gtest.h>

#include "game/actors/boss.h"
#include "game/actors/enemies.h"
#include "platform/crt.h"
#include "support/actor_scene.h"

namespace {

// Draws whose remainders start attack `attack` at the next update on a roll of `roll`.
void SeedAttack(int attack, int roll = 2) {
    SeedFor(2, [=](const int* d) { return d[0] % 100 == roll && d[1] % 5 == attack; });
}

class BossFrame : public testing::Test {
protected:
    void SetUp() override {
        ClearActors();
        StandPlayer(6300.0f, 500.0f, 0);
        ResetBoss();
    }
};

TEST_F(BossFrame, AttacksStartBelowThreeInAHundredAndOnlyWhereTheyHaveRoom) {
    const struct { int attack, roll, airborne, freeSlots, attackAfter, counterAfter, shots; } rows[] = {
        {BossSwing, 2, 0, 20, BossSwing, 49, 0}, {BossSwing, 3, 0, 20, BossWalking, 0, 0},
        {BossLeap, 2, 1, 20, BossWalking, 0, 0}, {BossShots, 2, 0, 0, BossShots, 29, 0},
        {BossShots, 2, 0, 20, BossShots, 29, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "attack " << row.attack << " roll " << row.roll);
        SetUp();
        Boss.airborne = row.airborne;
        for (int i = row.freeSlots; i < ShotCount; ++i) Shots[i].active = 1;
        SeedAttack(row.attack, row.roll);
        UpdateBoss();
        EXPECT_EQ(Boss.attack, row.attackAfter);
        EXPECT_EQ(Boss.attackCounter, row.counterAfter);
        EXPECT_EQ(Shots[0].type == 2, row.shots == 1);
    }
}

TEST_F(BossFrame, BelowOneFiftyItFreezesThirtyUpdatesAndCarriesItsAttackOver) {
    BossHp = 150;
    SeedAttack(BossSwing);
    for (int i = 0; i < 30; ++i) UpdateBoss();
    EXPECT_EQ(Boss.state, BossFighting);
    BossHp = 149;
    Boss.yF = 2.0f;
    UpdateBoss();
    const Enemy frozen = Boss;
    for (int update = 1; update < 30; ++update) UpdateBoss();
    EXPECT_EQ(Boss.state, BossTransforming);
    EXPECT_EQ(Boss.y, frozen.y);
    UpdateBoss();
    EXPECT_EQ(Boss.state, BossFighting);
    EXPECT_EQ(Boss.kind, BossSecondForm);
    EXPECT_EQ(Boss.attack, BossSwing);
    EXPECT_EQ(Boss.attackCounter, frozen.attackCounter);
}

TEST_F(BossFrame, LifeBelowZeroAtTheDefeatReadsZeroAndItFliesThePlayersWay) {
    for (int facing : {0, 1}) {
        Boss.spin = 77.0f;  // spun by the last defeat: a new fight starts it upright
        ResetBoss();
        EXPECT_EQ(Boss.spin, 0.0f);
        Boss.kind = BossSecondForm;
        BossHp = -4;
        ThePlayer.facing = facing;
        UpdateBoss();
        const float x = Boss.x;
        EXPECT_EQ(BossHp, 0);
        EXPECT_EQ(Boss.state, BossDefeated);
        EXPECT_EQ(Boss.xF, facing ? -20.0f : 20.0f);
        const float spin = Boss.spin;
        UpdateBoss();
        EXPECT_EQ(Boss.x, x + (facing ? -20.0f : 20.0f));
        EXPECT_NE(Boss.spin, spin);  // it tumbles as it flies
    }
}

}  // namespace
