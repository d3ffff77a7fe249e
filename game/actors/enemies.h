// The field's enemies, every shot, and the hits between them and the player.
#pragma once
#include <cstdio>

#include "game/actors/player.h"
#include "game/records.h"

// Reads the enemy list and the per-kind files into the 30 records; a missing
// list leaves everything but the reset fields as it was.
void LoadEnemies(Enemy* table);
// One field frame of all 30 enemies: waking, behaviour by kind, motion.
void UpdateEnemies();
// One frame of every flying shot, enemy's and boss's alike.
void UpdateShots();

// Damage to the player.
void ShotsHitPlayer();
void ActorTouchesPlayer(float* x, float* y, int w, int h, int airborne, int state);

// The player's strikes against the enemies (scene 1) or the boss (scene 2).
void PlayerAttackHits(int scene);

// The body of an actor standing on its feet at (x, y), 5 px narrower on each
// side than its size. Serves both contact and the player's strikes.
Box ActorBox(float x, float y, int w, int h);
// A box size less a margin, never wrapping below the lowest int.
int ShrinkSize(int size, int margin);
// The lowest-numbered free slot of Shots, or -1 when all are flying.
int FirstFreeShotSlot();

// The enemy files' numbers, read as fscanf reads them (white space, sign,
// digits; inf and nan for floats) but saturated to the field's range. A read
// that fails leaves its field alone and every later read of the file fails.
struct NumberReader {
    FILE* file;
    int failed;
};
void ReadInt(NumberReader* reader, int* field);
void ReadFloat(NumberReader* reader, float* field);
