// Texture files: .png, .jpg and .bmp, told apart by their first bytes,
// stretched to power-of-two sides by nearest neighbour. A file that opens
// and starts as a picture becomes a texture at once; its decoding runs on
// a worker and is waited for when the texture is first drawn, locked or
// asked its size. A picture that then fails leaves a texture with no
// pixels, which every call treats as no texture at all.
#include <sys/stat.h>
#include <cstdio>
#include <cstring>
#include "platform/background_work.h"
#include "platform/d3d9_internal.h"
#include "platform/d3dx9.h"
#include "platform/picture_decode.h"

namespace {
constexpr size_t MaxPictureFileBytes = 64u << 20;

// The rest of an open file in a new[] buffer, after the magic bytes
// already read; null when it cannot be read whole.
unsigned char* ReadRest(FILE* file, const unsigned char* magic, size_t magicSize, size_t size) {
    unsigned char* data = new unsigned char[size];
    std::memcpy(data, magic, magicSize);
    if (std::fread(data + magicSize, 1, size - magicSize, file) != size - magicSize) {
        delete[] data;
        return nullptr;
    }
    return data;
}

bool StartsWith(const unsigned char* data, size_t size, const char* magic, size_t magicSize) {
    return size >= magicSize && std::memcmp(data, magic, magicSize) == 0;
}

using Decoder = bool (*)(const unsigned char*, size_t, uint32_t, DecodedPicture*);

Decoder DecoderFor(const unsigned char* magic, size_t size) {
    if (StartsWith(magic, size, "\x89PNG\r\n\x1a\n", 8)) return DecodePng;
    if (StartsWith(magic, size, "\xFF\xD8", 2)) return DecodeJpeg;
    if (StartsWith(magic, size, "BM", 2)) return DecodeBmp;
    return nullptr;
}

uint32_t PowerOfTwoAtLeast(uint32_t n) {
    uint32_t side = 1;
    while (side < n) side <<= 1;
    return side;
}

struct PackedTexel {
    unsigned char bgr[3];
};

// Each texel takes the picture pixel under its centre. The column of each
// texel is worked out once for all rows; a row of the same width is a copy.
template <class Texel>
void Stretch(const unsigned char* from, size_t fromPitch, uint64_t w, uint64_t h, unsigned char* to,
             size_t toPitch, uint64_t tw, uint64_t th) {
    uint32_t* columns = new uint32_t[tw];
    for (uint64_t x = 0; x < tw; ++x) columns[x] = (uint32_t)(((2 * x + 1) * w) / (2 * tw));
    for (uint64_t y = 0; y < th; ++y) {
        const uint64_t sy = ((2 * y + 1) * h) / (2 * th);
        const Texel* source = reinterpret_cast<const Texel*>(from + sy * fromPitch);
        Texel* target = reinterpret_cast<Texel*>(to + y * toPitch);
        if (w == tw) {
            std::memcpy(target, source, tw * sizeof *target);
        } else {
            for (uint64_t x = 0; x < tw; ++x) target[x] = source[columns[x]];
        }
    }
    delete[] columns;
}

// The picture becomes its texture's texels: power-of-two sides, packed
// when it is opaque.
void MakeTexels(DecodedPicture* picture) {
    const uint32_t w = picture->width, h = picture->height;
    const uint32_t tw = PowerOfTwoAtLeast(w), th = PowerOfTwoAtLeast(h);
    if (tw != w || th != h) {
        if (picture->packed) {
            unsigned char* packed = new unsigned char[PackedPitch(tw) * th];
            Stretch<PackedTexel>(picture->packed, PackedPitch(w), w, h, packed, PackedPitch(tw), tw, th);
            delete[] picture->packed;
            picture->packed = packed;
        } else {
            uint32_t* pixels = new uint32_t[(size_t)tw * th];
            Stretch<uint32_t>(reinterpret_cast<unsigned char*>(picture->pixels), (size_t)w * 4, w, h,
                              reinterpret_cast<unsigned char*>(pixels), (size_t)tw * 4, tw, th);
            delete[] picture->pixels;
            picture->pixels = pixels;
        }
    }
    if (picture->pixels && AllOpaque(picture->pixels, (size_t)tw * th)) {
        picture->packed = PackPixels(picture->pixels, tw, th);
        delete[] picture->pixels;
        picture->pixels = nullptr;
    }
    picture->width = tw;
    picture->height = th;
}
}  // namespace

