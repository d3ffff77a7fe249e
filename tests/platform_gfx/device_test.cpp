// The device's life: reference counts, refused states, lines and the
// lost-device cycle. Making it and its fallbacks are the graphics suite's.
#include "gfx_fixture.h"
#include "platform/testhooks.h"

namespace {
struct LineVertex {
    float x, y, z;
    D3DCOLOR colour;
};
}  // namespace

TEST_F(GfxTest, SpriteFontAndBoundTextureHoldReferences) {
    EXPECT_EQ(d3d->AddRef(), 2u);
    EXPECT_EQ(d3d->Release(), 1u);
    ID3DXFont* font = nullptr;
    ASSERT_EQ(D3DXCreateFontA(device, 12, 0, FW_DONTCARE, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "ＭＳ Ｐゴシック", &font),
              D3D_OK);
    // Device, sprite and font: the device goes with the last of them.
    EXPECT_EQ(device->AddRef(), 4u);
    EXPECT_EQ(device->Release(), 3u);
    EXPECT_EQ(font->Release(), 0u);
    EXPECT_EQ(device->AddRef(), 3u);
    EXPECT_EQ(device->Release(), 2u);

    IDirect3DTexture9* texture = MakeTexture(1, 1, {0xFFFFFFFFu});
    device->SetTexture(0, texture);
    EXPECT_EQ(texture->AddRef(), 3u);
    EXPECT_EQ(texture->Release(), 2u);
    device->SetTexture(0, nullptr);
    EXPECT_EQ(texture->AddRef(), 2u);
    EXPECT_EQ(texture->Release(), 1u);
}

// The readback of the game's own states is the graphics suite's.
TEST_F(GfxTest, BadStateIndicesAreRefused) {
    D3DLIGHT9 light{};
    EXPECT_LT(device->SetRenderState((D3DRENDERSTATETYPE)D3DRenderStateCount, 1), 0);
    EXPECT_LT(device->SetSamplerState(D3DSamplerCount, D3DSAMP_MAGFILTER, 1), 0);
    EXPECT_LT(device->SetTextureStageState(D3DTextureStageCount, D3DTSS_COLOROP, 1), 0);
    EXPECT_LT(device->SetLight(1000, &light), 0);
    D3DMATRIX matrix{};
    EXPECT_LT(device->SetTransform((D3DTRANSFORMSTATETYPE)77, &matrix), 0);
}

TEST_F(GfxTest, LinesGoThroughWorldViewProjectionOntoTheViewport) {
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    // With every matrix the identity, x -0.5 to 0.5 spans pixels 160 to 479.
    const LineVertex across[2] = {{-0.5f, 0.0f, 0.5f, 0xFFFF0000u}, {0.5f, 0.0f, 0.5f, 0xFFFF0000u}};
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_LINELIST, 1, across, sizeof(LineVertex)), D3D_OK);
    EXPECT_EQ(Pixel(160, 240), 0xFFFF0000u);
    EXPECT_EQ(Pixel(479, 240), 0xFFFF0000u);
    EXPECT_EQ(Pixel(480, 240), ClearBlue);
    EXPECT_EQ(CountNot(ClearBlue), 320);

    // Behind the eye (z < 0) nothing is drawn.
    D3DXMATRIX move;
    D3DXMatrixTranslation(&move, 0.0f, 0.0f, -2.0f);
    device->SetTransform(D3DTS_WORLD, &move);
    device->DrawPrimitiveUP(D3DPT_LINELIST, 1, across, sizeof(LineVertex));
    EXPECT_EQ(CountNot(ClearBlue), 320);

    // A strip of three points is two joined lines.
    D3DXMatrixTranslation(&move, 0.0f, 0.0f, 0.0f);
    device->SetTransform(D3DTS_WORLD, &move);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, ClearBlue, 1.0f, 0);
    const LineVertex strip[3] = {
        {-1.0f, -0.5f, 0.5f, 0xFF00FF00u}, {0.0f, -0.5f, 0.5f, 0xFF00FF00u}, {0.0f, 0.5f, 0.5f, 0xFF00FF00u}};
    device->DrawPrimitiveUP(D3DPT_LINESTRIP, 2, strip, sizeof(LineVertex));
    EXPECT_EQ(Pixel(0, 360), 0xFF00FF00u);
    EXPECT_EQ(Pixel(320, 300), 0xFF00FF00u);
    EXPECT_EQ(CountNot(ClearBlue), 320 + 240);
    // Depth: a farther line behind a nearer one stays hidden until the
    // depth buffer is cleared.
    const LineVertex far[2] = {{-1.0f, -0.5f, 0.9f, 0xFFFFFFFFu}, {0.0f, -0.5f, 0.9f, 0xFFFFFFFFu}};
    device->DrawPrimitiveUP(D3DPT_LINELIST, 1, far, sizeof(LineVertex));
    EXPECT_EQ(Pixel(100, 360), 0xFF00FF00u);
    device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    device->DrawPrimitiveUP(D3DPT_LINELIST, 1, far, sizeof(LineVertex));
    EXPECT_EQ(Pixel(100, 360), 0xFFFFFFFFu);
    // Without the line format the call is refused.
    device->SetFVF(0);
    EXPECT_LT(device->DrawPrimitiveUP(D3DPT_LINELIST, 1, across, sizeof(LineVertex)), 0);
}

TEST_F(GfxTest, LostDeviceCycleEndsWithReset) {
    IDirect3DTexture9* texture = MakeTexture(1, 1, {0xFF123456u});
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

    ForceDeviceLossState(DeviceLossState::Lost);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    D3DPRESENT_PARAMETERS params = GameParams();
    EXPECT_EQ(device->Reset(&params), D3DERR_DEVICELOST);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);

    ForceDeviceLossState(DeviceLossState::NotReset);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    sprite->End();
    sprite->Release();
    sprite = nullptr;
    ASSERT_EQ(device->Reset(&params), D3D_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

    // Reset brings the states back to their starting values; textures live on.
    DWORD lighting = 0;
    device->GetRenderState(D3DRS_LIGHTING, &lighting);
    EXPECT_EQ(lighting, (DWORD)TRUE);
    ASSERT_EQ(D3DXCreateSprite(device, &sprite), D3D_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, ClearBlue, 1.0f, 0);
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    DrawAt(texture, RECT{0, 0, 1, 1}, 7.0f, 7.0f);
    EXPECT_EQ(Pixel(7, 7), 0xFF123456u);
}
