// The device's creation in both modes and through its fallbacks, the fixed
// states, recovery from a loss, and release.
#include <tuple>
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

// The presentation parameters that differ between the modes, then the ones
// both share, as one tuple each so a failure shows them all.
auto Shared(const D3DPRESENT_PARAMETERS& p) {
    return std::make_tuple(p.BackBufferCount, p.MultiSampleType, p.MultiSampleQuality, p.SwapEffect,
                           p.EnableAutoDepthStencil, p.AutoDepthStencilFormat, p.Flags,
                           p.FullScreen_RefreshRateInHz, p.PresentationInterval);
}
const auto SharedParams = std::make_tuple(1u, D3DMULTISAMPLE_NONE, DWORD{0}, D3DSWAPEFFECT_DISCARD, BOOL{TRUE},
                                          D3DFMT_D24S8, DWORD{0}, 0u, D3DPRESENT_INTERVAL_IMMEDIATE);

TEST_F(DeviceTest, FullScreenFillsTheTableAndSizesTheClientArea) {
    RECT client;
    GetClientRect(window, &client);
    ASSERT_NE(client.right, 640);
    graphics.deviceLost = 1;
    ASSERT_EQ(graphics.Create(window, 640, 480, D3DFMT_X8R8G8B8, TRUE), 1);
    const D3DPRESENT_PARAMETERS& p = graphics.presentParams;
    EXPECT_EQ(std::make_tuple(p.BackBufferWidth, p.BackBufferHeight, p.BackBufferFormat, p.hDeviceWindow, p.Windowed),
              std::make_tuple(640u, 480u, D3DFMT_X8R8G8B8, window, BOOL{FALSE}));
    EXPECT_EQ(Shared(p), SharedParams);
    EXPECT_NE(graphics.sprite, nullptr);
    EXPECT_NE(graphics.font, nullptr);
    EXPECT_EQ(graphics.deviceLost, 0);
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    EXPECT_TRUE(boxes::Seen.empty());
}

TEST_F(DeviceTest, WindowedTakesTheDesktopFormatAndLeavesTheWindowAlone) {
    D3DDISPLAYMODE desktop{};
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_EQ(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &desktop), D3D_OK);
    d3d->Release();
    RECT before, after, client;
    GetWindowRect(window, &before);
    GetClientRect(window, &client);
    ASSERT_NE(client.right, 640);

    ASSERT_EQ(graphics.Create(window, 640, 480, D3DFMT_X8R8G8B8, FALSE), 1);
    // Zero sizes ask for the client area, which the device writes back.
    const D3DPRESENT_PARAMETERS& p = graphics.presentParams;
    EXPECT_EQ(std::make_tuple(p.BackBufferWidth, p.BackBufferHeight, p.BackBufferFormat, p.hDeviceWindow, p.Windowed),
              std::make_tuple(UINT(client.right), UINT(client.bottom), desktop.Format, window, BOOL{TRUE}));
    EXPECT_EQ(Shared(p), SharedParams);
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

