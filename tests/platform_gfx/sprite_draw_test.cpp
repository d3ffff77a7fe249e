// Pictures read back from the back buffer after sprite draws.
#include <limits>
#include <tuple>
#include "gfx_fixture.h"
#include "support/colours.h"

namespace {
void SetTexels(IDirect3DTexture9* texture, std::initializer_list<uint32_t> texels) {
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    std::copy(texels.begin(), texels.end(), static_cast<uint32_t*>(locked.pBits));
    texture->UnlockRect(0);
}
}  // namespace

// The first texel lands on the first pixel at or after the origin, also for
// negative fractions; the screen's edges cut the rest, never move it.
TEST_F(GfxTest, EachTexelLandsOnThePixelAtOrAfterItsCorner) {
    IDirect3DTexture9* texture = MakeTexture(5, 3, Numbered(5, 3));
    const struct {
        float x, y;
        int firstX, firstY, drawn;
    } cases[] = {{100, 200, 100, 200, 15}, {10.25f, 5, 11, 5, 15}, {20, 6.75f, 20, 7, 15}, {-0.5f, 9, 0, 9, 15},
                 {-3, -1, -3, -1, 4},      {637, 478, 637, 478, 6}, {-5000, 0, 0, 0, 0},   {0, 1e9f, 0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, ClearBlue, 1.0f, 0);
        DrawAt(texture, RECT{0, 0, 5, 3}, c.x, c.y);
        ASSERT_EQ(CountNot(ClearBlue), c.drawn);
        for (int i = 0; i < 15 && c.drawn; ++i) {
            const int x = c.firstX + i % 5, y = c.firstY + i / 5;
            if (x >= 0 && y >= 0 && x < 640 && y < 480) {
                EXPECT_EQ(Pixel(x, y), NumberedTexel(i % 5, i / 5)) << i;
            }
        }
    }
    // No rectangle is the whole texture; the centre is taken off the position.
    const D3DXVECTOR3 centre(2.0f, 1.0f, 0.0f), position(302.0f, 201.0f, 0.0f);
    D3DXMATRIX identity;
    sprite->SetTransform(D3DXMatrixTranslation(&identity, 0, 0, 0));
    sprite->Draw(texture, nullptr, &centre, &position, ~0u);
    EXPECT_EQ(std::make_pair(Pixel(300, 200), Pixel(304, 202)), std::make_pair(NumberedTexel(0, 0), NumberedTexel(4, 2)));
}

TEST_F(GfxTest, TurnsLandClockwiseAboutTheMiddleOfTheirBox) {
    // Opaque and translucent pictures take different paths; both must stay
    // inside the box. Texel (i, j) goes to column h/2 - 1 - j, row i - w/2.
    const int w = 6, h = 4;
    for (uint32_t alpha : {0xFFu, 0xFEu}) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, ClearBlue, 1.0f, 0);
        Draw(MakeTexture(w, h, Numbered(w, h, alpha)), RECT{0, 0, w, h}, Turned(w, h, 90.0f, 300.0f, 200.0f));
        EXPECT_EQ(CountNot(ClearBlue), w * h) << alpha;
        for (int i = 0; i < w * h; ++i) {
            const uint32_t got = Pixel(300 + h / 2 - 1 - i / w, 200 - w / 2 + i % w);
            EXPECT_TRUE(NearColour(got, NumberedTexel(i % w, i / w), alpha == 0xFF ? 0 : 1)) << i;
        }
    }
    // Half a turn and none about (cx, cy), which for odd sides is not the
    // box's centre; a turn of 45 degrees covers about the same area.
    IDirect3DTexture9* texture = MakeTexture(5, 3, Numbered(5, 3));
    device->Clear(0, nullptr, D3DCLEAR_TARGET, ClearBlue, 1.0f, 0);
    Draw(texture, RECT{0, 0, 5, 3}, Turned(5, 3, 180.0f, 50.0f, 50.0f));
    EXPECT_EQ(CountNot(ClearBlue), 15);
    EXPECT_EQ(std::make_pair(Pixel(51, 50), Pixel(47, 48)), std::make_pair(NumberedTexel(0, 0), NumberedTexel(4, 2)));
    Draw(texture, RECT{0, 0, 5, 3}, Turned(5, 3, 0.0f, 150.0f, 50.0f));
    EXPECT_EQ(Pixel(148, 49), NumberedTexel(0, 0));
    Draw(texture, RECT{0, 0, 5, 3}, Turned(5, 3, 45.0f, 250.0f, 50.0f));
    EXPECT_NEAR(CountNot(ClearBlue), 3 * 15, 4);
}

