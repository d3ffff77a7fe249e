// Keeping an actor out of the stage's solid pixels, once a frame.
#include "game/stage/stage.h"

#include "game/geometry.h"
#include "game/records.h"

namespace {

constexpr int ProbeReachPx = 300;      // how far each probe looks
constexpr int WallProbeTrimPx = 5;     // rows at head and feet left to the floor and ceiling probes
constexpr int FloorFollowDropPx = 20;  // a grounded actor loses a floor this far below its feet

// Each probe starts from the actor's position as it stands after the
// pushes of the probes before it.
int ProbeX(const float* x) { return TruncToInt(*x); }
int ProbeMid(const float* y, int half) { return TruncToInt((double)*y - half); }

}  // namespace

void CollideWithMap(float* x, float* y, int w, int h, int* airborne, float* vy) {
    const int half = h / 2;
    const int band = half - WallProbeTrimPx;
    const int hq = w / 4;
    const int footHalf = hq - 1;
    int f = 0;

    // Right wall.
    if (ScanMap(ProbeX(x), ProbeMid(y, half), &f, ScanRight, band, ProbeReachPx) && f <= hq) *x -= (float)(hq - f);

    // Left wall.
    if (ScanMap(ProbeX(x), ProbeMid(y, half), &f, ScanLeft, band, ProbeReachPx) && f <= hq) *x += (float)(hq - f);

    // Floor.
    if (!ScanMap(ProbeX(x), ProbeMid(y, half), &f, ScanDown, footHalf, ProbeReachPx)) {
        // A glide goes on over a drop.
        if (*airborne != Gliding) *airborne = InAir;
    } else if (*airborne == OnGround) {
        if (f >= half + FloorFollowDropPx) {
            *airborne = InAir;
        } else if (*vy < 0) {
            *airborne = InAir;
        } else {
            *y += (float)(f - half);
            *vy = 0;
        }
    } else if (f <= half) {
        *y += (float)(f - half);
        if (*vy >= 0) {
            *vy = 0;
            *airborne = OnGround;
        }
    }

    // Ceiling.
    if (ScanMap(ProbeX(x), ProbeMid(y, half), &f, ScanUp, footHalf, ProbeReachPx) && f < half) {
        *y += (float)(half - f);
        if (*vy < 0) *vy = 0;
    }
}
