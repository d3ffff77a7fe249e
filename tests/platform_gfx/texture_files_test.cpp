// Texture files: each format with its pixels, power-of-two sides, and
// files that must fail and then draw nothing.
#include <algorithm>
#include <cstdlib>
#include "gfx_fixture.h"
#include "support/picture_files.h"
#include "support/scratch.h"

namespace {
class TextureFileTest : public GfxTest {
protected:
    // Loads path; null when it failed: at once, with the slot untouched,
    // or while decoding, with a texture that nothing can read or draw.
    IDirect3DTexture9* Load(const std::string& path) {
        IDirect3DTexture9* slot = nullptr;
        const HRESULT result = D3DXCreateTextureFromFileA(device, path.c_str(), &slot);
        EXPECT_EQ(SUCCEEDED(result), slot != nullptr) << path;
        if (!slot) return nullptr;
        textures.push_back(slot);
        D3DSURFACE_DESC desc;
        if (SUCCEEDED(slot->GetLevelDesc(0, &desc))) return slot;
        D3DLOCKED_RECT locked;
        EXPECT_TRUE(FAILED(slot->LockRect(0, &locked, nullptr, 0))) << path;
        EXPECT_TRUE(FAILED(sprite->Draw(slot, nullptr, nullptr, nullptr, 0xFFFFFFFFu))) << path;
        EXPECT_EQ(CountNot(ClearBlue), 0) << path;
        return nullptr;
    }

    static std::vector<uint32_t> Texels(IDirect3DTexture9* texture, D3DSURFACE_DESC* desc) {
        texture->GetLevelDesc(0, desc);
        D3DLOCKED_RECT locked;
        std::vector<uint32_t> texels;
        if (FAILED(texture->LockRect(0, &locked, nullptr, 0))) return texels;
        for (UINT y = 0; y < desc->Height; ++y) {
            const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<char*>(locked.pBits) + y * locked.Pitch);
            texels.insert(texels.end(), row, row + desc->Width);
        }
        texture->UnlockRect(0);
        return texels;
    }

    TempDir dir;
};

bool NearRgb(uint32_t got, uint32_t want, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8) {
        if (std::abs((int)((got >> shift) & 0xFF) - (int)((want >> shift) & 0xFF)) > tolerance) return false;
    }
    return (got >> 24) == 0xFF;
}
}  // namespace

TEST_F(TextureFileTest, PngKeepsItsAlphaAndIsStretchedToPowersOfTwo) {
    // 3 x 2 becomes 4 x 2: texel columns 0, 1, 1, 2 of the picture.
    const std::vector<uint32_t> picture = {0xFF102030u, 0x80405060u, 0x00708090u,
                                           0xFFA0B0C0u, 0x40D0E0F0u, 0xC0010203u};
    // A Japanese name, as the enemies' pictures have.
    ASSERT_TRUE(WritePng(dir.File("敵1.png"), 3, 2, picture));
    IDirect3DTexture9* texture = Load(dir.File("敵1.png"));
    ASSERT_NE(texture, nullptr);
    D3DSURFACE_DESC desc;
    const std::vector<uint32_t> texels = Texels(texture, &desc);
    EXPECT_EQ(desc.Width, 4u);
    EXPECT_EQ(desc.Height, 2u);
    const int columns[4] = {0, 1, 1, 2};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) EXPECT_EQ(texels[(size_t)y * 4 + x], picture[(size_t)y * 3 + columns[x]]);
    }
    // Its translucent texels blend; the transparent one leaves blue.
    DrawAt(texture, RECT{0, 0, 4, 2}, 0.0f, 0.0f);
    EXPECT_EQ(Pixel(0, 0), 0xFF102030u);
    EXPECT_EQ(Pixel(3, 0), ClearBlue);
}

TEST_F(TextureFileTest, JpegAndBmpLoadTheirColours) {
    std::vector<uint32_t> picture(16 * 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) picture[(size_t)y * 16 + x] = x < 8 ? 0xFFC04020u : 0xFF2080E0u;
    }
    ASSERT_TRUE(WriteJpeg(dir.File("b.jpg"), 16, 8, picture));
    ASSERT_TRUE(WriteBmp(dir.File("c.bmp"), 16, 8, picture));
    IDirect3DTexture9* jpeg = Load(dir.File("b.jpg"));
    IDirect3DTexture9* bmp = Load(dir.File("c.bmp"));
    ASSERT_NE(jpeg, nullptr);
    ASSERT_NE(bmp, nullptr);
    D3DSURFACE_DESC desc;
    const std::vector<uint32_t> fromJpeg = Texels(jpeg, &desc);
    EXPECT_EQ(desc.Width, 16u);
    EXPECT_EQ(desc.Height, 8u);
    EXPECT_TRUE(NearRgb(fromJpeg[2 * 16 + 2], 0xFFC04020u, 4));
    EXPECT_TRUE(NearRgb(fromJpeg[5 * 16 + 13], 0xFF2080E0u, 4));
    EXPECT_EQ(Texels(bmp, &desc), picture);
}

