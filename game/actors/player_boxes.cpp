// The player's defensive boxes and the hurt step, used by the damage and
// boss code.
#include "game/actors/hits.h"
#include "game/records.h"

namespace {

// Body
constexpr double BodyHalfWidthPx = 21.0;
constexpr int BodyWidthPx = 42;
constexpr int BodyHeightPx = 96;
constexpr int LowBodyHeightPx = 64;

// Canopy boxes in front of the body
constexpr int CanopyDepthPx = 32;
constexpr double GuardNearPx = 13.0;   // forward guard starts this far from the centre
constexpr double ThrustNearPx = 16.0;  // the thrust reaches a little further
constexpr double OverheadHalfWidthPx = 48.0;
constexpr int OverheadHeightPx = 32;

// Hurt
constexpr float HurtHopSpeedPx = -5.0f;
constexpr int HurtCnt = 100;

// Each corner is the truncation of the whole float expression.
int Trunc(float base, double offset) {
    return TruncToInt((double)base + offset);
}

int BodyTop() {
    return Trunc(ThePlayer.y, -(double)BodyHeightPx);
}

// A canopy-deep box on the side the player faces, `nearPx` from its centre.
Box FrontBox(double nearPx) {
    const float x = ThePlayer.x;
    const int left = ThePlayer.facing == FacingLeft ? Trunc(x, -(nearPx + CanopyDepthPx)) : Trunc(x, nearPx);
    return Box{left, BodyTop(), CanopyDepthPx, BodyHeightPx};
}

}  // namespace

Box PlayerBodyBox() {
    return Box{Trunc(ThePlayer.x, -BodyHalfWidthPx), BodyTop(), BodyWidthPx, BodyHeightPx};
}

Box PlayerForwardGuardBox() {
    return FrontBox(GuardNearPx);
}

Box PlayerThrustReachBox() {
    return FrontBox(ThrustNearPx);
}

Box PlayerBackHalfBox() {
    const int left = ThePlayer.facing == FacingLeft ? Trunc(ThePlayer.x, 0.0) : Trunc(ThePlayer.x, -BodyHalfWidthPx);
    return Box{left, BodyTop(), BodyWidthPx / 2, BodyHeightPx};
}

Box PlayerOverheadBox() {
    return Box{Trunc(ThePlayer.x, -OverheadHalfWidthPx), BodyTop(), 2 * (int)OverheadHalfWidthPx, OverheadHeightPx};
}

Box PlayerLowBodyBox() {
    return Box{Trunc(ThePlayer.x, -BodyHalfWidthPx), Trunc(ThePlayer.y, -(double)LowBodyHeightPx), BodyWidthPx,
               LowBodyHeightPx};
}

void HurtPlayer(int damage) {
    Player& p = ThePlayer;
    p.HP -= damage;
    p.vy = HurtHopSpeedPx;
    p.attackState = AttackNone;
    p.attackCount = 0;
    p.guardState = GuardNone;
    p.airborne = OnGround;
    p.Cnt = HurtCnt;
    p.controllable = 0;
}
