// The boss's frame: walking toward the player, a random attack, motion,
// the change of form and the defeat.
#include "game/actors/boss.h"
#include "game/actors/motion.h"
#include "game/records.h"
#include "game/sounds.h"
#include "platform/crt.h"

namespace {

constexpr float StartXPx = 6500.0f;
constexpr float StartYPx = 500.0f;
constexpr int SizePx = 256;
constexpr float WalkSpeedPx = 3.0f;

// The attack roll: 3 in 100 each free update, then any attack value
// (BossWalking starts none).
constexpr int RollRange = 100;
constexpr int RollChance = 3;
constexpr int AttackChoices = BossShots + 1;
constexpr int SwingFrames = 50;
constexpr int ThudFrames = 50;
constexpr int LeapFrames = 100;
constexpr int ShotsFrames = 30;
constexpr int StrikeSoundAt = BossStrikeLiveBelow;  // counter value of the swing's and thud's sound
constexpr int LeapJumpAt = 75;                      // counter value of the leap's jump
constexpr float LeapRisePx = -10.0f;
constexpr float LeapFlightFrames = 60.0f;

// Shots: one in the first form, up to five scattered in the second.
constexpr int ShotSizePx = 32;
constexpr float ShotSpeedPx = 6.0f;
constexpr float ShotFallPx = 1.0f;
constexpr int ShotLifeFrames = 100;
constexpr int SecondFormShots = 5;
constexpr int ScatterXRange = 50;
constexpr int ScatterYRange = 100;

constexpr int ChangeOfFormHp = 150;
constexpr int ChangeOfFormFrames = 30;
constexpr float DefeatFlightPx = 20.0f;
constexpr float DefeatSpinDeg = 20.0f;

void LaunchShot(int slot, float dx, bool scatter) {
    Shot* s = &Shots[slot];
    bool left = dx < 0.0f;
    s->type = ShotBoss;
    s->width = ShotSizePx;
    s->height = ShotSizePx;
    s->vx = left ? -ShotSpeedPx : ShotSpeedPx;
    s->vy = ShotFallPx;
    s->life = ShotLifeFrames;
    s->active = 1;
    s->x = left ? Boss.x - Boss.width / 2 : Boss.x + Boss.width / 2;
    s->y = (float)((double)Boss.y - Boss.height / 2 - ShotSizePx / 2);
    if (scatter) {
        s->x += crt::rand() % ScatterXRange - ScatterXRange / 2;
        s->y += crt::rand() % ScatterYRange - ScatterYRange / 2;
    }
}

void LaunchShots(float dx) {
    bool secondForm = Boss.kind == BossSecondForm;
    int wanted = secondForm ? SecondFormShots : 1;
    for (int slot = 0; slot < ShotCount && wanted > 0; ++slot) {
        if (Shots[slot].active != 0) continue;
        LaunchShot(slot, dx, secondForm);
        --wanted;
    }
}

void BeginAttack(int frames) {
    Boss.xF = 0.0f;
    Boss.yF = 0.0f;
    Boss.attackCounter = frames;
    PlayEffect(SlotBossRoar);
}

void RollAttack(float dx) {
    if (crt::rand() % RollRange >= RollChance) return;
    Boss.attack = crt::rand() % AttackChoices;
    switch (Boss.attack) {
        case BossSwing:
            BeginAttack(SwingFrames);
            break;
        case BossThud:
            BeginAttack(ThudFrames);
            break;
        case BossLeap:
            // Rolled in the air it starts nothing and is cleared this update.
            if (Boss.airborne == OnGround) BeginAttack(LeapFrames);
            break;
        case BossShots:
            BeginAttack(ShotsFrames);
            LaunchShots(dx);
            break;
        default:
            break;
    }
}

void Fight(float dx) {
    if (Boss.attack == BossWalking && Boss.attackCounter == 0) {
        Boss.facing = dx < 0.0f ? FacingLeft : FacingRight;
        Boss.xF = dx < 0.0f ? -WalkSpeedPx : WalkSpeedPx;
    }
    if (Boss.attackCounter == 0) RollAttack(dx);
    if (Boss.attackCounter == StrikeSoundAt) {
        if (Boss.attack == BossSwing) PlayEffect(SlotBossSwing);
        if (Boss.attack == BossThud) PlayEffect(SlotBossThud);
    }
    if (Boss.attack == BossLeap && Boss.attackCounter == LeapJumpAt) {
        Boss.yF = LeapRisePx;
        Boss.xF = dx / LeapFlightFrames;
    }
    Boss.x += Boss.xF;
    Boss.y += Boss.yF;
    Fall(&Boss.yF);
    StepWalkCycle(&Boss);
    Boss.attackCounter -= 1;
    if (Boss.attackCounter <= 0) {
        Boss.attackCounter = 0;
        Boss.attack = BossWalking;
    }
    if (BossHp <= 0) {
        BossHp = 0;
        Boss.state = BossDefeated;
        Boss.xF = ThePlayer.facing == FacingLeft ? -DefeatFlightPx : DefeatFlightPx;
        Boss.yF = -DefeatFlightPx;
    }
    if (BossHp < ChangeOfFormHp && Boss.kind != BossSecondForm) {
        Boss.state = BossTransforming;
        Boss.bossCount = ChangeOfFormFrames;
        Boss.kind = BossChangingForm;
    }
}

// The boss stands frozen, its attack kept, until the second form comes.
void Transform() {
    Boss.bossCount -= 1;
    if (Boss.bossCount <= 0) {
        Boss.state = BossFighting;
        Boss.kind = BossSecondForm;
    }
}

void FlyOff() {
    Boss.spin += DefeatSpinDeg;
    Boss.x += Boss.xF;
    Boss.y += Boss.yF;
}

}  // namespace

void ResetBoss() {
    Boss.x = StartXPx;
    Boss.y = StartYPx;
    Boss.xF = WalkSpeedPx;
    Boss.yF = 0.0f;
    Boss.animation = 0.0f;
    Boss.spin = 0.0f;
    Boss.facing = FacingRight;
    Boss.airborne = OnGround;
    Boss.attack = BossWalking;
    Boss.attackCounter = 0;
    Boss.kind = BossFirstForm;
    Boss.width = SizePx;
    Boss.height = SizePx;
    Boss.state = BossFighting;
    BossHp = BossStartHp;
}

void UpdateBoss() {
    // Taken before the boss moves; every use in this update sees it.
    const float dx = ThePlayer.x - Boss.x;
    switch (Boss.state) {
        case BossFighting:
            Fight(dx);
            break;
        case BossTransforming:
            Transform();
            break;
        case BossDefeated:
            FlyOff();
            break;
        default:
            break;
    }
}