TEST_F(TextureFileTest, PlainBmpRowsArePaddedAndStoredEitherWayUp) {
    // Three pixels a row: each stored row is padded to 12 bytes.
    const std::vector<uint32_t> picture = {0xFF102030u, 0xFF405060u, 0xFF708090u,
                                           0xFFA0B0C0u, 0xFFD0E0F0u, 0xFF010203u};
    ASSERT_TRUE(WriteBmp(dir.File("up.bmp"), 3, 2, picture));
    // The same picture with its top row first: a negative height.
    std::vector<unsigned char> bytes = ReadBytes(dir.File("up.bmp"));
    ASSERT_GE(bytes.size(), 54u + 24u);
    const size_t offset = bytes[10] | bytes[11] << 8 | bytes[12] << 16 | (size_t)bytes[13] << 24;
    const unsigned char minusTwo[4] = {0xFE, 0xFF, 0xFF, 0xFF};
    std::copy(minusTwo, minusTwo + 4, bytes.begin() + 22);
    std::swap_ranges(bytes.begin() + offset, bytes.begin() + offset + 12, bytes.begin() + offset + 12);
    ASSERT_TRUE(WriteBytes(dir.File("down.bmp"), bytes));
    for (const char* name : {"up.bmp", "down.bmp"}) {
        IDirect3DTexture9* texture = Load(dir.File(name));
        ASSERT_NE(texture, nullptr) << name;
        D3DSURFACE_DESC desc;
        const std::vector<uint32_t> texels = Texels(texture, &desc);
        ASSERT_EQ(texels.size(), 8u) << name;  // 4 x 2: picture columns 0, 1, 1, 2
        const int columns[4] = {0, 1, 1, 2};
        for (int i = 0; i < 8; ++i) EXPECT_EQ(texels[i], picture[(size_t)(i / 4) * 3 + columns[i % 4]]) << name;
    }
}

TEST_F(TextureFileTest, ScreenSizedPictureBecomesPowerOfTwoTexture) {
    std::vector<uint32_t> picture(640 * 480);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) picture[(size_t)y * 640 + x] = 0xFF000000u | (uint32_t)(x << 12) | (uint32_t)y;
    }
    ASSERT_TRUE(WritePng(dir.File("screen.png"), 640, 480, picture));
    IDirect3DTexture9* texture = Load(dir.File("screen.png"));
    ASSERT_NE(texture, nullptr);
    D3DSURFACE_DESC desc;
    const std::vector<uint32_t> texels = Texels(texture, &desc);
    EXPECT_EQ(desc.Width, 1024u);
    EXPECT_EQ(desc.Height, 512u);
    // The corners of the picture fill the corners of the texture.
    EXPECT_EQ(texels[0], picture[0]);
    EXPECT_EQ(texels[(size_t)511 * 1024 + 1023], picture[(size_t)479 * 640 + 639]);
    EXPECT_EQ(texels[(size_t)256 * 1024 + 512], picture[(size_t)240 * 640 + 320]);
}

TEST_F(TextureFileTest, MissingEmptyTruncatedOrCorruptFilesFailCleanly) {
    std::vector<uint32_t> picture(64 * 64, 0xFF808080u);
    for (size_t i = 0; i < picture.size(); i += 7) picture[i] = 0x80123456u;
    ASSERT_TRUE(WritePng(dir.File("whole.png"), 64, 64, picture));
    ASSERT_TRUE(WriteJpeg(dir.File("whole.jpg"), 64, 64, picture));
    ASSERT_TRUE(WriteBmp(dir.File("whole.bmp"), 64, 64, picture));
    std::vector<std::string> bad = {dir.File("absent.png"), dir.Path()};
    ASSERT_TRUE(WriteBytes(dir.File("empty.png"), {}));
    bad.push_back(dir.File("empty.png"));
    ASSERT_TRUE(WriteBytes(dir.File("text.png"), {'h', 'e', 'l', 'l', 'o'}));
    bad.push_back(dir.File("text.png"));
    for (const char* name : {"whole.png", "whole.jpg", "whole.bmp"}) {
        const std::vector<unsigned char> bytes = ReadBytes(dir.File(name));
        ASSERT_GT(bytes.size(), 100u);
        const std::string stem = dir.File(std::string("cut-") + name);
        ASSERT_TRUE(WriteBytes(stem, std::vector<unsigned char>(bytes.begin(), bytes.begin() + bytes.size() / 2)));
        bad.push_back(stem);
        std::vector<unsigned char> scrambled = bytes;
        for (size_t i = 12; i < scrambled.size(); i += 3) scrambled[i] ^= 0x5A;
        const std::string broken = dir.File(std::string("bad-") + name);
        ASSERT_TRUE(WriteBytes(broken, scrambled));
        bad.push_back(broken);
    }
    for (const std::string& path : bad) EXPECT_EQ(Load(path), nullptr) << path;
    // The whole files still load.
    for (const char* name : {"whole.png", "whole.jpg", "whole.bmp"}) EXPECT_NE(Load(dir.File(name)), nullptr) << name;
}

TEST_F(TextureFileTest, PicturesLargerThanTheLargestTextureFail) {
    using Writer = bool (*)(const std::string&, int, int, const std::vector<uint32_t>&);
    const struct {
        Writer write;
        const char* name;
        int width, height;
        bool loads;
    } cases[] = {{WritePng, "wide.png", 5000, 1, false}, {WriteJpeg, "wide.jpg", 5000, 8, false},
                 {WriteBmp, "tall.bmp", 8, 5000, false}, {WritePng, "widest.png", 4096, 1, true}};
    for (const auto& c : cases) {
        ASSERT_TRUE(c.write(dir.File(c.name), c.width, c.height, std::vector<uint32_t>(c.width * c.height, 0xFF000000u)));
        EXPECT_EQ(Load(dir.File(c.name)) != nullptr, c.loads) << c.name;
    }
}