TEST_F(GfxTest, SourceRectangleClipsToItselfAndToTheTexture) {
    IDirect3DTexture9* texture = MakeTexture(4, 4, Numbered(4, 4));
    // Inside: its corner at the origin. A left edge of -1 puts column 0 one
    // pixel right; past the right and bottom edges only texels that exist.
    DrawAt(texture, RECT{1, 2, 3, 4}, 10.0f, 10.0f);
    DrawAt(texture, RECT{-1, 0, 3, 1}, 20.0f, 20.0f);
    DrawAt(texture, RECT{2, 3, 5, 5}, 30.0f, 30.0f);
    EXPECT_EQ(std::make_tuple(Pixel(10, 10), Pixel(11, 11), Pixel(20, 20), Pixel(21, 20), Pixel(23, 20), Pixel(31, 30)),
              std::make_tuple(NumberedTexel(1, 2), NumberedTexel(2, 3), ClearBlue, NumberedTexel(0, 0),
                              NumberedTexel(2, 0), NumberedTexel(3, 3)));
    EXPECT_EQ(CountNot(ClearBlue), 4 + 3 + 2);
    // Empty, inverted or wholly outside: nothing.
    for (const RECT& r : {RECT{2, 0, 2, 4}, RECT{3, 0, 1, 4}, RECT{0, 3, 4, 1}, RECT{4, 0, 8, 4}, RECT{-5, -5, 0, 0}})
        DrawAt(texture, r, 40.0f, 40.0f);
    Draw(texture, RECT{-1, 0, 0, 4}, Turned(4, 4, 30.0f, 40.0f, 40.0f));
    EXPECT_EQ(CountNot(ClearBlue), 4 + 3 + 2);
    // Turned, a clipped picture keeps each texel where it would land: a left
    // edge of -1 on a 5-wide box turned a quarter puts column 0 one row
    // below the box's top.
    Draw(texture, RECT{-1, 0, 4, 2}, Turned(5, 2, 90.0f, 100.0f, 100.0f));
    EXPECT_EQ(CountNot(ClearBlue), 4 + 3 + 2 + 8);
    EXPECT_EQ(std::make_tuple(Pixel(100, 99), Pixel(99, 99), Pixel(100, 98)),
              std::make_tuple(NumberedTexel(0, 0), NumberedTexel(0, 1), ClearBlue));
}

TEST_F(GfxTest, AlphaBlendsSourceOverInverseSourceAndTheColourMultiplies) {
    const uint32_t red = 0xFFF02010u;
    IDirect3DTexture9* solid = MakeTexture(2, 2, std::vector<uint32_t>(4, red));
    IDirect3DTexture9* half = MakeTexture(2, 2, std::vector<uint32_t>(4, (red & 0xFFFFFF) | 0x80000000u));
    DrawAt(solid, RECT{0, 0, 2, 2}, 0.0f, 0.0f, 0x80FFFFFFu);
    DrawAt(half, RECT{0, 0, 2, 2}, 10.0f, 0.0f);
    DrawAt(half, RECT{0, 0, 2, 2}, 20.0f, 0.0f, 0x80FFFFFFu);
    Draw(half, RECT{0, 0, 2, 2}, Turned(2, 2, 90.0f, 31.0f, 1.0f), 0x80FFFFFFu);
    DrawAt(half, RECT{0, 0, 2, 2}, 50.0f, 0.0f, 0x80FFFF00u);
    DrawAt(solid, RECT{0, 0, 2, 2}, 40.0f, 0.0f, 0x00FFFFFFu);
    DrawAt(MakeTexture(2, 1, {0xFFFF8040u, 0xFFFF8040u}), RECT{0, 0, 2, 1}, 5.0f, 5.0f, 0xFF808080u);
    const double a = 0x80 / 255.0;
    for (auto [x, y, want] : {std::tuple{0, 0, Blended(red, a, ClearBlue)}, {11, 1, Blended(red, a, ClearBlue)},
                              {21, 1, Blended(red, a * a, ClearBlue)}, {30, 0, Blended(red, a * a, ClearBlue)},
                              {51, 1, Blended(red & 0xFFFFFF00u, a * a, ClearBlue)}, {40, 0, ClearBlue},
                              {5, 5, 0xFF804020u}, {6, 5, 0xFF804020u}}) {
        EXPECT_TRUE(NearColour(Pixel(x, y), want, 2)) << x << "," << y;
        EXPECT_EQ(Pixel(x, y) >> 24, 0xFFu);  // the back buffer stays opaque
    }
    // A batch begun without blending copies even a transparent texel.
    sprite->End();
    ASSERT_EQ(sprite->Begin(0), D3D_OK);
    DrawAt(MakeTexture(1, 1, {0x00123456u}), RECT{0, 0, 1, 1}, 1.0f, 1.0f);
    EXPECT_EQ(Pixel(1, 1), 0xFF123456u);
}

TEST_F(GfxTest, RefusedDrawsLeaveThePictureAlone) {
    IDirect3DTexture9* texture = MakeTexture(2, 2, Numbered(2, 2));
    const RECT all{0, 0, 2, 2};
    EXPECT_LT(sprite->Draw(nullptr, &all, nullptr, nullptr, ~0u), 0);
    // A matrix that flattens the picture, or one of NaNs or huge values.
    D3DXMATRIX flat, broken, huge;
    D3DXMatrixTranslation(&flat, 0, 0, 0)->_11 = 0.0f;
    D3DXMatrixTranslation(&broken, std::numeric_limits<float>::quiet_NaN(), 0, 0);
    D3DXMatrixTranslation(&huge, 1e30f, 0, 0);
    for (const D3DXMATRIX& m : {flat, broken, huge, Turned(2, 2, 30.0f, 1e6f, 100.0f), Turned(2, 2, 30.0f, 100.0f, -1e9f)})
        Draw(texture, all, m);
    EXPECT_LT(sprite->SetTransform(nullptr), 0);
    EXPECT_LT(sprite->Begin(D3DXSPRITE_ALPHABLEND), 0);
    sprite->End();
    EXPECT_LT(sprite->End(), 0);
    EXPECT_LT(sprite->Draw(texture, &all, nullptr, nullptr, ~0u), 0);
    ASSERT_EQ(sprite->Begin(D3DXSPRITE_ALPHABLEND), D3D_OK);
    EXPECT_EQ(CountNot(ClearBlue), 0);
}