TEST_F(DeviceTest, TheFixedStatesReadBackFromTheDevice) {
    MakeDevice();
    enum Kind { Render, Stage, Sampler };
    const struct {
        Kind kind;
        DWORD type, value;
    } fixed[] = {
        {Render, D3DRS_ZENABLE, 1},       {Render, D3DRS_ZWRITEENABLE, 1},  {Render, D3DRS_ALPHABLENDENABLE, 1},
        {Render, D3DRS_SRCBLEND, 5},      {Render, D3DRS_DESTBLEND, 6},     {Render, D3DRS_NORMALIZENORMALS, 1},
        {Render, D3DRS_SHADEMODE, 2},     {Render, D3DRS_CULLMODE, 3},      {Render, D3DRS_LIGHTING, 0},
        {Stage, D3DTSS_ALPHAOP, 4},       {Stage, D3DTSS_ALPHAARG1, 2},     {Stage, D3DTSS_ALPHAARG2, 0},
        {Stage, D3DTSS_COLOROP, 4},       {Stage, D3DTSS_COLORARG1, 2},     {Stage, D3DTSS_COLORARG2, 0},
        {Sampler, D3DSAMP_MINFILTER, 2},  {Sampler, D3DSAMP_MAGFILTER, 2},  {Sampler, D3DSAMP_MIPFILTER, 2},
        {Sampler, D3DSAMP_MIPMAPLODBIAS, 0}};
    IDirect3DDevice9* device = graphics.device;
    // Spoil every state first, so only SetRenderStates can put them back.
    for (const auto& row : fixed) {
        if (row.kind == Render) device->SetRenderState(D3DRENDERSTATETYPE(row.type), 0x55);
        if (row.kind == Stage) device->SetTextureStageState(0, D3DTEXTURESTAGESTATETYPE(row.type), 0x55);
        if (row.kind == Sampler) device->SetSamplerState(0, D3DSAMPLERSTATETYPE(row.type), 0x55);
    }
    graphics.SetRenderStates();
    for (const auto& row : fixed) {
        SCOPED_TRACE(testing::Message() << row.kind << " " << row.type);
        DWORD value = 0xBADBAD;
        if (row.kind == Render) device->GetRenderState(D3DRENDERSTATETYPE(row.type), &value);
        if (row.kind == Stage) device->GetTextureStageState(0, D3DTEXTURESTAGESTATETYPE(row.type), &value);
        if (row.kind == Sampler) device->GetSamplerState(0, D3DSAMPLERSTATETYPE(row.type), &value);
        EXPECT_EQ(value, row.value);
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
    // A working device has nothing to do; a lost one keeps waiting and keeps everything.
    EXPECT_EQ(graphics.Restore(), 0);
    ForceDeviceLossState(DeviceLossState::Lost);
    EXPECT_EQ(graphics.Restore(), 1);
    EXPECT_EQ(graphics.Restore(), 1);
    EXPECT_EQ(std::make_pair(graphics.sprite, graphics.font), std::make_pair(sprite, font));

    // Back: reset, sprite and font made again, the fixed states again.
    ForceDeviceLossState(DeviceLossState::NotReset);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    EXPECT_EQ(graphics.Restore(), 0);
    EXPECT_EQ(graphics.device, device);
    EXPECT_TRUE(graphics.sprite && graphics.font);
    EXPECT_EQ(RenderState(D3DRS_LIGHTING), 0u);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND), D3D_OK);
    EXPECT_EQ(graphics.sprite->End(), D3D_OK);

    // Lost again as the reset is tried: keep waiting, sprite and font gone.
    ForceDeviceLossState(DeviceLossState::NotReset);
    LoseDeviceOnNextReset();
    EXPECT_EQ(graphics.Restore(), 1);
    EXPECT_FALSE(graphics.sprite || graphics.font);
    EXPECT_EQ(graphics.Restore(), 1);
    ForceDeviceLossState(DeviceLossState::NotReset);
    EXPECT_EQ(graphics.Restore(), 0);
    EXPECT_TRUE(graphics.sprite && graphics.font);

    // Any other failure stops the waiting; with the parameters mended the
    // next try makes them again.
    ForceDeviceLossState(DeviceLossState::NotReset);
    graphics.presentParams.BackBufferFormat = D3DFMT_D24S8;  // no back buffer of that kind
    EXPECT_EQ(graphics.Restore(), 0);
    EXPECT_FALSE(graphics.sprite || graphics.font);
    EXPECT_NE(graphics.device, nullptr);
    graphics.presentParams.BackBufferFormat = D3DFMT_X8R8G8B8;
    EXPECT_EQ(graphics.Restore(), 0);
    EXPECT_TRUE(graphics.sprite && graphics.font);
}

TEST_F(DeviceTest, ReleaseIsHarmlessTwiceAndBeforeCreate) {
    graphics.Release();
    EXPECT_EQ(graphics.d3d, nullptr);
    MakeDevice();
    graphics.deviceLost = 1;
    for (int twice = 0; twice < 2; ++twice) {
        graphics.Release();
        EXPECT_FALSE(graphics.d3d || graphics.device || graphics.sprite || graphics.font);
        EXPECT_EQ(graphics.deviceLost, 1);
    }
    // Nothing to restore without a device.
    EXPECT_EQ(graphics.Restore(), 0);
}

}  // namespace
