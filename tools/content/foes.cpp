// The four enemy kinds (cells of their box size: walk columns 0-1, attack
// column 2, rows facing right then left) and the three shots.
#include <cmath>

#include "art.h"
#include "content.h"

namespace {

constexpr uint32_t Ink = 0x1d1a2b;

struct FoeSheet {
    const char* path;
    int width, height;  // cell size, the kind's box
    int canvasW, canvasH;
    void (*draw)(cairo_t* cr, int column);
};

void Eye(cairo_t* cr, double x, double y, double r, uint32_t white = 0xffffff) {
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    FillStroke(cr, white, Ink, 1.2);
    cairo_arc(cr, x + r * 0.35, y, r * 0.5, 0, 2 * M_PI);
    SetColour(cr, Ink);
    cairo_fill(cr);
}

// Fills the path with a gradient, which it then lets go, and inks its outline.
void FillInked(cairo_t* cr, cairo_pattern_t* gradient) {
    cairo_set_source(cr, gradient);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(gradient);
    SetColour(cr, Ink);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
}

// Kind 0: a wobbling jelly, 64 x 48.
void Jelly(cairo_t* cr, int column) {
    double squash = column == 0 ? 0 : column == 1 ? 5 : -6;
    double top = 8 + squash, half = 26 + squash * 0.8;
    cairo_move_to(cr, 32 - half, 47);
    cairo_curve_to(cr, 32 - half - 2, 26, 32 - half * 0.6, top, 34, top);
    cairo_curve_to(cr, 32 + half * 0.7, top, 32 + half + 2, 26, 32 + half, 47);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, top, 0, 47);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.55, 0.93, 0.75);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.16, 0.62, 0.52);
    FillInked(cr, g);
    Ellipse(cr, 24, top + 9, 6, 3);
    SetColour(cr, 0xffffff, 0.6);
    cairo_fill(cr);
    Eye(cr, 40, 30 + squash * 0.3, 5);
    Eye(cr, 52, 31 + squash * 0.3, 4);
    cairo_move_to(cr, 42, 40);
    cairo_curve_to(cr, 45, column == 2 ? 45 : 42, 48, column == 2 ? 45 : 42, 51, 40);
    SetColour(cr, Ink);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

// Kind 1: a horned beetle-boar, 80 x 64.
void Beetle(cairo_t* cr, int column) {
    SetColour(cr, Ink);
    cairo_set_line_width(cr, 4);
    for (int i = 0; i < 3; ++i) {
        double x = 24 + 16 * i, step = ((i + column) % 2 ? 5 : -5);
        cairo_move_to(cr, x, 46);
        cairo_line_to(cr, x + step, 62);
    }
    cairo_stroke(cr);
    Ellipse(cr, 38, 38, 30, 20);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 18, 0, 58);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.83, 0.38, 0.25);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.45, 0.16, 0.12);
    FillInked(cr, g);
    cairo_move_to(cr, 38, 18);
    cairo_line_to(cr, 38, 57);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    Ellipse(cr, 64, 40, 11, 11);
    FillStroke(cr, 0x5a2a1e, Ink, 2);
    double lift = column == 2 ? -8 : 0;
    cairo_move_to(cr, 70, 34);
    cairo_curve_to(cr, 78, 30 + lift, 79, 20 + lift, 75, 12 + lift);
    cairo_curve_to(cr, 74, 22 + lift, 71, 28, 66, 30);
    cairo_close_path(cr);
    FillStroke(cr, 0xf1e3c4, Ink, 1.5);
    Eye(cr, 67, 39, 3.5, 0xffe36b);
}

// Kind 2: a goblin that throws stones, 64 x 96.
void Goblin(cairo_t* cr, int column) {
    double stride = column == 0 ? 6 : column == 1 ? -6 : 0;
    SetColour(cr, Ink);
    cairo_set_line_width(cr, 7);
    cairo_move_to(cr, 30, 70);
    cairo_line_to(cr, 30 + stride, 94);
    cairo_move_to(cr, 36, 70);
    cairo_line_to(cr, 36 - stride, 94);
    cairo_stroke(cr);
    RoundedRect(cr, 18, 42, 30, 32, 8);
    FillStroke(cr, 0x8a6a3a, Ink, 2);
    cairo_arc(cr, 34, 30, 15, 0, 2 * M_PI);
    FillStroke(cr, 0x7fb34a, Ink, 2);
    cairo_move_to(cr, 46, 26);
    cairo_line_to(cr, 60, 20);
    cairo_line_to(cr, 48, 33);
    cairo_close_path(cr);
    FillStroke(cr, 0x7fb34a, Ink, 1.5);
    cairo_move_to(cr, 16, 22);
    cairo_curve_to(cr, 24, 4, 44, 4, 52, 20);
    cairo_close_path(cr);
    FillStroke(cr, 0x6b3b8f, Ink, 2);
    Eye(cr, 40, 30, 4, 0xfff1a0);
    // The throwing arm: held low with a stone, or raised to throw.
    double hx = column == 2 ? 52 : 48, hy = column == 2 ? 16 : 60;
    cairo_move_to(cr, 40, 48);
    cairo_line_to(cr, hx, hy);
    SetColour(cr, Ink);
    cairo_set_line_width(cr, 7);
    cairo_stroke_preserve(cr);
    SetColour(cr, 0x7fb34a);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    if (column != 2) {
        cairo_arc(cr, hx + 3, hy + 3, 6, 0, 2 * M_PI);
        FillStroke(cr, 0x9a8f86, Ink, 1.5);
    }
}

