// A real device and sprite batch with small coded test pictures in the
// texture tables; pictures are read back from the back buffer. Everyday
// drawing is pinned by the golden replays' picture hashes; these tests
// look at the edges of cells, bad records and the places of pictures.
//
// Every test picture is opaque and codes its own texel in each pixel:
// red = tag << 4 | (u >> 8) << 2 | (v >> 8), green = u & 255, blue = v & 255.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <vector>

#include "game/actors/boss.h"
#include "game/actors/player.h"
#include "game/draw/draw.h"
#include "game/frame.h"
#include "game/records.h"
#include "game/resources.h"
#include "game/stage/stage.h"
#include "graphics/graphics.h"
#include "support/actor_scene.h"
#include "support/test_graphics.h"

namespace {
constexpr int SheetTag = 8, EnemyTag = 9, ImpactTag = 10, BarTag = 12, FillTag = 13, ClearTag = 14;
constexpr int W = 16;     // the boss's test cells
constexpr int Cell = 96;  // the player's sheet cells
}  // namespace

struct Texel {
    int tag, u, v;
    bool operator==(const Texel& o) const { return tag == o.tag && u == o.u && v == o.v; }
};

std::ostream& operator<<(std::ostream& os, const Texel& t) {
    return os << "tag " << t.tag << " (" << t.u << ", " << t.v << ")";
}

uint32_t TexelColour(int tag, int u, int v) {
    const uint32_t r = (uint32_t)(tag << 4 | (u >> 8) << 2 | (v >> 8)) & 0xFF;
    return 0xFF000000u | r << 16 | (uint32_t)(u & 0xFF) << 8 | (uint32_t)(v & 0xFF);
}

class DrawTest : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(OpenTestGraphics()); }
    static void TearDownTestSuite() { CloseTestGraphics(); }

    std::vector<IDirect3DTexture9*> made;

    void SetUp() override {
        ClearTables();
        ClearActors();
        StandPlayer(100.0f, 300.0f, 0);
        ThePlayer.HP = 0;
        for (int k = 0; k < BackgroundStripCount; ++k) BackgroundOrder[k] = k;
        Scene = SceneField;
    }

    void TearDown() override {
        ClearTables();
        for (IDirect3DTexture9* t : made) t->Release();
        made.clear();
    }

    static void ClearTables() {
        for (IDirect3DTexture9** table :
             {SceneTextures, PlayerTextures, EnemyTextures, BackgroundTextures, BossTextures, ShotTextures})
            for (int i = 0; i < TextureTableSize; ++i) table[i] = nullptr;
    }

    IDirect3DTexture9* MakePicture(int w, int h, const std::function<uint32_t(int u, int v)>& texel) {
        IDirect3DTexture9* t = MakeTestTexture(w, h, texel);
        EXPECT_NE(t, nullptr);
        if (t) made.push_back(t);
        return t;
    }

    IDirect3DTexture9* MakeCoded(int tag, int w, int h) {
        return MakePicture(w, h, [tag](int u, int v) { return TexelColour(tag, u, v); });
    }

    // One frame's drawing as the game's frame sets it up, over black.
    void Render(const std::function<void()>& draw = DrawFrame) {
        IDirect3DDevice9* device = Graphics.device;
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
        ASSERT_GE(device->BeginScene(), 0);
        ASSERT_GE(OpenSpriteBatch(), 0);
        draw();
        Graphics.sprite->End();
        device->EndScene();
    }

    static uint32_t Pixel(int x, int y) { return BackPixel(x, y) & 0xFFFFFF; }

    static Texel At(int x, int y) {
        const uint32_t p = Pixel(x, y);
        const int r = (int)(p >> 16 & 0xFF);
        return Texel{r >> 4, ((r >> 2) & 3) << 8 | (int)(p >> 8 & 0xFF), (r & 3) << 8 | (int)(p & 0xFF)};
    }

    static bool Black(int x, int y) { return Pixel(x, y) == 0; }

    // The camera at (100, 120); the boss's feet at (300, 300) on the screen.
    void PlaceBoss(int state) {
        Scene = SceneBoss;
        StandPlayer(420.0f, 500.0f, 0);
        Boss.x = 400.0f;
        Boss.y = 420.0f;
        Boss.width = Boss.height = W;
        Boss.state = state;
    }
};
TEST_F(DrawTest, TheCameraFollowsThePlayerTruncatedAndStopsAtTheStageEdges) {
    const struct { float x, y; int cameraX, cameraY; } rows[] = {
        {100.0f, 300.0f, 0, 0},       {320.75f, 380.5f, 0, 0},        {1345.5f, 500.0f, 1025, 120},
        {6848.0f, 924.0f, 6528, 544}, {6847.5f, 923.5f, 6527, 543}, {6900.0f, 1000.0f, 6528, 544}};
    for (const auto& r : rows) {
        ThePlayer.x = r.x;
        ThePlayer.y = r.y;
        Render();
        EXPECT_EQ(CameraX, r.cameraX) << r.x;
        EXPECT_EQ(CameraY, r.cameraY) << r.y;
    }
}

