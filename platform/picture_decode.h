// Shared inside the platform layer only: picture files decoded into
// straight A8R8G8B8 pixels for the texture loader.
#pragma once
#include <cstddef>
#include <cstdint>

struct DecodedPicture {
    uint32_t* pixels = nullptr;  // width * height, row by row; new[]
    uint32_t width = 0;
    uint32_t height = 0;
    char failure[256] = {};  // why decoding stopped, for the log
};

// Each returns true with the picture filled, or false with every pixel
// freed and a reason; none reads past size bytes.
bool DecodePng(const unsigned char* data, size_t size, uint32_t maxSide, DecodedPicture* out);
bool DecodeJpeg(const unsigned char* data, size_t size, uint32_t maxSide, DecodedPicture* out);
bool DecodeBmp(const unsigned char* data, size_t size, uint32_t maxSide, DecodedPicture* out);
