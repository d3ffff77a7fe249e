// The device's life: references, the edges of its state tables, lines,
// clears and the lost-device cycle. Making it and its fallbacks are the
// graphics suite's.
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <sstream>
#include <tuple>
#include <utility>
#include "gfx_fixture.h"
#include "support/colours.h"
#include "platform/d3d9_internal.h"
#include "platform/testhooks.h"

namespace {
struct Point {
    float x, y, z;
    D3DCOLOR colour;
};
constexpr uint32_t Red = 0xFFFF0000u, Green = 0xFF00FF00u;
constexpr D3DCOLOR HalfRed = 0x80FF0000u;

// Half-transparent lines given in back-buffer pixels, so that a pixel drawn
// twice shows darker than one drawn once.
class LineTest : public GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        D3DXMATRIX identity, pixels;
        D3DXMatrixTranslation(&identity, 0, 0, 0);
        D3DXMatrixTranslation(&pixels, -1.0f, 1.0f, 0.0f);
        pixels._11 = 1.0f / 320;
        pixels._22 = -1.0f / 240;
        device->SetTransform(D3DTS_VIEW, &identity);
        device->SetTransform(D3DTS_PROJECTION, &pixels);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    }
    // Draws on a fresh picture: a list of (x0, y0, x1, y1) or one strip.
    void Draw(D3DPRIMITIVETYPE type, const std::vector<std::pair<float, float>>& ends, BOOL lastPixel) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, ClearBlue, 1.0f, 0);
        device->SetRenderState((D3DRENDERSTATETYPE)RsLastPixel, lastPixel);
        std::vector<Point> points;
        for (auto [x, y] : ends) points.push_back({x, y, 0.5f, HalfRed});
        const UINT lines = type == D3DPT_LINELIST ? (UINT)points.size() / 2 : (UINT)points.size() - 1;
        ASSERT_EQ(device->DrawPrimitiveUP(type, lines, points.data(), sizeof(Point)), D3D_OK);
    }
    const uint32_t once = Blended(Red, 0x80 / 255.0, ClearBlue);
};
}  // namespace

TEST_F(GfxTest, ChildrenAndBoundTexturesHoldReferencesUntilReleaseOrReset) {
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
    IDirect3DTexture9* got = nullptr;
    for (DWORD stage : {0u, D3DTextureStageCount - 1}) device->SetTexture(stage, texture);
    ASSERT_EQ(device->GetTexture(0, &got), D3D_OK);
    EXPECT_EQ(got, texture);
    EXPECT_EQ(texture->Release(), 3u);  // the two stages and the test's own
    device->SetTexture(0, nullptr);
    D3DPRESENT_PARAMETERS params = GameParams();
    ASSERT_EQ(device->Reset(&params), D3D_OK);  // unbinds the other stage
    EXPECT_EQ(texture->AddRef(), 2u);
    EXPECT_EQ(texture->Release(), 1u);
    device->SetTexture(1, texture);  // the device's release lets it go
}