TEST_F(DrawTest, RecordsThatSelectNoPictureOrNoCellDrawNothing) {
    EnemyTextures[0] = MakeCoded(EnemyTag, 96, 32);  // three 32 x 16 cells in two rows
    const struct { int kind; float animation; int facing; bool drawn; } enemies[] = {
        {0, 2.5f, 1, true}, {10, 0, 0, false}, {-1, 0, 0, false},        {0, 3.0f, 0, false},
        {0, 3.0e9f, 0, false}, {0, 0, 2, false}, {0, 0, 1 << 30, false},
    };
    for (int i = 0; i < 7; ++i) {
        Enemy* e = PlaceEnemy(i, enemies[i].kind, 50.0f + 80.0f * i, 300.0f, 32, 16);
        e->animation = enemies[i].animation;
        e->facing = enemies[i].facing;
    }
    Render();
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Black(50 + 80 * i, 292), !enemies[i].drawn) << "enemy " << i;

    BossTextures[3] = MakeCoded(SheetTag, 4 * W, W);
    PlaceBoss(BossTransforming);
    const struct { int count, form, state, attack; } bosses[] = {
        {40, 3, 2, 0}, {INT_MAX, 3, 2, 0}, {INT_MIN, 3, 2, 0}, {30, 10, 2, 0},
        {30, -1, 2, 0}, {30, 1 << 30, 2, 0}, {30, 3, 1, 9}};
    for (const auto& b : bosses) {
        Boss.bossCount = b.count;
        Boss.kind = b.form;
        Boss.state = b.state;
        Boss.attack = b.attack;
        Render();
        EXPECT_TRUE(Black(300, 290)) << "count " << b.count << " form " << b.form << " attack " << b.attack;
    }

    PlayerTextures[0] = MakeCoded(SheetTag, 8 * Cell, 8 * Cell);
    for (int attack : {9, 1}) {
        StandPlayer(320.0f, 380.0f, 1 << 30);
        ThePlayer.attackState = attack;
        ThePlayer.attackCount = attack == 9 ? 20 : INT_MAX;
        Render([] { DrawPlayer(0, 0); });
        EXPECT_TRUE(Black(300, 300));
    }
}

