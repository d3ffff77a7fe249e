// Texture files: each format with its pixels, power-of-two sides, and
// files that must fail, say why, and then draw nothing.
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

    // The texels, row by row, with the texture's sides.
    static std::vector<uint32_t> Texels(IDirect3DTexture9* texture, UINT* width, UINT* height) {
        D3DSURFACE_DESC desc;
        texture->GetLevelDesc(0, &desc);
        *width = desc.Width, *height = desc.Height;
        D3DLOCKED_RECT locked;
        if (FAILED(texture->LockRect(0, &locked, nullptr, 0))) return {};
        const uint32_t* texels = static_cast<const uint32_t*>(locked.pBits);
        std::vector<uint32_t> all(texels, texels + (size_t)desc.Width * desc.Height);
        texture->UnlockRect(0);
        return all;
    }

    TempDir dir;
};

std::vector<uint32_t> Gradient(int width, int height) {
    std::vector<uint32_t> picture;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) picture.push_back(0xFF000000u | (uint32_t)(x << 12) | (uint32_t)y);
    }
    return picture;
}
}  // namespace

TEST_F(TextureFileTest, PicturesStretchToPowerOfTwoSidesTakingTheTexelUnderEachCentre) {
    // 3 x 2 becomes 4 x 2: texel columns 0, 1, 1, 2 of the picture; a
    // Japanese name, as the enemies' pictures have.
    const std::vector<uint32_t> small = {0xFF102030u, 0x80405060u, 0x00708090u,
                                         0xFFA0B0C0u, 0x40D0E0F0u, 0xC0010203u};
    const std::vector<uint32_t> screen = Gradient(640, 480), tall = Gradient(2, 5);
    const struct {
        const char* name;
        int width, height;
        const std::vector<uint32_t>& picture;
        UINT textureWidth, textureHeight;
    } cases[] = {{"敵1.png", 3, 2, small, 4, 2}, {"screen.png", 640, 480, screen, 1024, 512}, {"tall.bmp", 2, 5, tall, 2, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File(c.name);
        ASSERT_TRUE(std::string(c.name).find(".png") != std::string::npos ? WritePng(path, c.width, c.height, c.picture)
                                                                           : WriteBmp(path, c.width, c.height, c.picture));
        IDirect3DTexture9* texture = Load(path);
        ASSERT_NE(texture, nullptr);
        UINT width = 0, height = 0;
        const std::vector<uint32_t> texels = Texels(texture, &width, &height);
        ASSERT_EQ(std::make_pair(width, height), std::make_pair(c.textureWidth, c.textureHeight));
        for (UINT y = 0; y < height; ++y) {
            const UINT row = (2 * y + 1) * c.height / (2 * height);
            for (UINT x = 0; x < width; ++x) {
                const UINT column = (2 * x + 1) * c.width / (2 * width);
                ASSERT_EQ(texels[y * width + x], c.picture[row * c.width + column]) << x << "," << y;
            }
        }
    }
    // Translucent texels blend; the transparent one leaves blue.
    DrawAt(textures[0], RECT{0, 0, 4, 2}, 0.0f, 0.0f);
    EXPECT_EQ(Pixel(0, 0), 0xFF102030u);
    EXPECT_EQ(Pixel(3, 0), ClearBlue);
}

// JPEG is lossy: flat colours come back within a few levels, opaque.
TEST_F(TextureFileTest, JpegLoadsItsColours) {
    std::vector<uint32_t> picture(16 * 8);
    for (size_t i = 0; i < picture.size(); ++i) picture[i] = i % 16 < 8 ? 0xFFC04020u : 0xFF2080E0u;
    ASSERT_TRUE(WriteJpeg(dir.File("b.jpg"), 16, 8, picture));
    IDirect3DTexture9* jpeg = Load(dir.File("b.jpg"));
    ASSERT_NE(jpeg, nullptr);
    UINT width = 0, height = 0;
    const std::vector<uint32_t> texels = Texels(jpeg, &width, &height);
    ASSERT_EQ(std::make_pair(width, height), std::make_pair(16u, 8u));
    for (size_t at : {2 * 16 + 2, 5 * 16 + 13}) {
        for (int shift = 0; shift <= 24; shift += 8) {
            EXPECT_LE(std::abs((int)((texels[at] >> shift) & 0xFF) - (int)((picture[at] >> shift) & 0xFF)), 4) << at;
        }
    }
}

// A plain BMP's rows are the packed rows, padded to four bytes; stored
// top row first, its height is negative.
TEST_F(TextureFileTest, PlainBmpReadsEitherWayUp) {
    const std::vector<uint32_t> picture = {0xFF102030u, 0xFF405060u, 0xFF708090u,
                                           0xFFA0B0C0u, 0xFFD0E0F0u, 0xFF010203u};
    ASSERT_TRUE(WriteBmp(dir.File("up.bmp"), 3, 2, picture));
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
        UINT width = 0, height = 0;
        const std::vector<uint32_t> texels = Texels(texture, &width, &height);
        ASSERT_EQ(texels.size(), 8u) << name;  // 4 x 2: picture columns 0, 1, 1, 2
        const int columns[4] = {0, 1, 1, 2};
        for (int i = 0; i < 8; ++i) EXPECT_EQ(texels[i], picture[(size_t)(i / 4) * 3 + columns[i % 4]]) << name;
    }
}

