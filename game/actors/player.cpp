// Placeholder until this area is built; replace wholesale.
#include "game/actors/player.h"

int ZFlag;
int XFlag;
int GuardKeyHeld;

void HandlePlayerInput(const unsigned char*) {}
void UpdatePlayer() {}
Box PlayerBodyBox() { return Box{}; }
Box PlayerForwardGuardBox() { return Box{}; }
Box PlayerThrustReachBox() { return Box{}; }
Box PlayerBackHalfBox() { return Box{}; }
Box PlayerOverheadBox() { return Box{}; }
Box PlayerLowBodyBox() { return Box{}; }
int BoxesOverlap(const Box&, const Box&) { return 0; }
void HurtPlayer(int) {}
