// A real device over a null window, cleared to blue, with the sprite batch
// open as the frame opens it: alpha blending, no filtering.
#pragma once
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdint>
#include <vector>
#include "graphics/graphics.h"
#include "platform/d3dx9.h"
#include "support/test_graphics.h"

constexpr uint32_t ClearBlue = 0xFF0000FFu;

class GfxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OpenTestGraphics());
        device = Graphics.device, sprite = Graphics.sprite;
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, ClearBlue, 1.0f, 0);
        ASSERT_EQ(OpenSpriteBatch(), D3D_OK);
    }
    void TearDown() override {
        for (IDirect3DTexture9* texture : textures) texture->Release();
        EXPECT_TRUE(CloseTestGraphics());  // nothing kept a reference
    }
    // A texture of the given pixels (A8R8G8B8, row by row), released after the test.
    IDirect3DTexture9* MakeTexture(int width, int height, const std::vector<uint32_t>& pixels) {
        IDirect3DTexture9* texture = MakeTestTexture(width, height, [&](int u, int v) { return pixels[v * width + u]; });
        EXPECT_NE(texture, nullptr);
        if (texture) textures.push_back(texture);
        return texture;
    }
    // A distinct opaque colour for each texel.
    static uint32_t NumberedTexel(int x, int y, uint32_t alpha = 0xFF) {
        return alpha << 24 | (uint32_t)(0x10 + 8 * x) << 16 | (uint32_t)(0x20 + 8 * y) << 8 | 0x33;
    }
    static std::vector<uint32_t> Numbered(int width, int height, uint32_t alpha = 0xFF) {
        std::vector<uint32_t> pixels;
        for (int i = 0; i < width * height; ++i) pixels.push_back(NumberedTexel(i % width, i / width, alpha));
        return pixels;
    }
    void Draw(IDirect3DTexture9* texture, const RECT& source, const D3DXMATRIX& matrix, D3DCOLOR colour = ~0u) {
        sprite->SetTransform(&matrix);
        sprite->Draw(texture, &source, nullptr, nullptr, colour);
    }
    void DrawAt(IDirect3DTexture9* texture, const RECT& source, float x, float y, D3DCOLOR colour = ~0u) {
        D3DXMATRIX placed;
        Draw(texture, source, *D3DXMatrixTranslation(&placed, x, y, 0.0f), colour);
    }
    // The game's turned matrix: T(-w/2, -h/2) x Rz(degrees) x T(cx, cy).
    static D3DXMATRIX Turned(int w, int h, float degrees, float cx, float cy) {
        D3DXMATRIX toMiddle, turn, place;
        D3DXMatrixTranslation(&toMiddle, (float)-(w / 2), (float)-(h / 2), 0.0f);
        D3DXMatrixMultiply(&toMiddle, &toMiddle, D3DXMatrixRotationZ(&turn, degrees * 0.0174532924f));
        return *D3DXMatrixMultiply(&toMiddle, &toMiddle, D3DXMatrixTranslation(&place, cx, cy, 0.0f));
    }
    uint32_t Pixel(int x, int y) const { return BackPixel(x, y); }
    int CountNot(uint32_t colour) const {
        const uint32_t* pixels = device->BackBuffer();
        return (int)(640 * 480 - std::count(pixels, pixels + 640 * 480, colour));
    }

    IDirect3DDevice9* device = nullptr;
    ID3DXSprite* sprite = nullptr;
    std::vector<IDirect3DTexture9*> textures;
};
