// Pictures read back from the back buffer after sprite draws.
#include <cstdlib>
#include <algorithm>
#include <limits>
#include <tuple>
#include "gfx_fixture.h"
#include "support/colours.h"


TEST_F(GfxTest, WholePixelTranslationPutsEachTexelOnItsPixel) {
    IDirect3DTexture9* texture = MakeTexture(5, 3, Numbered(5, 3));
    // No rectangle is the whole texture; the centre is taken off the position.
    const D3DXVECTOR3 centre(2.0f, 1.0f, 0.0f), position(102.0f, 201.0f, 0.0f);
    sprite->Draw(texture, nullptr, &centre, &position, 0xFFFFFFFFu);
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 5; ++i) EXPECT_EQ(Pixel(100 + i, 200 + j), NumberedTexel(i, j)) << i << "," << j;
    }
    EXPECT_EQ(CountNot(ClearBlue), 15);

    // Partly off each edge of the screen: the rest still in place.
    DrawAt(texture, RECT{0, 0, 5, 3}, -3.0f, -1.0f);
    DrawAt(texture, RECT{0, 0, 5, 3}, 637.0f, 478.0f);
    EXPECT_EQ(Pixel(0, 0), NumberedTexel(3, 1));
    EXPECT_EQ(Pixel(1, 1), NumberedTexel(4, 2));
    EXPECT_EQ(Pixel(639, 479), NumberedTexel(2, 1));
    EXPECT_EQ(CountNot(ClearBlue), 15 + 4 + 6);
}

TEST_F(GfxTest, FractionalOriginStartsOnTheNextPixel) {
    IDirect3DTexture9* texture = MakeTexture(4, 1, Numbered(4, 1));
    // Negative fractions round toward the right as well: -0.5 starts at 0.
    const struct {
        float x, y;
        int firstX, firstY;
    } cases[] = {{10.25f, 5.0f, 11, 5}, {10.0f, 6.0f, 10, 6}, {20.0f, 6.75f, 20, 7}, {-0.5f, 9.0f, 0, 9}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        DrawAt(texture, RECT{0, 0, 4, 1}, c.x, c.y);
        EXPECT_EQ(Pixel(c.firstX, c.firstY), NumberedTexel(0, 0));
        EXPECT_EQ(Pixel(c.firstX + 3, c.firstY), NumberedTexel(3, 0));
    }
    EXPECT_EQ(Pixel(10, 5), ClearBlue);
    EXPECT_EQ(Pixel(20, 6), ClearBlue);
    EXPECT_EQ(CountNot(ClearBlue), 16);
}

TEST_F(GfxTest, TurnsLandClockwiseAboutTheMiddleOfTheirBox) {
    // Opaque and translucent pictures take different paths; both must
    // stay inside the box.
    for (uint32_t alpha : {0xFFu, 0xFEu}) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, ClearBlue, 1.0f, 0);
        const int w = 6, h = 4;
        IDirect3DTexture9* texture = MakeTexture(w, h, Numbered(w, h, alpha));
        const float cx = 300.0f, cy = 200.0f;
        Draw(texture, RECT{0, 0, w, h}, Turned(w, h, 90.0f, cx, cy));
        EXPECT_EQ(CountNot(ClearBlue), w * h) << "alpha " << alpha;
        // Texel (i, j) of the top row goes to the right column, left to
        // right becoming top to bottom.
        for (int j = 0; j < h; ++j) {
            for (int i = 0; i < w; ++i) {
                const uint32_t got = Pixel((int)cx + h / 2 - 1 - j, (int)cy - w / 2 + i);
                EXPECT_TRUE(NearColour(got, NumberedTexel(i, j), alpha == 0xFF ? 0 : 1)) << i << "," << j;
            }
        }
    }

    // Half a turn and none cover the same box.
    const int w = 5, h = 3;
    IDirect3DTexture9* texture = MakeTexture(w, h, Numbered(w, h));
    device->Clear(0, nullptr, D3DCLEAR_TARGET, ClearBlue, 1.0f, 0);
    Draw(texture, RECT{0, 0, w, h}, Turned(w, h, 180.0f, 50.0f, 50.0f));
    EXPECT_EQ(CountNot(ClearBlue), w * h);
    // Turned about (cx, cy), which for odd sides is not the box's centre.
    EXPECT_EQ(Pixel(51, 50), NumberedTexel(0, 0));
    EXPECT_EQ(Pixel(47, 48), NumberedTexel(w - 1, h - 1));
    Draw(texture, RECT{0, 0, w, h}, Turned(w, h, 0.0f, 150.0f, 50.0f));
    EXPECT_EQ(Pixel(148, 49), NumberedTexel(0, 0));
    // A turn of 45 degrees covers about the same area.
    Draw(texture, RECT{0, 0, w, h}, Turned(w, h, 45.0f, 250.0f, 50.0f));
    EXPECT_NEAR(CountNot(ClearBlue), 3 * w * h, 4);
}

