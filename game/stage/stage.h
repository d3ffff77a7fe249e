// The stage's solidity: ten tile hit masks, the tile of each cell, the
// background picture of each strip, and the queries over them.
#pragma once

constexpr int TileSize = 32;
constexpr int TileCount = 10;
constexpr int StageColumns = 224;
constexpr int StageRows = 40;
constexpr int StageWidthPx = StageColumns * TileSize;  // 7168
constexpr int StageHeightPx = StageRows * TileSize;    // 1280
constexpr int BackgroundStripCount = 7;
constexpr int BackgroundStripWidthPx = 1024;

struct MapTile {
    signed char mask[TileSize][TileSize];  // 1 solid, 0 free, anything else neither
};

extern MapTile MapTiles[TileCount];
extern int TileIndexMap[StageRows][StageColumns];
extern int BackgroundOrder[BackgroundStripCount];

void LoadMapTile(int index, const char* maskPath);
void LoadTileIndexMap();
void LoadBackgroundOrder();

// Mask value of a stage pixel; -1 outside the stage.
signed char SampleMapHit(int x, int y);
int ScanMap(int x, int y, int* freeCount, unsigned char dir, int half, int dist);
int RectsOverlap(int ax, int ay, int aw, int ah, int bx, int by, int bw, int bh);
void CollideWithMap(float* x, float* y, int w, int h, int* airborne, float* vy);

// Truncation toward zero for positions, box corners and probes; values
// beyond the int range saturate (NaN gives the lowest int).
int TruncToInt(double value);