// Each table takes its last index and refuses the next; what is set
// comes back.
TEST_F(GfxTest, EachStateTableEndsAtItsLastIndex) {
    for (DWORD past : {0u, 1u}) {
        SCOPED_TRACE(past);
        const DWORD value = 7 + past;
        DWORD got = 0;
        const auto rs = (D3DRENDERSTATETYPE)(D3DRenderStateCount - 1 + past);
        const auto ts = (D3DTEXTURESTAGESTATETYPE)(D3DTextureStageStateCount - 1 + past);
        const auto ss = (D3DSAMPLERSTATETYPE)(D3DSamplerStateCount - 1 + past);
        const DWORD stage = D3DTextureStageCount - 1 + past, sampler = D3DSamplerCount - 1 + past;
        // Past the end only the refusal counts; at the end, the value too.
        auto Read = [&](HRESULT hr) { return std::exchange(got, 0) != value && !past ? E_FAIL : hr; };
        const std::function<HRESULT()> calls[] = {
            [&] { return device->SetRenderState(rs, value); },
            [&] { return Read(device->GetRenderState(rs, &got)); },
            [&] { return device->SetTextureStageState(stage, D3DTSS_COLOROP, value); },
            [&] { return Read(device->GetTextureStageState(stage, D3DTSS_COLOROP, &got)); },
            [&] { return device->SetTextureStageState(0, ts, value); },
            [&] { return Read(device->GetTextureStageState(0, ts, &got)); },
            [&] { return device->SetSamplerState(sampler, D3DSAMP_MINFILTER, value); },
            [&] { return Read(device->GetSamplerState(sampler, D3DSAMP_MINFILTER, &got)); },
            [&] { return device->SetSamplerState(0, ss, value); },
            [&] { return Read(device->GetSamplerState(0, ss, &got)); },
            [&] { return device->SetTexture(stage, nullptr); },
            [&] { IDirect3DTexture9* t = nullptr; return device->GetTexture(stage, &t); },
        };
        for (size_t i = 0; i < std::size(calls); ++i) EXPECT_EQ(SUCCEEDED(calls[i]()), past == 0) << "call " << i;
    }
    // Out-parameters that are null, and transforms that do not exist.
    D3DMATRIX matrix{};
    IDirect3DTexture9* texture = nullptr;
    const HRESULT refused[] = {device->GetRenderState(D3DRS_LIGHTING, nullptr),
                               device->GetTextureStageState(0, D3DTSS_COLOROP, nullptr),
                               device->GetSamplerState(0, D3DSAMP_MINFILTER, nullptr),
                               device->GetLight(0, nullptr), device->SetLight(0, nullptr),
                               device->GetLightEnable(0, nullptr), device->GetTexture(0, nullptr),
                               device->GetFVF(nullptr), device->GetTransform(D3DTS_VIEW, nullptr),
                               device->SetTransform((D3DTRANSFORMSTATETYPE)77, &matrix),
                               device->CreateTexture(4, 4, 2, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
                               device->CreateTexture(4, 4, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, &texture, nullptr),
                               device->CreateTexture(0, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr)};
    for (size_t i = 0; i < std::size(refused); ++i) EXPECT_LT(refused[i], 0) << "call " << i;
    EXPECT_EQ(texture, nullptr);
}

// Each case draws on a fresh picture and depth buffer; pixels name where
// a line must or must not land, `drawn` how many pixels changed in all.
TEST_F(GfxTest, LinesLandPixelExactlyThroughTheMatricesAndTheClip) {
    struct Pixel3 {
        int x, y;
        uint32_t colour;
    };
    enum Mode { Plain, Moved, Flat, Blend, OneZero };
    const struct {
        const char* what;
        Mode mode;
        D3DPRIMITIVETYPE type;
        std::vector<Point> points;
        std::vector<Pixel3> pixels;
        int drawn;
    } cases[] = {
        // Its first pixel drawn, its last left out.
        {"across the middle", Plain, D3DPT_LINELIST, {{-0.5f, 0, 0.5f, Red}, {0.5f, 0, 0.5f, Red}},
         {{160, 240, Red}, {479, 240, Red}, {480, 240, ClearBlue}}, 320},
        // Starting one past the right or bottom edge: nothing spills over.
        {"from the right edge", Plain, D3DPT_LINELIST, {{1, 0, 0.5f, Red}, {-1, 0, 0.5f, Red}},
         {{639, 240, Red}, {1, 240, Red}, {0, 241, ClearBlue}, {0, 240, ClearBlue}}, 639},
        {"from the bottom edge", Plain, D3DPT_LINELIST, {{0, -1, 0.5f, Red}, {0, 1, 0.5f, Red}},
         {{320, 479, Red}, {320, 1, Red}}, 479},
        {"cut at the left edge", Plain, D3DPT_LINELIST, {{-3, 0.5f, 0.5f, Red}, {0, 0.5f, 0.5f, Red}},
         {{0, 120, Red}, {319, 120, Red}}, 320},
        {"cut at the far plane", Plain, D3DPT_LINELIST, {{-0.5f, 0, 0.5f, Red}, {0.5f, 0, 1.5f, Red}},
         {{160, 240, Red}, {319, 240, Red}, {320, 240, ClearBlue}}, 160},
        {"behind the eye", Plain, D3DPT_LINELIST, {{-0.5f, 0, -0.5f, Red}, {0.5f, 0, -0.1f, Red}}, {}, 0},
        {"beside the view", Plain, D3DPT_LINELIST, {{-3, 0, 0.5f, Red}, {-1.5f, 0, 0.5f, Red}}, {}, 0},
        {"not a number", Plain, D3DPT_LINELIST, {{std::numeric_limits<float>::quiet_NaN(), 0, 0.5f, Red}, {0.5f, 0, 0.5f, Red}}, {}, 0},
        // Ends so far apart that the cut lands on rounding noise, far off
        // the screen: nothing is drawn, and the drawing ends.
        {"huge and cut", Plain, D3DPT_LINELIST, {{1.8397134e37f, 0, 0.5f, Red}, {-1.8866612e38f, 0, 0.5f, Red}}, {}, 0},
        {"huge and cut, upright", Plain, D3DPT_LINELIST, {{0, 1.8397134e37f, 0.5f, Red}, {0, -1.8866612e38f, 0.5f, Red}}, {}, 0},
        // The view moves up by a quarter screen, the projection halves x.
        {"view and projection", Moved, D3DPT_LINELIST, {{-1, 0, 0.5f, Red}, {1, 0, 0.5f, Red}},
         {{160, 120, Red}, {479, 120, Red}, {480, 120, ClearBlue}}, 320},
        // Two lines of a list take points 0-1 and 2-3; a strip joins them.
        {"list", Plain, D3DPT_LINELIST,
         {{-1, -0.5f, 0.5f, Green}, {0, -0.5f, 0.5f, Green}, {0, 0.5f, 0.5f, Red}, {0.5f, 0.5f, 0.5f, Red}},
         {{0, 360, Green}, {320, 120, Red}, {320, 300, ClearBlue}}, 320 + 160},
        {"strip", Plain, D3DPT_LINESTRIP, {{-1, -0.5f, 0.5f, Green}, {0, -0.5f, 0.5f, Green}, {0, 0.5f, 0.5f, Green}},
         {{0, 360, Green}, {320, 300, Green}}, 320 + 240},
        // Colours run from one end to the other unless shading is flat.
        {"shaded", Plain, D3DPT_LINELIST, {{-1, 0, 0.5f, 0xFF0000FEu}, {0, 0, 0.5f, 0xFFFE0000u}},
         {{0, 240, 0xFF0000FEu}, {160, 240, 0xFF7F007Fu}}, 320},
        {"flat", Flat, D3DPT_LINELIST, {{-1, 0, 0.5f, 0x80FE0000u}, {0, 0, 0.5f, 0xFF00FE00u}},
         {{160, 240, 0xFFFE0000u}, {319, 240, 0xFFFE0000u}}, 320},
        // Blending takes the factors as set, whatever the line's alpha.
        {"blended", Blend, D3DPT_LINELIST, {{-1, 0, 0.5f, 0x80FF0000u}, {0, 0, 0.5f, 0x80FF0000u}},
         {{10, 240, Blended(Red, 0x80 / 255.0, ClearBlue)}}, 320},
        {"one and zero", OneZero, D3DPT_LINELIST, {{-1, 0, 0.5f, 0x80FF0000u}, {0, 0, 0.5f, 0x80FF0000u}},
         {{10, 240, Red}}, 320},
    };
    D3DXMATRIX identity, up, half;
    D3DXMatrixTranslation(&identity, 0, 0, 0);
    D3DXMatrixTranslation(&up, 0, 0.5f, 0);
    half = identity;
    half._11 = 0.5f;
    // Unlit, and each line without its last pixel, so that where it ends
    // shows against the clear colour.
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState((D3DRENDERSTATETYPE)RsLastPixel, FALSE);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, ClearBlue, 1.0f, 0);
        device->SetTransform(D3DTS_VIEW, c.mode == Moved ? &up : &identity);
        device->SetTransform(D3DTS_PROJECTION, c.mode == Moved ? &half : &identity);
        device->SetRenderState(D3DRS_SHADEMODE, c.mode == Flat ? 1 : D3DSHADE_GOURAUD);
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, c.mode == Blend || c.mode == OneZero);
        device->SetRenderState(D3DRS_SRCBLEND, c.mode == Blend ? D3DBLEND_SRCALPHA : 2);  // or one
        device->SetRenderState(D3DRS_DESTBLEND, c.mode == Blend ? D3DBLEND_INVSRCALPHA : 1);  // or zero
        const UINT lines = c.type == D3DPT_LINELIST ? (UINT)c.points.size() / 2 : (UINT)c.points.size() - 1;
        ASSERT_EQ(device->DrawPrimitiveUP(c.type, lines, c.points.data(), sizeof(Point)), D3D_OK);
        for (const Pixel3& p : c.pixels) EXPECT_TRUE(NearColour(Pixel(p.x, p.y), p.colour, 1)) << p.x << "," << p.y;
        EXPECT_EQ(CountNot(ClearBlue), c.drawn);
    }
    // Points, a short stride, no vertices or another vertex format: refused.
    const Point two[2] = {};
    EXPECT_LT(device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, two, sizeof(Point)), 0);
    EXPECT_LT(device->DrawPrimitiveUP(D3DPT_LINELIST, 1, two, sizeof(Point) - 1), 0);
    EXPECT_LT(device->DrawPrimitiveUP(D3DPT_LINELIST, 1, nullptr, sizeof(Point)), 0);
    device->SetFVF(D3DFVF_XYZ);
    EXPECT_LT(device->DrawPrimitiveUP(D3DPT_LINELIST, 1, two, sizeof(Point)), 0);
}