TEST_F(GfxTest, SourceRectangleClipsToItselfAndToTheTexture) {
    IDirect3DTexture9* texture = MakeTexture(4, 4, Numbered(4, 4));
    // Inside the texture: only the rectangle, its corner at the origin.
    DrawAt(texture, RECT{1, 2, 3, 4}, 10.0f, 10.0f);
    EXPECT_EQ(Pixel(10, 10), NumberedTexel(1, 2));
    EXPECT_EQ(Pixel(11, 11), NumberedTexel(2, 3));
    EXPECT_EQ(CountNot(ClearBlue), 4);

    // A left edge of -1: column 0 one pixel right of the origin.
    DrawAt(texture, RECT{-1, 0, 3, 1}, 20.0f, 20.0f);
    EXPECT_EQ(Pixel(20, 20), ClearBlue);
    EXPECT_EQ(Pixel(21, 20), NumberedTexel(0, 0));
    EXPECT_EQ(Pixel(23, 20), NumberedTexel(2, 0));
    EXPECT_EQ(CountNot(ClearBlue), 4 + 3);

    // One past the right and the bottom edge: only the texels that exist.
    DrawAt(texture, RECT{2, 3, 5, 5}, 30.0f, 30.0f);
    EXPECT_EQ(Pixel(30, 30), NumberedTexel(2, 3));
    EXPECT_EQ(Pixel(31, 30), NumberedTexel(3, 3));
    EXPECT_EQ(CountNot(ClearBlue), 4 + 3 + 2);

    // Empty, inverted or wholly outside: nothing.
    DrawAt(texture, RECT{2, 0, 2, 4}, 40.0f, 40.0f);
    DrawAt(texture, RECT{3, 0, 1, 4}, 40.0f, 40.0f);
    DrawAt(texture, RECT{0, 3, 4, 1}, 40.0f, 40.0f);
    DrawAt(texture, RECT{4, 0, 8, 4}, 40.0f, 40.0f);
    DrawAt(texture, RECT{-5, -5, 0, 0}, 40.0f, 40.0f);
    Draw(texture, RECT{-1, 0, 0, 4}, Turned(4, 4, 30.0f, 40.0f, 40.0f));
    EXPECT_EQ(CountNot(ClearBlue), 4 + 3 + 2);

    // Turned, a clipped picture keeps each texel where it would land: a left
    // edge of -1 on a 5-wide box turned a quarter puts texel column 0 one row
    // below the box's top.
    Draw(texture, RECT{-1, 0, 4, 2}, Turned(5, 2, 90.0f, 100.0f, 100.0f));
    EXPECT_EQ(CountNot(ClearBlue), 4 + 3 + 2 + 8);
    EXPECT_EQ(Pixel(100, 100 - 2 + 1), NumberedTexel(0, 0));
    EXPECT_EQ(Pixel(99, 100 - 2 + 1), NumberedTexel(0, 1));
    EXPECT_EQ(Pixel(100, 100 - 2), ClearBlue);
}

TEST_F(GfxTest, AlphaBlendsSourceOverInverseSource) {
    const uint32_t red = 0xFFF02010u;
    IDirect3DTexture9* solid = MakeTexture(2, 2, std::vector<uint32_t>(4, red));
    IDirect3DTexture9* half = MakeTexture(2, 2, std::vector<uint32_t>(4, (red & 0xFFFFFF) | 0x80000000u));
    DrawAt(solid, RECT{0, 0, 2, 2}, 0.0f, 0.0f, 0x80FFFFFFu);
    DrawAt(half, RECT{0, 0, 2, 2}, 10.0f, 0.0f);
    DrawAt(half, RECT{0, 0, 2, 2}, 20.0f, 0.0f, 0x80FFFFFFu);
    Draw(half, RECT{0, 0, 2, 2}, Turned(2, 2, 90.0f, 31.0f, 1.0f), 0x80FFFFFFu);
    DrawAt(solid, RECT{0, 0, 2, 2}, 40.0f, 0.0f, 0x00FFFFFFu);
    const double a = 0x80 / 255.0;
    EXPECT_TRUE(NearColour(Pixel(0, 0), Blended(red, a, ClearBlue), 2));
    EXPECT_TRUE(NearColour(Pixel(11, 1), Blended(red, a, ClearBlue), 2));
    EXPECT_TRUE(NearColour(Pixel(21, 1), Blended(red, a * a, ClearBlue), 2));
    EXPECT_TRUE(NearColour(Pixel(30, 0), Blended(red, a * a, ClearBlue), 2));
    EXPECT_EQ(Pixel(40, 0), ClearBlue);
    // The back buffer's unused byte stays opaque under blends.
    EXPECT_EQ(Pixel(0, 0) >> 24, 0xFFu);
    EXPECT_EQ(Pixel(30, 0) >> 24, 0xFFu);

    // The colour multiplies each texel.
    IDirect3DTexture9* orange = MakeTexture(1, 1, {0xFFFF8040u});
    DrawAt(orange, RECT{0, 0, 1, 1}, 5.0f, 5.0f, 0xFF808080u);
    EXPECT_TRUE(NearColour(Pixel(5, 5), 0xFF804020u, 1));
    // A batch begun without blending copies even a transparent texel.
    sprite->End();
    ASSERT_EQ(sprite->Begin(0), D3D_OK);
    IDirect3DTexture9* clear = MakeTexture(1, 1, {0x00123456u});
    DrawAt(clear, RECT{0, 0, 1, 1}, 1.0f, 1.0f);
    EXPECT_EQ(Pixel(1, 1), 0xFF123456u);
}

