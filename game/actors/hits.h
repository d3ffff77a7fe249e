// Who hurts whom, in the order the field and boss frames call it.
#pragma once
#include "game/geometry.h"

// The player's strikes: against the enemies in SceneField, the boss in SceneBoss.
void PlayerAttackHits(int scene);
// Boss scene only: the swing and the thud against the player; the canopy
// guards the swing.
void BossAttackHitsPlayer();
// An actor's body against the player (each enemy in the field, the boss in
// its scene); the canopy pushes, throws or lifts the actor instead.
void ActorTouchesPlayer(float* x, float* y, int w, int h, int airborne, int state);
// Every flying shot against the player.
void ShotsHitPlayer();

// The body of an actor standing on its feet at (x, y), 5 px narrower on each
// side than its size. Serves both contact and the player's strikes.
Box ActorBox(float x, float y, int w, int h);
// The player's defensive boxes, worked out from its position and facing
// each time a hit test asks; every corner is truncated toward zero.
Box PlayerBodyBox();
Box PlayerForwardGuardBox();
Box PlayerThrustReachBox();
Box PlayerBackHalfBox();
Box PlayerOverheadBox();
Box PlayerLowBodyBox();
// Takes damage points and starts the knock-back; leaves vx and HP's
// clamping to the caller.
void HurtPlayer(int damage);