// A cell counts while one of its pixels lies on the 32 x 16 picture.
TEST_F(DrawTest, ACellIsTakenOnlyWhenSomeOfItLiesOnThePicture) {
    IDirect3DTexture9* picture = MakeCoded(SheetTag, 32, 16);
    const struct { long long left, top, right, bottom; int taken; } cells[] = {
        {-5, -5, 1, 1, 1},   {-5, 0, 0, 16, 0},  {0, -5, 32, 0, 0},         {31, 15, 40, 20, 1},
        {32, 0, 40, 16, 0},  {0, 16, 32, 20, 0}, {5, 5, 5, 9, 0},           {5, 9, 9, 9, 0},
        {-3000000000LL, 0, 1, 16, 0},            {0, 0, 32, 3000000000LL, 0},
        {INT_MIN, INT_MIN, 1, 1, 1},             {0, 0, INT_MAX, INT_MAX, 1},
    };
    for (const auto& c : cells) {
        RECT source{};
        EXPECT_EQ(CellOnPicture(picture, c.left, c.top, c.right, c.bottom, &source), c.taken)
            << c.left << ", " << c.top << ", " << c.right << ", " << c.bottom;
    }
    RECT source{};
    EXPECT_EQ(CellOnPicture(nullptr, 0, 0, 1, 1, &source), 0);
}

TEST_F(DrawTest, BossCellsFollowItsAttackCounterAndTheImpactStandsBesideIt) {
    BossTextures[0] = MakeCoded(SheetTag, 7 * W, 512 + 2 * W);
    BossTextures[1] = MakeCoded(ImpactTag, W, 2 * W);
    PlaceBoss(BossFighting);
    const struct { int attack, counter, facing; float animation; int u, v; } cases[] = {
        {0, 0, 0, 0.0f, 0, 0},        {0, 0, 1, 1.2f, W, W},       {4, 10, 1, 0.0f, 6 * W, 512 + W},
        {3, 76, 0, 0.0f, 4 * W, 512}, {3, 75, 0, 0.0f, 5 * W, 512}, {1, 26, 0, 0.0f, 0, 512},
        {1, 25, 1, 0.0f, W, 512 + W}, {1, 24, 1, 0.0f, W, 512 + W}, {2, 26, 0, 0.0f, 2 * W, 512},
        {2, 25, 0, 0.0f, 3 * W, 512},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "attack " << c.attack << " counter " << c.counter);
        Boss.attack = c.attack;
        Boss.attackCounter = c.counter;
        Boss.facing = c.facing;
        Boss.animation = c.animation;
        Render();
        EXPECT_EQ(At(300 - W / 2, 300 - W), (Texel{SheetTag, c.u, c.v}));
        EXPECT_EQ(At(300 + W / 2 - 1, 299), (Texel{SheetTag, c.u + W - 1, c.v + W - 1}));
        // The impact shows beside the boss only in the swing's second half.
        const bool impact = c.attack == BossSwing && c.counter < 25;
        EXPECT_EQ(At(c.facing ? 300 - 170 : 300 + 98, 300 - 128) == (Texel{ImpactTag, 0, c.facing ? W : 0}), impact);
    }
}

TEST_F(DrawTest, TransformationCellsSitOnePixelLeftOfTheGrid) {
    BossTextures[3] = MakeCoded(SheetTag, 4 * W, W);
    PlaceBoss(BossTransforming);
    Boss.kind = BossChangingForm;
    const int left = 300 - W / 2;
    const int cells[][2] = {{30, 3}, {29, 2}, {20, 2}, {19, 1}, {10, 1}, {9, 0}, {1, 0}};
    for (const auto& c : cells) {
        Boss.bossCount = c[0];
        Render();
        EXPECT_EQ(At(left + 1, 284), (Texel{SheetTag, c[1] * W, 0})) << "count " << c[0];
        EXPECT_EQ(At(left + W - 1, 284), (Texel{SheetTag, c[1] * W + W - 2, 0})) << "count " << c[0];
        // The first cell's first column lies off the picture.
        EXPECT_EQ(Black(left, 284), c[1] == 0) << "count " << c[0];
        EXPECT_TRUE(Black(left + W, 284)) << "count " << c[0];
    }
}

