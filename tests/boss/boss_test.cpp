// The boss's frame: walking, the attack roll, the four attacks, the change
// of form and the defeat, run through UpdateBoss with fixed random draws.
#include <gtest/gtest.h>

#include "game/actors/boss.h"
#include "game/actors/enemies.h"
#include "game/frame.h"
#include "platform/crt.h"
#include "support/actor_scene.h"
#include "support/played_sounds.h"

namespace {

constexpr float PlayerX = 6300.0f;
constexpr float PlayerY = 500.0f;

// Draws that start attack `attack` at the next update.
void SeedAttack(int attack) {
    SeedFor(2, [=](const int* d) { return d[0] % 100 < 3 && d[1] % 5 == attack; });
}

// Draws that start nothing for a while.
void SeedCalm() {
    SeedFor(8, [](const int* d) {
        for (int i = 0; i < 8; ++i) {
            if (d[i] % 100 < 3) return false;
        }
        return true;
    });
}

class BossFrame : public testing::Test {
protected:
    void SetUp() override {
        ClearActors();
        StandPlayer(PlayerX, PlayerY, 0);
        ResetBoss();
    }
};

TEST_F(BossFrame, ItWalksTowardThePlayerAndFalls) {
    SeedCalm();
    UpdateBoss();
    EXPECT_EQ(Boss.facing, 1);
    EXPECT_EQ(Boss.xF, -3.0f);
    EXPECT_EQ(Boss.x, 6497.0f);
    EXPECT_EQ(Boss.yF, 0.25f);
    // Level with the player it faces and walks right.
    ThePlayer.x = Boss.x;
    UpdateBoss();
    EXPECT_EQ(Boss.facing, 0);
    EXPECT_EQ(Boss.x, 6500.0f);
    for (int i = 0; i < 60; ++i) {
        SeedCalm();
        UpdateBoss();
    }
    EXPECT_EQ(Boss.yF, 10.0f);
    EXPECT_EQ(Boss.attack, 0);
}

TEST_F(BossFrame, ARollOfNoneStartsNothingAndALeapInTheAirIsDropped) {
    PlayedSounds sounds({14, 15, 16});
    SeedAttack(BossWalking);
    UpdateBoss();
    EXPECT_EQ(Boss.attack, 0);
    EXPECT_EQ(Boss.attackCounter, 0);
    EXPECT_EQ(Boss.xF, -3.0f);

    Boss.airborne = 1;
    Boss.yF = 4.0f;
    SeedAttack(BossLeap);
    UpdateBoss();
    EXPECT_EQ(Boss.attack, 0);
    EXPECT_EQ(Boss.attackCounter, 0);
    EXPECT_EQ(Boss.yF, 4.25f);
    EXPECT_EQ(sounds.Heard(), "");
}

TEST_F(BossFrame, SwingAndThudStrikeFromTheirTwentyFifthUpdateToTheirFortyEighth) {
    PlayedSounds sounds({14, 15, 16});
    for (int attack : {BossSwing, BossThud}) {
        SCOPED_TRACE(attack);
        ResetBoss();
        Boss.yF = 3.0f;
        SeedAttack(attack);
        for (int update = 0; update < 52; ++update) {
            UpdateBoss();
            if (update == 0) {
                EXPECT_EQ(Boss.attack, attack);
                EXPECT_EQ(Boss.xF, 0.0f);
                EXPECT_EQ(Boss.yF, 0.25f);  // the fall starts again from rest
            }
            // A fresh player each frame, standing inside both boxes.
            StandPlayer(Boss.x - 100.0f, Boss.y, 0);
            BossAttackHitsPlayer();
            bool live = update >= 25 && update <= 48;
            EXPECT_EQ(ThePlayer.HP, live ? (attack == BossSwing ? 270 : 290) : 300) << update;
            EXPECT_EQ(Boss.attack, update <= 48 ? attack : 0) << update;
            // The roar at the start, the blow's own sound in update 25.
            if (update == 0) {
                EXPECT_EQ(sounds.Heard(), "14 x 1");
            } else if (update == 24) {
                EXPECT_EQ(sounds.Heard(), "");
            } else if (update == 25) {
                EXPECT_EQ(sounds.Heard(), attack == BossSwing ? "15 x 1" : "16 x 1");
            }
            if (update == 49) break;
        }
        // The boss turns only while it walks: facing left all along.
        EXPECT_EQ(Boss.facing, 1);
        EXPECT_EQ(sounds.Heard(), "");
    }
}

TEST_F(BossFrame, TheLeapJumpsInItsTwentyFifthUpdate) {
    PlayedSounds sounds({14, 15, 16});
    SeedAttack(BossLeap);
    UpdateBoss();
    EXPECT_EQ(sounds.Heard(), "14 x 1");
    EXPECT_EQ(Boss.attack, BossLeap);
    EXPECT_EQ(Boss.attackCounter, 99);
    for (int update = 1; update < 25; ++update) UpdateBoss();
    EXPECT_EQ(Boss.xF, 0.0f);
    float dx = ThePlayer.x - Boss.x;
    UpdateBoss();  // update 25
    EXPECT_EQ(Boss.xF, dx / 60.0f);
    EXPECT_EQ(Boss.yF, -10.0f + 0.25f);
    // The jump's speed stands, landed or not, to the last update (99).
    ThePlayer.x = 9000.0f;
    for (int update = 26; update < 100; ++update) UpdateBoss();
    EXPECT_EQ(Boss.xF, dx / 60.0f);
    EXPECT_EQ(Boss.attack, 0);
    SeedCalm();
    UpdateBoss();  // update 100 walks
    EXPECT_EQ(Boss.xF, 3.0f);
    EXPECT_EQ(sounds.Heard(), "");
}

TEST_F(BossFrame, FirstFormFiresOneShotIntoTheFirstFreeSlot) {
    Shots[0].active = 1;
    Shots[1].spin = 33.0f;
    SeedAttack(BossShots);
    UpdateBoss();
    const Shot& s = Shots[1];
    EXPECT_EQ(s.active, 1);
    EXPECT_EQ(s.type, 2);
    EXPECT_EQ(s.width, 32);
    EXPECT_EQ(s.height, 32);
    EXPECT_EQ(s.vx, -6.0f);
    EXPECT_EQ(s.vy, 1.0f);
    EXPECT_EQ(s.life, 100);
    EXPECT_EQ(s.x, 6500.0f - 128.0f);
    EXPECT_EQ(s.y, 500.0f - 128.0f - 16.0f);
    EXPECT_EQ(s.spin, 33.0f);
    EXPECT_EQ(Shots[2].active, 0);

    // With every slot busy none flies, yet the boss roars and stands its
    // 30 updates.
    PlayedSounds sounds({14});
    for (Shot& shot : Shots) shot = Shot{0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    ResetBoss();
    ThePlayer.x = 7000.0f;
    SeedAttack(BossShots);
    UpdateBoss();
    EXPECT_EQ(Boss.attack, BossShots);
    EXPECT_EQ(sounds.Plays(14), 1);
    for (int update = 1; update < 30; ++update) UpdateBoss();
    EXPECT_EQ(Boss.attack, 0);
    EXPECT_EQ(Boss.x, 6500.0f);
    for (const Shot& shot : Shots) EXPECT_EQ(shot.type, 0);
}

TEST_F(BossFrame, SecondFormScattersUpToFiveShots) {
    Boss.kind = BossSecondForm;
    ThePlayer.x = Boss.x;  // level: the shots fly right
    unsigned seed = 0;
    int draws[2 + 10];
    // Two free slots: two shots, four scatter draws after the roll's two.
    for (int i = 0; i < ShotCount; ++i) Shots[i].active = (i == 4 || i == 11) ? 0 : 1;
    seed = SeedFor(2, [](const int* d) { return d[0] % 100 < 3 && d[1] % 5 == BossShots; });
    for (int& d : draws) d = crt::rand();
    crt::srand(seed);
    UpdateBoss();
    EXPECT_EQ(Shots[4].vx, 6.0f);
    EXPECT_EQ(Shots[4].x, 6500.0f + 128.0f + (draws[2] % 50 - 25));
    EXPECT_EQ(Shots[4].y, 500.0f - 128.0f - 16.0f + (draws[3] % 100 - 50));
    EXPECT_EQ(Shots[11].x, 6500.0f + 128.0f + (draws[4] % 50 - 25));
    EXPECT_EQ(Shots[11].y, 500.0f - 128.0f - 16.0f + (draws[5] % 100 - 50));
    EXPECT_EQ(crt::rand(), draws[6]);

    // A free table: five shots in slots 0 to 4, ten scatter draws.
    ResetBoss();
    Boss.kind = BossSecondForm;
    for (Shot& shot : Shots) shot.active = 0;
    crt::srand(seed);
    UpdateBoss();
    for (int i = 0; i < ShotCount; ++i) EXPECT_EQ(Shots[i].active, i < 5 ? 1 : 0) << i;
    EXPECT_EQ(Shots[4].x, 6500.0f + 128.0f + (draws[10] % 50 - 25));
    EXPECT_EQ(Shots[4].y, 500.0f - 128.0f - 16.0f + (draws[11] % 100 - 50));
}

TEST_F(BossFrame, BelowOneFiftyItChangesFormAndCarriesItsAttackOver) {
    // A strike in this frame takes effect in the boss's next update.
    BossHp = 150;
    SeedAttack(BossSwing);
    UpdateBoss();
    EXPECT_EQ(Boss.attackCounter, 49);
    for (int update = 1; update < 30; ++update) UpdateBoss();
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
    EXPECT_EQ(Boss.state, BossFighting);
}

TEST_F(BossFrame, DefeatedItFliesOffForGoodAndStillTakesStrikes) {
    Boss.kind = BossSecondForm;
    BossHp = 0;
    ThePlayer.facing = 1;
    SeedCalm();
    UpdateBoss();
    EXPECT_EQ(Boss.state, BossDefeated);
    EXPECT_EQ(BossHp, 0);
    EXPECT_EQ(Boss.xF, -20.0f);
    EXPECT_EQ(Boss.yF, -20.0f);
    float x = Boss.x, y = Boss.y;
    for (int i = 1; i <= 10; ++i) UpdateBoss();
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

    ResetBoss();
    BossHp = -4;
    ThePlayer.facing = 0;
    UpdateBoss();
    EXPECT_EQ(Boss.xF, 20.0f);
    EXPECT_EQ(BossHp, 0);
}

}  // namespace
