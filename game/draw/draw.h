// The stage picture of a frame, drawn as sprites into the batch the frame has opened.
#pragma once
#include "platform/d3dx9.h"

extern int CameraX;  // view's top-left in stage px, set by every DrawFrame
extern int CameraY;

// The whole stage for one frame: camera, background strips, player, the
// enemies or the boss by Scene, shots, life bars, stage clear. Reads only.
void DrawFrame();
// DrawFrame's steps after the camera and the background strips.
// The player's pose or attack pictures, after the backgrounds.
void DrawPlayer(int cameraX, int cameraY);
void DrawEnemies();  // all 30 records, whatever their state
void DrawBoss();     // its cell by attack and counter, and the swing's impact
void DrawShots();    // the active ones
void DrawHud();      // life bars; the stage-clear picture once the boss is beaten

// Picture helpers shared by the stage's drawing steps; each picture is one
// SetTransform and one Draw through Graphics.sprite.
constexpr D3DCOLOR OpaqueColour = 0xFFFFFFFF;

// White with the alpha's low 8 bits in the top byte.
D3DCOLOR AlphaColour(long long alpha);
// Entry `index` of a 10-slot texture table; null outside the table.
IDirect3DTexture9* TextureSlot(IDirect3DTexture9* const* table, int index);
// Fills `source` with the cell (left, top, right, bottom, right and bottom
// exclusive) and returns 1 when some of it lies on the picture; 0 for an
// empty cell, one wholly off the picture, or a missing picture.
int CellOnPicture(IDirect3DTexture9* texture, long long left, long long top, long long right, long long bottom,
                  RECT* source);
// Draws with the identity transform: the picture fixed at the screen's (0, 0).
void DrawFixed(IDirect3DTexture9* texture, const RECT& source, D3DCOLOR colour);
// Draws with the picture's top-left corner on (tx, ty).
void DrawPlaced(IDirect3DTexture9* texture, const RECT& source, float tx, float ty, D3DCOLOR colour);
// Draws a w x h picture turned `spin` degrees clockwise about its middle,
// the middle (integer halves) landing on (cx, cy).
void DrawTurned(IDirect3DTexture9* texture, const RECT& source, int w, int h, float spin, float cx, float cy);
