#include "picture_files.h"
#include "support/scratch.h"
#include <SDL.h>
#include <png.h>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace {
std::vector<unsigned char> Channels(int width, int height, const std::vector<uint32_t>& pixels, bool alpha) {
    std::vector<unsigned char> bytes;
    for (int i = 0; i < width * height; ++i) {
        const uint32_t p = pixels[(size_t)i];
        bytes.push_back((unsigned char)(p >> 16));
        bytes.push_back((unsigned char)(p >> 8));
        bytes.push_back((unsigned char)p);
        if (alpha) bytes.push_back((unsigned char)(p >> 24));
    }
    return bytes;
}
}  // namespace

bool WritePng(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = (png_uint_32)width;
    image.height = (png_uint_32)height;
    image.format = PNG_FORMAT_RGBA;
    const std::vector<unsigned char> bytes = Channels(width, height, pixels, true);
    return png_image_write_to_file(&image, path.c_str(), 0, bytes.data(), 0, nullptr) != 0;
}

bool WriteJpeg(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = (JDIMENSION)width;
    info.image_height = (JDIMENSION)height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> bytes = Channels(width, height, pixels, false);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = bytes.data() + (size_t)info.next_scanline * width * 3;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

bool WriteBmp(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
    std::vector<unsigned char> bytes = Channels(width, height, pixels, false);
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(bytes.data(), width, height, 24, width * 3,
                                                              SDL_PIXELFORMAT_RGB24);
    if (!surface) return false;
    const bool written = SDL_SaveBMP(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return written;
}
