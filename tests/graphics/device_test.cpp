// The device's creation in both modes and through its fallbacks, the fixed
// states, recovery from a loss, and release.
#include <vector>

#include "device_fixture.h"

namespace {

struct Try {
    D3DDEVTYPE type;
    DWORD behavior;
    bool operator==(const Try& o) const { return type == o.type && behavior == o.behavior; }
};
std::vector<Try> Tries;
int TriesRefused;

bool RefuseFirstTries(D3DDEVTYPE type, DWORD behavior) {
    Tries.push_back({type, behavior});
    return static_cast<int>(Tries.size()) > TriesRefused;
}

TEST_F(DeviceTest, FullScreenFillsTheTableAndSizesTheClientArea) {
    RECT client;
    GetClientRect(window, &client);
    ASSERT_NE(client.right, 640);
    graphics.deviceLost = 1;
    ASSERT_EQ(graphics.Create(window, 640, 480, D3DFMT_X8R8G8B8, TRUE), 1);
    const D3DPRESENT_PARAMETERS& p = graphics.presentParams;
    EXPECT_EQ(p.BackBufferWidth, 640u);
    EXPECT_EQ(p.BackBufferHeight, 480u);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(p.BackBufferCount, 1u);
    EXPECT_EQ(p.MultiSampleType, D3DMULTISAMPLE_NONE);
    EXPECT_EQ(p.MultiSampleQuality, 0u);
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(p.hDeviceWindow, window);
    EXPECT_EQ(p.Windowed, FALSE);
    EXPECT_EQ(p.EnableAutoDepthStencil, TRUE);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D24S8);
    EXPECT_EQ(p.Flags, 0u);
    EXPECT_EQ(p.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(p.PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
    EXPECT_NE(graphics.d3d, nullptr);
    EXPECT_NE(graphics.device, nullptr);
    EXPECT_NE(graphics.sprite, nullptr);
    EXPECT_NE(graphics.font, nullptr);
    EXPECT_EQ(graphics.deviceLost, 0);
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    EXPECT_TRUE(boxes::Seen.empty());
}

TEST_F(DeviceTest, WindowedTakesTheDesktopFormatAndLeavesTheWindowAlone) {
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    D3DDISPLAYMODE desktop{};
    ASSERT_EQ(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &desktop), D3D_OK);
    d3d->Release();
    RECT before, after;
    GetWindowRect(window, &before);

    ASSERT_EQ(graphics.Create(window, 640, 480, D3DFMT_X8R8G8B8, FALSE), 1);
    const D3DPRESENT_PARAMETERS& p = graphics.presentParams;
    EXPECT_EQ(p.Windowed, TRUE);
    EXPECT_EQ(p.BackBufferFormat, desktop.Format);
    EXPECT_EQ(p.hDeviceWindow, window);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D24S8);
    EXPECT_EQ(p.PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
    // Zero sizes ask for the client area, which the device writes back.
    RECT client;
    GetClientRect(window, &client);
    ASSERT_NE(client.right, 640);
    EXPECT_EQ(p.BackBufferWidth, static_cast<UINT>(client.right));
    EXPECT_EQ(p.BackBufferHeight, static_cast<UINT>(client.bottom));
    EXPECT_EQ(graphics.device->BackBufferWidth(), p.BackBufferWidth);
    EXPECT_EQ(graphics.device->BackBufferHeight(), p.BackBufferHeight);
    GetWindowRect(window, &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

TEST_F(DeviceTest, DeviceTriesFallBackInOrderAndOnlyTheLastFailureSpeaks) {
    const std::vector<Try> order = {{D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
                                    {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
                                    {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING}};
    SetCreateDeviceHook(RefuseFirstTries);
    for (int refused = 0; refused <= 2; ++refused) {
        SCOPED_TRACE(refused);
        Tries.clear();
        TriesRefused = refused;
        ASSERT_EQ(graphics.Create(window, 640, 480, D3DFMT_X8R8G8B8, TRUE), 1);
        EXPECT_EQ(Tries, std::vector<Try>(order.begin(), order.begin() + refused + 1));
        EXPECT_NE(graphics.device, nullptr);
        EXPECT_NE(graphics.sprite, nullptr);
        EXPECT_TRUE(boxes::Seen.empty());
        graphics.Release();
    }

    Tries.clear();
    TriesRefused = 3;
    EXPECT_EQ(graphics.Create(window, 640, 480, D3DFMT_X8R8G8B8, TRUE), 0);
    EXPECT_EQ(Tries, order);
    ASSERT_EQ(boxes::Seen.size(), 1u);
    EXPECT_EQ(boxes::Seen[0].owner, window);
    EXPECT_EQ(boxes::Seen[0].text, "Direct3Dの初期化に失敗。");
    EXPECT_EQ(boxes::Seen[0].caption, "Direct3D初期化");
    EXPECT_EQ(boxes::Seen[0].type, MB_OK | MB_ICONERROR);
    EXPECT_EQ(graphics.device, nullptr);
    EXPECT_EQ(graphics.sprite, nullptr);
    // What it had made stays for the release.
    EXPECT_NE(graphics.d3d, nullptr);
}

struct StateRow {
    D3DRENDERSTATETYPE state;
    DWORD value;
};

TEST_F(DeviceTest, TheFixedStatesReadBackFromTheDevice) {
    MakeDevice();
    const StateRow renderStates[] = {
        {D3DRS_ZENABLE, 1},   {D3DRS_ZWRITEENABLE, 1},     {D3DRS_ALPHABLENDENABLE, 1},
        {D3DRS_SRCBLEND, 5},  {D3DRS_DESTBLEND, 6},        {D3DRS_NORMALIZENORMALS, 1},
        {D3DRS_SHADEMODE, 2}, {D3DRS_CULLMODE, 3},         {D3DRS_LIGHTING, 0},
    };
    // Spoil every state first, so only SetRenderStates can put them back.
    for (const StateRow& row : renderStates) graphics.device->SetRenderState(row.state, 0x55);
    for (DWORD type = D3DTSS_COLOROP; type <= D3DTSS_ALPHAARG2; ++type) {
        graphics.device->SetTextureStageState(0, static_cast<D3DTEXTURESTAGESTATETYPE>(type), 0x55);
    }
    for (DWORD type = D3DSAMP_MAGFILTER; type <= D3DSAMP_MIPMAPLODBIAS; ++type) {
        graphics.device->SetSamplerState(0, static_cast<D3DSAMPLERSTATETYPE>(type), 0x55);
    }
    graphics.SetRenderStates();
    for (const StateRow& row : renderStates) EXPECT_EQ(RenderState(row.state), row.value) << row.state;

    const struct {
        D3DTEXTURESTAGESTATETYPE type;
        DWORD value;
    } stageStates[] = {{D3DTSS_ALPHAOP, 4},   {D3DTSS_ALPHAARG1, 2}, {D3DTSS_ALPHAARG2, 0},
                       {D3DTSS_COLOROP, 4},   {D3DTSS_COLORARG1, 2}, {D3DTSS_COLORARG2, 0}};
    for (const auto& row : stageStates) {
        DWORD value = 0;
        graphics.device->GetTextureStageState(0, row.type, &value);
        EXPECT_EQ(value, row.value) << row.type;
    }
    const struct {
        D3DSAMPLERSTATETYPE type;
        DWORD value;
    } samplerStates[] = {{D3DSAMP_MINFILTER, 2}, {D3DSAMP_MAGFILTER, 2}, {D3DSAMP_MIPFILTER, 2},
                         {D3DSAMP_MIPMAPLODBIAS, 0}};
    for (const auto& row : samplerStates) {
        DWORD value = 0;
        graphics.device->GetSamplerState(0, row.type, &value);
        EXPECT_EQ(value, row.value) << row.type;
    }

    graphics.device->SetRenderState(D3DRS_SRCBLEND, 1);
    graphics.device->SetRenderState(D3DRS_DESTBLEND, 1);
    graphics.SetAlphaBlend();
    EXPECT_EQ(RenderState(D3DRS_SRCBLEND), D3DBLEND_SRCALPHA);
    EXPECT_EQ(RenderState(D3DRS_DESTBLEND), D3DBLEND_INVSRCALPHA);
}

TEST_F(DeviceTest, RestoreWaitsWhileLostAndRemakesAfterAReset) {
    MakeDevice();
    ID3DXSprite* sprite = graphics.sprite;
    ID3DXFont* font = graphics.font;
    IDirect3DDevice9* device = graphics.device;

    // A working device: nothing to do.
    EXPECT_EQ(graphics.Restore(), 0);
    EXPECT_EQ(graphics.sprite, sprite);
    EXPECT_EQ(graphics.font, font);

    // Lost and not yet back: keep waiting, keep everything.
    ForceDeviceLossState(DeviceLossState::Lost);
    EXPECT_EQ(graphics.Restore(), 1);
    EXPECT_EQ(graphics.Restore(), 1);
    EXPECT_EQ(graphics.sprite, sprite);
    EXPECT_EQ(graphics.font, font);

    // Back: reset, sprite and font made again, the fixed states again.
    ForceDeviceLossState(DeviceLossState::NotReset);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    EXPECT_EQ(graphics.Restore(), 0);
    EXPECT_EQ(graphics.device, device);
    EXPECT_NE(graphics.sprite, nullptr);
    EXPECT_NE(graphics.font, nullptr);
    EXPECT_EQ(RenderState(D3DRS_LIGHTING), 0u);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(graphics.Restore(), 0);

    // The new sprite draws.
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND), D3D_OK);
    EXPECT_EQ(graphics.sprite->End(), D3D_OK);
    device->EndScene();
}

TEST_F(DeviceTest, AFailedResetLeavesNoSpriteAndWaitsOnlyWhileTheDeviceIsLost) {
    MakeDevice();
    // Lost again as the reset is tried: keep waiting, sprite and font gone.
    ForceDeviceLossState(DeviceLossState::NotReset);
    LoseDeviceOnNextReset();
    EXPECT_EQ(graphics.Restore(), 1);
    EXPECT_EQ(graphics.sprite, nullptr);
    EXPECT_EQ(graphics.font, nullptr);
    EXPECT_EQ(graphics.Restore(), 1);
    ForceDeviceLossState(DeviceLossState::NotReset);
    EXPECT_EQ(graphics.Restore(), 0);
    EXPECT_NE(graphics.sprite, nullptr);
    EXPECT_NE(graphics.font, nullptr);

    // Any other failure stops the waiting.
    ForceDeviceLossState(DeviceLossState::NotReset);
    graphics.presentParams.BackBufferFormat = D3DFMT_D24S8;  // no back buffer of that kind
    EXPECT_EQ(graphics.Restore(), 0);
    EXPECT_EQ(graphics.sprite, nullptr);
    EXPECT_EQ(graphics.font, nullptr);
    EXPECT_NE(graphics.device, nullptr);
    // With the parameters mended the next try makes them again.
    graphics.presentParams.BackBufferFormat = D3DFMT_X8R8G8B8;
    EXPECT_EQ(graphics.Restore(), 0);
    EXPECT_NE(graphics.sprite, nullptr);
    EXPECT_NE(graphics.font, nullptr);
}

TEST_F(DeviceTest, ReleaseIsHarmlessTwiceAndBeforeCreate) {
    graphics.Release();
    EXPECT_EQ(graphics.d3d, nullptr);
    MakeDevice();
    graphics.deviceLost = 1;
    graphics.Release();
    EXPECT_EQ(graphics.d3d, nullptr);
    EXPECT_EQ(graphics.device, nullptr);
    EXPECT_EQ(graphics.sprite, nullptr);
    EXPECT_EQ(graphics.font, nullptr);
    EXPECT_EQ(graphics.deviceLost, 1);
    graphics.Release();
    EXPECT_EQ(graphics.device, nullptr);
    // Nothing to restore without a device.
    EXPECT_EQ(graphics.Restore(), 0);
}

}  // namespace
