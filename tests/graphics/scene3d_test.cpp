// The 3D helpers, leanly: each fog setter, the light, a line, a strip and a
// box where the projection puts them, and projection itself.
#include <cstring>
#include <utility>
#include <vector>

#include "device_fixture.h"

namespace {

constexpr D3DCOLOR Red = 0xFFFF0000;
constexpr D3DCOLOR Green = 0xFF00FF00;
constexpr D3DCOLOR Black = 0xFF000000;

D3DXMATRIX Identity() {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, 0, 0, 0);
    return m;
}

class Scene3DTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        MakeDevice();
        D3DXMATRIX identity = Identity();
        graphics.device->SetTransform(D3DTS_VIEW, &identity);
        graphics.device->SetTransform(D3DTS_PROJECTION, &identity);
    }
    // Draws into a black back buffer and returns the picture.
    template <typename Draw>
    std::vector<uint32_t> Picture(Draw draw) {
        IDirect3DDevice9* device = graphics.device;
        device->BeginScene();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, Black, 1.0f, 0);
        draw();
        device->EndScene();
        const uint32_t* pixels = device->BackBuffer();
        return std::vector<uint32_t>(pixels, pixels + 640 * 480);
    }
    // The colour near (x, y): a line may fall one pixel either way.
    static bool Near(const std::vector<uint32_t>& picture, int x, int y, D3DCOLOR colour) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                int px = x + dx, py = y + dy;
                if (px < 0 || py < 0 || px >= 640 || py >= 480) continue;
                if ((picture[py * 640 + px] | 0xFF000000) == colour) return true;
            }
        }
        return false;
    }
    using Points = std::initializer_list<std::pair<int, int>>;
    // The colour is near every point of `on` and near none of `off`.
    static void ExpectLines(const std::vector<uint32_t>& picture, D3DCOLOR colour, Points on, Points off) {
        for (auto [x, y] : on) EXPECT_TRUE(Near(picture, x, y, colour)) << x << "," << y;
        for (auto [x, y] : off) EXPECT_FALSE(Near(picture, x, y, colour)) << x << "," << y;
    }
    static int Count(const std::vector<uint32_t>& picture, D3DCOLOR colour) {
        int n = 0;
        for (uint32_t p : picture) n += (p | 0xFF000000) == colour;
        return n;
    }
};

// Each fog setter hands on its colour and its range or density, and turns
// fog on; only vertex fog measures by range.
TEST_F(Scene3DTest, FogSettersPassTheirValuesOnAndTurnFogOn) {
    const struct {
        void (*set)(DirectGraphics&);
        bool vertex, linear;
    } setters[] = {
        {[](DirectGraphics& g) { g.SetVertexFogLinear(0.25f, 40.5f, 0xFF102030); }, true, true},
        {[](DirectGraphics& g) { g.SetPixelFogLinear(0.25f, 40.5f, 0xFF102030); }, false, true},
        {[](DirectGraphics& g) { g.SetVertexFogExp(0.125f, 0xFF102030); }, true, false},
        {[](DirectGraphics& g) { g.SetPixelFogExp(0.125f, 0xFF102030); }, false, false},
        {[](DirectGraphics& g) { g.SetVertexFogExp2(0.125f, 0xFF102030); }, true, false},
        {[](DirectGraphics& g) { g.SetPixelFogExp2(0.125f, 0xFF102030); }, false, false},
    };
    for (const auto& s : setters) {
        SCOPED_TRACE(&s - setters);
        for (D3DRENDERSTATETYPE state : {D3DRS_FOGSTART, D3DRS_FOGEND, D3DRS_FOGDENSITY, D3DRS_FOGVERTEXMODE,
                                         D3DRS_FOGTABLEMODE, D3DRS_RANGEFOGENABLE, D3DRS_FOGENABLE})
            graphics.device->SetRenderState(state, 0);
        s.set(graphics);
        EXPECT_EQ(RenderState(D3DRS_FOGCOLOR), 0xFF102030u);
        EXPECT_EQ(RenderState(D3DRS_FOGSTART), s.linear ? FloatBitsToDword(0.25f) : 0u);
        EXPECT_EQ(RenderState(D3DRS_FOGEND), s.linear ? FloatBitsToDword(40.5f) : 0u);
        EXPECT_EQ(RenderState(D3DRS_FOGDENSITY), s.linear ? 0u : FloatBitsToDword(0.125f));
        EXPECT_EQ(RenderState(D3DRS_FOGVERTEXMODE) != 0, s.vertex);
        EXPECT_EQ(RenderState(D3DRS_FOGTABLEMODE) != 0, !s.vertex);
        EXPECT_EQ(RenderState(D3DRS_RANGEFOGENABLE), s.vertex ? 1u : 0u);
        EXPECT_EQ(RenderState(D3DRS_FOGENABLE), 1u);
    }
    graphics.SetFogEnable(FALSE);
    EXPECT_EQ(RenderState(D3DRS_FOGENABLE), 0u);
}

