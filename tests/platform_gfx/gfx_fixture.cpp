#include "gfx_fixture.h"
#include "graphics/graphics.h"

void GfxTest::SetUp() {
    ASSERT_TRUE(OpenTestGraphics());
    d3d = Graphics.d3d;
    device = Graphics.device;
    sprite = Graphics.sprite;
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, ClearBlue, 1.0f, 0);
    ASSERT_EQ(OpenSpriteBatch(), D3D_OK);
}

void GfxTest::TearDown() {
    for (IDirect3DTexture9* texture : textures) texture->Release();
    Graphics.sprite = sprite;  // a test may have made the batch again
    EXPECT_TRUE(CloseTestGraphics());
}

IDirect3DTexture9* GfxTest::MakeTexture(int width, int height, const std::vector<uint32_t>& pixels) {
    IDirect3DTexture9* texture = MakeTestTexture(width, height, [&](int u, int v) { return pixels[(size_t)v * width + u]; });
    EXPECT_NE(texture, nullptr);
    if (texture) textures.push_back(texture);
    return texture;
}

uint32_t GfxTest::NumberedTexel(int x, int y, uint32_t alpha) {
    return (alpha << 24) | (uint32_t)(0x10 + 8 * x) << 16 | (uint32_t)(0x20 + 8 * y) << 8 | 0x33;
}

std::vector<uint32_t> GfxTest::Numbered(int width, int height, uint32_t alpha) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels.push_back(NumberedTexel(x, y, alpha));
    }
    return pixels;
}

void GfxTest::Draw(IDirect3DTexture9* texture, const RECT& source, const D3DXMATRIX& matrix, D3DCOLOR colour) {
    sprite->SetTransform(&matrix);
    sprite->Draw(texture, &source, nullptr, nullptr, colour);
}

void GfxTest::DrawAt(IDirect3DTexture9* texture, const RECT& source, float x, float y, D3DCOLOR colour) {
    D3DXMATRIX placed;
    D3DXMatrixTranslation(&placed, x, y, 0.0f);
    Draw(texture, source, placed, colour);
}

D3DXMATRIX GfxTest::Turned(int w, int h, float degrees, float cx, float cy) {
    D3DXMATRIX toMiddle, turn, place;
    D3DXMatrixTranslation(&toMiddle, (float)-(w / 2), (float)-(h / 2), 0.0f);
    D3DXMatrixRotationZ(&turn, degrees * 0.0174532924f);
    D3DXMatrixTranslation(&place, cx, cy, 0.0f);
    D3DXMatrixMultiply(&toMiddle, &toMiddle, &turn);
    D3DXMatrixMultiply(&toMiddle, &toMiddle, &place);
    return toMiddle;
}

uint32_t GfxTest::Pixel(int x, int y) const { return BackPixel(x, y); }

int GfxTest::CountNot(uint32_t colour) const {
    int count = 0;
    const size_t total = (size_t)device->BackBufferWidth() * device->BackBufferHeight();
    for (size_t i = 0; i < total; ++i) count += device->BackBuffer()[i] != colour;
    return count;
}
