// Integer boxes and the truncation that makes them, for the stage, the hits and the drawing.
#pragma once

// An integer box: left, top, width, height.
struct Box {
    int left, top, width, height;
};

// Truncation toward zero for positions, box corners and probes; values
// beyond the int range saturate (NaN gives the lowest int).
int TruncToInt(double value);
// Half-open box test; touching edges do not overlap.
int RectsOverlap(int ax, int ay, int aw, int ah, int bx, int by, int bw, int bh);
// RectsOverlap of two boxes: 1 when they overlap.
int BoxesOverlap(const Box& a, const Box& b);
// A box size less a margin, never wrapping below the lowest int.
int ShrinkSize(int size, int margin);
