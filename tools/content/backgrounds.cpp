// The seven 1024 x 1024 stage pictures, drawn as one 7168-pixel-wide scene:
// sky, far mountains, forest, and in the last strips the dusk over the
// boss's ruins. The ground is painted last, pixel for pixel from the hit
// masks, so what looks solid is exactly what the collision holds.
#include <cmath>
#include <cstring>

#include "art.h"
#include "content.h"

namespace {

constexpr int SceneWidthPx = 7168;
constexpr int StripPx = 1024;
constexpr int StripCount = 7;
constexpr int JpegQuality = 95;
constexpr double DuskStartPx = 5000.0;  // the sky turns toward the boss's dusk
constexpr double DuskFullPx = 6200.0;
constexpr int StoneFromPx = 6000;  // the boss's arena is paved
constexpr int ChasmTopPx = 900;   // below this, open air darkens into the chasm

double Smooth(double edge0, double edge1, double x) {
    double t = (x - edge0) / (edge1 - edge0);
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return t * t * (3 - 2 * t);
}

double Dusk(double x) { return Smooth(DuskStartPx, DuskFullPx, x); }

uint32_t Hash(int x, int y) {
    uint32_t h = (uint32_t)x * 374761393u + (uint32_t)y * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

// Smooth value noise in [0, 1] on a grid of `cell` pixels.
double Noise(int x, int y, int cell) {
    int gx = x / cell, gy = y / cell;
    double fx = (x % cell) / (double)cell, fy = (y % cell) / (double)cell;
    auto v = [](int a, int b) { return (Hash(a, b) & 0xFFFF) / 65535.0; };
    double top = v(gx, gy) + (v(gx + 1, gy) - v(gx, gy)) * fx;
    double bottom = v(gx, gy + 1) + (v(gx + 1, gy + 1) - v(gx, gy + 1)) * fx;
    return top + (bottom - top) * fy;
}

uint32_t* Row(cairo_surface_t* s, int y) {
    return (uint32_t*)(cairo_image_surface_get_data(s) + (size_t)cairo_image_surface_get_stride(s) * y);
}

void PaintSky(cairo_surface_t* s) {
    for (int y = 0; y < StripPx; ++y) {
        uint32_t* row = Row(s, y);
        double t = Smooth(0, 760, y);
        for (int x = 0; x < SceneWidthPx; ++x) {
            double d = Dusk(x);
            uint32_t top = MixColour(0x4a86d0, 0x2b1d4a, d);
            uint32_t low = MixColour(0xd4ecf4, 0xe2805a, d);
            row[x] = 0xFF000000u | MixColour(top, low, t);
        }
    }
    cairo_surface_mark_dirty(s);
}

// A ridge line across the whole scene, filled down to the bottom with a
// colour that follows the sky from day to dusk.
void Ridge(cairo_t* cr, double base, double amp1, double len1, double amp2, double len2, double phase,
           uint32_t day, uint32_t dusk) {
    cairo_new_path(cr);
    cairo_move_to(cr, 0, StripPx);
    for (int x = 0; x <= SceneWidthPx; x += 8) {
        double h = base + amp1 * std::sin(x / len1 + phase) + amp2 * std::sin(x / len2 + 2.1 * phase) +
                   0.35 * amp2 * std::sin(x / (len2 * 0.37) + phase);
        cairo_line_to(cr, x, h);
    }
    cairo_line_to(cr, SceneWidthPx, StripPx);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, SceneWidthPx, 0);
    for (double x : {0.0, DuskStartPx, (DuskStartPx + DuskFullPx) / 2, DuskFullPx, (double)SceneWidthPx}) {
        uint32_t c = MixColour(day, dusk, Dusk(x));
        cairo_pattern_add_color_stop_rgb(p, x / SceneWidthPx, ((c >> 16) & 0xFF) / 255.0,
                                         ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0);
    }
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void Clouds(cairo_t* cr, Rng& rng) {
    for (int i = 0; i < 34; ++i) {
        double cx = rng.Range(0, SceneWidthPx), cy = rng.Range(60, 380), w = rng.Range(70, 170);
        double d = Dusk(cx);
        uint32_t c = MixColour(0xffffff, 0x6a4a78, d);
        for (int k = 0; k < 5; ++k) {
            Ellipse(cr, cx + (k - 2) * w * 0.32, cy + std::fabs(k - 2.0) * 6, w * 0.36, w * 0.2);
            SetColour(cr, c, 0.55 + 0.1 * (k % 2));
            cairo_fill(cr);
        }
    }
}

void Moon(cairo_t* cr) {
    cairo_pattern_t* glow = cairo_pattern_create_radial(6650, 250, 40, 6650, 250, 220);
    cairo_pattern_add_color_stop_rgba(glow, 0, 1.0, 0.55, 0.35, 0.55);
    cairo_pattern_add_color_stop_rgba(glow, 1, 1.0, 0.4, 0.3, 0.0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, 6650, 250, 220, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    cairo_arc(cr, 6650, 250, 74, 0, 2 * M_PI);
    SetColour(cr, 0xf4b183);
    cairo_fill(cr);
}

void Conifer(cairo_t* cr, double x, double base, double h, uint32_t colour, uint32_t trunk) {
    cairo_rectangle(cr, x - h * 0.04, base - h * 0.2, h * 0.08, h * 0.2 + 60);
    SetColour(cr, trunk);
    cairo_fill(cr);
    for (int k = 0; k < 3; ++k) {
        double top = base - h + k * h * 0.22, bottom = base - h * 0.15 - (2 - k) * h * 0.14;
        double half = h * (0.18 + 0.07 * k);
        cairo_move_to(cr, x, top);
        cairo_line_to(cr, x + half, bottom);
        cairo_line_to(cr, x - half, bottom);
        cairo_close_path(cr);
        SetColour(cr, colour);
        cairo_fill(cr);
    }
}

void Forest(cairo_t* cr, Rng& rng) {
    for (double x = 10; x < SceneWidthPx; x += rng.Range(38, 92)) {
        double d = Dusk(x);
        double base = 760 + 30 * std::sin(x / 300.0);
        double h = rng.Range(120, 230);
        Conifer(cr, x, base, h, MixColour(0x3d7458, 0x2e2440, d), MixColour(0x4c3b2c, 0x241a26, d));
    }
}

// Broken columns and an arch behind the boss's arena.
void Ruins(cairo_t* cr) {
    const double columns[][2] = {{6230, 360}, {6420, 250}, {6800, 330}, {6990, 200}};
    for (auto& c : columns) {
        double x = c[0], h = c[1];
        cairo_rectangle(cr, x - 28, 905 - h, 56, h);
        SetColour(cr, 0x4b3f5e);
        cairo_fill(cr);
        cairo_rectangle(cr, x - 36, 905 - h - 16, 72, 16);
        SetColour(cr, 0x5a4c70);
        cairo_fill(cr);
        for (double y = 905 - h + 20; y < 900; y += 34) {
            cairo_move_to(cr, x - 28, y);
            cairo_line_to(cr, x + 28, y);
        }
        SetColour(cr, 0x3a3049);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
    cairo_arc(cr, 6610, 640, 150, M_PI, 2 * M_PI);
    cairo_set_line_width(cr, 34);
    SetColour(cr, 0x4b3f5e);
    cairo_stroke(cr);
}

uint32_t SoilColour(int x, int y, int depth) {
    double n = Noise(x, y, 7) * 0.6 + Noise(x, y, 23) * 0.4;
    bool stone = x >= StoneFromPx;
    if (depth < 5) return MixColour(0x8fdc5a, 0x6cc24a, n);
    if (depth < 11) return MixColour(0x3f8f3a, 0x2f6f2e, n);
    double deep = depth > 140 ? 1.0 : depth / 140.0;
    if (stone) {
        // Courses of paving stones, each 48 x 24 and offset every other row.
        int course = (y - 11) / 24, bx = (x + (course % 2) * 24) % 48, by = (y - 11) % 24;
        uint32_t block = MixColour(0x8a8198, 0x6c6480, (Hash(x / 48 + course * 7, course) & 255) / 255.0);
        if (bx < 2 || by < 2) block = 0x3c3548;
        return MixColour(MixColour(block, 0x2e2838, deep * 0.7), 0x000000, n * 0.12);
    }
    uint32_t soil = MixColour(0x8a5a34, 0x6b4226, n);
    if ((Hash(x / 9, y / 9) & 63) == 0) soil = MixColour(soil, 0xb7a58c, 0.6);  // pebbles
    return MixColour(soil, 0x3a2416, deep * 0.75);
}

void PaintGround(cairo_surface_t* s, const StageMask& stage) {
    cairo_surface_flush(s);
    for (int x = 0; x < SceneWidthPx; ++x) {
        int depth = 0;
        for (int y = 0; y < StripPx; ++y) {
            uint32_t* px = Row(s, y) + x;
            if (!stage.Solid(x, y)) {
                depth = 0;
                if (y > ChasmTopPx) {
                    double t = Smooth(ChasmTopPx, StripPx, y);
                    *px = 0xFF000000u | MixColour(*px & 0xFFFFFF, 0x0b0d18, 0.35 + 0.6 * t);
                }
                continue;
            }
            bool edge = !stage.Solid(x - 1, y) || !stage.Solid(x + 1, y) || !stage.Solid(x, y + 1);
            uint32_t c = SoilColour(x, y, depth);
            if (edge && depth >= 5) c = MixColour(c, 0x1e120a, 0.55);
            *px = 0xFF000000u | c;
            ++depth;
        }
    }
    cairo_surface_mark_dirty(s);
}

}  // namespace

bool MakeBackgrounds(const std::string& root, const StageMask& stage) {
    Canvas scene = NewCanvas(SceneWidthPx, StripPx);
    cairo_t* cr = scene.cr;
    Rng rng(0x5eed0001u);
    PaintSky(scene.surface);
    Moon(cr);
    Clouds(cr, rng);
    Ridge(cr, 560, 60, 410, 34, 173, 0.3, 0x8aa3c6, 0x5b3f6e);
    Ridge(cr, 690, 36, 260, 22, 120, 1.7, 0x6f9a86, 0x46324f);
    Forest(cr, rng);
    Ruins(cr);
    PaintGround(scene.surface, stage);
    bool ok = true;
    for (int k = 0; k < StripCount; ++k) {
        Canvas strip = NewCanvas(StripPx, StripPx);
        cairo_set_source_surface(strip.cr, scene.surface, -StripPx * k, 0);
        cairo_set_operator(strip.cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(strip.cr);
        ok = SaveJpeg(strip, root + "/Texture/Map/IMG_" + std::to_string(k) + ".jpg", JpegQuality) && ok;
    }
    FreeCanvas(scene);
    return ok;
}
