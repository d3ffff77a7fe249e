// Start-up loading: every picture into its slot, the stage files through
// their readers, the random seed from the clock; release at shutdown.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "game/resources.h"
#include "game/stage/stage.h"
#include "graphics/graphics.h"
#include "platform/crt.h"
#include "platform/d3dx9.h"
#include "stage_maker.h"
#include "support/colours.h"
#include "support/picture_files.h"
#include "support/test_graphics.h"

namespace {

// Every picture file in load order, table by table; a file's place in its
// row is its slot.
struct Group {
    IDirect3DTexture9** table;
    std::vector<const char*> files;
};
const Group Groups[] = {
    {BackgroundTextures,
     {"Texture/Map/IMG_0.jpg", "Texture/Map/IMG_1.jpg", "Texture/Map/IMG_2.jpg", "Texture/Map/IMG_3.jpg",
      "Texture/Map/IMG_4.jpg", "Texture/Map/IMG_5.jpg", "Texture/Map/IMG_6.jpg"}},
    {PlayerTextures,
     {"Texture/Chara/chara.png", "Texture/Chara/atk.png", "Texture/Chara/ライフバー.png", "Texture/Chara/ライフ.png"}},
    {EnemyTextures, {"Texture/Enemy/purupuru.png", "Texture/Enemy/敵1.png", "Texture/Enemy/敵2.png", "Texture/Enemy/敵3.png"}},
    {BossTextures,
     {"Texture/Enemy/Boss.png", "Texture/Enemy/syougeki.png", "Texture/Enemy/Boss2.png", "Texture/Enemy/成長.png",
      "Texture/Enemy/ライフバー.png", "Texture/Enemy/ライフ.png"}},
    {ShotTextures, {"Texture/Tama/tama.png", "Texture/Tama/風.png", "Texture/Tama/椰子.png"}},
    {SceneTextures,
     {"Texture/スタートメニュー/Rain.bmp", "Texture/スタートメニュー/kestoria.png", "Texture/スタートメニュー/title.png",
      "Texture/スタートメニュー/menu.png", "Texture/スタートメニュー/SeeYouAgain.bmp", "Texture/その他/こんてぃにゅ～.bmp",
      "Texture/その他/こんてぃにゅ～2.bmp", "Texture/その他/ステージクリアー.png"}},
};
struct Expected {
    const char* file;
    IDirect3DTexture9** table;
    int slot;
};
std::vector<Expected> AllPictures() {
    std::vector<Expected> all;
    for (const Group& group : Groups)
        for (size_t slot = 0; slot < group.files.size(); ++slot) all.push_back({group.files[slot], group.table, (int)slot});
    return all;
}
const std::vector<Expected> Pictures = AllPictures();
const int PictureCount = (int)Pictures.size();

// Picture k is 2 x 2 pixels of one colour that names k.
uint32_t ColourOf(int k) { return (uint32_t)(8 * k) << 16 | (uint32_t)(255 - 7 * k) << 8 | 77; }

// Writes picture k in the format its name asks for.
void WritePicture(int k) {
    const std::string file = Pictures[k].file;
    MakeParentFolders(file);
    const std::vector<uint32_t> pixels(4, 0xFF000000u | ColourOf(k));
    const std::string ext = file.substr(file.size() - 3);
    const bool written = ext == "png"   ? WritePng(file, 2, 2, pixels)
                         : ext == "jpg" ? WriteJpeg(file, 2, 2, pixels)
                                        : WriteBmp(file, 2, 2, pixels);
    ASSERT_TRUE(written) << file;
}

uint32_t TexelOf(IDirect3DTexture9* texture) {
    D3DLOCKED_RECT locked = {};
    if (FAILED(texture->LockRect(0, &locked, nullptr, 0))) return 0;
    uint32_t texel = *static_cast<const uint32_t*>(locked.pBits);
    texture->UnlockRect(0);
    return texel & 0xFFFFFF;
}

int CountOf(IDirect3DTexture9* texture) {
    texture->AddRef();
    return (int)texture->Release();
}

class ResourcesTest : public testing::Test {
protected:
    ScratchDir scratch;
    void SetUp() override {
        ASSERT_TRUE(OpenTestGraphics());
        for (int k = 0; k < PictureCount; ++k) WritePicture(k);
    }
    void TearDown() override {
        ReleaseTextures();
        CloseTestGraphics();
    }
};

TEST_F(ResourcesTest, EveryPictureLandsInItsSlotAMissingOneStaysEmptyAndReleaseGivesEachBackOnce) {
    std::remove("Texture/Tama/風.png");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    LoadResources();
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();

    std::vector<IDirect3DTexture9*> held;
    for (int k = 0; k < PictureCount; ++k) {
        IDirect3DTexture9* texture = Pictures[k].table[Pictures[k].slot];
        if (k == 22) {
            EXPECT_EQ(texture, nullptr);
            continue;
        }
        ASSERT_NE(texture, nullptr) << Pictures[k].file;
        EXPECT_TRUE(NearColour(TexelOf(texture), ColourOf(k), 3)) << Pictures[k].file;  // JPEG keeps a few levels
        texture->AddRef();
        held.push_back(texture);
    }
    EXPECT_EQ(held.size(), 31u);
    int filled = 0;
    for (const Group& group : Groups)
        for (int i = 0; i < TextureTableSize; ++i) filled += group.table[i] != nullptr;
    EXPECT_EQ(filled, 31) << "no slot outside the list is filled";

    for (int round = 0; round < 2; ++round) {  // the second release has nothing left to give back
        ReleaseTextures();
        for (const Group& group : Groups)
            for (int i = 0; i < TextureTableSize; ++i) EXPECT_EQ(group.table[i], nullptr);
        for (IDirect3DTexture9* texture : held) EXPECT_EQ(CountOf(texture), 1);
    }
    for (IDirect3DTexture9* texture : held) texture->Release();
}

TEST_F(ResourcesTest, StageFilesAreReadAndTheSeedFollowsTheClock) {
    StageMaker stage;
    stage.Fill(0, 1000, StageWidthPx - 1, StageHeightPx - 1, MaskSolid);
    stage.Load();
    std::memset(MapTiles, 0, sizeof MapTiles);
    std::memset(TileIndexMap, 0, sizeof TileIndexMap);
    WriteTextFile("Texture/Map/MapImageData.txt", "3120654\n");

    // Try again if the clock ticks over during the load.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const time_t before = std::time(nullptr);
        testing::internal::CaptureStdout();
        LoadResources();
        testing::internal::GetCapturedStdout();
        int drawn[8];
        for (int& d : drawn) d = crt::rand();
        if (std::time(nullptr) != before) {
            ReleaseTextures();
            continue;
        }
        crt::srand((unsigned int)before);
        for (int d : drawn) EXPECT_EQ(d, crt::rand());
        break;
    }
    EXPECT_EQ(SampleMapHit(500, 999), MaskFree);
    EXPECT_EQ(SampleMapHit(500, 1000), MaskSolid);
    const int order[] = {3, 1, 2, 0, 6, 5, 4};
    for (int k = 0; k < BackgroundStripCount; ++k) EXPECT_EQ(BackgroundOrder[k], order[k]);
}

}  // namespace
