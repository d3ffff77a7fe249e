// The player's keys, read once a frame in a fixed order: movement, the
// attack key, the canopy key.
#include "game/actors/player.h"

#include "game/frame.h"
#include "game/records.h"
#include "game/sounds.h"

int ZFlag;
int XFlag;
int GuardKeyHeld;

namespace {

constexpr int KeyCanopy = 0x43;  // C
constexpr int KeyAttack = 0x58;  // X
constexpr int KeyJump = 0x5A;    // Z

// Walking
constexpr float WalkSpeedPx = 5.0f;
constexpr float WalkStepCols = 0.1f;  // single precision: the footsteps rely on it
constexpr float WalkCycleEndCols = 4.0f;
constexpr float WalkCycleRestartCols = 0.1f;

// Jumping
constexpr float JumpSpeedPx = 8.0f;

// Attacks
constexpr int AttackFrames = 30;
constexpr int FinisherFrames = 50;
constexpr int ThrustFrames = 10;
constexpr int ThrustReachFrames = 3;  // the count's last frames are the reach
constexpr float LungeSpeedPx = 10.0f;

// Walking, the jump and the glide.
void MoveByKeys(const unsigned char* keys) {
    Player& p = ThePlayer;
    if (KeyDown(keys, VK_LEFT)) {
        p.facing = FacingLeft;
        p.x -= WalkSpeedPx;
    } else if (KeyDown(keys, VK_RIGHT)) {
        p.facing = FacingRight;
        p.x += WalkSpeedPx;
    }
    if (KeyDown(keys, VK_LEFT) || KeyDown(keys, VK_RIGHT)) {
        p.animation += WalkStepCols;
        if (p.animation >= WalkCycleEndCols) p.animation = WalkCycleRestartCols;
    } else {
        p.animation = 0;
    }

    if (!KeyDown(keys, KeyJump)) {
        ZFlag = 0;
        return;
    }
    if (ZFlag != 0) return;
    ZFlag = 1;
    if (p.airborne == OnGround) {
        p.vy -= JumpSpeedPx;
        p.airborne = InAir;
        PlayEffect(SlotJump);
    }
    // A second press once falling opens the canopy.
    if (p.airborne == InAir && p.vy > 0 && p.attackState == AttackNone && p.guardState == GuardNone) {
        PlayEffect(SlotCanopy);
        p.airborne = Gliding;
    }
}

int AttackRefused() {
    const Player& p = ThePlayer;
    return p.airborne == Gliding || p.attackState == AttackFinisher || p.attackCount >= FinisherFrames ||
           p.guardState >= GuardOverhead || XFlag == 1 || p.attackState == AttackAerialStrike;
}

void AttackByKey(const unsigned char* keys) {
    Player& p = ThePlayer;
    if (!KeyDown(keys, KeyAttack)) {
        XFlag = 0;
        return;
    }
    // A refused press changes nothing, not even the latch.
    if (AttackRefused()) return;
    XFlag = 1;
    if (p.guardState == GuardForward) {
        p.attackCount = ThrustFrames;
        return;
    }
    p.attackStartX = p.x;
    p.attackStartY = p.y;
    p.attackCount = AttackFrames;
    if (p.airborne != OnGround) {
        p.attackState = AttackAerialWindUp;
        return;
    }
    p.vx = LungeSpeedPx;
    switch (p.attackState) {
    case AttackNone:
        p.attackState = AttackStep1;
        PlayEffect(SlotComboStep1);
        break;
    case AttackStep1:
        p.attackState = AttackStep2;
        PlayEffect(SlotComboStep2);
        break;
    case AttackStep2:
        p.attackState = AttackFinisher;
        p.attackCount = FinisherFrames;
        PlayEffect(SlotComboStep3);
        break;
    default:
        break;
    }
}

void GuardByKey(const unsigned char* keys) {
    Player& p = ThePlayer;
    if (!KeyDown(keys, KeyCanopy)) {
        GuardKeyHeld = 0;
        p.guardState = GuardNone;
        return;
    }
    if (GuardKeyHeld == 0) {
        GuardKeyHeld = 1;
        // A press made during an attack is spent.
        if (p.attackState != AttackNone) return;
        if (p.airborne != Gliding && p.attackCount == 0) {
            p.guardState = (KeyDown(keys, VK_UP) && p.airborne == OnGround) ? GuardOverhead : GuardForward;
            PlayEffect(SlotCanopy);
        }
    } else if (p.attackState != AttackNone) {
        return;
    }
    // The thrust runs on the attack count.
    if (p.attackCount > ThrustReachFrames) {
        p.guardState = GuardThrustWindUp;
    } else if (p.attackCount != 0) {
        p.guardState = GuardThrustReach;
        PlayEffect(SlotCanopy);
    } else if (p.guardState == GuardThrustReach) {
        p.guardState = GuardForward;
    }
}

}  // namespace

void HandlePlayerInput(const unsigned char* keys) {
    if (ThePlayer.controllable == 0 || BossHp <= 0) return;
    if ((ThePlayer.attackState == AttackNone || ThePlayer.attackState >= AttackAerialWindUp) &&
        ThePlayer.guardState == GuardNone) {
        MoveByKeys(keys);
    }
    AttackByKey(keys);
    GuardByKey(keys);
}
