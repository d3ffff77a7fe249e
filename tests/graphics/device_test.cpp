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

// Full screen sizes the client area to the back buffer; windowed asks for
// the client area as it is and leaves the window alone.
TEST_F(DeviceTest, BothModesGiveABackBufferOfTheWindowsClientArea) {
    for (BOOL fullScreen : {FALSE, TRUE}) {
        SCOPED_TRACE(fullScreen);
        RECT before, after, client;
        GetWindowRect(window, &before);
        GetClientRect(window, &client);
        ASSERT_NE(client.right, 640);
        graphics.deviceLost = 1;
        ASSERT_EQ(graphics.Create(window, 640, 480, D3DFMT_X8R8G8B8, fullScreen), 1);
        EXPECT_EQ(graphics.presentParams.hDeviceWindow, window);
        EXPECT_EQ(graphics.presentParams.Windowed, !fullScreen);
        EXPECT_NE(graphics.font, nullptr);
        EXPECT_EQ(graphics.deviceLost, 0);
        const UINT width = fullScreen ? 640 : client.right, height = fullScreen ? 480 : client.bottom;
        EXPECT_EQ(graphics.device->BackBufferWidth(), width);
        EXPECT_EQ(graphics.device->BackBufferHeight(), height);
        GetWindowRect(window, &after);
        GetClientRect(window, &client);
        if (fullScreen) {
            EXPECT_EQ(client.right, 640);
            EXPECT_EQ(client.bottom, 480);
        } else {
            EXPECT_EQ(after.right - after.left, before.right - before.left);
            EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
        }
        graphics.Release();
    }
    EXPECT_TRUE(boxes::Seen.empty());
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
