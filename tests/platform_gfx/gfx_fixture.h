// A real device over a null window, cleared to blue, with the sprite batch
// open as the frame opens it: alpha blending, no filtering.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "platform/d3dx9.h"
#include "support/test_graphics.h"

constexpr uint32_t ClearBlue = 0xFF0000FFu;

class GfxTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A texture of the given pixels (A8R8G8B8, row by row).
    IDirect3DTexture9* MakeTexture(int width, int height, const std::vector<uint32_t>& pixels);
    // Pixels with a distinct opaque colour for each texel.
    static std::vector<uint32_t> Numbered(int width, int height, uint32_t alpha = 0xFF);
    static uint32_t NumberedTexel(int x, int y, uint32_t alpha = 0xFF);

    void Draw(IDirect3DTexture9* texture, const RECT& source, const D3DXMATRIX& matrix,
              D3DCOLOR colour = 0xFFFFFFFFu);
    void DrawAt(IDirect3DTexture9* texture, const RECT& source, float x, float y, D3DCOLOR colour = 0xFFFFFFFFu);
    // The game's turned matrix: T(-w/2, -h/2) x Rz(degrees) x T(cx, cy).
    static D3DXMATRIX Turned(int w, int h, float degrees, float cx, float cy);

    uint32_t Pixel(int x, int y) const;
    int CountNot(uint32_t colour) const;

    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    ID3DXSprite* sprite = nullptr;
    std::vector<IDirect3DTexture9*> textures;
};
