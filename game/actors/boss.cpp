// Placeholder until this area is built; replace wholesale.
#include "game/actors/boss.h"

void ResetBoss() {}
void UpdateBoss() {}
void BossAttackHitsPlayer() {}
