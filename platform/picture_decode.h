// Shared inside the platform layer only: picture files decoded into
// straight A8R8G8B8 pixels for the texture loader.
#pragma once
#include <cstddef>
#include <cstdint>

// Rows of a picture without alpha, three bytes a pixel (blue, green, red),
// start on four-byte boundaries.
inline size_t PackedPitch(uint32_t width) { return ((size_t)width * 3 + 3) & ~(size_t)3; }

struct DecodedPicture {
    // Straight A8R8G8B8 pixels, row by row, or for a picture that has no
    // alpha at all its packed rows; the other stays null. Both new[].
    uint32_t* pixels = nullptr;
    unsigned char* packed = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    char failure[256] = {};  // why decoding stopped, for the log
};

// Each returns true with the picture filled, or false with every pixel
// freed and a reason; none reads past size bytes.
bool DecodePng(const unsigned char* data, size_t size, uint32_t maxSide, DecodedPicture* out);
bool DecodeJpeg(const unsigned char* data, size_t size, uint32_t maxSide, DecodedPicture* out);
bool DecodeBmp(const unsigned char* data, size_t size, uint32_t maxSide, DecodedPicture* out);
