// Texture files: .png, .jpg and .bmp, told apart by their first bytes,
// stretched to power-of-two sides by nearest neighbour.
#include <cstdio>
#include <cstring>
#include "platform/d3d9_internal.h"
#include "platform/d3dx9.h"
#include "platform/picture_decode.h"

namespace {
constexpr long MaxPictureFileBytes = 64L * 1024 * 1024;

// The whole file in a new[] buffer; null when it cannot be read or is empty.
unsigned char* ReadWholeFile(const char* path, size_t* size, const char** why) {
    FILE* file = std::fopen(path, "rb");
    if (!file) {
        *why = "cannot open the file";
        return nullptr;
    }
    unsigned char* data = nullptr;
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
    if (length <= 0 || length > MaxPictureFileBytes || std::fseek(file, 0, SEEK_SET) != 0) {
        *why = length == 0 ? "the file is empty" : "the file cannot be read whole";
    } else {
        data = new unsigned char[(size_t)length];
        if (std::fread(data, 1, (size_t)length, file) != (size_t)length) {
            delete[] data;
            data = nullptr;
            *why = "the file cannot be read whole";
        }
    }
    std::fclose(file);
    *size = data ? (size_t)length : 0;
    return data;
}

bool StartsWith(const unsigned char* data, size_t size, const char* magic, size_t magicSize) {
    return size >= magicSize && std::memcmp(data, magic, magicSize) == 0;
}

bool Decode(const unsigned char* data, size_t size, DecodedPicture* picture) {
    if (StartsWith(data, size, "\x89PNG\r\n\x1a\n", 8)) return DecodePng(data, size, MaxSurfaceSide, picture);
    if (StartsWith(data, size, "\xFF\xD8", 2)) return DecodeJpeg(data, size, MaxSurfaceSide, picture);
    if (StartsWith(data, size, "BM", 2)) return DecodeBmp(data, size, MaxSurfaceSide, picture);
    std::snprintf(picture->failure, sizeof picture->failure, "not a PNG, JPEG or BMP picture");
    return false;
}

uint32_t PowerOfTwoAtLeast(uint32_t n) {
    uint32_t side = 1;
    while (side < n) side <<= 1;
    return side;
}

// Each texel takes the picture pixel under its centre. The column of each
// texel is worked out once for all rows; a row of the same width is a copy.
void StretchInto(const DecodedPicture& picture, IDirect3DTexture9::Impl* texture) {
    const uint64_t w = picture.width, h = picture.height;
    const uint64_t tw = texture->width, th = texture->height;
    uint32_t* columns = new uint32_t[tw];
    for (uint64_t x = 0; x < tw; ++x) columns[x] = (uint32_t)(((2 * x + 1) * w) / (2 * tw));
    for (uint64_t y = 0; y < th; ++y) {
        const uint64_t sy = ((2 * y + 1) * h) / (2 * th);
        const uint32_t* source = picture.pixels + sy * w;
        uint32_t* target = texture->pixels + y * tw;
        if (w == tw) {
            std::memcpy(target, source, tw * sizeof *target);
        } else {
            for (uint64_t x = 0; x < tw; ++x) target[x] = source[columns[x]];
        }
    }
    delete[] columns;
}
}  // namespace

HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice9* device, LPCSTR file, IDirect3DTexture9** texture) {
    if (!device || !file || !texture) return D3DERR_INVALIDCALL;
    size_t size = 0;
    const char* readFailure = nullptr;
    unsigned char* data = ReadWholeFile(file, &size, &readFailure);
    if (!data) {
        std::fprintf(stderr, "texture \"%s\": %s\n", file, readFailure);
        return D3DXERR_INVALIDDATA;
    }
    DecodedPicture picture;
    const bool decoded = Decode(data, size, &picture);
    delete[] data;
    if (!decoded) {
        std::fprintf(stderr, "texture \"%s\": %s\n", file, picture.failure);
        return D3DXERR_INVALIDDATA;
    }
    IDirect3DTexture9* made = NewTexture(PowerOfTwoAtLeast(picture.width), PowerOfTwoAtLeast(picture.height),
                                         D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, true);
    if (made) {
        StretchInto(picture, made->impl);
        RefreshTextureComposite(made);
        *texture = made;
    }
    delete[] picture.pixels;
    return made ? D3D_OK : D3DXERR_INVALIDDATA;
}
