// The device's life: reference counts, making it, its states, lines and
// the lost-device cycle.
#include "gfx_fixture.h"
#include "platform/testhooks.h"

namespace {
bool RefuseHardwareVertices(D3DDEVTYPE, DWORD behaviour) {
    return behaviour != D3DCREATE_HARDWARE_VERTEXPROCESSING;
}
bool RefuseEverything(D3DDEVTYPE, DWORD) { return false; }

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

TEST_F(GfxTest, StatesReadBackAndBadIndicesAreRefused) {
    DWORD value = 0;
    device->SetRenderState(D3DRS_FOGSTART, 0x3F000000u);
    device->GetRenderState(D3DRS_FOGSTART, &value);
    EXPECT_EQ(value, 0x3F000000u);
    device->GetSamplerState(0, D3DSAMP_MAGFILTER, &value);
    EXPECT_EQ(value, D3DTEXF_NONE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->GetTextureStageState(0, D3DTSS_ALPHAARG2, &value);
    EXPECT_EQ(value, D3DTA_DIFFUSE);
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Direction = D3DVECTOR{0.0f, -1.0f, 0.0f};
    device->SetLight(3, &light);
    device->LightEnable(3, TRUE);
    D3DLIGHT9 back{};
    BOOL enabled = FALSE;
    device->GetLight(3, &back);
    device->GetLightEnable(3, &enabled);
    EXPECT_EQ(back.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(back.Direction.y, -1.0f);
    EXPECT_TRUE(enabled);

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

    // The world matrix moves it; behind the eye (z < 0) nothing is drawn.
    D3DXMATRIX up;
    D3DXMatrixTranslation(&up, 0.0f, 0.5f, 0.0f);
    device->SetTransform(D3DTS_WORLD, &up);
    device->DrawPrimitiveUP(D3DPT_LINELIST, 1, across, sizeof(LineVertex));
    EXPECT_EQ(Pixel(200, 120), 0xFFFF0000u);
    D3DXMatrixTranslation(&up, 0.0f, 0.0f, -2.0f);
    device->SetTransform(D3DTS_WORLD, &up);
    device->DrawPrimitiveUP(D3DPT_LINELIST, 1, across, sizeof(LineVertex));
    EXPECT_EQ(CountNot(ClearBlue), 640);

    // A strip of three points is two joined lines.
    D3DXMatrixTranslation(&up, 0.0f, 0.0f, 0.0f);
    device->SetTransform(D3DTS_WORLD, &up);
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

    // A Reset to other sizes gives a back buffer of those sizes.
    sprite->End();
    params.BackBufferWidth = 320;
    params.BackBufferHeight = 200;
    ASSERT_EQ(device->Reset(&params), D3D_OK);
    EXPECT_EQ(device->BackBufferWidth(), 320u);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, ClearBlue, 1.0f, 0);
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    IDirect3DTexture9* square = MakeTexture(40, 40, std::vector<uint32_t>(1600, 0xFF000000u));
    DrawAt(square, RECT{0, 0, 40, 40}, 300.0f, 190.0f);
    Draw(square, RECT{0, 0, 40, 40}, Turned(40, 40, 45.0f, 10.0f, 190.0f));
    EXPECT_EQ(Pixel(319, 199), 0xFF000000u);
    EXPECT_EQ(Pixel(10, 199), 0xFF000000u);
}

TEST(Direct3D, DeviceTypesFallBackAsTheHookRefuses) {
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
    EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
    EXPECT_GT(mode.Width, 0u);
    EXPECT_GT(mode.Height, 0u);

    const struct {
        D3DDEVTYPE type;
        DWORD behaviour;
    } tries[] = {{D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
                 {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
                 {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING}};
    SetCreateDeviceHook(RefuseHardwareVertices);
    for (const auto& attempt : tries) {
        D3DPRESENT_PARAMETERS params = GameParams();
        IDirect3DDevice9* device = nullptr;
        const HRESULT result = d3d->CreateDevice(D3DADAPTER_DEFAULT, attempt.type, nullptr, attempt.behaviour,
                                                 &params, &device);
        EXPECT_EQ(SUCCEEDED(result), attempt.behaviour != D3DCREATE_HARDWARE_VERTEXPROCESSING);
        EXPECT_EQ(device != nullptr, SUCCEEDED(result));
        if (device) {
        EXPECT_EQ(device->Release(), 0u);
    }
    }
    SetCreateDeviceHook(RefuseEverything);
    IDirect3DDevice9* device = nullptr;
    D3DPRESENT_PARAMETERS params = GameParams();
    EXPECT_LT(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_REF, nullptr, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                &params, &device),
              0);
    EXPECT_EQ(device, nullptr);
    SetCreateDeviceHook(nullptr);

    // Windowed with sizes 0: the back buffer takes the game's 640 x 480
    // and says so in the parameters.
    params = GameParams();
    params.Windowed = TRUE;
    params.BackBufferWidth = params.BackBufferHeight = 0;
    params.BackBufferFormat = mode.Format;
    ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                &params, &device),
              D3D_OK);
    EXPECT_EQ(params.BackBufferWidth, 640u);
    EXPECT_EQ(params.BackBufferHeight, 480u);
    EXPECT_EQ(device->BackBufferWidth(), 640u);
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(d3d->Release(), 0u);
}
