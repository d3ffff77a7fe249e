// The enemy files: the input is split at '|' into the enemy list and the
// four per-kind files; the enemies then load and play a few field frames.
#include <cstring>

#include "support.h"
#include "game/actors/enemies.h"
#include "game/actors/hits.h"
#include "game/actors/shots.h"
#include "game/frame.h"
#include "game/records.h"
#include "game/stage/stage.h"

static const char* const Paths[] = {
    "Texture/Enemy/enemy.txt", "Texture/Enemy/no0.txt", "Texture/Enemy/no1.txt",
    "Texture/Enemy/no2.txt",   "Texture/Enemy/no3.txt",
};

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnterScratchTree();
    OpenHeadlessGraphics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t start = 0;
    for (int part = 0; part < 5; part++) {
        size_t end = start;
        while (end < size && data[end] != '|') end++;
        WriteScratchFile(Paths[part], data + start, end - start);
        start = end < size ? end + 1 : size;
    }
    memset(Shots, 0, sizeof Shots);
    LoadEnemies(Enemies);

    Scene = SceneField;
    ThePlayer = Player{};
    ThePlayer.HP = 300;
    ThePlayer.controllable = 1;
    for (int frame = 0; frame < 6; frame++) {
        ThePlayer.x = Enemies[frame % EnemyCount].x + 30.0f;
        ThePlayer.y = Enemies[frame % EnemyCount].y;
        ThePlayer.attackState = 1 + frame % 5;
        ThePlayer.attackCount = 25;
        UpdateEnemies();
        UpdateShots();
        for (Enemy& e : Enemies)
            if (e.state == 1) CollideWithMap(&e.x, &e.y, e.width, e.height, &e.airborne, &e.yF);
        PlayerAttackHits(SceneField);
        for (Enemy& e : Enemies) ActorTouchesPlayer(&e.x, &e.y, e.width, e.height, e.airborne, e.state);
        ShotsHitPlayer();
        ThePlayer.Cnt = 0;
        ThePlayer.HP = 300;
    }
    DrawOneFrame();
    return 0;
}
