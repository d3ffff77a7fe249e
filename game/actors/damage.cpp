// What shots and bodies do to the player, and what the canopy does to them.
#include "game/actors/hits.h"
#include "game/records.h"

namespace {

constexpr int ShotDamage = 5;
constexpr int ContactDamage = 10;
constexpr int ActorMarginPx = 5;  // each side of an actor's body box
constexpr float GuardPushLeftPx = 12.0f;
constexpr float GuardPushRightPx = 10.0f;
constexpr float ThrustThrowPx = 100.0f;
constexpr float OverheadLiftPx = 10.0f;
constexpr float KnockBackPx = 5.0f;

Box ShotBox(const Shot& s) {
    return Box{TruncToInt(s.x), TruncToInt(s.y), s.width, s.height};
}

bool FacesEitherWay() {
    return ThePlayer.facing == FacingLeft || ThePlayer.facing == FacingRight;
}

void ClampPlayerHp() {
    if (ThePlayer.HP <= 0) ThePlayer.HP = 0;
}

void HitByShot(Shot* s) {
    ThePlayer.HP -= ShotDamage;
    s->active = 0;
}

// The facing side: the canopy in front blocks, the rear half is hurt.
void FacingStep(Shot* s, const Box& shot) {
    if (ThePlayer.guardState == GuardNone || !FacesEitherWay()) return;
    if (BoxesOverlap(PlayerForwardGuardBox(), shot)) {
        s->active = 0;
    } else if (BoxesOverlap(PlayerBackHalfBox(), shot)) {
        HitByShot(s);
    }
}

void GuardStep(Shot* s, const Box& shot) {
    if (ThePlayer.guardState == GuardOverhead) {
        if (BoxesOverlap(PlayerOverheadBox(), shot)) {
            s->active = 0;
        } else if (BoxesOverlap(PlayerLowBodyBox(), shot)) {
            HitByShot(s);
        }
    } else if (ThePlayer.guardState == GuardNone) {
        HitByShot(s);
    }
}

// The forward canopy pushes, the thrust throws; reaching past them from
// behind hurts.
void CanopyStep(float* x, const Box& actor) {
    bool left = ThePlayer.facing == FacingLeft;
    if (ThePlayer.guardState == GuardForward && BoxesOverlap(PlayerForwardGuardBox(), actor)) {
        *x += left ? -GuardPushLeftPx : GuardPushRightPx;
    } else if (ThePlayer.guardState == GuardThrustReach &&
               BoxesOverlap(PlayerThrustReachBox(), actor)) {
        *x += left ? -ThrustThrowPx : ThrustThrowPx;
    } else if (BoxesOverlap(PlayerBackHalfBox(), actor)) {
        ThePlayer.vx = left ? -KnockBackPx : KnockBackPx;
        HurtPlayer(ContactDamage);
    }
}

void BodyStep(float x, const Box& actor) {
    if (!BoxesOverlap(PlayerBodyBox(), actor)) return;
    if (x < ThePlayer.x) {
        ThePlayer.vx = KnockBackPx;
    } else if (x > ThePlayer.x) {
        ThePlayer.vx = -KnockBackPx;
    }
    HurtPlayer(ContactDamage);
}

}  // namespace

// Corners are truncated from the whole expression, never from a rounded
// intermediate.
Box ActorBox(float x, float y, int w, int h) {
    return Box{TruncToInt((double)x - w / 2 + ActorMarginPx), TruncToInt((double)y - h),
               ShrinkSize(w, 2 * ActorMarginPx), h};
}

void ShotsHitPlayer() {
    for (Shot& s : Shots) {
        if (s.active == 0 || ThePlayer.Cnt != 0) continue;
        Box shot = ShotBox(s);
        if (!BoxesOverlap(PlayerBodyBox(), shot)) continue;
        FacingStep(&s, shot);
        if (s.active != 0) GuardStep(&s, shot);
        ClampPlayerHp();
    }
}

void ActorTouchesPlayer(float* x, float* y, int w, int h, int airborne, int state) {
    if (ThePlayer.controllable == 0 || state != EnemyActive || ThePlayer.Cnt != 0) return;
    if (FacesEitherWay() &&
        (ThePlayer.guardState == GuardForward || ThePlayer.guardState == GuardThrustReach)) {
        CanopyStep(x, ActorBox(*x, *y, w, h));
    }
    if (ThePlayer.guardState == GuardOverhead && airborne != OnGround) {
        // An actor in the air never hurts a player holding the canopy overhead.
        if (BoxesOverlap(PlayerOverheadBox(), ActorBox(*x, *y, w, h))) *y -= OverheadLiftPx;
    } else {
        BodyStep(*x, ActorBox(*x, *y, w, h));
    }
    ClampPlayerHp();
}