TEST_F(DrawTest, LifeBarsFillByLifeAndTheStageClearShowsOnceTheBossHasNone) {
    PlayerTextures[2] = MakeCoded(BarTag, 512, 512);
    PlayerTextures[3] = MakeCoded(FillTag, 512, 512);
    BossTextures[4] = MakeCoded(BarTag + 1, 640, 240);
    BossTextures[5] = MakeCoded(FillTag + 1, 640, 240);
    // The stage-clear picture leaves the top rows clear, to see the bar under it.
    SceneTextures[7] = MakePicture(640, 480, [](int u, int v) { return v < 240 ? 0u : TexelColour(ClearTag, u, v); });
    Scene = SceneBoss;
    ThePlayer.HP = 300;
    // The boss bar's frame left of `fillFrom`, its fill from there to the right edge.
    const struct { int hp, fillFrom; } bars[] = {{300, 340}, {1, 639}, {0, 640}, {INT_MIN, 640}, {1000, 0}};
    for (const auto& c : bars) {
        SCOPED_TRACE(testing::Message() << "BossHp " << c.hp);
        BossHp = c.hp;
        Render();
        EXPECT_EQ(At(299, 400), (Texel{c.hp > 0 ? FillTag : ClearTag, 299, 400}));
        EXPECT_EQ(At(300, 400), (Texel{c.hp > 0 ? BarTag : ClearTag, 300, 400}));
        if (c.fillFrom > 0) {
            EXPECT_EQ(At(c.fillFrom - 1, 10), (Texel{BarTag + 1, c.fillFrom - 1, 10}));
        }
        if (c.fillFrom < 640) {
            EXPECT_EQ(At(c.fillFrom, 10), (Texel{FillTag + 1, c.fillFrom, 10}));
        }
    }
}

// The pose by the first rule that holds; dim on hit-timer counts 5 to 9 of
// each ten, guards too, attacks never.
TEST_F(DrawTest, PlayerPosesInRuleOrderAndBlinksWhileTheHitTimerRuns) {
    PlayerTextures[0] = MakeCoded(SheetTag, 8 * Cell, 8 * Cell);
    const struct { int controllable; float vx; int guard, airborne; float vy, animation; int attack, cnt, col, row; bool dim; } cases[] = {
        {0, -5, 1, 1, 0, 0, 1, 0, 1, 6, false}, {0, 0, 0, 0, 0, 0, 0, 0, 2, 6, false},
        {1, 0, 3, 1, 0, 0, 0, 95, 2, 4, true},  {1, 0, 0, 2, 1.5f, 1, 0, 94, 6, 0, false},
        {1, 0, 0, 1, -8, 2, 0, 99, 4, 0, true}, {1, 0, 0, 1, 0, 0, 0, 100, 5, 0, false},
        {1, 0, 0, 0, 0, 0, 0, 89, 0, 6, true},  {1, 0, 0, 0, 0, 3.95f, 0, 90, 3, 0, false},
        {1, 0, 0, 0, 0, 0, 1, 0, 0, 6, false},  {1, 0, 0, 0, 0, 0, 2, 15, 1, 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "col " << c.col << " row " << c.row << " Cnt " << c.cnt);
        StandPlayer(320.0f, 380.0f, 0);
        Player& p = ThePlayer;
        p.controllable = c.controllable;
        p.vx = c.vx;
        p.guardState = c.guard;
        p.airborne = c.airborne;
        p.vy = c.vy;
        p.animation = c.animation;
        p.attackState = c.attack;
        p.attackCount = c.attack == 2 ? 5 : 0;
        p.Cnt = c.cnt;
        Render([] { DrawPlayer(0, 0); });
        const Texel corner{SheetTag, c.col * Cell, c.row * Cell};
        EXPECT_EQ(At(272, 284) == corner, !c.dim);
        EXPECT_EQ(At(272 + 95, 284 + 95) == (Texel{SheetTag, c.col * Cell + 95, c.row * Cell + 95}), !c.dim);
        EXPECT_TRUE(Black(271, 284));
        EXPECT_TRUE(Black(272 + 96, 284));
    }
}
