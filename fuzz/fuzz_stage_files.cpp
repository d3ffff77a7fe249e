// The stage files: any bytes as a tile mask, the tile index map and the
// background order, then the queries and the drawing that read them.
#include <cstring>

#include "support.h"
#include "game/frame.h"
#include "game/records.h"
#include "game/stage/stage.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnterScratchTree();
    OpenHeadlessGraphics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteScratchFile("Texture/Map/Map00.txt", data, size);
    WriteScratchFile("Texture/Map/MapHitData.txt", data, size);
    WriteScratchFile("Texture/Map/MapImageData.txt", data, size);
    LoadMapTile(0, "Texture/Map/Map00.txt");
    LoadTileIndexMap();
    LoadBackgroundOrder();

    // Probe the stage the way the actors do, at its edges and across it.
    for (int y = -40; y < StageHeightPx + 40; y += 97)
        for (int x = -40; x < StageWidthPx + 40; x += 389) SampleMapHit(x, y);
    float x = 300.0f, y = 900.0f, vy = 1.0f;
    int airborne = 0;
    CollideWithMap(&x, &y, 96, 96, &airborne, &vy);
    x = 7000.0f, y = 1200.0f, vy = -3.0f, airborne = 1;
    CollideWithMap(&x, &y, 256, 256, &airborne, &vy);

    Scene = SceneField;
    ThePlayer.x = 3500.0f;
    ThePlayer.y = 600.0f;
    DrawOneFrame();
    return 0;
}
