// A real device and sprite batch with small coded test pictures in the
// texture tables; pictures are read back from the back buffer.
//
// Every test picture is opaque and codes its own texel in each pixel:
// red = tag << 4 | (u >> 8) << 2 | (v >> 8), green = u & 255, blue = v & 255.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "game/draw/draw.h"
#include "game/frame.h"
#include "game/records.h"
#include "game/resources.h"
#include "game/stage/stage.h"
#include "graphics/graphics.h"

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
    static IDirect3D9* d3d;

    static void SetUpTestSuite() {
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
        D3DPRESENT_PARAMETERS params{};
        params.BackBufferWidth = 640;
        params.BackBufferHeight = 480;
        params.BackBufferFormat = D3DFMT_X8R8G8B8;
        params.BackBufferCount = 1;
        params.SwapEffect = D3DSWAPEFFECT_DISCARD;
        params.Windowed = TRUE;
        params.EnableAutoDepthStencil = TRUE;
        params.AutoDepthStencilFormat = D3DFMT_D24S8;
        ASSERT_GE(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                    &params, &Graphics.device),
                  0);
        ASSERT_GE(D3DXCreateSprite(Graphics.device, &Graphics.sprite), 0);
    }

    static void TearDownTestSuite() {
        if (Graphics.sprite) Graphics.sprite->Release();
        if (Graphics.device) Graphics.device->Release();
        if (d3d) d3d->Release();
        Graphics.sprite = nullptr;
        Graphics.device = nullptr;
        d3d = nullptr;
    }

    std::vector<IDirect3DTexture9*> made;

    void SetUp() override {
        ClearTables();
        ThePlayer = Player{};
        ThePlayer.controllable = 1;
        ThePlayer.x = 100.0f;
        ThePlayer.y = 300.0f;
        std::memset(Enemies, 0, sizeof Enemies);
        Boss = Enemy{};
        std::memset(Shots, 0, sizeof Shots);
        for (int k = 0; k < BackgroundStripCount; ++k) BackgroundOrder[k] = k;
        BossHp = BossStartHp;
        Scene = SceneField;
    }

    void TearDown() override {
        ClearTables();
        for (IDirect3DTexture9* t : made) t->Release();
        made.clear();
    }

    static void ClearTables() {
        for (IDirect3DTexture9** table :
             {SceneTextures, PlayerTextures, EnemyTextures, BackgroundTextures, BossTextures, ShotTextures}) {
            for (int i = 0; i < TextureTableSize; ++i) table[i] = nullptr;
        }
    }

    IDirect3DTexture9* MakePicture(int w, int h, const std::function<uint32_t(int u, int v)>& texel) {
        IDirect3DTexture9* t = nullptr;
        EXPECT_GE(Graphics.device->CreateTexture(w, h, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr), 0);
        D3DLOCKED_RECT locked{};
        EXPECT_GE(t->LockRect(0, &locked, nullptr, 0), 0);
        for (int v = 0; v < h; ++v) {
            uint32_t* row = (uint32_t*)((char*)locked.pBits + (size_t)v * locked.Pitch);
            for (int u = 0; u < w; ++u) row[u] = texel(u, v);
        }
        t->UnlockRect(0);
        made.push_back(t);
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
        ASSERT_GE(Graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND), 0);
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_NONE);
        device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_NONE);
        device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
        draw();
        Graphics.sprite->End();
        device->EndScene();
    }

    static uint32_t Pixel(int x, int y) { return Graphics.device->BackBuffer()[y * 640 + x] & 0xFFFFFF; }

    static Texel At(int x, int y) {
        const uint32_t p = Pixel(x, y);
        const int r = (int)(p >> 16 & 0xFF);
        return Texel{r >> 4, ((r >> 2) & 3) << 8 | (int)(p >> 8 & 0xFF), (r & 3) << 8 | (int)(p & 0xFF)};
    }

    static bool Black(int x, int y) { return Pixel(x, y) == 0; }

    // The colour a pixel would have with `over` at `alpha` on `under`.
    static uint32_t Blended(uint32_t over, int alpha, uint32_t under) {
        uint32_t out = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int top = (int)(over >> shift & 0xFF);
            const int bottom = (int)(under >> shift & 0xFF);
            out |= (uint32_t)((top * alpha + bottom * (255 - alpha)) / 255) << shift;
        }
        return out;
    }

    // The pixel shows `over` at `alpha` on top of `under` (black unless
    // given), to the rounding of the blends.
    static void ExpectBlend(int x, int y, uint32_t over, int alpha, uint32_t under = 0) {
        const uint32_t got = Pixel(x, y);
        const uint32_t want = Blended(over, alpha, under);
        for (int shift = 0; shift <= 16; shift += 8) {
            EXPECT_LE(std::abs((int)(got >> shift & 0xFF) - (int)(want >> shift & 0xFF)), 2)
                << "pixel (" << x << ", " << y << ") channel " << shift / 8 << " alpha " << alpha;
        }
    }
};

inline IDirect3D9* DrawTest::d3d = nullptr;
