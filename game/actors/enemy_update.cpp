// The enemies' frame: waking by distance, each kind's behaviour, motion.
#include <cmath>

#include "game/actors/enemies.h"
#include "game/actors/motion.h"
#include "game/actors/shots.h"
#include "game/geometry.h"
#include "platform/crt.h"

namespace {

// Ranges, compared as squared distances so no root is taken.
constexpr float WakeRangePx = 800.0f;
constexpr float NearRangePx = 320.0f;
constexpr float WakeRangeSq = WakeRangePx * WakeRangePx;
constexpr float NearRangeSq = NearRangePx * NearRangePx;

// Motion.
constexpr float DyingSpinDeg = 20.0f;
constexpr float DyingGravityPx = 0.1f;
constexpr int CooldownFrames = 30;

// Kinds 0 and 1: random turns near the player, pacing about home otherwise.
constexpr float PaceSpeedPx = 3.0f;
constexpr float PaceRangePx = 50.0f;
constexpr int TurnRollRange = 1000;
constexpr int TurnChance = 25;
constexpr int TowardRollRange = 100;
constexpr int TowardChance = 83;
constexpr float LeftOfPlayerBelowPx = 3.0f;  // a player this close on the right counts as left

// Kind 2: keeps 200 to 210 px away and throws.
constexpr float KeeperSpeedPx = 4.0f;
constexpr float KeeperNearPx = 200.0f;
constexpr float KeeperFarPx = 210.0f;
constexpr int ThrowChance = 2;
constexpr int ThrowSizePx = 49;
constexpr float ThrowSpeedPx = 6.0f;
constexpr float ThrowRisePx = 24.0f;

// Kind 3: keeps 195 to 200 px away and fires aimed shots into slot 0.
constexpr float ShooterSpeedPx = 2.0f;
constexpr float ShooterNearPx = 195.0f;
constexpr float ShooterFarPx = 200.0f;
constexpr int StepRollRange = 100;
constexpr int StepForwardChance = 90;
constexpr float ShooterHomeRangePx = 70.0f;
constexpr int AimChance = 4;
constexpr int AimedSizePx = 40;
constexpr float AimedSpeedPx = 6.0f;
constexpr float AimedRisePx = 40.0f;
constexpr int AimedSlot = 0;
// The aim passes through whole degrees with the game's own pi.
constexpr double AimPi = 3.141592653;

constexpr int ShotLifeFrames = 100;
constexpr int ShotRollRange = 100;

void HeadLeft(Enemy* e, float speed) {
    e->xF = -speed;
    e->facing = FacingLeft;
}

void HeadRight(Enemy* e, float speed) {
    e->xF = speed;
    e->facing = FacingRight;
}

// Kinds 0 to 2 away from the player.
void Pace(Enemy* e) {
    if (e->x <= e->homeX - PaceRangePx) {
        HeadRight(e, PaceSpeedPx);
    } else if (e->x > e->homeX + PaceRangePx) {
        HeadLeft(e, PaceSpeedPx);
    }
}

void Wander(Enemy* e, float dx, bool near) {
    if (!near) {
        Pace(e);
        return;
    }
    if (crt::rand() % TurnRollRange >= TurnChance) return;
    bool toward = crt::rand() % TowardRollRange < TowardChance;
    bool playerOnLeft = dx < LeftOfPlayerBelowPx;
    if (toward == playerOnLeft) {
        HeadLeft(e, PaceSpeedPx);
    } else {
        HeadRight(e, PaceSpeedPx);
    }
}

// Signed speed that closes in on a player beyond farPx and backs away from
// one nearer than nearPx; 0 in the band between and when level.
float KeepDistance(float dx, float nearPx, float farPx, float speed) {
    if (dx < -farPx) return -speed;
    if (dx <= -nearPx) return 0.0f;
    if (dx < 0.0f) return speed;
    if (dx == 0.0f) return 0.0f;
    if (dx < nearPx) return -speed;
    if (dx <= farPx) return 0.0f;
    return speed;
}

void Throw(Enemy* e, float dx) {
    int slot = FirstFreeShotSlot();
    if (slot < 0) return;
    Shot* s = &Shots[slot];
    bool left = dx < 0.0f;
    int hw = e->width / 2;
    int hh = e->height / 2;
    s->type = ShotThrown;
    s->width = ThrowSizePx;
    s->height = ThrowSizePx;
    s->vx = left ? -ThrowSpeedPx : ThrowSpeedPx;
    s->vy = 0.0f;
    s->x = left ? e->x - hw : e->x + hw;
    s->y = (float)((double)e->y - hh - ThrowRisePx);
    s->life = ShotLifeFrames;
    s->active = 1;
    e->attack = EnemyShooting;
    e->attackCounter = CooldownFrames;
}

void KeepAndThrow(Enemy* e, float dx, bool near) {
    if (!near) {
        Pace(e);
        return;
    }
    e->xF = KeepDistance(dx, KeeperNearPx, KeeperFarPx, KeeperSpeedPx);
    e->facing = dx < 0.0f ? FacingLeft : FacingRight;
    if (crt::rand() % ShotRollRange < ThrowChance && e->attack == EnemyNotShooting) Throw(e, dx);
}

void FireAimed(Enemy* e, float dx, float dy) {
    float angle = (float)std::atan2((double)dy, (double)dx);
    int deg = TruncToInt(angle * 180.0 / AimPi);
    if (deg < 0) deg += 360;
    double r = deg * AimPi / 180.0;
    Shot* s = &Shots[AimedSlot];
    s->type = ShotAimed;
    s->width = AimedSizePx;
    s->height = AimedSizePx;
    s->vx = (float)(AimedSpeedPx * std::cos(r));
    s->vy = (float)(AimedSpeedPx * std::sin(r));
    s->x = e->x;
    s->y = e->y - AimedRisePx;
    s->life = ShotLifeFrames;
    s->active = 1;
    e->attack = EnemyShooting;
    e->attackCounter = CooldownFrames;
}

void KeepAndAim(Enemy* e, float dx, float dy, bool near) {
    if (!near) {
        // Walking home, this kind faces left either way.
        if (e->x < e->homeX - ShooterHomeRangePx) {
            e->xF = ShooterSpeedPx;
            e->facing = FacingLeft;
        } else if (e->x > e->homeX + ShooterHomeRangePx) {
            e->xF = -ShooterSpeedPx;
            e->facing = FacingLeft;
        }
        return;
    }
    float step = KeepDistance(dx, ShooterNearPx, ShooterFarPx, ShooterSpeedPx);
    // One step in ten goes the other way; standing still takes no roll.
    if (step != 0.0f && crt::rand() % StepRollRange >= StepForwardChance) step = -step;
    e->xF = step;
    e->facing = dx < 0.0f ? FacingLeft : FacingRight;
    if (crt::rand() % ShotRollRange < AimChance && e->attack == EnemyNotShooting) FireAimed(e, dx, dy);
}

void Move(Enemy* e) {
    e->x += e->xF;
    if (e->airborne < Gliding) e->y += e->yF;
    Fall(&e->yF);
    StepWalkCycle(e);
    e->attackCounter -= 1;
    if (e->attackCounter < 0) {
        e->attackCounter = 0;
        e->attack = EnemyNotShooting;
    }
}

void Die(Enemy* e) {
    e->spin += DyingSpinDeg;
    e->yF += DyingGravityPx;
    e->x += e->xF;
    e->y += e->yF;
}

void Act(Enemy* e, float dx, float dy, float d2) {
    bool near = d2 < NearRangeSq;
    switch (e->kind) {
        case EnemyWandererA:
        case EnemyWandererB:
            Wander(e, dx, near);
            break;
        case EnemyThrower:
            KeepAndThrow(e, dx, near);
            break;
        case EnemyShooter:
            KeepAndAim(e, dx, dy, near);
            break;
        default:
            // A kind the list should not hold: it only moves.
            break;
    }
    Move(e);
}

}  // namespace

void UpdateEnemies() {
    const float px = ThePlayer.x;
    const float py = ThePlayer.y;

    // Waking covers every enemy before any acts.
    for (Enemy& e : Enemies) {
        if (e.state == EnemyDying) continue;
        float dx = px - e.x;
        float dy = py - e.y;
        float d2 = dx * dx + dy * dy;
        e.state = d2 < WakeRangeSq ? EnemyActive : EnemyAsleep;
    }

    for (Enemy& e : Enemies) {
        float dx = px - e.x;
        float dy = py - e.y;
        float d2 = dx * dx + dy * dy;
        if (e.state == EnemyDying) {
            Die(&e);
        } else if (e.state == EnemyActive) {
            Act(&e, dx, dy, d2);
        }
    }
}
