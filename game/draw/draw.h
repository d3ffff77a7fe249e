// The stage picture: backgrounds, actors, shots, life bars.
#pragma once

extern int CameraX;  // view's top-left in stage px, set by every DrawFrame
extern int CameraY;

void DrawFrame();
void DrawPlayer(int cameraX, int cameraY);
