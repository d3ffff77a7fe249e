// The boss at the stage's end.
#pragma once

void ResetBoss();
void UpdateBoss();
void BossAttackHitsPlayer();
