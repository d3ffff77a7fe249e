#include "art.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr const char* FontFace = "DejaVu Sans";
constexpr int BmpHeaderBytes = 54;

// The canvas's pixel at (x, y) as straight (not premultiplied) R, G, B.
void PixelRgb(const unsigned char* row, int x, unsigned char rgb[3]) {
    uint32_t p;
    std::memcpy(&p, row + 4 * x, 4);
    unsigned a = p >> 24;
    for (int i = 0; i < 3; ++i) {
        unsigned c = (p >> (16 - 8 * i)) & 0xFF;
        rgb[i] = (unsigned char)(a == 0 ? 0 : (a == 255 ? c : (c * 255 + a / 2) / a));
    }
}

void Put16(std::vector<unsigned char>& out, unsigned v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<unsigned char>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

bool WriteAll(const std::string& path, const std::vector<unsigned char>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return ok;
}

}  // namespace

Canvas NewCanvas(int width, int height) {
    Canvas c;
    c.width = width;
    c.height = height;
    c.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    c.cr = cairo_create(c.surface);
    cairo_set_antialias(c.cr, CAIRO_ANTIALIAS_GOOD);
    cairo_set_line_join(c.cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(c.cr, CAIRO_LINE_CAP_ROUND);
    return c;
}

void FreeCanvas(Canvas& canvas) {
    if (canvas.cr) cairo_destroy(canvas.cr);
    if (canvas.surface) cairo_surface_destroy(canvas.surface);
    canvas = Canvas{};
}

bool SavePng(Canvas& canvas, const std::string& path) {
    cairo_surface_flush(canvas.surface);
    bool ok = cairo_surface_write_to_png(canvas.surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    if (!ok) std::fprintf(stderr, "cannot write %s\n", path.c_str());
    FreeCanvas(canvas);
    return ok;
}

bool SaveJpeg(Canvas& canvas, const std::string& path, int quality) {
    cairo_surface_flush(canvas.surface);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        FreeCanvas(canvas);
        return false;
    }
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, f);
    info.image_width = canvas.width;
    info.image_height = canvas.height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    // Full-resolution colour keeps the ground's edge exactly where the stage's is.
    for (int i = 0; i < info.num_components; ++i) {
        info.comp_info[i].h_samp_factor = 1;
        info.comp_info[i].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    const unsigned char* data = cairo_image_surface_get_data(canvas.surface);
    int stride = cairo_image_surface_get_stride(canvas.surface);
    std::vector<unsigned char> line(3 * canvas.width);
    while (info.next_scanline < info.image_height) {
        const unsigned char* row = data + (size_t)stride * info.next_scanline;
        for (int x = 0; x < canvas.width; ++x) PixelRgb(row, x, &line[3 * x]);
        JSAMPROW rows[1] = {line.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    bool ok = std::fclose(f) == 0;
    FreeCanvas(canvas);
    return ok;
}

bool SaveBmp(Canvas& canvas, const std::string& path) {
    cairo_surface_flush(canvas.surface);
    int rowBytes = (3 * canvas.width + 3) & ~3;
    uint32_t imageBytes = (uint32_t)rowBytes * canvas.height;
    std::vector<unsigned char> out;
    out.reserve(BmpHeaderBytes + imageBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, BmpHeaderBytes + imageBytes);
    Put32(out, 0);
    Put32(out, BmpHeaderBytes);
    Put32(out, 40);  // BITMAPINFOHEADER
    Put32(out, canvas.width);
    Put32(out, canvas.height);  // positive: rows stored bottom-up
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);  // uncompressed
    Put32(out, imageBytes);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    const unsigned char* data = cairo_image_surface_get_data(canvas.surface);
    int stride = cairo_image_surface_get_stride(canvas.surface);
    for (int y = canvas.height - 1; y >= 0; --y) {
        const unsigned char* row = data + (size_t)stride * y;
        size_t start = out.size();
        for (int x = 0; x < canvas.width; ++x) {
            unsigned char rgb[3];
            PixelRgb(row, x, rgb);
            out.push_back(rgb[2]);
            out.push_back(rgb[1]);
            out.push_back(rgb[0]);
        }
        while (out.size() - start < (size_t)rowBytes) out.push_back(0);
    }
    FreeCanvas(canvas);
    return WriteAll(path, out);
}

void SetColour(cairo_t* cr, uint32_t rgb, double alpha) {
    cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0,
                          alpha);
}

uint32_t MixColour(uint32_t a, uint32_t b, double t) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        double ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= (uint32_t)std::lround(ca + (cb - ca) * t) << shift;
    }
    return out;
}

void DrawText(cairo_t* cr, const char* text, double x, double y, double size, bool bold, int align) {
    cairo_select_font_face(cr, FontFace, CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text, &ext);
    double left = x - (align == 1 ? ext.x_advance / 2 : align == 2 ? ext.x_advance : 0);
    cairo_move_to(cr, left, y);
    cairo_text_path(cr, text);
}

void DrawOutlinedText(cairo_t* cr, const char* text, double x, double y, double size, uint32_t fill,
                      uint32_t ring, double ringWidth, int align) {
    cairo_new_path(cr);
    DrawText(cr, text, x, y, size, true, align);
    SetColour(cr, ring);
    cairo_set_line_width(cr, ringWidth);
    cairo_stroke_preserve(cr);
    SetColour(cr, fill);
    cairo_fill(cr);
}

void FillStroke(cairo_t* cr, uint32_t fill, uint32_t line, double lineWidth, double alpha) {
    SetColour(cr, fill, alpha);
    cairo_fill_preserve(cr);
    SetColour(cr, line, alpha);
    cairo_set_line_width(cr, lineWidth);
    cairo_stroke(cr);
}

void StrokeLine(cairo_t* cr, double x0, double y0, double x1, double y1, uint32_t colour, double lineWidth) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    SetColour(cr, colour);
    cairo_set_line_width(cr, lineWidth);
    cairo_stroke(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}
