// Start-up loading of the pictures, stage data and enemy table, and the
// release of the pictures at shutdown.
#include "game/resources.h"

#include <cstdio>
#include <ctime>

#include "game/actors/enemies.h"
#include "game/records.h"
#include "game/stage/stage.h"
#include "graphics/graphics.h"
#include "platform/crt.h"
#include "platform/d3dx9.h"

IDirect3DTexture9* SceneTextures[TextureTableSize];
IDirect3DTexture9* PlayerTextures[TextureTableSize];
IDirect3DTexture9* EnemyTextures[TextureTableSize];
IDirect3DTexture9* BackgroundTextures[TextureTableSize];
IDirect3DTexture9* BossTextures[TextureTableSize];
IDirect3DTexture9* ShotTextures[TextureTableSize];

namespace {

struct Picture {
    const char* file;
    IDirect3DTexture9** table;
    int slot;
};

// Load order; the slot is what the drawing looks up.
constexpr Picture Pictures[] = {
    {"Texture/Map/IMG_0.jpg", BackgroundTextures, 0},  // background strips
    {"Texture/Map/IMG_1.jpg", BackgroundTextures, 1},
    {"Texture/Map/IMG_2.jpg", BackgroundTextures, 2},
    {"Texture/Map/IMG_3.jpg", BackgroundTextures, 3},
    {"Texture/Map/IMG_4.jpg", BackgroundTextures, 4},
    {"Texture/Map/IMG_5.jpg", BackgroundTextures, 5},
    {"Texture/Map/IMG_6.jpg", BackgroundTextures, 6},
    {"Texture/Chara/chara.png", PlayerTextures, 0},       // 96 x 96 cells
    {"Texture/Chara/atk.png", PlayerTextures, 1},         // attack effects
    {"Texture/Chara/ライフバー.png", PlayerTextures, 2},  // life bar frame
    {"Texture/Chara/ライフ.png", PlayerTextures, 3},      // life bar fill
    {"Texture/Enemy/purupuru.png", EnemyTextures, 0},     // one sheet per kind
    {"Texture/Enemy/敵1.png", EnemyTextures, 1},
    {"Texture/Enemy/敵2.png", EnemyTextures, 2},
    {"Texture/Enemy/敵3.png", EnemyTextures, 3},
    {"Texture/Enemy/Boss.png", BossTextures, 0},          // first form
    {"Texture/Enemy/syougeki.png", BossTextures, 1},      // impact beside the swing
    {"Texture/Enemy/Boss2.png", BossTextures, 2},         // second form
    {"Texture/Enemy/成長.png", BossTextures, 3},          // transforming
    {"Texture/Enemy/ライフバー.png", BossTextures, 4},    // life bar frame
    {"Texture/Enemy/ライフ.png", BossTextures, 5},        // life bar fill
    {"Texture/Tama/tama.png", ShotTextures, 0},           // thrown
    {"Texture/Tama/風.png", ShotTextures, 1},             // aimed
    {"Texture/Tama/椰子.png", ShotTextures, 2},           // boss's
    {"Texture/スタートメニュー/Rain.bmp", SceneTextures, 0},
    {"Texture/スタートメニュー/kestoria.png", SceneTextures, 1},      // logo
    {"Texture/スタートメニュー/title.png", SceneTextures, 2},
    {"Texture/スタートメニュー/menu.png", SceneTextures, 3},          // two 160 x 100 entries
    {"Texture/スタートメニュー/SeeYouAgain.bmp", SceneTextures, 4},   // farewell
    {"Texture/その他/こんてぃにゅ～.bmp", SceneTextures, 5},          // continue chosen
    {"Texture/その他/こんてぃにゅ～2.bmp", SceneTextures, 6},         // give up chosen
    {"Texture/その他/ステージクリアー.png", SceneTextures, 7},
};

// Release order within each slot index.
IDirect3DTexture9** const ReleaseOrder[] = {SceneTextures,      PlayerTextures, EnemyTextures,
                                            BackgroundTextures, BossTextures,   ShotTextures};

}  // namespace

void LoadResources() {
    for (const Picture& picture : Pictures)
        D3DXCreateTextureFromFileA(Graphics.device, picture.file, &picture.table[picture.slot]);
    for (int i = 0; i < TileCount; ++i) {
        char maskPath[32];
        std::snprintf(maskPath, sizeof maskPath, "Texture/Map/Map%02d.txt", i);
        LoadMapTile(i, maskPath);
    }
    LoadTileIndexMap();
    LoadBackgroundOrder();
    LoadEnemies(Enemies);
    // After every file: runs differ by their start second.
    crt::srand((unsigned int)std::time(nullptr));
}

void ReleaseTextures() {
    for (int i = 0; i < TextureTableSize; ++i)
        for (IDirect3DTexture9** table : ReleaseOrder)
            if (table[i]) {
                table[i]->Release();
                table[i] = nullptr;
            }
}
