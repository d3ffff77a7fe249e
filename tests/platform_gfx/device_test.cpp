// The device's life: references, the edges of its state tables, lines,
// clears and the lost-device cycle. Making it and its fallbacks are the
// graphics suite's.
#include <functional>
#include <tuple>
#include <utility>
#include <limits>
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
        BOOL on = FALSE;
        D3DLIGHT9 light{}, gotLight{};
        light.Range = (float)value;
        const auto rs = (D3DRENDERSTATETYPE)(D3DRenderStateCount - 1 + past);
        const auto ts = (D3DTEXTURESTAGESTATETYPE)(D3DTextureStageStateCount - 1 + past);
        const auto ss = (D3DSAMPLERSTATETYPE)(D3DSamplerStateCount - 1 + past);
        const DWORD stage = D3DTextureStageCount - 1 + past, sampler = D3DSamplerCount - 1 + past;
        const DWORD index = LightCount - 1 + past;
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
            [&] { return device->SetLight(index, &light); },
            [&] { const HRESULT hr = device->GetLight(index, &gotLight); return gotLight.Range != 7 && !past ? E_FAIL : hr; },
            [&] { return device->LightEnable(index, 5); },
            [&] { const HRESULT hr = device->GetLightEnable(index, &on); return on != TRUE && !past ? E_FAIL : hr; },
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
