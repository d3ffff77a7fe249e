// The canopy-bearer's sheet (96 x 96 cells, rows facing right then left)
// and the slash effects drawn over the attack poses.
#include <cmath>

#include "art.h"
#include "content.h"

namespace {

constexpr int CellPx = 96;
constexpr int SheetPx = 1024;
constexpr int EffectsPx = 512;
constexpr int StepEffectW = 150, StepEffectH = 96;
constexpr int AirEffectPx = 130, AirEffectTop = 192;

constexpr uint32_t Ink = 0x1d1a2b;
constexpr uint32_t Cloak = 0x2f6db0;
constexpr uint32_t CloakDark = 0x214d80;
constexpr uint32_t Skin = 0xf3cfa8;
constexpr uint32_t Hair = 0x5b3a24;
constexpr uint32_t Boot = 0x3b2a22;
constexpr uint32_t CanopyRed = 0xe0483c;
constexpr uint32_t CanopyCream = 0xf6e7c8;
constexpr uint32_t Shaft = 0x6b4a2e;

enum CanopyKind { Furled, Open };

// A pose for the figure facing right, feet at the bottom centre of the cell.
struct Pose {
    double lean = 0;        // degrees, the whole body tips forward (+) about the feet
    double rise = 0;        // px the body is lifted off the cell's floor
    double frontLeg = 0;    // degrees from straight down, forward positive
    double backLeg = 0;
    double knee = 0;        // degrees the lower legs fold back
    double arm = 60;        // degrees of the canopy arm: 0 forward, 90 down, -90 up
    CanopyKind canopy = Furled;
    double canopyAim = 60;  // degrees the canopy points from the hand
    bool hurt = false;
};

void Leg(cairo_t* cr, double hipX, double hipY, double angle, double knee, uint32_t colour) {
    double a = angle * M_PI / 180, k = (angle - knee) * M_PI / 180;
    double kx = hipX + 13 * std::sin(a), ky = hipY + 13 * std::cos(a);
    double fx = kx + 13 * std::sin(k), fy = ky + 13 * std::cos(k);
    cairo_move_to(cr, hipX, hipY);
    cairo_line_to(cr, kx, ky);
    cairo_line_to(cr, fx, fy);
    SetColour(cr, Ink);
    cairo_set_line_width(cr, 8);
    cairo_stroke_preserve(cr);
    SetColour(cr, colour);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    Ellipse(cr, fx + 2.5, fy - 1, 5.5, 3.5);
    FillStroke(cr, Boot, Ink, 1.5);
}

// The canopy from the hand at (hx, hy), pointing along aim (degrees).
void Canopy(cairo_t* cr, double hx, double hy, CanopyKind kind, double aim) {
    cairo_save(cr);
    cairo_translate(cr, hx, hy);
    cairo_rotate(cr, aim * M_PI / 180);
    if (kind == Furled) {
        // Handle hook behind the hand, then the furled cloth along the shaft.
        cairo_new_path(cr);
        cairo_arc_negative(cr, -8, 4, 4, 0, M_PI);
        SetColour(cr, Shaft);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
        StrokeLine(cr, -6, 0, 48, 0, Ink, 4);
        cairo_move_to(cr, 8, -5);
        cairo_curve_to(cr, 20, -6, 34, -3, 46, 0);
        cairo_curve_to(cr, 34, 3, 20, 6, 8, 5);
        cairo_close_path(cr);
        FillStroke(cr, CanopyRed, Ink, 1.5);
        StrokeLine(cr, 12, 0, 40, 0, CanopyCream, 1.5);
    } else {
        // The open dome: its chord across the aim, its crown away from the hand.
        const double chord = 13, half = 30, crown = 17;
        auto dome = [&]() {
            cairo_new_path(cr);
            cairo_move_to(cr, chord, -half);
            cairo_curve_to(cr, chord + crown * 1.1, -half * 0.8, chord + crown * 1.33, -half * 0.2, chord + crown, 0);
            cairo_curve_to(cr, chord + crown * 1.33, half * 0.2, chord + crown * 1.1, half * 0.8, chord, half);
            const int Scallops = 6;
            for (int i = Scallops; i > 0; --i) {
                double y0 = -half + 2 * half * i / Scallops, y1 = -half + 2 * half * (i - 1) / Scallops;
                cairo_curve_to(cr, chord - 4, y0 - (y0 - y1) * 0.25, chord - 4, y1 + (y0 - y1) * 0.25, chord, y1);
            }
            cairo_close_path(cr);
        };
        StrokeLine(cr, -4, 0, chord + crown + 5, 0, Ink, 3.5);
        dome();
        SetColour(cr, CanopyRed);
        cairo_fill_preserve(cr);
        cairo_save(cr);
        cairo_clip_preserve(cr);
        cairo_new_path(cr);
        for (int i = 1; i < 6; i += 2) {
            double y0 = -half + 2 * half * i / 6, y1 = -half + 2 * half * (i + 1) / 6;
            cairo_move_to(cr, chord + crown + 2, 0);
            cairo_line_to(cr, chord - 6, y0 * 1.1);
            cairo_line_to(cr, chord - 6, y1 * 1.1);
            cairo_close_path(cr);
        }
        SetColour(cr, CanopyCream);
        cairo_fill(cr);
        cairo_restore(cr);
        dome();
        SetColour(cr, Ink);
        cairo_set_line_width(cr, 1.8);
        cairo_stroke(cr);
        cairo_move_to(cr, chord + crown, 0);
        cairo_line_to(cr, chord + crown + 5, 0);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void Figure(cairo_t* cr, const Pose& p) {
    cairo_save(cr);
    cairo_translate(cr, 48, 95 - p.rise);
    cairo_rotate(cr, p.lean * M_PI / 180);
    cairo_translate(cr, -48, -95);
    double hipX = 48, hipY = 70;
    Leg(cr, hipX - 3, hipY, p.backLeg, p.knee, CloakDark);
    // Cloak: a bell from the shoulders to the hem.
    cairo_move_to(cr, 40, 44);
    cairo_curve_to(cr, 34, 58, 31, 68, 30, 76);
    cairo_line_to(cr, 64, 76);
    cairo_curve_to(cr, 63, 68, 60, 58, 56, 44);
    cairo_close_path(cr);
    FillStroke(cr, Cloak, Ink, 2);
    StrokeLine(cr, 31, 72, 63, 72, CanopyCream, 2);
    Leg(cr, hipX + 3, hipY, p.frontLeg, p.knee, Cloak);
    // Head: hood, face, hair fringe, eye.
    cairo_arc(cr, 48, 33, 13, 0, 2 * M_PI);
    FillStroke(cr, CloakDark, Ink, 2);
    cairo_arc(cr, 51, 34, 9, 0, 2 * M_PI);
    FillStroke(cr, Skin, Ink, 1.5);
    cairo_move_to(cr, 42, 27);
    cairo_curve_to(cr, 46, 22, 55, 22, 60, 29);
    cairo_line_to(cr, 50, 28);
    cairo_close_path(cr);
    SetColour(cr, Hair);
    cairo_fill(cr);
    SetColour(cr, Ink);
    if (p.hurt) {
        cairo_move_to(cr, 53, 32);
        cairo_line_to(cr, 58, 36);
        cairo_move_to(cr, 58, 32);
        cairo_line_to(cr, 53, 36);
        cairo_set_line_width(cr, 1.8);
        cairo_stroke(cr);
    } else {
        Ellipse(cr, 55.5, 34, 1.8, 2.6);
        cairo_fill(cr);
    }
    // Arm and canopy.
    double sx = 50, sy = 50, a = p.arm * M_PI / 180;
    double hx = sx + 16 * std::cos(a), hy = sy + 16 * std::sin(a);
    if (p.canopy == Open) Canopy(cr, hx, hy, Open, p.canopyAim);
    cairo_move_to(cr, sx, sy);
    cairo_line_to(cr, hx, hy);
    SetColour(cr, Ink);
    cairo_set_line_width(cr, 7);
    cairo_stroke_preserve(cr);
    SetColour(cr, Cloak);
    cairo_set_line_width(cr, 4.5);
    cairo_stroke(cr);
    if (p.canopy == Furled) Canopy(cr, hx, hy, Furled, p.canopyAim);
    cairo_arc(cr, hx, hy, 3.2, 0, 2 * M_PI);
    FillStroke(cr, Skin, Ink, 1.2);
    cairo_restore(cr);
}

Pose Walk(int frame) {
    Pose p;
    const double swing[4] = {24, 8, -24, -8};
    p.frontLeg = swing[frame];
    p.backLeg = -swing[frame];
    p.knee = frame % 2 ? 25 : 8;
    p.rise = frame % 2 ? 2 : 0;
    p.lean = 4;
    p.arm = 95;
    p.canopyAim = -115;  // carried on the shoulder
    return p;
}

Pose Air(int column) {
    Pose p;
    p.rise = 6;
    if (column == 4) {  // rising
        p.frontLeg = 30, p.backLeg = -10, p.knee = 50, p.arm = -20, p.canopyAim = -60;
    } else if (column == 5) {  // falling
        p.frontLeg = 10, p.backLeg = -20, p.knee = 20, p.arm = 20, p.canopyAim = 70;
    } else {  // gliding: the canopy open overhead
        p.frontLeg = 8, p.backLeg = -8, p.knee = 10, p.arm = -80, p.canopy = Open, p.canopyAim = -90;
        p.rise = 0;
    }
    return p;
}

Pose Attack(int step) {
    Pose p;
    switch (step) {
    case 1: p.lean = 10, p.frontLeg = 28, p.backLeg = -22, p.arm = 0, p.canopyAim = 0; break;
    case 2: p.lean = 6, p.frontLeg = 22, p.backLeg = -26, p.arm = -45, p.canopyAim = -40; break;
    case 3: p.lean = 16, p.frontLeg = 36, p.backLeg = -34, p.knee = 10, p.arm = 5, p.canopyAim = 5; break;
    case 4: p.rise = 6, p.frontLeg = 20, p.backLeg = -15, p.knee = 40, p.arm = -110, p.canopyAim = -130; break;
    default: p.rise = 6, p.lean = 8, p.frontLeg = 25, p.backLeg = -5, p.knee = 30, p.arm = 50, p.canopyAim = 80;
    }
    return p;
}

Pose Guard(int state) {
    Pose p;
    p.canopy = Open;
    p.frontLeg = 16, p.backLeg = -14;
    switch (state) {
    case 1: p.arm = 10, p.canopyAim = 0; break;                  // held forward
    case 2: p.arm = -75, p.canopyAim = -90, p.frontLeg = 8; break;  // overhead
    case 3: p.arm = 40, p.canopyAim = -5, p.lean = -6; break;     // drawn back for the thrust
    default: p.arm = -5, p.canopyAim = 0, p.lean = 12, p.frontLeg = 30, p.backLeg = -28; break;  // thrust
    }
    return p;
}

// Motion lines behind a knocked-back figure, in screen space.
void Streaks(cairo_t* cr, bool movingLeft) {
    SetColour(cr, 0xffffff, 0.8);
    cairo_set_line_width(cr, 2);
    for (int i = 0; i < 3; ++i) {
        double y = 40 + 14 * i, x0 = movingLeft ? 74 : 6, x1 = movingLeft ? 92 : 22;
        cairo_move_to(cr, x0, y);
        cairo_line_to(cr, x1, y);
    }
    cairo_stroke(cr);
}

void DrawSheet(cairo_t* cr) {
    for (int facing = 0; facing < 2; ++facing) {
        bool mirror = facing == 1;
        auto cell = [&](int column, int row, const Pose& pose) {
            InCell(cr, CellPx * column, CellPx * (row + facing), CellPx, CellPx, mirror,
                   [&](cairo_t* c) { Figure(c, pose); });
        };
        for (int c = 0; c < 4; ++c) cell(c, 0, Walk(c));
        for (int c = 4; c < 7; ++c) cell(c, 0, Air(c));
        for (int a = 1; a <= 5; ++a) cell(a - 1, 2, Attack(a));
        for (int g = 1; g <= 4; ++g) cell(g - 1, 4, Guard(g));
        Pose stand;
        stand.arm = 95, stand.canopyAim = -110;
        cell(0, 6, stand);
        for (int column = 1; column <= 2; ++column) {
            bool movingLeft = column == 1;
            // Leaning away from the way the blow carries the figure.
            bool carriedBackwards = movingLeft != mirror;
            Pose hurt;
            hurt.hurt = true;
            hurt.lean = carriedBackwards ? -14 : 14;
            hurt.frontLeg = 20, hurt.backLeg = -20, hurt.arm = -30, hurt.canopyAim = -70;
            cell(column, 6, hurt);
            cairo_save(cr);
            cairo_translate(cr, CellPx * column, CellPx * (6 + facing));
            Streaks(cr, movingLeft);
            cairo_restore(cr);
        }
    }
}

// A crescent slash trail facing right: a coloured glow, then a white edge
// fading toward the inside of the swing.
void Slash(cairo_t* cr, double cx, double cy, double r, double from, double to, double thick, uint32_t colour) {
    auto crescent = [&](double outer, double inner) {
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, outer, from, to);
        cairo_arc_negative(cr, cx + inner * 0.25, cy, outer - inner, to, from);
        cairo_close_path(cr);
    };
    crescent(r + 3, thick + 6);
    SetColour(cr, colour, 0.55);
    cairo_fill(cr);
    crescent(r, thick);
    cairo_pattern_t* g = cairo_pattern_create_radial(cx, cy, r - thick, cx, cy, r);
    cairo_pattern_add_color_stop_rgba(g, 0, ((colour >> 16) & 255) / 255.0, ((colour >> 8) & 255) / 255.0,
                                      (colour & 255) / 255.0, 0.3);
    cairo_pattern_add_color_stop_rgba(g, 0.7, 1, 1, 1, 0.9);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 1);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void DrawEffects(cairo_t* cr) {
    for (int facing = 0; facing < 2; ++facing) {
        bool mirror = facing == 1;
        InCell(cr, 0, StepEffectH * facing, StepEffectW, StepEffectH, mirror,
               [](cairo_t* c) { Slash(c, 62, 50, 44, -1.25, 1.25, 22, 0x6fd6ff); });
        InCell(cr, StepEffectW, StepEffectH * facing, StepEffectW, StepEffectH, mirror,
               [](cairo_t* c) { Slash(c, 60, 62, 52, -1.55, 0.45, 22, 0xffc94a); });
        InCell(cr, 2 * StepEffectW, StepEffectH * facing, StepEffectW, StepEffectH, mirror, [](cairo_t* c) {
            // The lunge: a long streak ahead of the thrust.
            for (int i = 0; i < 4; ++i) {
                double y = 46 + (i - 1.5) * 9, len = 70 - std::fabs(i - 1.5) * 14;
                cairo_move_to(c, 140 - len, y);
                cairo_line_to(c, 146, y + (i - 1.5) * 1.5);
            }
            SetColour(c, 0xffffff, 0.9);
            cairo_set_line_width(c, 5);
            cairo_stroke(c);
            Slash(c, 96, 46, 44, -1.0, 1.0, 20, 0xff7a4a);
        });
        InCell(cr, AirEffectPx * facing, AirEffectTop, AirEffectPx, AirEffectPx, mirror,
               [](cairo_t* c) { Slash(c, 50, 62, 56, -0.7, 2.0, 24, 0xb48cff); });
    }
}

}  // namespace

bool MakeHeroPictures(const std::string& root) {
    Canvas sheet = NewCanvas(SheetPx, SheetPx);
    DrawSheet(sheet.cr);
    bool ok = SavePng(sheet, root + "/Texture/Chara/chara.png");
    Canvas effects = NewCanvas(EffectsPx, EffectsPx);
    DrawEffects(effects.cr);
    ok = SavePng(effects, root + "/Texture/Chara/atk.png") && ok;
    return ok;
}

void DrawHeroUnderCanopy(cairo_t* cr) {
    Pose p;
    p.canopy = Open;
    p.arm = -80;
    p.canopyAim = -90;
    Figure(cr, p);
}
