// The field's enemies: read from the enemy files and run once a field frame.
#pragma once
#include "game/records.h"

// Reads the enemy list and the per-kind files into the 30 records; a missing
// list leaves everything but the reset fields as it was.
void LoadEnemies(Enemy* table);
// One field frame of all 30 enemies: waking, behaviour by kind, motion.
void UpdateEnemies();
