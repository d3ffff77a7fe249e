// The player's keys, read once a frame in a fixed order: movement, the
// attack key, the canopy key.
#include "game/actors/player.h"

#include "game/records.h"
#include "platform/win32.h"
#include "sound/sound.h"

int ZFlag;
int XFlag;
int GuardKeyHeld;

namespace {

constexpr int KeyCanopy = 0x43;  // C
constexpr int KeyAttack = 0x58;  // X
constexpr int KeyJump = 0x5A;    // Z
constexpr unsigned char KeyDownBit = 0x80;

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

void PlayEffect(int slot) {
    PlaySoundSlot(slot, 1, 1, 0);
}

// Walking, the jump and the glide.
void MoveByKeys(const unsigned char* keys) {
    Player& p = ThePlayer;
    if (keys[VK_LEFT] & KeyDownBit) {
        p.facing = 1;
        p.x -= WalkSpeedPx;
    } else if (keys[VK_RIGHT] & KeyDownBit) {
        p.facing = 0;
        p.x += WalkSpeedPx;
    }
    if ((keys[VK_LEFT] | keys[VK_RIGHT]) & KeyDownBit) {
        p.animation += WalkStepCols;
        if (p.animation >= WalkCycleEndCols) p.animation = WalkCycleRestartCols;
    } else {
        p.animation = 0;
    }

    if (!(keys[KeyJump] & KeyDownBit)) {
        ZFlag = 0;
        return;
    }
    if (ZFlag != 0) return;
    ZFlag = 1;
    if (p.airborne == 0) {
        p.vy -= JumpSpeedPx;
        p.airborne = 1;
        PlayEffect(SlotJump);
    }
    // A second press once falling opens the canopy.
    if (p.airborne == 1 && p.vy > 0 && p.attackState == 0 && p.guardState == 0) {
        PlayEffect(SlotCanopy);
        p.airborne = 2;
    }
}

int AttackRefused() {
    const Player& p = ThePlayer;
    return p.airborne == 2 || p.attackState == 3 || p.attackCount >= FinisherFrames || p.guardState >= 2 ||
           XFlag == 1 || p.attackState == 5;
}

void AttackByKey(const unsigned char* keys) {
    Player& p = ThePlayer;
    if (!(keys[KeyAttack] & KeyDownBit)) {
        XFlag = 0;
        return;
    }
    // A refused press changes nothing, not even the latch.
    if (AttackRefused()) return;
    XFlag = 1;
    if (p.guardState == 1) {
        p.attackCount = ThrustFrames;
        return;
    }
    p.attackStartX = p.x;
    p.attackStartY = p.y;
    p.attackCount = AttackFrames;
    if (p.airborne != 0) {
        p.attackState = 4;
        return;
    }
    p.vx = LungeSpeedPx;
    switch (p.attackState) {
    case 0:
        p.attackState = 1;
        PlayEffect(SlotComboStep1);
        break;
    case 1:
        p.attackState = 2;
        PlayEffect(SlotComboStep2);
        break;
    case 2:
        p.attackState = 3;
        p.attackCount = FinisherFrames;
        PlayEffect(SlotComboStep3);
        break;
    default:
        break;
    }
}

void GuardByKey(const unsigned char* keys) {
    Player& p = ThePlayer;
    if (!(keys[KeyCanopy] & KeyDownBit)) {
        GuardKeyHeld = 0;
        p.guardState = 0;
        return;
    }
    if (GuardKeyHeld == 0) {
        GuardKeyHeld = 1;
        // A press made during an attack is spent.
        if (p.attackState != 0) return;
        if (p.airborne != 2 && p.attackCount == 0) {
            p.guardState = ((keys[VK_UP] & KeyDownBit) && p.airborne == 0) ? 2 : 1;
            PlayEffect(SlotCanopy);
        }
    } else if (p.attackState != 0) {
        return;
    }
    // The thrust runs on the attack count.
    if (p.attackCount > ThrustReachFrames) {
        p.guardState = 3;
    } else if (p.attackCount != 0) {
        p.guardState = 4;
        PlayEffect(SlotCanopy);
    } else if (p.guardState == 4) {
        p.guardState = 1;
    }
}

}  // namespace

void HandlePlayerInput(const unsigned char* keys) {
    if (ThePlayer.controllable == 0 || BossHp <= 0) return;
    if ((ThePlayer.attackState == 0 || ThePlayer.attackState >= 4) && ThePlayer.guardState == 0) {
        MoveByKeys(keys);
    }
    AttackByKey(keys);
    GuardByKey(keys);
}