// Ends between pixel centres: from the pixel whose diamond the line leaves
// first to the one whose diamond holds its end, each once.
TEST_F(LineTest, FractionalEndsDrawEachPixelBetweenThemOnce) {
    const struct {
        float from, to;
        BOOL lastPixel;
        int first, last;  // along row 240, or column 100 when upright
        bool upright;
    } rows[] = {
        {320.4f, 330.6f, FALSE, 320, 330, false},
        {320.4f, 330.6f, TRUE, 320, 331, false},
        {320.6f, 330.4f, FALSE, 321, 329, false},
        {320.6f, 330.4f, TRUE, 321, 330, false},
        {330.6f, 320.4f, FALSE, 321, 331, false},
        {320.6f, 321.4f, TRUE, 321, 321, false},
        {240.4f, 250.6f, FALSE, 240, 250, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.from << " to " << r.to << ", last pixel " << r.lastPixel);
        using Ends = std::vector<std::pair<float, float>>;
        Draw(D3DPT_LINELIST, r.upright ? Ends{{100, r.from}, {100, r.to}} : Ends{{r.from, 240}, {r.to, 240}}, r.lastPixel);
        for (int at = r.first; at <= r.last; ++at) EXPECT_EQ(r.upright ? Pixel(100, at) : Pixel(at, 240), once) << at;
        EXPECT_EQ(CountNot(ClearBlue), r.last - r.first + 1);
    }
    // An end on the edge between two diamonds is in neither: the line has
    // left the one before, and a line starting there never was inside it,
    // so a joint there is drawn once. Half-pixel x of 322.5 and the like
    // are exact only straight through an identity projection.
    D3DXMATRIX identity;
    device->SetTransform(D3DTS_PROJECTION, D3DXMatrixTranslation(&identity, 0, 0, 0));
    auto across = [](double x) { return (float)(x / 320 - 1); };
    const struct {
        D3DPRIMITIVETYPE type;
        std::vector<double> xs;
        BOOL lastPixel;
        int first, last;
    } edges[] = {
        {D3DPT_LINELIST, {312.4, 322.5}, TRUE, 312, 322},
        {D3DPT_LINELIST, {322.5, 332.4}, FALSE, 323, 331},
        {D3DPT_LINESTRIP, {312.4, 322.5, 332.4}, FALSE, 312, 331},
    };
    for (const auto& e : edges) {
        SCOPED_TRACE(testing::Message() << e.xs[0] << " to " << e.xs.back() << ", last pixel " << e.lastPixel);
        std::vector<std::pair<float, float>> ends;
        for (double x : e.xs) ends.push_back({across(x), 0.0f});
        Draw(e.type, ends, e.lastPixel);
        for (int at = e.first; at <= e.last; ++at) EXPECT_EQ(Pixel(at, 240), once) << at;
        EXPECT_EQ(CountNot(ClearBlue), e.last - e.first + 1);
    }
}

