#include "screen_fixture.h"

#include <initializer_list>

#include "game/frame.h"
#include "game/resources.h"
#include "game/title.h"
#include "graphics/graphics.h"
#include "platform/testhooks.h"
#include "support/headless_game.h"
#include "support/test_graphics.h"

namespace {

struct Mark {
    int left, top, right, bottom;  // half-open
    uint32_t colour;
};

// A transparent picture but for its opaque marks.
IDirect3DTexture9* MarkedPicture(int width, int height, std::initializer_list<Mark> marks) {
    return MakeTestTexture(width, height, [&](int u, int v) {
        for (const Mark& m : marks)
            if (u >= m.left && u < m.right && v >= m.top && v < m.bottom) return 0xFF000000u | m.colour;
        return 0u;
    });
}

}  // namespace

void ScreenTest::SetUp() {
    ASSERT_TRUE(OpenTestGraphics());
    SceneTextures[0] = MarkedPicture(640, 480, {{0, 0, 640, 1, RainTopColour}, {0, 479, 640, 480, RainBottomColour}});
    SceneTextures[1] = MarkedPicture(640, 480, {{20, 20, 40, 40, LogoColour}});
    SceneTextures[2] = MarkedPicture(640, 480, {{100, 20, 120, 40, TitleColour}});
    SceneTextures[3] = MarkedPicture(160, 200, {{0, 0, 160, 100, MenuStartColour}, {0, 100, 160, 200, MenuQuitColour}});
    SceneTextures[4] = MarkedPicture(640, 480, {{500, 20, 520, 40, FarewellColour}});
    SceneTextures[5] = MarkedPicture(640, 480, {{300, 200, 340, 240, ContinueColour}});
    SceneTextures[6] = MarkedPicture(640, 480, {{300, 200, 340, 240, GiveUpColour}});
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

uint32_t ScreenTest::Pixel(int x, int y) const { return BackPixel(x, y) & 0xFFFFFFu; }
