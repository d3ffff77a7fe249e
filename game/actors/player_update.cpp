// The player's motion for one frame, in the order the game relies on:
// death, knock-back or own motion, then the hit timer.
#include "game/actors/player.h"

#include <cmath>

#include "game/actors/motion.h"
#include "game/frame.h"
#include "game/records.h"
#include "game/sounds.h"

namespace {

// Falling
constexpr float GlideFallSpeedPx = 1.5f;
constexpr float DeathDepthPx = 1124.0f;  // feet below this: fallen out of the stage

// Footsteps
constexpr float FootstepAAt = 0.5f;
constexpr float FootstepBFrom = 2.5f;
constexpr float FootstepBBelow = 2.6f;

// Lunge reach from where the step began
constexpr float LungeReachPx = 50.0f;
constexpr float FinisherLungeReachPx = 20.0f;

// Attack and hit timing
constexpr int AerialStrikeBelowCount = 25;
constexpr int KnockBackEndsBelowCnt = 60;

void KnockBack(Player& p) {
    const int cntOnEntry = p.Cnt;
    Fall(&p.vy);
    p.x += p.vx;
    p.y += p.vy;
    if (cntOnEntry < KnockBackEndsBelowCnt) p.controllable = 1;
}

void Lunge(Player& p) {
    if (p.attackState < AttackStep1 || p.attackState > AttackFinisher) {
        p.vx = 0;
        return;
    }
    const float fromStart = std::fabs(p.x - p.attackStartX);
    const float reach = p.attackState == AttackFinisher ? FinisherLungeReachPx : LungeReachPx;
    if (fromStart >= reach) return;
    if (p.facing == FacingLeft) {
        p.x -= p.vx;
    } else {
        p.x += p.vx;
    }
}

void CountAttack(Player& p) {
    p.attackCount -= 1;
    if (p.attackCount < 0) {
        p.attackStartX = 0;
        p.attackStartY = 0;
        p.attackCount = 0;
        p.attackState = AttackNone;
    } else if (p.attackState == AttackAerialWindUp && p.attackCount < AerialStrikeBelowCount) {
        PlayEffect(SlotComboStep2);
        p.attackState = AttackAerialStrike;
    }
}

void OwnMotion(Player& p) {
    if (p.airborne == OnGround && p.attackState == AttackNone && p.guardState == GuardNone) {
        const int slot = FootstepSlot(p.animation);
        if (slot != 0) PlayEffect(slot);
    }
    // A guarding player is pushed by whatever hit its canopy.
    if (p.guardState != GuardNone) p.x += p.vx;
    // The fall uses the speed from before this frame's gravity.
    p.y += p.vy;
    Fall(&p.vy);
    if (p.airborne == Gliding) p.vy = GlideFallSpeedPx;
    Lunge(p);
    CountAttack(p);
    // The aerial strike ends on landing.
    if (p.airborne == OnGround && p.attackState == AttackAerialStrike) p.attackState = AttackNone;
}

}  // namespace

int FootstepSlot(float animation) {
    if (animation == FootstepAAt) return SlotFootstepA;
    if (animation >= FootstepBFrom && animation < FootstepBBelow) return SlotFootstepB;
    return 0;
}

void UpdatePlayer() {
    Player& p = ThePlayer;
    // Death does not end the frame's motion.
    if (p.HP <= 0) Scene = SceneContinue;
    if (p.y > DeathDepthPx) {
        p.HP = 0;
        Scene = SceneContinue;
    }
    if (p.controllable != 1) {
        KnockBack(p);
    } else {
        OwnMotion(p);
    }
    p.Cnt -= 1;
    if (p.Cnt < 0) p.Cnt = 0;
}
