// The field's enemies, every shot, and the hits between them and the player.
#pragma once
#include "game/records.h"

void LoadEnemies(Enemy* table);
void UpdateEnemies();
void UpdateShots();

// Damage to the player.
void ShotsHitPlayer();
void ActorTouchesPlayer(float* x, float* y, int w, int h, int airborne, int state);

// The player's strikes against the enemies (scene 1) or the boss (scene 2).
void PlayerAttackHits(int scene);
