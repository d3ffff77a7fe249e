// Placeholder until this area is built; replace wholesale.
#include "game/draw/draw.h"

int CameraX;
int CameraY;

void DrawFrame() {}
void DrawPlayer(int, int) {}