// Kind 3: a floating wisp that casts wind, 72 x 80.
void Wisp(cairo_t* cr, int column) {
    double bob = column == 1 ? 4 : 0;
    cairo_move_to(cr, 14, 70 - bob);
    for (int i = 0; i < 5; ++i) cairo_line_to(cr, 18 + 9 * i + 4.5, (i % 2 ? 78 : 72) - bob);
    cairo_line_to(cr, 60, 70 - bob);
    cairo_curve_to(cr, 66, 40 - bob, 56, 8 - bob, 36, 8 - bob);
    cairo_curve_to(cr, 16, 8 - bob, 8, 40 - bob, 14, 70 - bob);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_radial(40, 30 - bob, 4, 36, 40 - bob, 44);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.78, 0.62, 1.0);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.36, 0.2, 0.6);
    FillInked(cr, g);
    Ellipse(cr, 44, 30 - bob, 16, 12);
    SetColour(cr, 0x1e1232);
    cairo_fill(cr);
    for (double x : {39.0, 50.0}) {
        Ellipse(cr, x, 30 - bob, 3, 4);
        SetColour(cr, column == 2 ? 0xfff27a : 0x9ff7ff);
        cairo_fill(cr);
    }
    if (column == 2) {
        cairo_new_path(cr);
        for (int i = 0; i < 3; ++i) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, 62, 50, 4 + 4 * i, -1.2 + i, 2.0 + i);
        }
        SetColour(cr, 0xbff6ff);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
    }
}

const FoeSheet Sheets[] = {
    {"Texture/Enemy/purupuru.png", 64, 48, 256, 128, Jelly},
    {"Texture/Enemy/敵1.png", 80, 64, 256, 128, Beetle},
    {"Texture/Enemy/敵2.png", 64, 96, 256, 256, Goblin},
    {"Texture/Enemy/敵3.png", 72, 80, 256, 256, Wisp},
};

void Stone(cairo_t* cr) {
    cairo_arc(cr, 24.5, 24.5, 19, 0, 2 * M_PI);
    cairo_pattern_t* g = cairo_pattern_create_radial(18, 17, 3, 24.5, 24.5, 20);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.85, 0.82, 0.78);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.42, 0.38, 0.36);
    FillInked(cr, g);
    cairo_move_to(cr, 14, 28);
    cairo_line_to(cr, 24, 24);
    cairo_line_to(cr, 30, 34);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

void Gust(cairo_t* cr) {
    for (int i = 0; i < 3; ++i) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, 20, 20, 5 + 5 * i, i * 2.1, i * 2.1 + 4.2);
    }
    SetColour(cr, 0x2c6f8a);
    cairo_set_line_width(cr, 5);
    cairo_stroke_preserve(cr);
    SetColour(cr, 0xc8fbff);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

void Coconut(cairo_t* cr) {
    cairo_arc(cr, 16, 16, 13, 0, 2 * M_PI);
    FillStroke(cr, 0x7a4a26, Ink, 2);
    for (double a : {0.6, 1.9, 3.3}) {
        cairo_arc(cr, 16 + 5 * std::cos(a), 14 + 5 * std::sin(a), 2, 0, 2 * M_PI);
        SetColour(cr, 0x2e1a0e);
        cairo_fill(cr);
    }
}

}  // namespace

bool MakeFoePictures(const std::string& root) {
    bool ok = true;
    for (const FoeSheet& s : Sheets) {
        Canvas c = NewCanvas(s.canvasW, s.canvasH);
        for (int facing = 0; facing < 2; ++facing)
            for (int column = 0; column < 3; ++column)
                InCell(c.cr, s.width * column, s.height * facing, s.width, s.height, facing == 1,
                       [&](cairo_t* cr) { s.draw(cr, column); });
        ok = SavePng(c, root + "/" + s.path) && ok;
    }
    struct ShotPicture {
        const char* path;
        int canvas;
        void (*draw)(cairo_t*);
    };
    const ShotPicture shots[] = {
        {"Texture/Tama/tama.png", 64, Stone},
        {"Texture/Tama/風.png", 64, Gust},
        {"Texture/Tama/椰子.png", 32, Coconut},
    };
    for (const ShotPicture& s : shots) {
        Canvas c = NewCanvas(s.canvas, s.canvas);
        s.draw(c.cr);
        ok = SavePng(c, root + "/" + s.path) && ok;
    }
    return ok;
}