// Lines with ends anywhere, long and short, in every direction: between the
// end pixels each column (each row, for a steep line) holds exactly one
// pixel, every pixel is drawn once and lies within a pixel of the line.
TEST_F(LineTest, EveryLineDrawsOnePixelPerColumnAlongIt) {
    std::mt19937 random(23);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    auto onScreen = [](float at, float side) { return std::fmin(std::fmax(at, 1.0f), side - 2.0f); };
    for (int i = 0, faults = 0; i < 400 && faults < 5; ++i) {
        const float reach = i % 2 ? 600.0f : 8.0f;
        const float x0 = 20 + 600 * unit(random), y0 = 20 + 440 * unit(random);
        const float x1 = onScreen(x0 + reach * (unit(random) - 0.5f), 640);
        const float y1 = onScreen(y0 + reach * (unit(random) - 0.5f), 480);
        // Near the diagonal the long axis is a toss-up.
        if (std::fabs(std::fabs(y1 - y0) - std::fabs(x1 - x0)) < 0.01f) continue;
        Draw(D3DPT_LINELIST, {{x0, y0}, {x1, y1}}, i % 3 == 0);
        const bool steep = std::fabs(y1 - y0) > std::fabs(x1 - x0);
        const double u0 = steep ? y0 : x0, u1 = steep ? y1 : x1, v0 = steep ? x0 : y0, v1 = steep ? x1 : y1;
        std::vector<int> inColumn(640);
        std::ostringstream fault;
        int drawn = 0;
        for (int y = (int)std::fmin(y0, y1) - 2; y <= (int)std::fmax(y0, y1) + 2; ++y) {
            for (int x = (int)std::fmin(x0, x1) - 2; x <= (int)std::fmax(x0, x1) + 2; ++x) {
                if (x < 0 || y < 0 || x >= 640 || y >= 480 || Pixel(x, y) == ClearBlue) continue;
                const int u = steep ? y : x, v = steep ? x : y;
                ++drawn, ++inColumn[u];
                const double onLine = u1 == u0 ? v0 : v0 + (v1 - v0) * (u - u0) / (u1 - u0);
                if (Pixel(x, y) != once) fault << " (" << x << "," << y << ") drawn twice;";
                if (!(std::fabs(v - onLine) < 1.0) || u < std::fmin(u0, u1) - 1 || u > std::fmax(u0, u1) + 1)
                    fault << " (" << x << "," << y << ") off the line;";
            }
        }
        if (drawn != CountNot(ClearBlue)) fault << " pixels far from the line;";
        const long from = std::lround(std::fmin(u0, u1)), to = std::lround(std::fmax(u0, u1));
        for (int u = 0; u < 640; ++u) {
            if (inColumn[u] > 1 || (u > from && u < to && inColumn[u] != 1)) fault << " " << inColumn[u] << " at " << u << ";";
        }
        if (!fault.str().empty()) {
            ++faults;
            ADD_FAILURE() << "(" << x0 << "," << y0 << ") to (" << x1 << "," << y1 << "):" << fault.str();
        }
    }
}

