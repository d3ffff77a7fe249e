// The enemy list and the per-kind files.
#include <cstdio>

#include "game/actors/enemies.h"
#include "game/actors/number_reader.h"

namespace {

constexpr const char* EnemyListPath = "Texture/Enemy/enemy.txt";
// Per-kind files, one for each kind the game knows, in kind order.
constexpr const char* KindFilePaths[] = {
    "Texture/Enemy/no0.txt",
    "Texture/Enemy/no1.txt",
    "Texture/Enemy/no2.txt",
    "Texture/Enemy/no3.txt",
};
static_assert(sizeof KindFilePaths / sizeof KindFilePaths[0] == EnemyShooter + 1, "one file a kind");

void ResetEnemy(Enemy* enemy) {
    enemy->animation = 0.0f;
    enemy->spin = 0.0f;
    enemy->facing = FacingRight;
    enemy->state = EnemyActive;
    enemy->attack = EnemyNotShooting;
    enemy->attackCounter = 0;
}

void ReadPlacement(NumberReader* list, Enemy* enemy) {
    ReadInt(list, &enemy->kind);
    ReadFloat(list, &enemy->homeX);
    enemy->x = enemy->homeX;
    ReadFloat(list, &enemy->homeY);
    enemy->y = enemy->homeY;
}

// False when the kind's file does not open.
bool ReadKindValues(Enemy* enemy) {
    FILE* file = fopen(KindFilePaths[enemy->kind], "r");
    if (!file) return false;
    NumberReader reader = {file, 0};
    ReadInt(&reader, &enemy->width);
    ReadInt(&reader, &enemy->height);
    ReadFloat(&reader, &enemy->xF);
    ReadFloat(&reader, &enemy->yF);
    ReadInt(&reader, &enemy->airborne);
    fclose(file);
    return true;
}

}  // namespace

void LoadEnemies(Enemy* table) {
    for (int i = 0; i < EnemyCount; ++i) ResetEnemy(&table[i]);

    FILE* list = fopen(EnemyListPath, "r");
    if (!list) {
        printf("ファイルオープンエラー\n");
        return;
    }
    NumberReader reader = {list, 0};
    for (int i = 0; i < EnemyCount; ++i) ReadPlacement(&reader, &table[i]);
    fclose(list);

    for (int i = 0; i < EnemyCount; ++i) {
        // A kind with no file of its own keeps the values it had.
        if (table[i].kind < EnemyWandererA || table[i].kind > EnemyShooter) continue;
        // A missing file stops the load here, this enemy included.
        if (!ReadKindValues(&table[i])) return;
    }
}
