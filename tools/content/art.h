// Drawing helpers shared by the picture makers: canvases, colours, text,
// a seeded random source, and the writers that turn a canvas into a file.
#pragma once
#include <cairo.h>
#include <cstdint>
#include <string>

// One picture in the making: an ARGB canvas and its cairo context.
struct Canvas {
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    int width = 0;
    int height = 0;
};

Canvas NewCanvas(int width, int height);
void FreeCanvas(Canvas& canvas);
// Writes the canvas and frees it; false (with a message) when the file cannot be written.
bool SavePng(Canvas& canvas, const std::string& path);
bool SaveJpeg(Canvas& canvas, const std::string& path, int quality);
bool SaveBmp(Canvas& canvas, const std::string& path);

// Colour as 0xRRGGBB with a separate opacity.
void SetColour(cairo_t* cr, uint32_t rgb, double alpha = 1.0);
uint32_t MixColour(uint32_t a, uint32_t b, double t);

// Text in the game's typeface, anchored at its baseline: align 0 left, 1 centred, 2 right.
void DrawText(cairo_t* cr, const char* text, double x, double y, double size, bool bold, int align);
// Text filled with one colour and ringed with another.
void DrawOutlinedText(cairo_t* cr, const char* text, double x, double y, double size, uint32_t fill,
                      uint32_t ring, double ringWidth, int align);

// Fills and strokes the current path.
void FillStroke(cairo_t* cr, uint32_t fill, uint32_t line, double lineWidth, double alpha = 1.0);
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
// One straight stroke from (x0, y0) to (x1, y1).
void StrokeLine(cairo_t* cr, double x0, double y0, double x1, double y1, uint32_t colour, double lineWidth);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);

// Runs draw(cr) in a cell at (x, y) of size w x h, mirrored left-right when
// mirror is set, clipped to the cell.
template <typename Draw>
void InCell(cairo_t* cr, double x, double y, double w, double h, bool mirror, Draw draw) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    if (mirror) {
        cairo_translate(cr, w, 0);
        cairo_scale(cr, -1, 1);
    }
    draw(cr);
    cairo_restore(cr);
}

// A small deterministic generator, so every run draws the same scenery.
struct Rng {
    uint32_t state;
    explicit Rng(uint32_t seed) : state(seed ? seed : 1u) {}
    uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    double Unit() { return (Next() >> 8) * (1.0 / 16777216.0); }  // [0, 1)
    double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }
};