// The inner lines of a strip leave their end to the next line: no joint is
// darker, and only the strip's very end follows the last-pixel state.
TEST_F(LineTest, AStripDrawsEachJointOnce) {
    const std::vector<std::pair<float, float>> strip = {
        {100.3f, 100.1f}, {200.2f, 150.1f}, {150.1f, 250.3f}, {300.2f, 240.1f}, {300.1f, 100.2f}};
    int drawn[2] = {};
    for (BOOL lastPixel : {FALSE, TRUE}) {
        SCOPED_TRACE(lastPixel);
        Draw(D3DPT_LINESTRIP, strip, lastPixel);
        const uint32_t* pixels = device->BackBuffer();
        drawn[lastPixel] = CountNot(ClearBlue);
        EXPECT_EQ(std::count(pixels, pixels + 640 * 480, once), drawn[lastPixel]);
        for (auto [x, y] : {std::pair{100, 100}, {200, 150}, {150, 250}, {300, 240}}) EXPECT_EQ(Pixel(x, y), once);
        EXPECT_EQ(Pixel(300, 100) == once, (bool)lastPixel);
    }
    EXPECT_EQ(drawn[TRUE], drawn[FALSE] + 1);
    // A list of the same lines keeps every end as the state says.
    Draw(D3DPT_LINELIST, {strip[0], strip[1], strip[1], strip[2]}, TRUE);
    EXPECT_NE(Pixel(200, 150), once);
}

