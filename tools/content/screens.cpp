// Life bars, the title's rain, logo, picture and menu, the farewell, the
// continue screens and the stage-clear picture. Screen pictures are
// 640 x 480 in the top-left of a 1024 x 512 canvas.
#include <cmath>

#include "art.h"
#include "content.h"

namespace {

constexpr int ScreenW = 640, ScreenH = 480;
constexpr int CanvasW = 1024, CanvasH = 512;
constexpr int BarTop = 13, BarHeight = 17;  // the fill's rows
constexpr int PlayerBarPx = 300;            // full life
constexpr int BossBarPx = 300;
constexpr int EdgeOverhangPx = 4;  // how far a bar runs on past the screen's edge
constexpr int LabelInsetPx = 8;    // a bar's label from the screen's edge
constexpr int MenuW = 160, MenuH = 100;
constexpr int RainPeriodPx = 480;
constexpr uint32_t Ink = 0x1d1a2b;
constexpr uint32_t Gold = 0xffd66b;
constexpr uint32_t Night = 0x141d33;

// A bar that runs on past the screen's edge (square there, out of sight)
// and ends round at innerEnd, with its label fully on screen below it. The
// fill starts right at the edge, so the last points of life still show.
void BarPanel(cairo_t* cr, double innerEnd, bool offLeftEdge, const char* label) {
    const double top = BarTop - 5, bottom = BarTop + BarHeight + 5, r = 6;
    const double edge = offLeftEdge ? -EdgeOverhangPx : ScreenW + EdgeOverhangPx;
    cairo_new_path(cr);
    if (offLeftEdge) {
        cairo_move_to(cr, edge, top);
        cairo_arc(cr, innerEnd - r, top + r, r, -M_PI / 2, 0);
        cairo_arc(cr, innerEnd - r, bottom - r, r, 0, M_PI / 2);
        cairo_line_to(cr, edge, bottom);
    } else {
        cairo_move_to(cr, edge, bottom);
        cairo_arc(cr, innerEnd + r, bottom - r, r, M_PI / 2, M_PI);
        cairo_arc(cr, innerEnd + r, top + r, r, M_PI, 1.5 * M_PI);
        cairo_line_to(cr, edge, top);
    }
    cairo_close_path(cr);
    FillStroke(cr, 0x101421, 0xe8e2d0, 2, 0.8);
    DrawOutlinedText(cr, label, offLeftEdge ? LabelInsetPx : ScreenW - LabelInsetPx, bottom + 19, 14, 0xffffff,
                     Ink, 3, offLeftEdge ? 0 : 2);
}

void BarFill(cairo_t* cr, double left, double width, uint32_t from, uint32_t to) {
    cairo_pattern_t* g = cairo_pattern_create_linear(left, 0, left + width, 0);
    cairo_pattern_add_color_stop_rgb(g, 0, ((from >> 16) & 255) / 255.0, ((from >> 8) & 255) / 255.0,
                                     (from & 255) / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 1, ((to >> 16) & 255) / 255.0, ((to >> 8) & 255) / 255.0, (to & 255) / 255.0);
    cairo_rectangle(cr, left, BarTop, width, BarHeight);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_rectangle(cr, left, BarTop + 2, width, 4);
    SetColour(cr, 0xffffff, 0.35);
    cairo_fill(cr);
}

bool LifeBars(const std::string& root) {
    Canvas frame = NewCanvas(512, 512);
    BarPanel(frame.cr, PlayerBarPx + 6, true, "LIFE");
    bool ok = SavePng(frame, root + "/Texture/Chara/ライフバー.png");
    Canvas fill = NewCanvas(512, 512);
    BarFill(fill.cr, 0, PlayerBarPx, 0x3fbf5a, 0xc8f06a);
    ok = SavePng(fill, root + "/Texture/Chara/ライフ.png") && ok;
    // The boss's bar is anchored to the right edge of the screen.
    Canvas bossFrame = NewCanvas(1024, 256);
    BarPanel(bossFrame.cr, ScreenW - BossBarPx - 6, false, "BOSS");
    ok = SavePng(bossFrame, root + "/Texture/Enemy/ライフバー.png") && ok;
    Canvas bossFill = NewCanvas(1024, 256);
    BarFill(bossFill.cr, ScreenW - BossBarPx, BossBarPx, 0xff9a3c, 0xd8283a);
    ok = SavePng(bossFill, root + "/Texture/Enemy/ライフ.png") && ok;
    return ok;
}

// Streaks that wrap at the bottom, so two copies stacked 480 pixels apart tile.
bool Rain(const std::string& root) {
    Canvas c = NewCanvas(CanvasW, CanvasH);
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 0, 0, CanvasW, CanvasH);
    SetColour(cr, Night);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, 0, ScreenW, ScreenH);
    cairo_clip(cr);
    Rng rng(0x7a1b0ddu);
    for (int i = 0; i < 260; ++i) {
        double x = rng.Range(0, ScreenW), y = rng.Range(0, RainPeriodPx), len = rng.Range(14, 34);
        double bright = rng.Range(0.25, 0.7);
        for (double wrap : {-RainPeriodPx, 0, RainPeriodPx}) {
            cairo_move_to(cr, x, y + wrap);
            cairo_line_to(cr, x - len * 0.18, y + wrap + len);
        }
        SetColour(cr, 0xa9c4ec, bright);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
    }
    return SaveBmp(c, root + "/Texture/スタートメニュー/Rain.bmp");
}

