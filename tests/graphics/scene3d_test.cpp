// The 3D helpers, leanly: each fog setter, the light, a line, a strip and a
// box where the projection puts them, and projection itself.
#include <cmath>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "device_fixture.h"
#include "platform/d3d9_internal.h"
#include "support/colours.h"
#include "support/test_graphics.h"

namespace {

constexpr D3DCOLOR Red = 0xFFFF0000;
constexpr D3DCOLOR Green = 0xFF00FF00;
constexpr D3DCOLOR Blue = 0xFF0000FF;
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
    // Draws into a cleared back buffer and returns the picture.
    template <typename Draw>
    std::vector<uint32_t> Picture(Draw draw, D3DCOLOR background = Black) {
        IDirect3DDevice9* device = graphics.device;
        device->BeginScene();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, background, 1.0f, 0);
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

// The colour a fog factor f gives a red line fogged towards blue.
uint32_t Fogged(double f) {
    return 0xFF000000u | (uint32_t)std::lround(255 * f) << 16 | (uint32_t)std::lround(255 * (1 - f));
}

// A red line a quarter up the screen, its ends at depths z0 and z1, fogged
// towards blue from 0.25 to 0.75; its middle pixel shows the fog factor.
TEST_F(Scene3DTest, FogMixesItsColourInByDepthOrDistance) {
    constexpr DWORD None = D3DFOG_NONE, Linear = D3DFOG_LINEAR, Exp = D3DFOG_EXP, Exp2 = D3DFOG_EXP2;
    const struct {
        const char* what;
        DWORD vertexMode, tableMode, range;
        float density, z0, z1;
        double f;
    } cases[] = {
        {"at its start", Linear, None, FALSE, 0, 0.25f, 0.25f, 1.0},
        {"at its end", Linear, None, FALSE, 0, 0.75f, 0.75f, 0.0},
        {"halfway", Linear, None, FALSE, 0, 0.5f, 0.5f, 0.5},
        {"past its end", Linear, None, FALSE, 0, 0.9f, 0.9f, 0.0},
        // The ends lie aside and above: measured from the eye they are farther.
        {"by range", Linear, None, TRUE, 0, 0.4f, 0.4f, (0.75 - std::sqrt(0.25 + 0.0625 + 0.16)) / 0.5},
        {"pixel, halfway", None, Linear, TRUE, 0, 0.25f, 0.75f, 0.5},
        {"dense", Exp, None, FALSE, 100, 0.5f, 0.5f, 0.0},
        {"no density", None, Exp2, FALSE, 0, 0.5f, 0.5f, 1.0},
        {"pixel exp2", None, Exp2, FALSE, 2, 0.5f, 0.5f, std::exp(-1.0)},
        // Per pixel the middle's own depth counts; per vertex, the ends' mean.
        {"pixel exp", None, Exp, FALSE, 4, 0.1f, 0.9f, std::exp(-2.0)},
        {"vertex exp", Exp, None, FALSE, 4, 0.1f, 0.9f, (std::exp(-0.4) + std::exp(-3.6)) / 2},
        {"pixel fog first", Linear, Exp, FALSE, 1, 0.25f, 0.25f, std::exp(-0.25)},
        {"no mode", None, None, FALSE, 100, 0.5f, 0.5f, 1.0},
    };
    IDirect3DDevice9* device = graphics.device;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        graphics.SetVertexFogLinear(0.25f, 0.75f, Blue);
        device->SetRenderState(D3DRS_FOGVERTEXMODE, c.vertexMode);
        device->SetRenderState(D3DRS_FOGTABLEMODE, c.tableMode);
        device->SetRenderState(D3DRS_RANGEFOGENABLE, c.range);
        device->SetRenderState(D3DRS_FOGDENSITY, FloatBitsToDword(c.density));
        const auto picture =
            Picture([&] { graphics.DrawLine3D(-0.5f, 0.25f, c.z0, 0.5f, 0.25f, c.z1, Red, nullptr); });
        EXPECT_TRUE(NearColour(picture[180 * 640 + 320], Fogged(c.f), 1));
    }
    graphics.SetFogEnable(FALSE);
    EXPECT_EQ(Picture([&] { graphics.DrawLine3D(-0.5f, 0, 0.9f, 0.5f, 0, 0.9f, Red, nullptr); })[240 * 640 + 320], Red);
}

