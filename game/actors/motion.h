// The motion the actors share: the fall under gravity, and the enemies' and the boss's walk cycle.
#pragma once
#include "game/records.h"

constexpr float GravityPx = 0.25f;  // added to the fall speed each frame
constexpr float MaxFallSpeedPx = 10.0f;
constexpr float EnemyCycleStepCols = 0.1f;  // enemies and boss: two sheet columns
constexpr float EnemyCycleEndCols = 2.0f;

// One frame of gravity on a speed that is positive downwards.
inline void Fall(float* vy) {
    *vy += GravityPx;
    if (*vy > MaxFallSpeedPx) *vy = MaxFallSpeedPx;
}

// One frame of an enemy's or the boss's walk cycle, back to 0 at its end.
inline void StepWalkCycle(Enemy* actor) {
    actor->animation += EnemyCycleStepCols;
    if (actor->animation >= EnemyCycleEndCols) actor->animation = 0.0f;
}