TEST_F(GfxTest, RefusedDrawsLeaveThePictureAlone) {
    IDirect3DTexture9* texture = MakeTexture(2, 2, Numbered(2, 2));
    D3DXMATRIX identity;
    D3DXMatrixTranslation(&identity, 0.0f, 0.0f, 0.0f);
    sprite->SetTransform(&identity);
    const RECT all{0, 0, 2, 2};
    EXPECT_LT(sprite->Draw(nullptr, &all, nullptr, nullptr, 0xFFFFFFFFu), 0);
    // A matrix that flattens the picture, or one of NaNs, draws nothing.
    D3DXMATRIX flat = identity;
    flat._11 = 0.0f;
    Draw(texture, all, flat);
    D3DXMATRIX broken = identity;
    broken._41 = std::numeric_limits<float>::quiet_NaN();
    Draw(texture, all, broken);
    broken._41 = 1e30f;
    Draw(texture, all, broken);
    Draw(texture, all, Turned(2, 2, 30.0f, 1e6f, 100.0f));
    Draw(texture, all, Turned(2, 2, 30.0f, 100.0f, -1e9f));
    EXPECT_LT(sprite->SetTransform(nullptr), 0);
    EXPECT_LT(sprite->Begin(D3DXSPRITE_ALPHABLEND), 0);
    sprite->End();
    EXPECT_LT(sprite->End(), 0);
    EXPECT_LT(sprite->Draw(texture, &all, nullptr, nullptr, 0xFFFFFFFFu), 0);
    ASSERT_EQ(sprite->Begin(D3DXSPRITE_ALPHABLEND), D3D_OK);
    EXPECT_EQ(CountNot(ClearBlue), 0);
}

// With a smoothing filter a picture on whole pixels still copies its
// texels; a quarter pixel off, each pixel mixes its two nearest texels.
TEST_F(GfxTest, SmoothingFiltersBlendOnlyOffWholePixels) {
    IDirect3DTexture9* texture = MakeTexture(2, 1, {0xFF000000u, 0xFFFFFFFFu});
    for (D3DSAMPLERSTATETYPE filter : {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER}) {
        SCOPED_TRACE(filter);
        device->SetSamplerState(0, filter, D3DTEXF_LINEAR);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, ClearBlue, 1.0f, 0);
        DrawAt(texture, RECT{0, 0, 2, 1}, 10.0f, 10.0f);
        EXPECT_EQ(Pixel(10, 10), 0xFF000000u);
        EXPECT_EQ(Pixel(11, 10), 0xFFFFFFFFu);
        EXPECT_EQ(CountNot(ClearBlue), 2);
        DrawAt(texture, RECT{0, 0, 2, 1}, 20.25f, 10.5f);
        EXPECT_TRUE(NearColour(Pixel(21, 11), 0xFF404040u, 2));
        device->SetSamplerState(0, filter, D3DTEXF_NONE);
    }
}

// An X8R8G8B8 texture is opaque whatever its alpha bytes say.
TEST_F(GfxTest, TexturesWithoutAlphaDrawOpaque) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(2, 1, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    textures.push_back(texture);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    static_cast<uint32_t*>(locked.pBits)[0] = 0x00123456u;
    static_cast<uint32_t*>(locked.pBits)[1] = 0x80654321u;
    texture->UnlockRect(0);
    DrawAt(texture, RECT{0, 0, 2, 1}, 3.0f, 3.0f);
    EXPECT_EQ(Pixel(3, 3), 0xFF123456u);
    EXPECT_EQ(Pixel(4, 3), 0xFF654321u);
}