// One picture file on its way to a texture. Until the game's thread has
// waited for it, only the worker running it touches it.
struct PictureLoad : BackgroundJob {
    FILE* file = nullptr;  // open, the magic bytes read
    unsigned char magic[8] = {};
    size_t magicSize = 0;  // how many were read: the file may be shorter
    size_t size = 0;
    Decoder decode = nullptr;
    char name[256] = {};  // for the log
    // Results, neither pixels nor packed when the picture failed.
    uint32_t* pixels = nullptr;
    unsigned char* packed = nullptr;
    uint32_t width = 0, height = 0;
};

namespace {
void LoadPicture(BackgroundJob* job) {
    PictureLoad* load = static_cast<PictureLoad*>(job);
    unsigned char* data = ReadRest(load->file, load->magic, load->magicSize, load->size);
    std::fclose(load->file);
    load->file = nullptr;
    DecodedPicture picture;
    if (!data) {
        std::snprintf(picture.failure, sizeof picture.failure, "the file cannot be read whole");
    } else if (load->decode(data, load->size, MaxSurfaceSide, &picture)) {
        MakeTexels(&picture);
        load->pixels = picture.pixels;
        load->packed = picture.packed;
        load->width = picture.width;
        load->height = picture.height;
    }
    delete[] data;
    if (!load->pixels && !load->packed) std::fprintf(stderr, "texture \"%s\": %s\n", load->name, picture.failure);
}
}  // namespace

void FinishPictureLoad(IDirect3DTexture9::Impl* texture, bool dropIfWaiting) {
    PictureLoad* load = texture->loading;
    FinishBackgroundJob(load, dropIfWaiting);
    if (load->file) std::fclose(load->file);  // dropped before it ran
    texture->pixels = load->pixels;
    texture->packed = load->packed;
    texture->width = load->width;
    texture->height = load->height;
    texture->opaque = load->packed != nullptr;
    texture->serial = NextTextureSerial();
    texture->loading = nullptr;
    delete load;
}

HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice9* device, LPCSTR file, IDirect3DTexture9** texture) {
    if (!device || !file || !texture) return D3DERR_INVALIDCALL;
    FILE* opened = std::fopen(file, "rb");
    if (!opened) {
        std::fprintf(stderr, "texture \"%s\": cannot open the file\n", file);
        return D3DXERR_INVALIDDATA;
    }
    struct stat status{};
    const bool regular = fstat(fileno(opened), &status) == 0 && S_ISREG(status.st_mode);
    const size_t size = regular ? (size_t)status.st_size : 0;
    unsigned char magic[8] = {};
    size_t got = 0;
    const char* why = nullptr;
    Decoder decode = nullptr;
    if (!regular) {
        why = "the file cannot be read whole";
    } else if (size == 0) {
        why = "the file is empty";
    } else if (size > MaxPictureFileBytes) {
        why = "the file is too large";
    } else {
        got = std::fread(magic, 1, size < sizeof magic ? size : sizeof magic, opened);
        decode = DecoderFor(magic, got);
        if (!decode) why = "not a PNG, JPEG or BMP picture";
    }
    if (why) {
        std::fclose(opened);
        std::fprintf(stderr, "texture \"%s\": %s\n", file, why);
        return D3DXERR_INVALIDDATA;
    }
    PictureLoad* load = new PictureLoad;
    load->run = LoadPicture;
    load->file = opened;
    std::memcpy(load->magic, magic, sizeof magic);
    load->magicSize = got;
    load->size = size;
    load->decode = decode;
    std::snprintf(load->name, sizeof load->name, "%s", file);
    IDirect3DTexture9::Impl* impl = new IDirect3DTexture9::Impl;
    impl->format = D3DFMT_A8R8G8B8;
    impl->pool = D3DPOOL_MANAGED;
    impl->loading = load;
    *texture = new IDirect3DTexture9;
    (*texture)->impl = impl;
    StartBackgroundJob(load);
    return D3D_OK;
}