TEST_F(TextureFileTest, BadFilesFailAndSayWhy) {
    std::vector<uint32_t> picture(64 * 64, 0xFF808080u);
    for (size_t i = 0; i < picture.size(); i += 7) picture[i] = 0x80123456u;
    ASSERT_TRUE(WritePng(dir.File("whole.png"), 64, 64, picture));
    ASSERT_TRUE(WriteJpeg(dir.File("whole.jpg"), 64, 64, picture));
    ASSERT_TRUE(WriteBmp(dir.File("whole.bmp"), 64, 64, picture));
    ASSERT_TRUE(WriteBytes(dir.File("empty.png"), {}));
    ASSERT_TRUE(WriteBytes(dir.File("text.png"), {'h', 'e', 'l', 'l', 'o'}));
    for (const char* name : {"whole.png", "whole.jpg", "whole.bmp"}) {
        const std::vector<unsigned char> bytes = ReadBytes(dir.File(name));
        ASSERT_GT(bytes.size(), 100u);
        ASSERT_TRUE(WriteBytes(dir.File(std::string("cut-") + name),
                               std::vector<unsigned char>(bytes.begin(), bytes.begin() + bytes.size() / 2)));
        std::vector<unsigned char> scrambled = bytes;
        for (size_t i = 12; i < scrambled.size(); i += 3) scrambled[i] ^= 0x5A;
        ASSERT_TRUE(WriteBytes(dir.File(std::string("bad-") + name), scrambled));
    }
    const struct {
        std::string path, why;
    } cases[] = {{dir.File("absent.png"), "cannot open the file"},         {dir.Path(), "the file cannot be read whole"},
                 {dir.File("empty.png"), "the file is empty"},    {dir.File("text.png"), "not a PNG, JPEG or BMP"},
                 {dir.File("cut-whole.png"), ""},                 {dir.File("bad-whole.png"), ""},
                 {dir.File("cut-whole.jpg"), "file cut short"},        {dir.File("bad-whole.jpg"), "Unsupported marker"},
                 {dir.File("cut-whole.bmp"), "not a readable BMP"}, {dir.File("bad-whole.bmp"), "BMP header"}};
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(Load(c.path), nullptr) << c.path;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("\"" + c.path + "\": " + c.why), std::string::npos) << said;
    }
    // The whole files still load.
    for (const char* name : {"whole.png", "whole.jpg", "whole.bmp"}) EXPECT_NE(Load(dir.File(name)), nullptr) << name;
}

TEST_F(TextureFileTest, SidesUpToTheLargestTextureLoadAndLargerFail) {
    using Writer = bool (*)(const std::string&, int, int, const std::vector<uint32_t>&);
    const struct {
        Writer write;
        const char* name;
        int width, height;
        bool loads;
    } cases[] = {{WritePng, "wide.png", 4097, 1, false}, {WriteJpeg, "wide.jpg", 4097, 8, false},
                 {WriteBmp, "tall.bmp", 8, 4097, false},  {WritePng, "widest.png", 4096, 1, true},
                 {WriteJpeg, "widest.jpg", 4096, 8, true}, {WriteBmp, "tallest.bmp", 1, 4096, true}};
    for (const auto& c : cases) {
        ASSERT_TRUE(c.write(dir.File(c.name), c.width, c.height, std::vector<uint32_t>(c.width * c.height, 0xFF000000u)));
        testing::internal::CaptureStderr();
        EXPECT_EQ(Load(dir.File(c.name)) != nullptr, c.loads) << c.name;
        EXPECT_EQ(testing::internal::GetCapturedStderr().find("too large") != std::string::npos, !c.loads) << c.name;
    }
}