TEST_F(Scene3DTest, TheDirectionalLightIsBuiltAfreshAndSwitchesLightingOn) {
    D3DLIGHT9 stale{};
    stale.Type = D3DLIGHT_SPOT;
    stale.Range = 9.0f;
    graphics.device->SetLight(2, &stale);
    const D3DXVECTOR3 direction(0.0f, -30.0f, 40.0f);
    const D3DCOLORVALUE diffuse{1.0f, 0.5f, 0.25f, 1.0f}, ambient{0.1f, 0.2f, 0.3f, 0.4f};
    graphics.SetDirectionalLight(2, &direction, &diffuse, &ambient, &diffuse);
    D3DLIGHT9 light;
    ASSERT_EQ(graphics.device->GetLight(2, &light), D3D_OK);
    EXPECT_EQ(light.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(std::memcmp(&light.Ambient, &ambient, sizeof ambient), 0);
    EXPECT_FLOAT_EQ(light.Direction.y, -0.6f);
    EXPECT_FLOAT_EQ(light.Direction.z, 0.8f);
    EXPECT_EQ(light.Range, 0.0f) << "nothing of the spot light survives";
    BOOL enabled = FALSE;
    graphics.device->GetLightEnable(2, &enabled);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(RenderState(D3DRS_LIGHTING), 1u);
}

TEST_F(Scene3DTest, ALineLandsWhereTheProjectionPutsItAndTheWorldMovesIt) {
    std::vector<uint32_t> plain = Picture([&] { graphics.DrawLine3D(-0.5f, 0, 0, 0.5f, 0, 0, Red, nullptr); });
    ExpectLines(plain, Red, {{162, 240}, {320, 240}, {478, 240}}, {{150, 240}, {490, 240}});
    D3DXMATRIX up;
    D3DXMatrixTranslation(&up, 0, 0.5f, 0);
    std::vector<uint32_t> moved = Picture([&] { graphics.DrawLine3D(-0.5f, 0, 0, 0.5f, 0, 0, Red, &up); });
    ExpectLines(moved, Red, {{320, 120}}, {{320, 240}});
}

TEST_F(Scene3DTest, AStripJoinsItsPointsAndTooFewPointsDrawNothing) {
    const LineVertex points[3] = {{-0.5f, 0.5f, 0, Green}, {-0.5f, -0.5f, 0, Green}, {0.5f, -0.5f, 0, Green}};
    std::vector<uint32_t> strip = Picture([&] { graphics.DrawLineStrip(points, 3, nullptr); });
    // Down the left side and along the bottom; no closing line.
    ExpectLines(strip, Green, {{160, 200}, {320, 360}}, {{320, 240}, {480, 120}});

    std::vector<uint32_t> one = Picture([&] {
        graphics.DrawLineStrip(points, 1, nullptr);
        graphics.DrawLineStrip(points, 0, nullptr);
        graphics.DrawLineStrip(nullptr, 0, nullptr);
    });
    EXPECT_EQ(Count(one, Green), 0);
    EXPECT_EQ(Count(one, Black), 640 * 480);
}

TEST_F(Scene3DTest, ABoxDrawsItsTwelveEdgesWhicheverCornerComesFirst) {
    const D3DXVECTOR3 a(-0.5f, -0.5f, 0.25f);
    const D3DXVECTOR3 b(0.5f, 0.5f, 0.75f);
    std::vector<uint32_t> box = Picture([&] { graphics.DrawBox(&a, &b, Green, nullptr); });
    // Seen straight on: the outline of one square, nothing inside it.
    ExpectLines(box, Green, {{320, 120}, {320, 360}, {160, 240}, {480, 240}}, {{320, 240}, {100, 240}});
    EXPECT_EQ(box, Picture([&] { graphics.DrawBox(&b, &a, Green, nullptr); }));
}

TEST(ProjectTest, TheOriginLandsOnTheBackBufferByTheProductOfTheMatrices) {
    DirectGraphics graphics{};
    graphics.presentParams.BackBufferWidth = 640;
    graphics.presentParams.BackBufferHeight = 480;
    D3DXMATRIX identity = Identity();
    D3DXVECTOR3 out;
    EXPECT_EQ(graphics.ProjectToScreen(&out, &identity, &identity, &identity), &out);
    EXPECT_EQ(out.x, 320.0f);
    EXPECT_EQ(out.y, 240.0f);
    EXPECT_EQ(out.z, 1.0f);

    // m1 acts first: moved by 1, then halved, gives 0.5.
    D3DXMATRIX move, halve = identity;
    D3DXMatrixTranslation(&move, 1.0f, 0, 0);
    halve._11 = 0.5f;
    graphics.ProjectToScreen(&out, &move, &halve, &identity);
    EXPECT_EQ(out.x, 480.0f);
    graphics.ProjectToScreen(&out, &identity, &move, &halve);
    EXPECT_EQ(out.x, 480.0f);
    graphics.ProjectToScreen(&out, &halve, &identity, &move);
    EXPECT_EQ(out.x, 640.0f);

    // Without a device the helpers do nothing, whatever they are handed.
    const D3DXVECTOR3 direction(0.0f, -1.0f, 0.0f);
    const D3DCOLORVALUE colour{1.0f, 1.0f, 1.0f, 1.0f};
    graphics.SetDirectionalLight(0, &direction, &colour, &colour, &colour);
    graphics.SetVertexFogLinear(0.0f, 1.0f, Red);
    graphics.DrawLine3D(0, 0, 0, 1, 1, 1, Red, nullptr);
    graphics.DrawBox(&direction, &direction, Red, nullptr);
}

}  // namespace