// Lights live at any index; an index takes room only once it is used, and
// a reset forgets them all.
TEST_F(GfxTest, LightsAreKeptAtAnyIndex) {
    D3DLIGHT9 got{}, spot{}, standard{};
    BOOL on = TRUE;
    EXPECT_EQ(device->GetLight(20, &got), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->GetLightEnable(20, &on), D3DERR_INVALIDCALL);
    spot.Type = D3DLIGHT_SPOT;
    for (DWORD index : {20u, 4000000000u, 0xFFFFFFFFu}) {
        spot.Range = (float)(index % 1000);
        ASSERT_EQ(device->SetLight(index, &spot), D3D_OK);
        ASSERT_EQ(device->GetLight(index, &got), D3D_OK);
        EXPECT_EQ(std::memcmp(&got, &spot, sizeof got), 0) << index;
        ASSERT_EQ(device->GetLightEnable(index, &on), D3D_OK);
        EXPECT_FALSE(on) << "a light set anew stays off until enabled";
    }
    // Switched on before it was ever set: Direct3D's default light.
    const DWORD unset = 3000000000u;
    ASSERT_EQ(device->LightEnable(unset, TRUE), D3D_OK);
    standard.Type = D3DLIGHT_DIRECTIONAL;
    standard.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    standard.Direction = {0.0f, 0.0f, 1.0f};
    ASSERT_EQ(device->GetLight(unset, &got), D3D_OK);
    EXPECT_EQ(std::memcmp(&got, &standard, sizeof got), 0);
    device->SetLight(unset, &spot);
    ASSERT_EQ(device->GetLightEnable(unset, &on), D3D_OK);
    EXPECT_TRUE(on) << "setting a light keeps its switch";
    device->GetLight(20, &got);
    EXPECT_EQ(got.Range, 20.0f);
    D3DPRESENT_PARAMETERS params = GameParams();
    ASSERT_EQ(device->Reset(&params), D3D_OK);
    EXPECT_EQ(device->GetLight(unset, &got), D3DERR_INVALIDCALL);
}

