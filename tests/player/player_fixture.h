// A player standing on a flat floor, alone in the field, run frame by frame
// through the game's own field step.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "game/actors/hits.h"
#include "game/actors/player.h"
#include "game/frame.h"
#include "game/records.h"
#include "game/sounds.h"
#include "game/stage/stage.h"
#include "platform/win32.h"
#include "support/actor_scene.h"

constexpr int KeyC = 0x43, KeyX = 0x58, KeyZ = 0x5A;
constexpr int FloorRow = 28;                       // cell row of the floor's top
constexpr float FloorTopPx = FloorRow * TileSize;  // 896
constexpr float StartXPx = 500.0f;

class PlayerRun : public testing::Test {
protected:
    unsigned char keys[256] = {};

    void SetUp() override {
        std::memset(MapTiles, 0, sizeof MapTiles);
        std::memset(&MapTiles[1].mask, 1, sizeof MapTiles[1].mask);
        for (int r = 0; r < StageRows; ++r)
            for (int c = 0; c < StageColumns; ++c) TileIndexMap[r][c] = r >= FloorRow ? 1 : 0;
        ClearActors();
        ParkEnemies();
        StandPlayer(StartXPx, FloorTopPx, 0);
        std::memset(keys, 0, sizeof keys);
        ZFlag = XFlag = GuardKeyHeld = 0;
        BossHp = BossStartHp;
        Scene = SceneField;
    }

    void Frame() { UpdateFieldActors(keys); }
    // Exactly these keys down for `frames` frames; they stay down after.
    void Run(int frames, std::initializer_list<int> down = {}) {
        std::memset(keys, 0, sizeof keys);
        for (int vk : down) keys[vk] = 0x80;
        for (int i = 0; i < frames; ++i) Frame();
    }
};
