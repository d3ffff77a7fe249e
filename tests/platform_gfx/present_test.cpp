// Presenting into a real window on SDL's headless driver: the picture
// reaches the window's renderer, and the device outlives its window.
#include <gtest/gtest.h>
#include <tuple>
#include <utility>
#include "gfx_fixture.h"
#include "platform/win32_internal.h"
#include "support/test_window.h"

namespace {
class PresentTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = OpenTestWindow("PresentClass", DefWindowProcA);
        ASSERT_NE(window, nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS params = GameParams();
        params.hDeviceWindow = window;
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                    &params, &device),
                  D3D_OK);
    }
    void TearDown() override {
        CloseTestWindow(window, "PresentClass");
        if (device) device->Release();
        if (d3d) d3d->Release();
    }

    // What the window's renderer shows at its centre.
    uint32_t CentrePixel() {
        SDL_Renderer* renderer = SDL_GetRenderer(PlatformSdlWindow(window));
        uint32_t middle = 0;
        int width = 0, height = 0;
        if (!renderer || SDL_GetRendererOutputSize(renderer, &width, &height) != 0) return 0;
        SDL_Rect centre{width / 2, height / 2, 1, 1};
        return SDL_RenderReadPixels(renderer, &centre, SDL_PIXELFORMAT_ARGB8888, &middle, 4) == 0 ? middle : 0;
    }

    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
};
}  // namespace

TEST_F(PresentTest, FullScreenDevicePresentsIntoItsWindow) {
    SDL_Window* sdl = PlatformSdlWindow(window);
    ASSERT_NE(sdl, nullptr);
    EXPECT_NE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00u, 1.0f, 0);
    for (int frame = 0; frame < 3; ++frame) EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    SDL_Renderer* renderer = SDL_GetRenderer(sdl);
    ASSERT_NE(renderer, nullptr);
    // The 640 x 480 picture is letterboxed into the window by nearest neighbour.
    int width = 0, height = 0;
    SDL_RenderGetLogicalSize(renderer, &width, &height);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(640, 480));
    EXPECT_EQ(CentrePixel() & 0xFFFFFFu, 0x00FF00u);

    // Reset into a window leaves full screen.
    D3DPRESENT_PARAMETERS windowed = GameParams();
    windowed.hDeviceWindow = window;
    windowed.Windowed = TRUE;
    ASSERT_EQ(device->Reset(&windowed), D3D_OK);
    EXPECT_EQ(SDL_GetWindowFlags(sdl) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

// A side of 0 takes the window's client area when windowed and the game's
// 640 x 480 in full screen; the sizes and defaults taken are written back,
// and the next present shows the new buffer.
TEST_F(PresentTest, ZeroSidesTakeTheClientAreaOnlyInAWindow) {
    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));
    ASSERT_NE(client.right, 640);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    for (BOOL windowed : {TRUE, FALSE}) {
        D3DPRESENT_PARAMETERS params{};
        params.hDeviceWindow = window;
        params.Windowed = windowed;
        ASSERT_EQ(device->Reset(&params), D3D_OK);
        const UINT width = windowed ? client.right : 640, height = windowed ? client.bottom : 480;
        EXPECT_EQ(std::make_tuple(params.BackBufferWidth, params.BackBufferHeight, params.BackBufferFormat,
                                  params.BackBufferCount, device->BackBufferWidth(), device->BackBufferHeight()),
                  std::make_tuple(width, height, D3DFMT_X8R8G8B8, 1u, width, height));
        // Without a depth buffer there is no depth or stencil to clear.
        EXPECT_LT(device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0), 0);
        EXPECT_LT(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), 0);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00u, 1.0f, 0);
        EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        EXPECT_EQ(CentrePixel() & 0xFFFFFFu, 0x00FF00u);
    }
}

// The window's picture follows a back buffer that changes only one side.
TEST_F(PresentTest, APresentAfterAResetShowsTheNewBuffer) {
    for (UINT width : {640u, 320u, 640u}) {
        D3DPRESENT_PARAMETERS params = GameParams();
        params.hDeviceWindow = window;
        params.BackBufferWidth = width;
        ASSERT_EQ(device->Reset(&params), D3D_OK);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, width == 320 ? 0xFFFF0000u : 0xFF00FF00u, 1.0f, 0);
        EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        EXPECT_EQ(CentrePixel() & 0xFFFFFFu, width == 320 ? 0xFF0000u : 0x00FF00u) << width;
    }
}

TEST_F(PresentTest, DeviceOutlivesItsWindow) {
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    DestroyWindow(window);
    window = nullptr;
    // Nothing to show into any more: the present does nothing, quietly.
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(device->Release(), 0u);
    device = nullptr;
}