// A red line through (320, 180) fogged towards blue: a right-handed camera
// fogs by the size of its z, and under a perspective projection pixel fog
// goes by the distance from the eye, which does not run straight across
// the screen.
TEST_F(Scene3DTest, FogGoesByDistanceFromTheEye) {
    D3DXMATRIX flip = Identity(), perspective{};
    flip._33 = -1.0f;
    // A 90-degree view from 1 to 100 units.
    perspective._11 = perspective._22 = perspective._34 = 1.0f;
    perspective._33 = 100.0f / 99.0f;
    perspective._43 = -100.0f / 99.0f;
    D3DXMATRIX identity = Identity();
    const struct {
        const char* what;
        const D3DXMATRIX* view;
        const D3DXMATRIX* projection;
        std::function<void()> fog;
        D3DXVECTOR3 from, to;
        double f;
    } cases[] = {
        {"vertex, looking down -z", &flip, &flip,
         [&] { graphics.SetVertexFogLinear(0.25f, 0.75f, Blue), graphics.device->SetRenderState(D3DRS_RANGEFOGENABLE, FALSE); },
         {-0.5f, 0.25f, 0.5f}, {0.5f, 0.25f, 0.5f}, 0.5},
        {"pixel, 5 units away", &identity, &perspective, [&] { graphics.SetPixelFogLinear(1.0f, 10.0f, Blue); },
         {-2.0f, 1.25f, 5.0f}, {2.0f, 1.25f, 5.0f}, 5.0 / 9.0},
        {"pixel, exponential", &identity, &perspective, [&] { graphics.SetPixelFogExp(0.2f, Blue); },
         {-2.0f, 1.25f, 5.0f}, {2.0f, 1.25f, 5.0f}, std::exp(-1.0)},
        // From 2 to 4 units away; the middle of the screen sees it at 3.
        {"pixel, receding", &identity, &perspective, [&] { graphics.SetPixelFogLinear(1.0f, 10.0f, Blue); },
         {-1.0f, 0.5f, 2.0f}, {1.0f, 1.0f, 4.0f}, 7.0 / 9.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        graphics.device->SetTransform(D3DTS_VIEW, c.view);
        graphics.device->SetTransform(D3DTS_PROJECTION, c.projection);
        c.fog();
        const auto picture = Picture(
            [&] { graphics.DrawLine3D(c.from.x, c.from.y, c.from.z, c.to.x, c.to.y, c.to.z, Red, nullptr); });
        EXPECT_TRUE(NearColour(picture[180 * 640 + 320], Fogged(c.f), 1));
    }
}

// A line vertex has no normal: lit, it shows only the ambient light its
// material reflects, and the default material reflects none.
TEST_F(Scene3DTest, ALitLineShowsOnlyTheAmbientItsMaterialReflects) {
    constexpr D3DCOLOR Background = 0xFF2060A0;
    constexpr D3DCOLOR Orange = 0xFFFF8040;
    IDirect3DDevice9* device = graphics.device;
    const D3DXVECTOR3 down(0.0f, -1.0f, 0.0f);
    const D3DCOLORVALUE none{0, 0, 0, 0}, lightAmbient{0.4f, 0.2f, 0.0f, 1.0f};
    const auto RsAmbientState = (D3DRENDERSTATETYPE)RsAmbient;
    auto lightAll = [&] { graphics.SetDirectionalLight(1, &down, &lightAmbient, &lightAmbient, &lightAmbient); };
    auto ambientFromVertex = [&](DWORD index = 1) {
        device->SetRenderState((D3DRENDERSTATETYPE)RsAmbientMaterialSource, McsColor1);
        device->SetRenderState(RsAmbientState, 0x00333333);
        graphics.SetDirectionalLight(index, &down, &none, &lightAmbient, &none);
    };
    auto emissiveFromVertex = [&](BOOL vertexColours) {
        graphics.SetLighting(TRUE);
        device->SetRenderState((D3DRENDERSTATETYPE)RsEmissiveMaterialSource, McsColor1);
        device->SetRenderState((D3DRENDERSTATETYPE)RsColorVertex, vertexColours);
    };
    // A white light at the eye, its ambient attenuated by 0.5 + 0.5 d + d^2
    // at the line's ends; a spot's cones are 60 and 120 degrees wide.
    auto nearLight = [&](D3DLIGHTTYPE type, float range, float towardsZ) {
        device->SetRenderState((D3DRENDERSTATETYPE)RsAmbientMaterialSource, McsColor1);
        const D3DLIGHT9 light{type, {}, {}, {1, 1, 1, 1}, {}, {0, 0, towardsZ}, range, 1, 0.5f, 0.5f, 1, 1.0472f, 2.0944f};
        device->SetLight(0, &light);
        device->LightEnable(0, TRUE);
        graphics.SetLighting(TRUE);
    };
    const double reach = 1 / (0.5 + 0.5 * std::sqrt(0.5) + 0.5);
    // The line's ends are 45 degrees off the spot's axis, between its cones.
    const double spot = reach * (std::sqrt(0.5) - 0.5) / (std::cos(0.5236) - 0.5);
    const struct {
        const char* what;
        D3DCOLOR line;
        std::function<void()> setup;
        uint32_t want;
    } cases[] = {
        {"unlit", Red, [] {}, Red},
        {"lit", Red, [&] { graphics.SetLighting(TRUE); }, Black},
        {"lit under ambient light", Red, [&] { lightAll(), device->SetRenderState(RsAmbientState, ~0u); }, Black},
        {"lit at half alpha", 0x80FF0000, [&] { graphics.SetLighting(TRUE); },
         Blended(Black, 0x80 / 255.0, Background)},
        {"ambient from the vertex", Orange, ambientFromVertex, 0xFF99330D},
        {"from a light past the sixteenth", Orange, [&] { ambientFromVertex(20); }, 0xFF99330D},
        {"with the light switched off", Orange, [&] { ambientFromVertex(), device->LightEnable(1, FALSE); },
         0xFF331A0D},
        {"emissive from the vertex", Orange, [&] { emissiveFromVertex(TRUE); }, Orange},
        {"without vertex colours", Orange, [&] { emissiveFromVertex(FALSE); }, Black},
        {"a point light in range", Red, [&] { nearLight(D3DLIGHT_POINT, 10.0f, 1.0f); },
         0xFF000000u | (uint32_t)std::lround(255 * reach) << 16},
        {"a point light out of range", Red, [&] { nearLight(D3DLIGHT_POINT, 0.5f, 1.0f); }, Black},
        {"a spot light's edge", Red, [&] { nearLight(D3DLIGHT_SPOT, 10.0f, 1.0f); },
         0xFF000000u | (uint32_t)std::lround(255 * spot) << 16},
        {"a spot light turned away", Red, [&] { nearLight(D3DLIGHT_SPOT, 10.0f, -1.0f); }, Black},
        // The light leaves specular highlights on: an unlit line has none.
        {"specular on, unlit", Red, [&] { lightAll(), graphics.SetLighting(FALSE); }, Red},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        graphics.device->Reset(&graphics.presentParams);
        graphics.SetRenderStates();
        c.setup();
        const auto picture = Picture([&] { graphics.DrawLine3D(-0.5f, 0, 0.5f, 0.5f, 0, 0.5f, c.line, nullptr); },
                                     Background);
        EXPECT_TRUE(NearColour(picture[240 * 640 + 320], c.want, 1));
    }
}

// A strip over a bound texture is modulated by the texel at (0, 0), read
// through sampler 0's filter and addressing.
TEST_F(Scene3DTest, AStripOverABoundTextureTakesItsCornerTexel) {
    constexpr D3DCOLOR DarkBlue = 0xFF000080, White = 0xFFFFFFFF, HalfWhite = 0x80FFFFFF;
    // Texel (0, 0) first, then (1, 0), (0, 1), (1, 1); the border is green.
    constexpr uint32_t Plain[4] = {DarkBlue, DarkBlue, DarkBlue, DarkBlue};
    constexpr uint32_t Half[4] = {HalfWhite, HalfWhite, HalfWhite, HalfWhite};
    constexpr uint32_t Corners[4] = {0xFF400000, 0xFF004000, 0xFF000040, 0xFF404040};
    constexpr DWORD Point = D3DTEXF_POINT, Linear = D3DTEXF_LINEAR, Modulate = D3DTOP_MODULATE, Add = 7, Arg2 = 3,
                    Modulate4x = 6, Subtract = 10, BlendTextureAlpha = 13;
    const struct {
        const char* what;
        const uint32_t* texels;
        DWORD filter, address, colourOp;
        D3DCOLOR line;
        uint32_t want;
    } cases[] = {
        {"one colour", Plain, Linear, AddressWrap, Modulate, White, DarkBlue},
        {"half transparent", Half, Linear, AddressWrap, Modulate, Red, Blended(Red, 0x80 / 255.0, Black)},
        {"point", Corners, Point, AddressWrap, Modulate, White, Corners[0]},
        {"linear, wrapping", Corners, Linear, AddressWrap, Modulate, White, 0xFF202020},
        {"linear, clamped", Corners, Linear, AddressClamp, Modulate, White, Corners[0]},
        {"linear, mirrored", Corners, Linear, AddressMirror, Modulate, White, Corners[0]},
        {"linear, bordered", Corners, Linear, AddressBorder, Modulate, White, 0xFF10BF00},
        {"added", Plain, Point, AddressWrap, Add, Red, 0xFFFF0080},
        {"passed over", Plain, Point, AddressWrap, Arg2, Red, Red},
        {"modulated four times", Plain, Point, AddressWrap, Modulate4x, White, Blue},
        {"the line taken away", Plain, Point, AddressWrap, Subtract, Red, DarkBlue},
        {"by the texture's alpha", Half, Point, AddressWrap, BlendTextureAlpha, Red,
         Blended(0xFFFF8080, 0x80 / 255.0, Black)},
    };
    IDirect3DDevice9* device = graphics.device;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        IDirect3DTexture9* texture = MakeTestTexture(2, 2, [&](int u, int v) { return c.texels[2 * v + u]; }, device);
        ASSERT_NE(texture, nullptr);
        device->SetTexture(0, texture);
        texture->Release();
        device->SetSamplerState(0, D3DSAMP_MAGFILTER, c.filter);
        for (DWORD axis : {SampAddressU, SampAddressV}) device->SetSamplerState(0, (D3DSAMPLERSTATETYPE)axis, c.address);
        device->SetSamplerState(0, (D3DSAMPLERSTATETYPE)SampBorderColor, Green);
        device->SetTextureStageState(0, D3DTSS_COLOROP, c.colourOp);
        const LineVertex strip[3] = {{-0.5f, 0, 0.5f, c.line}, {0, 0, 0.5f, c.line}, {0.5f, 0, 0.5f, c.line}};
        const auto picture = Picture([&] { graphics.DrawLineStrip(strip, 3, nullptr); });
        EXPECT_TRUE(NearColour(picture[240 * 640 + 400], c.want, 1));
    }
    // A single line unbinds the texture first.
    const auto line = Picture([&] { graphics.DrawLine3D(-0.5f, 0, 0.5f, 0.5f, 0, 0.5f, White, nullptr); });
    EXPECT_EQ(line[240 * 640 + 320], White);
}

TEST_F(Scene3DTest, TheLastPixelIsDrawnWhileTheDeviceSaysSo) {
    const LineVertex corner[3] = {{-0.5f, 0.5f, 0, Red}, {-0.5f, -0.5f, 0, Red}, {0.5f, -0.5f, 0, Red}};
    for (BOOL last : {TRUE, FALSE}) {
        SCOPED_TRACE(last);
        graphics.device->SetRenderState((D3DRENDERSTATETYPE)RsLastPixel, last);
        const auto line = Picture([&] { graphics.DrawLine3D(-0.5f, 0, 0, 0.5f, 0, 0, Red, nullptr); });
        EXPECT_EQ(Count(line, Red), 320 + last);
        EXPECT_EQ(line[240 * 640 + 480] == Red, (bool)last);
        // The corner pixel is shared; only the strip's very end depends on it.
        EXPECT_EQ(Count(Picture([&] { graphics.DrawLineStrip(corner, 3, nullptr); }), Red), 240 + 320 + last);
        EXPECT_EQ(Count(Picture([&] { graphics.DrawLine3D(0, 0, 0, 0.001f, 0, 0, Red, nullptr); }), Red), last);
    }
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