bool Logo(const std::string& root) {
    Canvas c = NewCanvas(CanvasW, CanvasH);
    cairo_t* cr = c.cr;
    // A canopy arching over the name.
    cairo_new_path(cr);
    cairo_arc(cr, 320, 190, 170, M_PI * 1.12, M_PI * 1.88);
    SetColour(cr, 0xe0483c, 0.9);
    cairo_set_line_width(cr, 10);
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_arc(cr, 320, 190, 156, M_PI * 1.15, M_PI * 1.85);
    SetColour(cr, 0xf6e7c8, 0.8);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_new_path(cr);
    DrawText(cr, "Kestoria", 322, 164, 84, true, 1);
    SetColour(cr, 0x000000, 0.5);
    cairo_fill(cr);
    DrawOutlinedText(cr, "Kestoria", 320, 160, 84, 0xf6e7c8, 0x2a1e3c, 8, 1);
    DrawOutlinedText(cr, "the canopy-bearer", 320, 196, 22, Gold, Ink, 4, 1);
    return SavePng(c, root + "/Texture/スタートメニュー/kestoria.png");
}

bool TitlePicture(const std::string& root) {
    Canvas c = NewCanvas(CanvasW, CanvasH);
    cairo_t* cr = c.cr;
    // A dark hill at the bottom, the hero on its crest under the canopy.
    cairo_move_to(cr, 0, ScreenH);
    cairo_line_to(cr, 0, 430);
    cairo_curve_to(cr, 180, 400, 420, 380, 520, 392);
    cairo_curve_to(cr, 580, 398, 620, 410, ScreenW, 420);
    cairo_line_to(cr, ScreenW, ScreenH);
    cairo_close_path(cr);
    SetColour(cr, 0x0c1020);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, 452, 254);
    cairo_scale(cr, 1.5, 1.5);
    DrawHeroUnderCanopy(cr);
    cairo_restore(cr);
    DrawOutlinedText(cr, "Z jump   X strike   C canopy   Enter choose", 320, 468, 13, 0xd9e2f2, Ink, 3, 1);
    return SavePng(c, root + "/Texture/スタートメニュー/title.png");
}

bool Menu(const std::string& root) {
    Canvas c = NewCanvas(256, 256);
    cairo_t* cr = c.cr;
    const char* entries[2] = {"START", "QUIT"};
    for (int cursor = 0; cursor < 2; ++cursor) {
        double top = MenuH * cursor;
        RoundedRect(cr, 4, top + 4, MenuW - 8, MenuH - 8, 10);
        FillStroke(cr, 0x101421, 0xe8e2d0, 2, 0.75);
        for (int e = 0; e < 2; ++e) {
            double y = top + 42 + 34 * e;
            bool on = e == cursor;
            DrawOutlinedText(cr, entries[e], 88, y, 24, on ? Gold : 0x8d93a8, Ink, 4, 1);
            if (on) {
                cairo_move_to(cr, 22, y - 18);
                cairo_line_to(cr, 36, y - 9);
                cairo_line_to(cr, 22, y);
                cairo_close_path(cr);
                FillStroke(cr, 0xe0483c, Ink, 1.5);
            }
        }
    }
    return SavePng(c, root + "/Texture/スタートメニュー/menu.png");
}

