#include "platform/picture_decode.h"
#include <SDL.h>
#include <png.h>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <jerror.h>

namespace {
bool Fail(DecodedPicture* out, const char* why) {
    delete[] out->pixels;
    delete[] out->packed;
    out->pixels = nullptr;
    out->packed = nullptr;
    out->width = out->height = 0;
    std::snprintf(out->failure, sizeof out->failure, "%s", why);
    return false;
}

bool Allocate(DecodedPicture* out, uint32_t width, uint32_t height, uint32_t maxSide, bool packed = false) {
    if (width == 0 || height == 0 || width > maxSide || height > maxSide) return false;
    if (packed)
        out->packed = new unsigned char[PackedPitch(width) * height];
    else
        out->pixels = new uint32_t[(size_t)width * height];
    out->width = width;
    out->height = height;
    return true;
}

int64_t LittleEndian(const unsigned char* bytes, int count) {
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return (int64_t)value;
}

// The sides a BMP header declares, checked before SDL allocates for them.
// The old core header has 16-bit sides; the later ones 32-bit, with a
// negative height for pictures stored top row first.
bool BmpSizeWithin(const unsigned char* data, size_t size, uint32_t maxSide) {
    constexpr size_t InfoStart = 14;
    if (size < InfoStart + 12) return false;
    const int64_t headerSize = LittleEndian(data + InfoStart, 4);
    int64_t width = 0, height = 0;
    if (headerSize == 12) {
        width = LittleEndian(data + InfoStart + 4, 2);
        height = LittleEndian(data + InfoStart + 6, 2);
    } else {
        if (size < InfoStart + 16) return false;
        width = (int32_t)LittleEndian(data + InfoStart + 4, 4);
        height = (int32_t)LittleEndian(data + InfoStart + 8, 4);
        if (height < 0) height = -height;
    }
    return width > 0 && height > 0 && width <= maxSide && height <= maxSide;
}

// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back to the decoder with the reason kept.
struct JpegErrors {
    jpeg_error_mgr manager;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    JpegErrors* errors = reinterpret_cast<JpegErrors*>(info->err);
    errors->manager.format_message(info, errors->message);
    longjmp(errors->jump, 1);
}

// A file cut short decodes as grey in libjpeg; here it is a failure.
// Other warnings (stray bytes between markers) are let pass quietly.
void JpegEmitMessage(j_common_ptr info, int level) {
    JpegErrors* errors = reinterpret_cast<JpegErrors*>(info->err);
    if (level < 0 && errors->manager.msg_code == JWRN_JPEG_EOF) {
        std::snprintf(errors->message, sizeof errors->message, "file cut short");
        longjmp(errors->jump, 1);
    }
}

// Pixels are 0xAARRGGBB words; on this little-endian machine their bytes
// lie blue, green, red, alpha, the order both decoders can write directly.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixel words are decoded as B, G, R, A bytes");

// Enough rows for what libjpeg hands back at once (its largest sampling).
constexpr uint32_t JpegRowsAtOnce = 16;

struct JpegJob {
    jpeg_decompress_struct info;
    JpegErrors errors;
};

// Kept apart from its caller so that every value that changes between
// setjmp and a longjmp lives in *job and *out, never in this frame.
bool RunJpeg(JpegJob* job, const unsigned char* data, size_t size, uint32_t maxSide, DecodedPicture* out) {
    if (setjmp(job->errors.jump)) return false;
    jpeg_create_decompress(&job->info);
    jpeg_mem_src(&job->info, data, (unsigned long)size);
    jpeg_read_header(&job->info, TRUE);
    if (job->info.image_width > maxSide || job->info.image_height > maxSide) {
        std::snprintf(job->errors.message, sizeof job->errors.message, "picture too large");
        return false;
    }
    job->info.out_color_space = JCS_EXT_BGR;  // no alpha: packed
    jpeg_start_decompress(&job->info);
    if (job->info.output_components != 3 ||
        !Allocate(out, job->info.output_width, job->info.output_height, maxSide, true)) {
        std::snprintf(job->errors.message, sizeof job->errors.message, "unsupported size or colours");
        return false;
    }
    while (job->info.output_scanline < job->info.output_height) {
        const uint32_t y = job->info.output_scanline;
        const uint32_t count = std::min(JpegRowsAtOnce, out->height - y);
        JSAMPROW rows[JpegRowsAtOnce];
        for (uint32_t i = 0; i < count; ++i)
            rows[i] = out->packed + (size_t)(y + i) * PackedPitch(out->width);
        if (jpeg_read_scanlines(&job->info, rows, count) == 0) return false;
    }
    jpeg_finish_decompress(&job->info);
    return true;
}
}  // namespace

