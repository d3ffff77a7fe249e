// The boss: a club-swinging forest ogre whose second form is a horned,
// ember-red brute; the cells of its change between them; the impact of its
// swing.
#include <cmath>

#include "art.h"
#include "content.h"

namespace {

constexpr int CellPx = 256;
constexpr int AttackRowPx = 512;
constexpr int AttackColumns = 7;
constexpr int GrowthCells = 4;
constexpr double BossScale = 1.22;  // fills the 186-pixel hit box
constexpr uint32_t Ink = 0x1d1a2b;

struct Look {
    uint32_t skin, skinDark, belly, club, eye;
    double horns;  // 0 none, 1 full horns and spikes
    double glow;   // aura strength
};

const Look FirstForm = {0x6f8f4a, 0x4a6332, 0xa9b97a, 0x7a5230, 0xfff07a, 0.0, 0.0};
const Look SecondForm = {0xa8323a, 0x6e1e2a, 0xd8875a, 0x4b4f5e, 0x8ff6ff, 1.0, 0.0};

Look Blend(const Look& a, const Look& b, double t) {
    return {MixColour(a.skin, b.skin, t),   MixColour(a.skinDark, b.skinDark, t), MixColour(a.belly, b.belly, t),
            MixColour(a.club, b.club, t),   t < 0.5 ? a.eye : b.eye,              a.horns + (b.horns - a.horns) * t,
            0.0};
}

struct BossPose {
    double rise = 0;      // body lifted (leap)
    double crouch = 0;    // body lowered
    double stride = 0;    // legs apart, degrees
    double arm = 60;      // club arm from the shoulder: 0 forward, -90 up
    double club = -60;    // club direction from the hand
    double otherArm = 80;
    bool holdsNut = false;
};

void Limb(cairo_t* cr, double x0, double y0, double x1, double y1, double width, uint32_t colour) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    SetColour(cr, Ink);
    cairo_set_line_width(cr, width + 5);
    cairo_stroke_preserve(cr);
    SetColour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void Club(cairo_t* cr, double hx, double hy, double angle, const Look& look) {
    cairo_save(cr);
    cairo_translate(cr, hx, hy);
    cairo_rotate(cr, angle * M_PI / 180);
    cairo_move_to(cr, -14, -7);
    cairo_line_to(cr, 40, -10);
    cairo_curve_to(cr, 80, -22, 112, -20, 118, 0);
    cairo_curve_to(cr, 112, 20, 80, 22, 40, 10);
    cairo_line_to(cr, -14, 7);
    cairo_close_path(cr);
    FillStroke(cr, look.club, Ink, 3);
    if (look.horns > 0.3) {
        for (int i = 0; i < 4; ++i) {
            double x = 56 + 18 * i;
            for (int side : {-1, 1}) {
                cairo_move_to(cr, x - 6, side * 15);
                cairo_line_to(cr, x, side * (15 + 14 * look.horns));
                cairo_line_to(cr, x + 6, side * 15);
                cairo_close_path(cr);
                FillStroke(cr, 0xd9d4c8, Ink, 1.5);
            }
        }
    } else {
        for (int i = 0; i < 3; ++i) {
            cairo_move_to(cr, 50 + 22 * i, -8);
            cairo_line_to(cr, 58 + 22 * i, 6);
        }
        SetColour(cr, Ink, 0.6);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

// The boss facing right, feet on the cell's bottom edge.
void Ogre(cairo_t* cr, const BossPose& p, const Look& look) {
    cairo_save(cr);
    cairo_translate(cr, 128, 255);
    cairo_scale(cr, BossScale, BossScale);
    cairo_translate(cr, -128, -255);
    double lift = p.rise - p.crouch;
    double hipY = 192 - lift, shoulderY = 112 - lift;
    if (look.glow > 0) {
        cairo_pattern_t* g = cairo_pattern_create_radial(128, 150 - lift, 20, 128, 150 - lift, 128);
        cairo_pattern_add_color_stop_rgba(g, 0, 1.0, 0.85, 0.4, 0.7 * look.glow);
        cairo_pattern_add_color_stop_rgba(g, 1, 1.0, 0.3, 0.2, 0.0);
        cairo_set_source(cr, g);
        cairo_paint(cr);
        cairo_pattern_destroy(g);
    }
    double s = p.stride * M_PI / 180;
    double legLen = 62 - p.crouch * 0.6 + (p.rise > 0 ? -12 : 0);
    Limb(cr, 112, hipY, 112 - legLen * std::sin(s), std::min(252.0, hipY + legLen * std::cos(s)), 26, look.skinDark);
    // Far arm first, behind the body.
    double oa = p.otherArm * M_PI / 180;
    Limb(cr, 112, shoulderY + 8, 112 + 50 * std::cos(oa) - 20, shoulderY + 8 + 50 * std::sin(oa), 22, look.skinDark);
    Ellipse(cr, 126, 152 - lift, 64, 58);
    FillStroke(cr, look.skin, Ink, 3);
    Ellipse(cr, 138, 166 - lift, 36, 34);
    SetColour(cr, look.belly);
    cairo_fill(cr);
    Limb(cr, 144, hipY, 144 + legLen * std::sin(s), std::min(252.0, hipY + legLen * std::cos(s)), 26, look.skin);
    // Head, brow, tusks, horns.
    double hx = 150, hy = 78 - lift;
    if (look.horns > 0) {
        for (int side : {-1, 1}) {
            double bx = hx + side * 18 - 4;
            cairo_move_to(cr, bx - 8, hy - 22);
            cairo_curve_to(cr, bx + side * 10, hy - 40 - 20 * look.horns, bx + side * 22, hy - 50 * look.horns,
                           bx + side * 26, hy - 30 - 38 * look.horns);
            cairo_curve_to(cr, bx + side * 10, hy - 30, bx + 8, hy - 24, bx + 8, hy - 20);
            cairo_close_path(cr);
            FillStroke(cr, 0xe9e0cc, Ink, 2, 0.3 + 0.7 * look.horns);
        }
    }
    cairo_arc(cr, hx, hy, 34, 0, 2 * M_PI);
    FillStroke(cr, look.skin, Ink, 3);
    StrokeLine(cr, hx - 8, hy - 12, hx + 30, hy - 8, Ink, 5);
    Ellipse(cr, hx + 16, hy - 1, 7, 6);
    SetColour(cr, look.eye);
    cairo_fill_preserve(cr);
    SetColour(cr, Ink);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_move_to(cr, hx + 4, hy + 16);
    cairo_line_to(cr, hx + 30, hy + 14);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    for (double tx : {hx + 8, hx + 24}) {
        cairo_move_to(cr, tx - 3, hy + 16);
        cairo_line_to(cr, tx, hy + 4);
        cairo_line_to(cr, tx + 3, hy + 16);
        cairo_close_path(cr);
        FillStroke(cr, 0xf6f0e0, Ink, 1.2);
    }
    // Near arm with the club or a coconut.
    double a = p.arm * M_PI / 180;
    double handX = 150 + 56 * std::cos(a), handY = shoulderY + 56 * std::sin(a);
    if (!p.holdsNut) Club(cr, handX, handY, p.club, look);
    Limb(cr, 150, shoulderY, handX, handY, 24, look.skin);
    cairo_arc(cr, handX, handY, 13, 0, 2 * M_PI);
    FillStroke(cr, look.skin, Ink, 2.5);
    if (p.holdsNut) {
        cairo_arc(cr, handX + 10, handY - 6, 14, 0, 2 * M_PI);
        FillStroke(cr, 0x7a4a26, Ink, 2);
    }
    cairo_restore(cr);
}

BossPose WalkPose(int column) {
    BossPose p;
    p.stride = column == 0 ? 16 : -16;
    p.arm = 70, p.club = -70, p.otherArm = column == 0 ? 110 : 70;
    return p;
}

BossPose AttackPose(int column) {
    BossPose p;
    switch (column) {
    case 0: p.arm = -120, p.club = -150, p.stride = 12, p.crouch = 6; break;  // swing wind-up
    case 1: p.arm = 10, p.club = 5, p.stride = 24, p.crouch = 10; break;      // swing
    case 2: p.arm = -95, p.club = -100, p.stride = 8; break;                  // thud wind-up
    case 3: p.arm = 40, p.club = 60, p.stride = 26, p.crouch = 24; break;     // thud
    case 4: p.crouch = 30, p.stride = 30, p.arm = 100, p.club = 140; break;   // leap crouch
    case 5: p.rise = 8, p.stride = 10, p.arm = -60, p.club = -80, p.otherArm = -60; break;  // in the air
    default: p.arm = -10, p.holdsNut = true, p.stride = 14, p.otherArm = 100; break;        // throw
    }
    return p;
}

void DrawForm(cairo_t* cr, const Look& look) {
    for (int facing = 0; facing < 2; ++facing) {
        for (int c = 0; c < 2; ++c)
            InCell(cr, CellPx * c, CellPx * facing, CellPx, CellPx, facing == 1,
                   [&](cairo_t* x) { Ogre(x, WalkPose(c), look); });
        for (int c = 0; c < AttackColumns; ++c)
            InCell(cr, CellPx * c, AttackRowPx + CellPx * facing, CellPx, CellPx, facing == 1,
                   [&](cairo_t* x) { Ogre(x, AttackPose(c), look); });
    }
}

void Impact(cairo_t* cr) {
    for (int ring = 0; ring < 3; ++ring) {
        cairo_new_path(cr);
        cairo_arc(cr, 20, 80, 60 + 24 * ring, -1.2, 1.0);
        SetColour(cr, ring == 1 ? 0xffd36a : 0xffffff, 0.85 - 0.22 * ring);
        cairo_set_line_width(cr, 14 - 4 * ring);
        cairo_stroke(cr);
    }
    Rng rng(0x1a9ac7u);
    for (int i = 0; i < 14; ++i) {
        double a = rng.Range(-1.1, 1.0), r0 = rng.Range(50, 80), r1 = r0 + rng.Range(20, 45);
        cairo_move_to(cr, 20 + r0 * std::cos(a), 80 + r0 * std::sin(a));
        cairo_line_to(cr, 20 + r1 * std::cos(a), 80 + r1 * std::sin(a));
    }
    SetColour(cr, 0xfff4c0, 0.9);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

}  // namespace

bool MakeBossPictures(const std::string& root) {
    Canvas first = NewCanvas(2048, 1024);
    DrawForm(first.cr, FirstForm);
    bool ok = SavePng(first, root + "/Texture/Enemy/Boss.png");
    Canvas second = NewCanvas(2048, 1024);
    DrawForm(second.cr, SecondForm);
    ok = SavePng(second, root + "/Texture/Enemy/Boss2.png") && ok;
    // Cell 3 shows first, cell 0 last: from the old form toward the new.
    Canvas growth = NewCanvas(1024, 256);
    for (int cell = 0; cell < GrowthCells; ++cell) {
        Look look = Blend(FirstForm, SecondForm, (GrowthCells - 1 - cell) / 3.0);
        look.glow = 0.4 + 0.2 * (GrowthCells - 1 - cell);
        BossPose pose;
        pose.arm = -70 - 10 * cell, pose.club = -90, pose.otherArm = -50, pose.stride = 14;
        InCell(growth.cr, CellPx * cell + 1, 0, CellPx - 2, CellPx, false,
               [&](cairo_t* x) { Ogre(x, pose, look); });
    }
    ok = SavePng(growth, root + "/Texture/Enemy/成長.png") && ok;
    Canvas impact = NewCanvas(256, 512);
    for (int facing = 0; facing < 2; ++facing)
        InCell(impact.cr, 0, CellPx * facing, CellPx, CellPx, facing == 1, [&](cairo_t* x) {
            if (facing == 1) {
                // Facing left the picture is placed further right of the club;
                // keep the burst in the cell's left part, opening leftwards.
                cairo_translate(x, 126, 0);
            }
            Impact(x);
        });
    ok = SavePng(impact, root + "/Texture/Enemy/syougeki.png") && ok;
    return ok;
}
