// The authored stage and enemy files, read back through the game's own
// readers: indices in range, enemies standing where they can pace.
#include <gtest/gtest.h>

#include "support/data_tree.h"
#include "game/actors/enemies.h"
#include "game/records.h"
#include "game/stage/stage.h"

namespace {

constexpr float FieldEndPx = 6000.0f;

// The first solid row at or below `from` in column x, or -1.
int FloorTop(int x, int from) {
    for (int y = from; y < StageHeightPx; ++y)
        if (SampleMapHit(x, y) == 1) return y;
    return -1;
}

class StageData : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok()) << "KESTORIA_DATA_DIR must name the built data tree";
        LoadStageFiles();
    }
    InDataDirectory dir;
};

TEST_F(StageData, EveryIndexNamesATileAndEveryStripAPicture) {
    for (int r = 0; r < StageRows; ++r)
        for (int c = 0; c < StageColumns; ++c)
            ASSERT_TRUE(TileIndexMap[r][c] >= 0 && TileIndexMap[r][c] <= 9) << "row " << r << " column " << c;
    bool seen[BackgroundStripCount] = {};
    for (int k = 0; k < BackgroundStripCount; ++k) {
        ASSERT_GE(BackgroundOrder[k], 0);
        ASSERT_LT(BackgroundOrder[k], BackgroundStripCount);
        EXPECT_FALSE(seen[BackgroundOrder[k]]) << "strip picture used twice";
        seen[BackgroundOrder[k]] = true;
    }
    for (int t = 0; t < TileCount; ++t)
        for (int y = 0; y < TileSize; ++y)
            for (int x = 0; x < TileSize; ++x)
                ASSERT_LE((unsigned)MapTiles[t].mask[y][x], 1u) << "tile " << t << " (" << x << ", " << y << ")";
}

TEST_F(StageData, EnemiesStandOnFloorsWideEnoughToPaceOn) {
    LoadEnemies(Enemies);
    int kinds[4] = {};
    for (int i = 0; i < EnemyCount; ++i) {
        Enemy& e = Enemies[i];
        SCOPED_TRACE("enemy " + std::to_string(i));
        ASSERT_LE((unsigned)e.kind, 3u);
        ++kinds[e.kind];
        EXPECT_LT(e.x, FieldEndPx);
        EXPECT_GE(e.height, 12);
        EXPECT_GE(e.width, 8);
        float x = e.x, y = e.y, vy = 0.25f;
        int airborne = e.airborne;
        CollideWithMap(&x, &y, e.width, e.height, &airborne, &vy);
        EXPECT_EQ(x, e.x);
        EXPECT_EQ(y, e.y);
        EXPECT_EQ(airborne, 0);
        // The patrol swings 50 px (70 for kind 3) past home, plus a little overshoot.
        int reach = (e.kind == 3 ? 70 : 50) + 6;
        for (int dx = -reach; dx <= reach; ++dx) {
            int px = (int)e.x + dx;
            ASSERT_EQ(FloorTop(px, (int)e.y - 5), (int)e.y) << "no level floor at x " << px;
            ASSERT_NE(SampleMapHit(px, (int)e.y - 6 - e.height / 2), 1) << "wall at x " << px;
        }
    }
    for (int k = 0; k < 4; ++k) EXPECT_GE(kinds[k], 4) << "kind " << k;
}

}  // namespace
