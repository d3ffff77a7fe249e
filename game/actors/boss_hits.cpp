// The boss's swing and thud against the player.
#include "game/actors/boss.h"
#include "game/actors/hits.h"
#include "game/records.h"

namespace {

// The thud's shock wave: a band along the boss's feet.
constexpr float WaveReachPx = 178.0f;
constexpr float WaveHeightPx = 10.0f;
constexpr int WaveDamage = 10;

// The swing: as tall as the boss, on the side it faces.
constexpr float SwingReachPx = 175.0f;
constexpr int SwingDamage = 30;
constexpr float SwingKnockPx = 20.0f;
constexpr float SwingGuardPushPx = 20.0f;

Box ShockWaveBox() {
    return Box{TruncToInt((double)Boss.x - WaveReachPx), TruncToInt((double)Boss.y - WaveHeightPx),
               (int)(2.0f * WaveReachPx), (int)WaveHeightPx};
}

Box SwingBox() {
    double left = Boss.facing == FacingLeft ? (double)Boss.x - SwingReachPx : Boss.x;
    return Box{TruncToInt(left), TruncToInt((double)Boss.y - Boss.height), (int)SwingReachPx, Boss.height};
}

void SwingHit() {
    ThePlayer.vx = Boss.facing == FacingLeft ? -SwingKnockPx : SwingKnockPx;
    HurtPlayer(SwingDamage);
}

bool IsGuardOrThrust(int guardState) {
    return guardState == GuardForward || guardState == GuardThrustWindUp || guardState == GuardThrustReach;
}

// The canopy held toward the boss takes the swing as a push; held away, the
// rear half is open. False when the guarded player is out of reach of it.
bool SwingAgainstGuard(const Box& swing) {
    bool playerLeft = ThePlayer.facing == FacingLeft;
    bool bossLeft = Boss.facing == FacingLeft;
    if (playerLeft != bossLeft) {
        if (BoxesOverlap(PlayerForwardGuardBox(), swing)) {
            ThePlayer.vx += playerLeft ? SwingGuardPushPx : -SwingGuardPushPx;
        }
        return false;
    }
    if (!BoxesOverlap(PlayerBackHalfBox(), swing)) return false;
    SwingHit();
    return true;
}

void Swing() {
    Box swing = SwingBox();
    int facing = ThePlayer.facing;
    // The thrust's wind-up and reach guard like the forward canopy, either way.
    if ((facing == FacingLeft || facing == FacingRight) && IsGuardOrThrust(ThePlayer.guardState)) {
        if (!SwingAgainstGuard(swing)) return;
    }
    // A hit from behind has dropped the guard: the body is struck as well.
    int guard = ThePlayer.guardState;
    if ((guard == GuardNone || guard == GuardOverhead) && BoxesOverlap(PlayerBodyBox(), swing)) SwingHit();
}

}  // namespace

void BossAttackHitsPlayer() {
    if (ThePlayer.controllable == 0 || ThePlayer.Cnt != 0) return;
    if (Boss.attack == BossThud && Boss.attackCounter < BossStrikeLiveBelow) {
        if (BoxesOverlap(ShockWaveBox(), PlayerBodyBox())) HurtPlayer(WaveDamage);
    }
    if (Boss.attack == BossSwing && Boss.attackCounter < BossStrikeLiveBelow) Swing();
    if (ThePlayer.HP < 0) ThePlayer.HP = 0;
}