void NightBackdrop(cairo_t* cr, uint32_t top, uint32_t bottom) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, ScreenH);
    cairo_pattern_add_color_stop_rgb(g, 0, ((top >> 16) & 255) / 255.0, ((top >> 8) & 255) / 255.0,
                                     (top & 255) / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 1, ((bottom >> 16) & 255) / 255.0, ((bottom >> 8) & 255) / 255.0,
                                     (bottom & 255) / 255.0);
    cairo_rectangle(cr, 0, 0, CanvasW, CanvasH);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

bool Farewell(const std::string& root) {
    Canvas c = NewCanvas(CanvasW, CanvasH);
    NightBackdrop(c.cr, 0x0b0f1e, 0x25304f);
    DrawOutlinedText(c.cr, "See you again", 320, 250, 54, 0xf6e7c8, 0x2a1e3c, 6, 1);
    DrawOutlinedText(c.cr, "thank you for playing", 320, 292, 20, Gold, Ink, 3, 1);
    return SaveBmp(c, root + "/Texture/スタートメニュー/SeeYouAgain.bmp");
}

bool ContinuePicture(const std::string& root, int cursor, const char* file) {
    Canvas c = NewCanvas(CanvasW, CanvasH);
    cairo_t* cr = c.cr;
    NightBackdrop(cr, 0x1c0a14, 0x3a1424);
    DrawOutlinedText(cr, "Continue?", 320, 190, 60, 0xf6e7c8, 0x2a1e3c, 6, 1);
    const char* entries[2] = {"Continue", "Give up"};
    for (int e = 0; e < 2; ++e) {
        double cx = e == 0 ? 200 : 440;
        bool on = e == cursor;
        RoundedRect(cr, cx - 90, 250, 180, 60, 12);
        FillStroke(cr, on ? 0x5a2036 : 0x24101a, on ? Gold : 0x6a5060, on ? 3 : 1.5);
        DrawOutlinedText(cr, entries[e], cx, 290, 28, on ? Gold : 0x9a8a94, Ink, 4, 1);
    }
    DrawOutlinedText(cr, "Left / Right to choose, Enter to confirm", 320, 370, 16, 0xd9c8d0, Ink, 3, 1);
    return SaveBmp(c, root + "/Texture/その他/" + file);
}

bool StageClear(const std::string& root) {
    Canvas c = NewCanvas(CanvasW, CanvasH);
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 0, 150, ScreenW, 170);
    SetColour(cr, 0x0b0f1e, 0.65);
    cairo_fill(cr);
    for (double y : {150.0, 320.0}) {
        cairo_move_to(cr, 0, y);
        cairo_line_to(cr, ScreenW, y);
    }
    SetColour(cr, Gold);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    DrawOutlinedText(cr, "STAGE CLEAR", 320, 250, 64, Gold, 0x3a1e0c, 8, 1);
    DrawOutlinedText(cr, "Press Enter", 320, 295, 22, 0xffffff, Ink, 4, 1);
    return SavePng(c, root + "/Texture/その他/ステージクリアー.png");
}

}  // namespace

bool MakeScreenPictures(const std::string& root) {
    bool ok = LifeBars(root);
    ok = Rain(root) && ok;
    ok = Logo(root) && ok;
    ok = TitlePicture(root) && ok;
    ok = Menu(root) && ok;
    ok = Farewell(root) && ok;
    ok = ContinuePicture(root, 0, "こんてぃにゅ～.bmp") && ok;
    ok = ContinuePicture(root, 1, "こんてぃにゅ～2.bmp") && ok;
    ok = StageClear(root) && ok;
    return ok;
}
