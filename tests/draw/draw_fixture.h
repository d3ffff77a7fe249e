// A real device and sprite batch with small coded test pictures in the
// texture tables; pictures are read back from the back buffer. Everyday
// drawing is pinned by the golden replays' picture hashes; these tests
// look at the edges of cells, bad records and the places of pictures.
//
// Every test picture is opaque and codes its own texel in each pixel:
// red = tag << 4 | (u >> 8) << 2 | (v >> 8), green = u & 255, blue = v & 255.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "game/draw/draw.h"
#include "game/frame.h"
#include "game/records.h"
#include "game/resources.h"
#include "game/stage/stage.h"
#include "graphics/graphics.h"
#include "support/actor_scene.h"
#include "support/colours.h"
#include "support/test_graphics.h"

struct Texel {
    int tag, u, v;
    bool operator==(const Texel& o) const { return tag == o.tag && u == o.u && v == o.v; }
};

inline std::ostream& operator<<(std::ostream& os, const Texel& t) {
    return os << "tag " << t.tag << " (" << t.u << ", " << t.v << ")";
}

inline uint32_t TexelColour(int tag, int u, int v) {
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
};
