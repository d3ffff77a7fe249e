// The stage's solidity: tile hit masks, the tile of each cell, the background strips, and the queries over them.
#pragma once

constexpr int TileSize = 32;
constexpr int TileCount = 10;
constexpr int StageColumns = 224;
constexpr int StageRows = 40;
constexpr int StageWidthPx = StageColumns * TileSize;  // 7168
constexpr int StageHeightPx = StageRows * TileSize;    // 1280
constexpr int BackgroundStripCount = 7;
constexpr int BackgroundStripWidthPx = 1024;

// Mask values.
constexpr signed char MaskFree = 0;
constexpr signed char MaskSolid = 1;
constexpr signed char MaskOutside = -1;  // outside the stage, or a cell naming no tile

// Directions of a scan.
constexpr unsigned char ScanLeft = 0;
constexpr unsigned char ScanUp = 1;
constexpr unsigned char ScanRight = 2;
constexpr unsigned char ScanDown = 3;

struct MapTile {
    signed char mask[TileSize][TileSize];  // 1 solid, 0 free, anything else neither
};

extern MapTile MapTiles[TileCount];                // hit masks, "Map00.txt" to "Map09.txt"
extern int TileIndexMap[StageRows][StageColumns];  // tile of each 32 px cell, kept as read
extern int BackgroundOrder[BackgroundStripCount];  // picture of each 1024 px strip, kept as read

// Start-up reads. A missing file leaves its table as it was, with one line
// on stderr; present files are trusted and decoded digit by digit, a file
// that ends early (or at a 0x1A byte) repeating its last row.
void LoadMapTile(int index, const char* maskPath);
void LoadTileIndexMap();
void LoadBackgroundOrder();

// Mask value of a stage pixel; -1 outside the stage or on a cell whose
// index names no tile.
signed char SampleMapHit(int x, int y);

// Walks lines of 2 x half pixels away from (x, y) in direction dir: dist + 1
// lines left or up, dist lines right or down. Returns 1 at the first solid
// pixel, else 0. freeCount gets the lines before it whose last pixel is free
// and which held nothing solid.
int ScanMap(int x, int y, int* freeCount, unsigned char dir, int half, int dist);

// Pushes an actor (centre x, feet y, box w x h) out of walls, onto floors
// and down from ceilings, and updates its airborne state (0 ground, 1 air,
// 2 gliding) and vertical speed. Called once a frame per actor.
void CollideWithMap(float* x, float* y, int w, int h, int* airborne, float* vy);
