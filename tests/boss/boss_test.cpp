// The boss's frame: walking, the attack roll, the four attacks, the change
// of form and the defeat, run through UpdateBoss with fixed random draws.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/actors/boss.h"
#include "game/actors/enemies.h"
#include "game/actors/hits.h"
#include "game/frame.h"
#include "platform/crt.h"
#include "support/actor_scene.h"
#include "support/played_sounds.h"

namespace {

// Draws that start attack `attack` at the next update; returns the seed.
unsigned SeedAttack(int attack) {
    return SeedFor(2, [=](const int* d) { return d[0] % 100 < 3 && d[1] % 5 == attack; });
}

// Draws that start nothing for a while.
void SeedCalm() {
    SeedFor(8, [](const int* d) { return std::all_of(d, d + 8, [](int draw) { return draw % 100 >= 3; }); });
}

void RunBoss(int updates) {
    for (int i = 0; i < updates; ++i) UpdateBoss();
}

class BossFrame : public testing::Test {
protected:
    void SetUp() override {
        ClearActors();
        StandPlayer(6300.0f, 500.0f, 0);
        ResetBoss();
    }
    PlayedSounds sounds{14, 15, 16};
};

TEST_F(BossFrame, ItWalksAndFallsAndNoRollOrLeapInTheAirStartsAnything) {
    SeedAttack(BossWalking);
    UpdateBoss();
    EXPECT_EQ(Boss.facing, 1);
    EXPECT_EQ(Boss.xF, -3.0f);
    EXPECT_EQ(Boss.x, 6497.0f);
    EXPECT_EQ(Boss.yF, 0.25f);
    EXPECT_EQ(Boss.attackCounter, 0);
    // Level with the player it faces and walks right.
    ThePlayer.x = Boss.x;
    Boss.airborne = 1;
    SeedAttack(BossLeap);
    UpdateBoss();
    EXPECT_EQ(Boss.facing, 0);
    EXPECT_EQ(Boss.x, 6500.0f);
    EXPECT_EQ(Boss.attack, 0);
    EXPECT_EQ(Boss.attackCounter, 0);
    EXPECT_EQ(Boss.yF, 0.5f);
    for (int i = 0; i < 60; ++i) {
        SeedCalm();
        UpdateBoss();
    }
    EXPECT_EQ(Boss.yF, 10.0f);
    EXPECT_EQ(Boss.attack, 0);
    EXPECT_EQ(sounds.Heard(), "");
}

TEST_F(BossFrame, SwingAndThudStrikeFromTheirTwentyFifthUpdateToTheirFortyEighth) {
    for (int attack : {BossSwing, BossThud}) {
        SCOPED_TRACE(attack);
        ResetBoss();
        Boss.yF = 3.0f;
        SeedAttack(attack);
        for (int update = 0; update < 50; ++update) {
            UpdateBoss();
            if (update == 0) {
                EXPECT_EQ(Boss.attack, attack);
                EXPECT_EQ(Boss.xF, 0.0f);
                EXPECT_EQ(Boss.yF, 0.25f);  // the fall starts again from rest
            }
            StandPlayer(Boss.x - 100.0f, Boss.y, 0);  // inside both boxes
            BossAttackHitsPlayer();
            bool live = update >= 25 && update <= 48;
            EXPECT_EQ(ThePlayer.HP, live ? (attack == BossSwing ? 270 : 290) : 300) << update;
            EXPECT_EQ(Boss.attack, update <= 48 ? attack : 0) << update;
            // The roar at the start, the blow's own sound in update 25.
            const char* heard = update == 0 ? "14 x 1" : update == 24 ? "" : nullptr;
            if (update == 25) heard = attack == BossSwing ? "15 x 1" : "16 x 1";
            if (heard) {
                EXPECT_EQ(sounds.Heard(), heard) << update;
            }
        }
        EXPECT_EQ(Boss.facing, 1);  // it turns only while it walks
        EXPECT_EQ(sounds.Heard(), "");
    }
}

TEST_F(BossFrame, TheLeapJumpsInItsTwentyFifthUpdate) {
    SeedAttack(BossLeap);
    UpdateBoss();
    EXPECT_EQ(sounds.Heard(), "14 x 1");
    EXPECT_EQ(Boss.attack, BossLeap);
    EXPECT_EQ(Boss.attackCounter, 99);
    RunBoss(24);
    EXPECT_EQ(Boss.xF, 0.0f);
    float dx = ThePlayer.x - Boss.x;
    UpdateBoss();  // update 25
    EXPECT_EQ(Boss.xF, dx / 60.0f);
    EXPECT_EQ(Boss.yF, -10.0f + 0.25f);
    // The jump's speed stands, landed or not, to the last update (99).
    ThePlayer.x = 9000.0f;
    RunBoss(74);
    EXPECT_EQ(Boss.xF, dx / 60.0f);
    EXPECT_EQ(Boss.attack, 0);
    SeedCalm();
    UpdateBoss();
    EXPECT_EQ(Boss.xF, 3.0f);
    EXPECT_EQ(sounds.Heard(), "");
}

TEST_F(BossFrame, FirstFormFiresOneShotIntoTheFirstFreeSlotOrNone) {
    Shots[0].active = 1;
    Shots[1].spin = 33.0f;
    SeedAttack(BossShots);
    UpdateBoss();
    EXPECT_EQ(ShotFields(Shots[1]), "x 6372 y 356 v -6 1 spin 33 type 2 size 32x32 life 100 active 1");
    EXPECT_EQ(Shots[2].active, 0);
    // With every slot busy none flies, yet the boss roars and stands 30 updates.
    for (Shot& shot : Shots) shot = Shot{0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    ResetBoss();
    ThePlayer.x = 7000.0f;
    sounds.Heard();
    SeedAttack(BossShots);
    UpdateBoss();
    EXPECT_EQ(Boss.attack, BossShots);
    EXPECT_EQ(sounds.Heard(), "14 x 1");
    RunBoss(29);
    EXPECT_EQ(Boss.attack, 0);
    EXPECT_EQ(Boss.x, 6500.0f);
    for (const Shot& shot : Shots) EXPECT_EQ(shot.type, 0);
}

TEST_F(BossFrame, SecondFormScattersUpToFiveShots) {
    Boss.kind = BossSecondForm;
    ThePlayer.x = Boss.x;  // level: the shots fly right
    // Two free slots: two shots, four scatter draws after the roll's two.
    for (int i = 0; i < ShotCount; ++i) Shots[i].active = (i == 4 || i == 11) ? 0 : 1;
    unsigned seed = SeedAttack(BossShots);
    int d[12];
    for (int& draw : d) draw = crt::rand();
    crt::srand(seed);
    UpdateBoss();
    EXPECT_EQ(Shots[4].vx, 6.0f);
    EXPECT_EQ(Shots[4].x, 6628.0f + (d[2] % 50 - 25));
    EXPECT_EQ(Shots[4].y, 356.0f + (d[3] % 100 - 50));
    EXPECT_EQ(Shots[11].x, 6628.0f + (d[4] % 50 - 25));
    EXPECT_EQ(Shots[11].y, 356.0f + (d[5] % 100 - 50));
    EXPECT_EQ(crt::rand(), d[6]);
    // A free table: five shots in slots 0 to 4, ten scatter draws.
    ResetBoss();
    Boss.kind = BossSecondForm;
    for (Shot& shot : Shots) shot.active = 0;
    crt::srand(seed);
    UpdateBoss();
    for (int i = 0; i < ShotCount; ++i) EXPECT_EQ(Shots[i].active, i < 5 ? 1 : 0) << i;
    EXPECT_EQ(Shots[4].x, 6628.0f + (d[10] % 50 - 25));
    EXPECT_EQ(Shots[4].y, 356.0f + (d[11] % 100 - 50));
}

TEST_F(BossFrame, BelowOneFiftyItChangesFormAndCarriesItsAttackOver) {
    BossHp = 150;
    SeedAttack(BossSwing);
    RunBoss(30);
    EXPECT_EQ(Boss.attackCounter, 20);
    BossHp = 149;
    Boss.airborne = 1;
    Boss.yF = 2.0f;
    UpdateBoss();  // finds BossHp below 150 at its end
    EXPECT_EQ(Boss.state, BossTransforming);
    EXPECT_EQ(Boss.kind, 3);
    EXPECT_EQ(Boss.bossCount, 30);
    EXPECT_EQ(Boss.attackCounter, 19);
    float x = Boss.x, y = Boss.y;
    for (int update = 1; update < 30; ++update) {
        UpdateBoss();
        // Frozen in the air with its swing still live.
        StandPlayer(Boss.x - 100.0f, Boss.y, 0);
        BossAttackHitsPlayer();
        EXPECT_EQ(ThePlayer.HP, 270);
    }
    EXPECT_EQ(Boss.state, BossTransforming);
    EXPECT_EQ(Boss.x, x);
    EXPECT_EQ(Boss.y, y);
    EXPECT_EQ(Boss.yF, 2.25f);
    UpdateBoss();
    EXPECT_EQ(Boss.state, BossFighting);
    EXPECT_EQ(Boss.kind, BossSecondForm);
    EXPECT_EQ(Boss.attack, BossSwing);
    EXPECT_EQ(Boss.attackCounter, 19);
    UpdateBoss();
    EXPECT_EQ(Boss.attackCounter, 18);
}

TEST_F(BossFrame, DefeatedItFliesOffForGoodAndStillTakesStrikes) {
    Boss.kind = BossSecondForm;
    BossHp = 0;
    ThePlayer.facing = 1;
    SeedCalm();
    UpdateBoss();
    EXPECT_EQ(Boss.state, BossDefeated);
    EXPECT_EQ(Boss.xF, -20.0f);
    EXPECT_EQ(Boss.yF, -20.0f);
    float x = Boss.x, y = Boss.y;
    RunBoss(10);
    EXPECT_EQ(Boss.x, x - 200.0f);
    EXPECT_EQ(Boss.y, y - 200.0f);
    EXPECT_EQ(Boss.spin, 200.0f);
    EXPECT_EQ(Boss.yF, -20.0f);
    // An attack still running meets the flying boss: life goes below 0.
    StandPlayer(Boss.x - 60.0f, Boss.y, 0);
    ThePlayer.attackState = 1;
    ThePlayer.attackCount = 3;
    PlayerAttackHits(SceneBoss);
    EXPECT_EQ(BossHp, -1);
    // Below 0 at the defeat it reads 0 again, flying the player's way.
    ResetBoss();
    BossHp = -4;
    ThePlayer.facing = 0;
    UpdateBoss();
    EXPECT_EQ(Boss.xF, 20.0f);
    EXPECT_EQ(BossHp, 0);
}

}  // namespace
