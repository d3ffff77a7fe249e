// The one table of flying shots, enemy's and boss's alike.
#pragma once

// One frame of every flying shot.
void UpdateShots();
// The lowest-numbered free slot of Shots, or -1 when all are flying.
int FirstFreeShotSlot();