// With a smoothing filter a picture on whole pixels still copies its
// texels; off them, each pixel mixes its nearest texels.
TEST_F(GfxTest, SmoothingFiltersBlendOnlyOffWholePixels) {
    IDirect3DTexture9* texture = MakeTexture(2, 1, {0xFF000000u, 0xFFFFFFFFu});
    for (D3DSAMPLERSTATETYPE filter : {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER}) {
        SCOPED_TRACE(filter);
        device->SetSamplerState(0, filter, D3DTEXF_LINEAR);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, ClearBlue, 1.0f, 0);
        DrawAt(texture, RECT{0, 0, 2, 1}, 10.0f, 10.0f);
        EXPECT_EQ(std::make_tuple(Pixel(10, 10), Pixel(11, 10), CountNot(ClearBlue)), std::make_tuple(0xFF000000u, ~0u, 2));
        DrawAt(texture, RECT{0, 0, 2, 1}, 20.25f, 10.5f);
        EXPECT_TRUE(NearColour(Pixel(21, 11), 0xFF404040u, 2));
        device->SetSamplerState(0, filter, D3DTEXF_NONE);
    }
}

// Whatever the sprite keeps of a texture's pixels must follow each change.
TEST_F(GfxTest, DrawsFollowTexturesThatChangeOrGo) {
    IDirect3DTexture9* texture = MakeTexture(2, 1, {0xFF111111u, 0xFF222222u});
    DrawAt(texture, RECT{0, 0, 2, 1}, 0.0f, 0.0f);
    // A locked texture is not drawn.
    D3DLOCKED_RECT locked;
    const RECT second{1, 0, 2, 1};
    ASSERT_EQ(texture->LockRect(0, &locked, &second, 0), D3D_OK);
    EXPECT_LT(sprite->Draw(texture, nullptr, nullptr, nullptr, ~0u), 0);
    *static_cast<uint32_t*>(locked.pBits) = 0x80FFFFFFu;  // the second texel
    texture->UnlockRect(0);
    DrawAt(texture, RECT{0, 0, 2, 1}, 0.0f, 1.0f);
    EXPECT_EQ(std::make_tuple(Pixel(0, 1), Pixel(1, 0)), std::make_tuple(0xFF111111u, 0xFF222222u));
    EXPECT_TRUE(NearColour(Pixel(1, 1), Blended(~0u, 0x80 / 255.0, ClearBlue), 2));
    // Opaque again, then translucent with new pixels.
    for (uint32_t first : {0xFF333333u, 0x80444444u}) {
        SetTexels(texture, {first});
        DrawAt(texture, RECT{0, 0, 2, 1}, 0.0f, 2.0f);
    }
    EXPECT_TRUE(NearColour(Pixel(0, 2), Blended(0xFF444444u, 0x80 / 255.0, 0xFF333333u), 2));

    // Textures made and released one after another, each drawn the same way
    // (likely at the same address), each show their own pixels: never locked
    // they are transparent black; without alpha, opaque whatever its byte.
    for (uint32_t k = 0; k < 6; ++k) {
        IDirect3DTexture9* passing = nullptr;
        const D3DFORMAT format = k == 5 ? D3DFMT_X8R8G8B8 : D3DFMT_A8R8G8B8;
        ASSERT_EQ(device->CreateTexture(2, 1, 1, 0, format, D3DPOOL_MANAGED, &passing, nullptr), D3D_OK);
        const uint32_t grey = 0xFF000000u | (k * 0x101010u), odd = k % 2 ? 0xFF000000u : 0x00000000u;
        if (k > 0) SetTexels(passing, {grey & (k == 5 ? 0x00FFFFFFu : ~0u), odd});
        DrawAt(passing, RECT{0, 0, 2, 1}, 10.0f, (float)k);
        // Half a turn about (21, k + 1): texel 0 lands on (21, k).
        Draw(passing, RECT{0, 0, 2, 1}, Turned(2, 1, 180.0f, 21.0f, (float)k + 1.0f));
        EXPECT_EQ(passing->Release(), 0u);
        const uint32_t first = k ? grey : ClearBlue, shown = k % 2 ? 0xFF000000u : ClearBlue;
        EXPECT_EQ(std::make_tuple(Pixel(10, k), Pixel(11, k), Pixel(21, k), Pixel(20, k)),
                  std::make_tuple(first, shown, first, shown)) << k;
    }
}
