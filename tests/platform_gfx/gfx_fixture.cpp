#include "gfx_fixture.h"
#include <cstring>

void GfxTest::SetUp() {
    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    D3DPRESENT_PARAMETERS params = GameParams();
    ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                &params, &device),
              D3D_OK);
    ASSERT_EQ(D3DXCreateSprite(device, &sprite), D3D_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, ClearBlue, 1.0f, 0);
    ASSERT_EQ(sprite->Begin(D3DXSPRITE_ALPHABLEND), D3D_OK);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_NONE);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_NONE);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
}

void GfxTest::TearDown() {
    for (IDirect3DTexture9* texture : textures) texture->Release();
    if (sprite) sprite->Release();
    if (device) {
        EXPECT_EQ(device->Release(), 0u);
    }
    if (d3d) {
        EXPECT_EQ(d3d->Release(), 0u);
    }
}

IDirect3DTexture9* GfxTest::MakeTexture(int width, int height, const std::vector<uint32_t>& pixels) {
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device->CreateTexture((UINT)width, (UINT)height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                    nullptr),
              D3D_OK);
    if (!texture) return nullptr;
    D3DLOCKED_RECT locked;
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (int y = 0; y < height; ++y) {
        std::memcpy(static_cast<char*>(locked.pBits) + (size_t)y * locked.Pitch, &pixels[(size_t)y * width],
                    (size_t)width * 4);
    }
    texture->UnlockRect(0);
    textures.push_back(texture);
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

uint32_t GfxTest::Pixel(int x, int y) const { return device->BackBuffer()[(size_t)y * device->BackBufferWidth() + x]; }

int GfxTest::CountNot(uint32_t colour) const {
    int count = 0;
    const size_t total = (size_t)device->BackBufferWidth() * device->BackBufferHeight();
    for (size_t i = 0; i < total; ++i) count += device->BackBuffer()[i] != colour;
    return count;
}
