// Box arithmetic that never overflows, whatever the records hold.
#include "game/geometry.h"

#include <climits>
#include <cstdint>

int TruncToInt(double value) {
    if (value != value) return INT_MIN;
    if (value >= 2147483648.0) return INT_MAX;
    if (value <= -2147483649.0) return INT_MIN;
    return (int)value;
}

int RectsOverlap(int ax, int ay, int aw, int ah, int bx, int by, int bw, int bh) {
    return (int64_t)ax < (int64_t)bx + bw && (int64_t)ax + aw > (int64_t)bx && (int64_t)ay < (int64_t)by + bh &&
           (int64_t)ay + ah > (int64_t)by;
}

int BoxesOverlap(const Box& a, const Box& b) {
    return RectsOverlap(a.left, a.top, a.width, a.height, b.left, b.top, b.width, b.height);
}

int ShrinkSize(int size, int margin) {
    return size >= INT_MIN + margin ? size - margin : INT_MIN;
}
