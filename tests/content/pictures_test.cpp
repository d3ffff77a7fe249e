// Every picture as the game's start-up loads it: a power-of-two size that
// covers what the drawing reads, something in every cell the drawing picks.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "support/data_tree.h"
#include "support/game_device.h"
#include "game/actors/enemies.h"
#include "game/records.h"
#include "game/resources.h"
#include "game/stage/stage.h"
#include "platform/d3dx9.h"

namespace {

constexpr int PlayerCellPx = 96, BossCellPx = 256;
constexpr int ScreenW = 640, ScreenH = 480;  // the screen pictures' drawn size

struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;
    uint32_t At(int x, int y) const { return argb[(size_t)y * width + x]; }
    int Alpha(int x, int y) const { return At(x, y) >> 24; }
    // Texels in the rectangle with alpha above 0.
    int Visible(int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += Alpha(x, y) > 0;
        return n;
    }
};

Pixels Read(IDirect3DTexture9* texture) {
    Pixels p;
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT locked;
    if (!texture || texture->GetLevelDesc(0, &desc) < 0 || texture->LockRect(0, &locked, nullptr, 0) < 0) return p;
    p.width = (int)desc.Width;
    p.height = (int)desc.Height;
    p.argb.resize((size_t)p.width * p.height);
    for (int y = 0; y < p.height; ++y)
        std::memcpy(&p.argb[(size_t)y * p.width], (const char*)locked.pBits + (size_t)y * locked.Pitch, p.width * 4u);
    texture->UnlockRect(0);
    return p;
}

bool PowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

class Pictures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok()) << "KESTORIA_DATA_DIR must name the built data tree";
        ASSERT_TRUE(graphics.ok());
        LoadResources();
    }
    void TearDown() override { ReleaseTextures(); }

    // The picture in a slot, covering `needW` x `needH` at a power-of-two
    // size (the loader would otherwise stretch it).
    Pixels Slot(IDirect3DTexture9* texture, int needW, int needH, const char* what) {
        EXPECT_NE(texture, nullptr) << what << " did not load";
        Pixels p = Read(texture);
        EXPECT_TRUE(PowerOfTwo(p.width) && PowerOfTwo(p.height)) << what << " " << p.width << " x " << p.height;
        EXPECT_GE(p.width, needW) << what;
        EXPECT_GE(p.height, needH) << what;
        return p;
    }

    void ExpectCellsDrawn(const Pixels& p, int cellW, int cellH, int columns, int rows, int top, const char* what) {
        if (p.width < cellW * columns || p.height < top + cellH * rows) return;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                EXPECT_GT(p.Visible(c * cellW, top + r * cellH, (c + 1) * cellW, top + (r + 1) * cellH),
                          cellW * cellH / 20)
                    << what << " cell column " << c << " row " << r;
    }

    InDataDirectory dir;
    GameDevice graphics;
};

// Each slot the game draws from holds a picture of the size its drawing
// needs, with something to see in every cell the drawing picks.
TEST_F(Pictures, EverySlotHoldsAPictureOfTheNeededSizeWithEveryCellDrawn) {
    for (int k = 0; k < BackgroundStripCount; ++k) {
        Pixels strip = Slot(BackgroundTextures[k], BackgroundStripWidthPx, BackgroundStripWidthPx, "background");
        EXPECT_EQ(strip.width, BackgroundStripWidthPx);
        EXPECT_EQ(strip.height, BackgroundStripWidthPx);
    }
    Pixels hero = Slot(PlayerTextures[0], 7 * PlayerCellPx, 8 * PlayerCellPx, "player sheet");
    ExpectCellsDrawn(hero, PlayerCellPx, PlayerCellPx, 7, 2, 0, "walk and air");
    ExpectCellsDrawn(hero, PlayerCellPx, PlayerCellPx, 5, 2, 2 * PlayerCellPx, "attack");
    ExpectCellsDrawn(hero, PlayerCellPx, PlayerCellPx, 4, 2, 4 * PlayerCellPx, "guard");
    ExpectCellsDrawn(hero, PlayerCellPx, PlayerCellPx, 3, 2, 6 * PlayerCellPx, "stand and knock-back");
    Pixels effects = Slot(PlayerTextures[1], 3 * 150, 322, "player effects");
    ExpectCellsDrawn(effects, 150, 96, 3, 2, 0, "step effect");
    ExpectCellsDrawn(effects, 130, 130, 2, 1, 192, "aerial effect");
    Slot(PlayerTextures[2], 512, 512, "player life frame");
    Slot(PlayerTextures[3], 512, 512, "player life fill");
    for (int form : {0, 2}) {
        Pixels boss = Slot(BossTextures[form], 7 * BossCellPx, 512 + 2 * BossCellPx, "boss form");
        ExpectCellsDrawn(boss, BossCellPx, BossCellPx, 2, 2, 0, "boss walk");
        ExpectCellsDrawn(boss, BossCellPx, BossCellPx, 7, 2, 512, "boss attack");
    }
    ExpectCellsDrawn(Slot(BossTextures[1], BossCellPx, 2 * BossCellPx, "impact"), BossCellPx, BossCellPx, 1, 2, 0,
                     "impact");
    ExpectCellsDrawn(Slot(BossTextures[3], 4 * BossCellPx - 1, BossCellPx, "transformation"), BossCellPx, BossCellPx,
                     4, 1, 0, "transformation");
    Slot(BossTextures[4], ScreenW, 240, "boss life frame");
    Slot(BossTextures[5], ScreenW, 240, "boss life fill");
    const int shotPx[3] = {49, 40, 32};
    for (int t = 0; t < 3; ++t) {
        Pixels shot = Slot(ShotTextures[t], shotPx[t], shotPx[t], "shot");
        EXPECT_GT(shot.Visible(0, 0, shot.width, shot.height), 0) << "shot " << t;
    }
    for (int s : {0, 1, 2, 4, 5, 6, 7}) Slot(SceneTextures[s], ScreenW, ScreenH, "screen picture");
    ExpectCellsDrawn(Slot(SceneTextures[3], 160, 200, "menu"), 160, 100, 1, 2, 0, "menu");
    // Enemy sheets hold three columns and two rows of the kind's box.
    for (const Enemy& e : Enemies) Slot(EnemyTextures[e.kind], 3 * e.width, 2 * e.height, "enemy sheet");
    for (int kind = 0; kind < 4; ++kind) {
        int w = 0, h = 0;
        for (const Enemy& e : Enemies)
            if (e.kind == kind) w = e.width, h = e.height;
        ASSERT_GT(w, 0) << "no enemy of kind " << kind;
        ExpectCellsDrawn(Read(EnemyTextures[kind]), w, h, 3, 2, 0, "enemy");
    }
}

}  // namespace
