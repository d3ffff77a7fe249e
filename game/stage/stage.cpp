// Placeholder until this area is built; replace wholesale.
#include "game/stage/stage.h"

MapTile MapTiles[TileCount];
int TileIndexMap[StageRows][StageColumns];
int BackgroundOrder[BackgroundStripCount];

void LoadMapTile(int, const char*) {}
void LoadTileIndexMap() {}
void LoadBackgroundOrder() {}
signed char SampleMapHit(int, int) { return -1; }
int ScanMap(int, int, int* freeCount, unsigned char, int, int) { *freeCount = 0; return 0; }
int RectsOverlap(int, int, int, int, int, int, int, int) { return 0; }
void CollideWithMap(float*, float*, int, int, int*, float*) {}
int TruncToInt(double value) { return (int)value; }
