// Start-up loading from the data tree: every picture somewhere to draw
// from and each given back once however often the release runs; the random
// seed from the clock once every file is read.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <vector>

#include "game/resources.h"
#include "game/stage/stage.h"
#include "graphics/graphics.h"
#include "platform/crt.h"
#include "support/data_tree.h"
#include "support/test_graphics.h"

namespace {

IDirect3DTexture9** const Tables[] = {SceneTextures,      PlayerTextures, EnemyTextures,
                                      BackgroundTextures, BossTextures,   ShotTextures};

class ResourcesTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(data.ok());
        ASSERT_TRUE(OpenTestGraphics());
    }
    void TearDown() override {
        ReleaseTextures();
        CloseTestGraphics();
    }
    InDataDirectory data;
};

TEST_F(ResourcesTest, PicturesAreLoadedGivenBackOnceAndTheSeedFollowsTheClock) {
    std::memset(MapTiles, 0x55, sizeof MapTiles);  // no digit reads as this
    const time_t before = std::time(nullptr);
    LoadResources();
    for (int tile = 0; tile < TileCount; ++tile) EXPECT_NE(MapTiles[tile].mask[0][0], 0x55) << "tile " << tile;
    const time_t after = std::time(nullptr);
    int drawn[8];
    for (int& d : drawn) d = crt::rand();
    bool seeded = false;  // by some second the load passed through
    for (time_t t = before; t <= after && !seeded; ++t) {
        crt::srand((unsigned int)t);
        seeded = true;
        for (int d : drawn) seeded = seeded && d == crt::rand();
    }
    EXPECT_TRUE(seeded);

    std::vector<IDirect3DTexture9*> held;
    for (IDirect3DTexture9** table : Tables)
        for (int slot = 0; slot < TextureTableSize; ++slot)
            if (table[slot]) {
                table[slot]->AddRef();
                held.push_back(table[slot]);
            }
    EXPECT_EQ(held.size(), 32u);
    for (int round = 0; round < 2; ++round) {  // the second release has nothing left to give back
        ReleaseTextures();
        for (IDirect3DTexture9** table : Tables)
            for (int slot = 0; slot < TextureTableSize; ++slot) EXPECT_EQ(table[slot], nullptr);
        for (IDirect3DTexture9* texture : held) {
            texture->AddRef();
            EXPECT_EQ(texture->Release(), 1u);
        }
    }
    for (IDirect3DTexture9* texture : held) texture->Release();
}

}  // namespace
