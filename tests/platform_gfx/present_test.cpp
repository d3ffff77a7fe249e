// Presenting into a real window on SDL's headless driver: the picture
// reaches the window, the same whichever way it is scaled, and the device
// outlives its window.
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>
#include "gfx_fixture.h"
#include "platform/d3d9_internal.h"
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

    // What the window shows, row by row: read from its renderer when it
    // has one, else from its surface. True when it went through a renderer.
    static bool Shown(SDL_Window* sdl, std::vector<uint32_t>* pixels) {
        int width = 0, height = 0;
        SDL_GetWindowSize(sdl, &width, &height);
        pixels->assign((size_t)width * height, 0);
        SDL_Renderer* renderer = SDL_GetRenderer(sdl);
        if (renderer) {
            SDL_RenderSetLogicalSize(renderer, 0, 0);  // reads the whole window, not the picture
            SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGB888, pixels->data(), width * 4);
        } else if (const SDL_Surface* surface = SDL_GetWindowSurface(sdl)) {
            for (int y = 0; y < height && surface->w == width && surface->h == height; ++y)
                std::memcpy(&(*pixels)[(size_t)y * width],
                            static_cast<const char*>(surface->pixels) + y * surface->pitch, (size_t)width * 4);
        }
        for (uint32_t& pixel : *pixels) pixel &= 0xFFFFFFu;
        return renderer != nullptr;
    }
    uint32_t CentrePixel() {
        SDL_Window* sdl = PlatformSdlWindow(window);
        std::vector<uint32_t> pixels;
        Shown(sdl, &pixels);
        int width = 0, height = 0;
        SDL_GetWindowSize(sdl, &width, &height);
        return pixels.empty() ? 0 : pixels[(size_t)(height / 2) * width + width / 2];
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
    // No GPU here: no renderer, the picture is scaled into the window's surface.
    EXPECT_EQ(SDL_GetRenderer(sdl), nullptr);
    EXPECT_EQ(CentrePixel(), 0x00FF00u);

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
        EXPECT_EQ(CentrePixel(), 0x00FF00u);
    }
}

// The picture scaled into the window's surface is the one SDL's renderer
// shows (here its software one, named in the environment as a player
// would), letterboxed and by nearest neighbour, at any window size.
TEST_F(PresentTest, SurfaceAndRendererShowTheSamePicture) {
    device->Release();
    device = nullptr;
    SDL_Window* sdl = PlatformSdlWindow(window);
    // The window's pixels after one frame of a device of its own whose
    // every back buffer pixel has its own colour; which way it went.
    auto shown = [&](int width, int height, std::vector<uint32_t>* pixels) {
        D3DPRESENT_PARAMETERS params = GameParams();
        params.hDeviceWindow = window;
        params.Windowed = TRUE;
        IDirect3DDevice9* own = nullptr;
        d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &own);
        if (!own) return false;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) own->impl->color[y * 640 + x] = 0xFF000000u | (uint32_t)(y << 10 | x);
        SDL_SetWindowSize(sdl, width, height);
        own->Present(nullptr, nullptr, nullptr, nullptr);
        const bool rendered = Shown(sdl, pixels);
        own->Release();
        return rendered;
    };
    const std::pair<int, int> sizes[] = {{640, 480},   {1920, 1080}, {3840, 2160}, {1366, 768},
                                         {1000, 1000}, {1280, 1024}, {641, 479},   {333, 777}};
    for (const auto& [width, height] : sizes) {
        std::vector<uint32_t> scaled, rendered;
        EXPECT_FALSE(shown(width, height, &scaled)) << "no GPU: no renderer";
        setenv("SDL_RENDER_DRIVER", "software", 1);
        EXPECT_TRUE(shown(width, height, &rendered)) << "the renderer named in the environment";
        unsetenv("SDL_RENDER_DRIVER");
        EXPECT_TRUE(scaled == rendered) << width << " x " << height;
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

// A renderer named in the environment that cannot be made here is told
// once, with what draws instead, and the picture still shows; one that is
// made is not told.
TEST_F(PresentTest, ANamedRendererThatCannotBeMadeIsTold) {
    setenv("SDL_RENDER_DRIVER", "no-such-renderer", 1);
    testing::internal::CaptureStderr();
    for (UINT width : {640u, 320u}) {
        D3DPRESENT_PARAMETERS params = GameParams();
        params.hDeviceWindow = window;
        params.BackBufferWidth = width;
        ASSERT_EQ(device->Reset(&params), D3D_OK);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00u, 1.0f, 0);
        EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        EXPECT_EQ(CentrePixel(), 0x00FF00u);
    }
    std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(told,
              "SDL_RENDER_DRIVER names \"no-such-renderer\", which cannot be made here; drawing with SDL's "
              "\"software\" renderer instead\n");

    setenv("SDL_RENDER_DRIVER", "Software", 1);
    testing::internal::CaptureStderr();
    D3DPRESENT_PARAMETERS params = GameParams();
    params.hDeviceWindow = window;
    ASSERT_EQ(device->Reset(&params), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    unsetenv("SDL_RENDER_DRIVER");
}
