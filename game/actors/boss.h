// The boss at the stage's end.
#pragma once

// Boss attacks (Boss.attack).
constexpr int BossWalking = 0;
constexpr int BossSwing = 1;
constexpr int BossThud = 2;
constexpr int BossLeap = 3;
constexpr int BossShots = 4;

// Boss states (Boss.state) and forms (Boss.kind).
constexpr int BossDefeated = 0;
constexpr int BossFighting = 1;
constexpr int BossTransforming = 2;
constexpr int BossFirstForm = 0;
constexpr int BossSecondForm = 2;
constexpr int BossChangingForm = 3;

// The swing and the thud hurt while their counter is below this.
constexpr int BossStrikeLiveBelow = 25;

// Puts the boss at its start in its first form with full life.
void ResetBoss();
// One boss-scene frame of the boss: walking, attacks, motion, change of form.
void UpdateBoss();
// The swing and the thud against the player; the canopy guards the swing.
void BossAttackHitsPlayer();