bool DecodePng(const unsigned char* data, size_t size, uint32_t maxSide, DecodedPicture* out) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return Fail(out, image.message);
    image.format = PNG_FORMAT_BGRA;
    if (!Allocate(out, image.width, image.height, maxSide)) {
        png_image_free(&image);
        return Fail(out, "picture too large or empty");
    }
    if (!png_image_finish_read(&image, nullptr, out->pixels, 0, nullptr)) {
        png_image_free(&image);
        return Fail(out, image.message);
    }
    return true;
}

bool DecodeJpeg(const unsigned char* data, size_t size, uint32_t maxSide, DecodedPicture* out) {
    JpegJob* job = new JpegJob();  // zeroed: destroying an unmade decoder is safe
    job->info.err = jpeg_std_error(&job->errors.manager);
    job->errors.manager.error_exit = JpegErrorExit;
    job->errors.manager.emit_message = JpegEmitMessage;
    job->errors.message[0] = '\0';
    const bool decoded = RunJpeg(job, data, size, maxSide, out);
    jpeg_destroy_decompress(&job->info);
    if (!decoded) Fail(out, job->errors.message);
    delete job;
    return decoded;
}

// The plain kind, 24 bits a pixel without compression: its rows are
// already the packed rows (blue, green, red, padded to four bytes), bottom
// row first unless the height is negative. Null for any other kind.
bool DecodePlainBmp(const unsigned char* data, size_t size, uint32_t maxSide, DecodedPicture* out, bool* plain) {
    constexpr size_t InfoStart = 14;
    *plain = size >= InfoStart + 40 && LittleEndian(data + InfoStart, 4) >= 40 &&
             LittleEndian(data + InfoStart + 12, 2) == 1 && LittleEndian(data + InfoStart + 14, 2) == 24 &&
             LittleEndian(data + InfoStart + 16, 4) == 0;
    if (!*plain) return false;
    const int64_t width = (int32_t)LittleEndian(data + InfoStart + 4, 4);
    const int64_t height = (int32_t)LittleEndian(data + InfoStart + 8, 4);
    const uint64_t offset = (uint64_t)LittleEndian(data + 10, 4);
    const uint32_t rows = (uint32_t)(height < 0 ? -height : height);
    if (!Allocate(out, (uint32_t)width, rows, maxSide, true)) return Fail(out, "picture too large or empty");
    const size_t pitch = PackedPitch(out->width);
    if (offset > size || (size - offset) / pitch < rows) return Fail(out, "not a readable BMP");
    for (uint32_t y = 0; y < rows; ++y) {
        const uint32_t from = height < 0 ? y : rows - 1 - y;
        std::memcpy(out->packed + (size_t)y * pitch, data + offset + (size_t)from * pitch, pitch);
    }
    return true;
}

bool DecodeBmp(const unsigned char* data, size_t size, uint32_t maxSide, DecodedPicture* out) {
    if (!BmpSizeWithin(data, size, maxSide)) return Fail(out, "BMP header missing or picture too large");
    bool plain = false;
    if (DecodePlainBmp(data, size, maxSide, out, &plain) || plain) return out->packed != nullptr;
    SDL_RWops* stream = SDL_RWFromConstMem(data, (int)size);
    SDL_Surface* loaded = stream ? SDL_LoadBMP_RW(stream, 1) : nullptr;
    if (!loaded) return Fail(out, "not a readable BMP");
    // A picture without alpha is kept packed.
    const bool packed = loaded->format->Amask == 0;
    SDL_Surface* converted =
        SDL_ConvertSurfaceFormat(loaded, packed ? SDL_PIXELFORMAT_BGR24 : SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!converted) return Fail(out, "BMP colours cannot be converted");
    if (!Allocate(out, (uint32_t)converted->w, (uint32_t)converted->h, maxSide, packed)) {
        SDL_FreeSurface(converted);
        return Fail(out, "picture too large or empty");
    }
    SDL_LockSurface(converted);
    const size_t rowBytes = (size_t)out->width * (packed ? 3 : 4);
    unsigned char* to = packed ? out->packed : reinterpret_cast<unsigned char*>(out->pixels);
    const size_t toPitch = packed ? PackedPitch(out->width) : rowBytes;
    for (uint32_t y = 0; y < out->height; ++y) {
        const unsigned char* row = static_cast<const unsigned char*>(converted->pixels) + (size_t)y * converted->pitch;
        std::memcpy(to + (size_t)y * toPitch, row, rowBytes);
    }
    SDL_UnlockSurface(converted);
    SDL_FreeSurface(converted);
    return true;
}
