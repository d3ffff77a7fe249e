// Placeholder until this area is built; replace wholesale.
#include "game/actors/enemies.h"

void LoadEnemies(Enemy*) {}
void UpdateEnemies() {}
void UpdateShots() {}
void ShotsHitPlayer() {}
void ActorTouchesPlayer(float*, float*, int, int, int, int) {}
void PlayerAttackHits(int) {}