TEST_F(GfxTest, StageStripsFarOutsideTheViewCostNothingAndLandRight) {
    std::vector<uint32_t> strip(1024 * 1024);
    for (int y = 0; y < 1024; ++y) {
        for (int x = 0; x < 1024; ++x) strip[(size_t)y * 1024 + x] = 0xFF000000u | (uint32_t)(x << 12) | (uint32_t)y;
    }
    IDirect3DTexture9* texture = MakeTexture(1024, 1024, strip);
    const int cameraX = 5000, cameraY = 544;
    for (int k = 0; k < 7; ++k) DrawAt(texture, RECT{0, 0, 1024, 1024}, (float)(1024 * k - cameraX), (float)-cameraY);
    EXPECT_EQ(CountNot(ClearBlue), 640 * 480);
    // Stage x 5000 lies in strip 4 at x 904.
    EXPECT_EQ(Pixel(0, 0), 0xFF000000u | (904u << 12) | 544u);
    EXPECT_EQ(Pixel(120, 479), 0xFF000000u | (0u << 12) | (544u + 479u));
}

namespace {
void SetTexels(IDirect3DTexture9* texture, std::initializer_list<uint32_t> texels) {
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    std::copy(texels.begin(), texels.end(), static_cast<uint32_t*>(locked.pBits));
    texture->UnlockRect(0);
}
}  // namespace

// Whatever the sprite keeps of a texture's pixels must follow each change.
TEST_F(GfxTest, DrawsFollowTexturesThatChangeOrGo) {
    IDirect3DTexture9* texture = MakeTexture(2, 1, {0xFF111111u, 0xFF222222u});
    DrawAt(texture, RECT{0, 0, 2, 1}, 0.0f, 0.0f);
    // A locked texture is not drawn.
    D3DLOCKED_RECT locked;
    const RECT second{1, 0, 2, 1};
    ASSERT_EQ(texture->LockRect(0, &locked, &second, 0), D3D_OK);
    EXPECT_LT(sprite->Draw(texture, nullptr, nullptr, nullptr, 0xFFFFFFFFu), 0);
    *static_cast<uint32_t*>(locked.pBits) = 0x80FFFFFFu;  // the second texel
    texture->UnlockRect(0);
    DrawAt(texture, RECT{0, 0, 2, 1}, 0.0f, 1.0f);
    EXPECT_EQ(Pixel(0, 1), 0xFF111111u);
    EXPECT_TRUE(NearColour(Pixel(1, 1), Blended(0xFFFFFFFFu, 0x80 / 255.0, ClearBlue), 2));
    EXPECT_EQ(Pixel(1, 0), 0xFF222222u);
    // Opaque again, then translucent with new pixels.
    for (uint32_t first : {0xFF333333u, 0x80444444u}) {
        SetTexels(texture, {first});
        DrawAt(texture, RECT{0, 0, 2, 1}, 0.0f, 2.0f);
    }
    EXPECT_TRUE(NearColour(Pixel(0, 2), Blended(0xFF444444u, 0x80 / 255.0, 0xFF333333u), 2));

    // A texture never locked is all transparent black.
    IDirect3DTexture9* blank = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &blank, nullptr), D3D_OK);
    textures.push_back(blank);
    DrawAt(blank, RECT{0, 0, 4, 4}, 30.0f, 0.0f);
    Draw(blank, RECT{0, 0, 4, 4}, Turned(4, 4, 30.0f, 40.0f, 2.0f));
    EXPECT_EQ(Pixel(30, 0), ClearBlue);
    EXPECT_EQ(Pixel(40, 2), ClearBlue);

    // Textures made and released one after another, each drawn the same
    // way (likely at the same address), each show their own pixels.
    for (uint32_t k = 0; k < 6; ++k) {
        IDirect3DTexture9* passing = nullptr;
        ASSERT_EQ(device->CreateTexture(2, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &passing, nullptr), D3D_OK);
        const uint32_t grey = 0xFF000000u | (k * 0x101010u), second = k % 2 ? 0xFF000000u : 0x00000000u;
        SetTexels(passing, {grey, second});
        DrawAt(passing, RECT{0, 0, 2, 1}, 10.0f, (float)k);
        // Half a turn about (21, k + 1): texel 0 lands on (21, k).
        Draw(passing, RECT{0, 0, 2, 1}, Turned(2, 1, 180.0f, 21.0f, (float)k + 1.0f));
        EXPECT_EQ(passing->Release(), 0u);
        const uint32_t shown = k % 2 ? 0xFF000000u : ClearBlue;
        EXPECT_EQ(std::make_tuple(Pixel(10, k), Pixel(11, k), Pixel(21, k), Pixel(20, k)),
                  std::make_tuple(grey, shown, grey, shown)) << k;
    }
}
