#include "screen_fixture.h"

#include "game/frame.h"
#include "game/resources.h"
#include "game/title.h"
#include "graphics/graphics.h"
#include "platform/testhooks.h"
#include "platform/win32.h"
#include "support/headless_game.h"
#include "support/test_graphics.h"

namespace {
constexpr uint32_t Opaque = 0xFF000000u;

// A transparent picture.
IDirect3DTexture9* MakePicture(int width, int height) {
    return MakeTestTexture(width, height, [](int, int) { return 0u; });
}

IDirect3DTexture9* FillRect(IDirect3DTexture9* texture, const RECT& area, uint32_t colour) {
    D3DLOCKED_RECT locked;
    texture->LockRect(0, &locked, nullptr, 0);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            ((uint32_t*)((char*)locked.pBits + y * locked.Pitch))[x] = Opaque | colour;
    texture->UnlockRect(0);
    return texture;
}

}  // namespace

void ScreenTest::SetUp() {
    ASSERT_TRUE(OpenTestGraphics());
    SceneTextures[0] = FillRect(MakePicture(640, 480), {0, 0, 640, 1}, RainTopColour);
    FillRect(SceneTextures[0], {0, 479, 640, 480}, RainBottomColour);
    SceneTextures[1] = FillRect(MakePicture(640, 480), {20, 20, 40, 40}, LogoColour);
    SceneTextures[2] = FillRect(MakePicture(640, 480), {100, 20, 120, 40}, TitleColour);
    SceneTextures[3] = FillRect(MakePicture(160, 200), {0, 0, 160, 100}, MenuStartColour);
    FillRect(SceneTextures[3], {0, 100, 160, 200}, MenuQuitColour);
    SceneTextures[4] = FillRect(MakePicture(640, 480), {500, 20, 520, 40}, FarewellColour);
    SceneTextures[5] = FillRect(MakePicture(640, 480), {300, 200, 340, 240}, ContinueColour);
    SceneTextures[6] = FillRect(MakePicture(640, 480), {300, 200, 340, 240}, GiveUpColour);
    Scene = SceneTitle;
    ResetGameToProgramStart();
}

void ScreenTest::TearDown() {
    for (IDirect3DTexture9*& texture : SceneTextures) {
        if (texture) texture->Release();
        texture = nullptr;
    }
    CloseTestGraphics();
    ForceDeviceLossState(DeviceLossState::Working);
}

int ScreenTest::Frame(std::initializer_list<int> keys) {
    HoldKeys(keys);
    return UpdateFrame(nullptr);
}

void ScreenTest::Frames(int count, std::initializer_list<int> keys) {
    for (int i = 0; i < count; ++i) ASSERT_EQ(Frame(keys), 1);
}

uint32_t ScreenTest::Pixel(int x, int y) const {
    return BackPixel(x, y) & 0xFFFFFFu;
}

void ScreenTest::OpenMenu() {
    Frames(131);
}
