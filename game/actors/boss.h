// The boss at the stage's end.
#pragma once

// The swing and the thud hurt while their counter is below this.
constexpr int BossStrikeLiveBelow = 25;

// Puts the boss at its start in its first form with full life.
void ResetBoss();
// One boss-scene frame of the boss: walking, attacks, motion, change of form.
void UpdateBoss();