TEST_F(GfxTest, DepthHidesFartherLinesUntilItIsClearedWholeOrInPart) {
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    auto line = [&](float z, D3DCOLOR colour) {
        const Point points[2] = {{-1, 0, z, colour}, {1, 0, z, colour}};
        device->DrawPrimitiveUP(D3DPT_LINELIST, 1, points, sizeof(Point));
    };
    line(0.5f, Green);
    line(0.9f, Red);
    line(0.5f, 0xFF0000FEu);  // as near as the nearest: drawn
    EXPECT_EQ(Pixel(100, 240), 0xFF0000FEu);
    // A clear of the picture alone keeps the depth, and the other way round.
    device->Clear(0, nullptr, D3DCLEAR_TARGET, ClearBlue, 1.0f, 0);
    line(0.9f, Red);
    EXPECT_EQ(CountNot(ClearBlue), 0);
    line(0.5f, Green);
    const D3DRECT box{100, 200, 110, 250};
    ASSERT_EQ(device->Clear(1, &box, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3D_OK);
    EXPECT_EQ(Pixel(105, 240), Green);
    line(0.9f, Red);
    EXPECT_EQ(Pixel(99, 240), Green);
    EXPECT_EQ(Pixel(100, 240), Red);
    EXPECT_EQ(Pixel(109, 240), Red);
    EXPECT_EQ(Pixel(110, 240), Green);
    // Without depth writes a near line leaves the depth as it was.
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    line(0.2f, Green);
    line(0.9f, Red);
    EXPECT_EQ(Pixel(300, 240), Red);
    // Depth outside 0 to 1, or stencil without a depth buffer: refused.
    EXPECT_LT(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.5f, 0), 0);
    EXPECT_LT(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, -0.5f, 0), 0);
}

TEST_F(GfxTest, ClearFillsOpaqueAndOnlyTheGivenRectanglesInsideTheBuffer) {
    const D3DRECT boxes[] = {{10, 20, 12, 21}, {-5, -5, 1, 1}, {638, 478, 700, 900}, {30, 30, 30, 40}, {50, 50, 40, 60}};
    device->Clear(5, boxes, D3DCLEAR_TARGET, 0x00FF0000u, 1.0f, 0);
    for (auto [x, y] : {std::pair{10, 20}, {11, 20}, {0, 0}, {638, 478}, {639, 479}}) EXPECT_EQ(Pixel(x, y), Red);
    EXPECT_EQ(CountNot(ClearBlue), 2 + 1 + 4);
}

TEST_F(GfxTest, LostDeviceCycleEndsWithResetAndResetStartsAfresh) {
    IDirect3DTexture9* texture = MakeTexture(1, 1, {0xFF123456u});
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    D3DPRESENT_PARAMETERS params = GameParams();
    // Lost, nothing works; then waiting for a reset, which a loss again as
    // it is tried sends back to lost.
    const HRESULT Lost = D3DERR_DEVICELOST;
    ForceDeviceLossState(DeviceLossState::Lost);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), Lost);
    EXPECT_EQ(device->Reset(&params), Lost);
    EXPECT_EQ(device->TestCooperativeLevel(), Lost);
    ForceDeviceLossState(DeviceLossState::NotReset);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), Lost);
    LoseDeviceOnNextReset();
    EXPECT_EQ(device->Reset(&params), Lost);
    ForceDeviceLossState(DeviceLossState::NotReset);
    ASSERT_EQ(device->Reset(&params), D3D_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    // States start again, the scene is closed and the picture black;
    // textures live on.
    DWORD lighting = 0, fvf = 1;
    device->GetRenderState(D3DRS_LIGHTING, &lighting);
    device->GetFVF(&fvf);
    EXPECT_EQ(std::make_pair(lighting, fvf), std::make_pair(DWORD{TRUE}, DWORD{0}));
    for (HRESULT want : {D3D_OK, D3DERR_INVALIDCALL}) EXPECT_EQ(device->BeginScene(), want);
    for (HRESULT want : {D3D_OK, D3DERR_INVALIDCALL}) EXPECT_EQ(device->EndScene(), want);
    EXPECT_EQ(CountNot(0xFF000000u), 0);
    DrawAt(texture, RECT{0, 0, 1, 1}, 7.0f, 7.0f);
    EXPECT_EQ(Pixel(7, 7), 0xFF123456u);
}
