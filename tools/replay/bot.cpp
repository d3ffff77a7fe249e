#include "bot.h"

#include <cmath>
#include <cstring>

#include "game/actors/enemies.h"
#include "game/frame.h"
#include "game/records.h"
#include "game/stage/stage.h"
#include "game/title.h"

namespace {

constexpr int KeyEnter = 0x0D, KeyLeft = 0x25, KeyUp = 0x26, KeyRight = 0x27;
constexpr int KeyC = 0x43, KeyX = 0x58, KeyZ = 0x5A;

constexpr float EngageAheadPx = 150.0f;   // enemies this far ahead are fought
constexpr float EngageBehindPx = 90.0f;   // and this far behind
constexpr float SameLevelPx = 24.0f;      // feet this close count as the same floor
constexpr float StrikeReachPx = 115.0f;   // the ground attack reaches this far
constexpr int StuckLimitFrames = 90;
constexpr float DeathLinePx = 1124.0f;    // falling past it ends the life
constexpr float LandingHalfPx = 10.0f;    // feet this near a floor's edge still land safely
constexpr float WalkPx = 5.0f;            // the walk, per frame, also in the air
constexpr float GravityPx = 0.25f;
constexpr float FallCapPx = 10.0f;

constexpr float BossStrikeFarPx = 182.0f;   // the boss is hit from this far
constexpr float BossStrikeNearPx = 112.0f;  // nearer than this its body hurts
constexpr float ShockReachPx = 215.0f;

bool Solid(float x, float y) { return SampleMapHit((int)x, (int)y) == 1; }

// Distance down from `y` to the first solid pixel in column x, or -1 within `range`.
int DropTo(float x, float y, int range) {
    for (int d = 0; d < range; ++d)
        if (Solid(x, y + d)) return d;
    return -1;
}

// Whether a fall from (x, y) at speed vy, walking on, comes down on top of
// a floor (not against its side) before it falls out of the stage.
bool FallLands(float x, float y, float vy, int direction) {
    for (int frame = 0; frame < 200 && y <= DeathLinePx; ++frame) {
        float before = y;
        x += direction * WalkPx;
        y += vy;
        vy = vy + GravityPx > FallCapPx ? FallCapPx : vy + GravityPx;
        for (float dx = -LandingHalfPx; dx <= LandingHalfPx; dx += 2)
            if (Solid(x + dx, y) && !Solid(x + dx, before - 1)) return true;
    }
    return false;
}

bool WallAhead(float x, float y, int direction) {
    for (float dx = 26; dx <= 40; dx += 2)
        for (float dy = 8; dy <= 90; dy += 4)
            if (Solid(x + direction * dx, y - dy)) return true;
    return false;
}

}  // namespace

void Bot::Tap(BotKeys& keys, int key) {
    if (!(last_[key] & 0x80)) keys.state[key] = 0x80;
}

BotKeys Bot::Decide() {
    BotKeys keys;
    std::memset(keys.state, 0, sizeof keys.state);
    switch (Scene) {
    case SceneTitle: Title(keys); break;
    case SceneContinue: Continue(keys); break;
    case SceneField: Field(keys); break;
    case SceneBoss: BossFight(keys); break;
    default: break;
    }
    std::memcpy(last_, keys.state, sizeof last_);
    return keys;
}

void Bot::Title(BotKeys& keys) {
    if (TitleChoice != 0) return;
    bool atRest = LogoX == 0.0f && LogoY == 0.0f;
    if (atRest && TitleCursor != 0) {
        Tap(keys, KeyUp);
        return;
    }
    Tap(keys, KeyEnter);
}

void Bot::Continue(BotKeys& keys) {
    if (ContinueAlpha < 255 || ContinueDelay != 0) return;
    if (ContinueCursor != 0) {
        Tap(keys, KeyLeft);
        return;
    }
    Hold(keys, KeyEnter);
}

void Bot::Walk(BotKeys& keys, int direction) {
    const Player& p = ThePlayer;
    Hold(keys, direction > 0 ? KeyRight : KeyLeft);
    if (p.airborne == 0) {
        bool pit = DropTo(p.x + direction * 30, p.y - 4, 200) < 0;
        if (pit || WallAhead(p.x, p.y, direction)) Tap(keys, KeyZ);
    } else if (p.airborne == 1 && p.vy > 0 && !FallLands(p.x, p.y, p.vy, direction)) {
        Tap(keys, KeyZ);  // open the canopy only when the fall would miss every floor
    }
}

void Bot::Field(BotKeys& keys) {
    const Player& p = ThePlayer;
    if (!p.controllable) return;
    const Enemy* target = nullptr;
    for (const Enemy& e : Enemies) {
        float dx = e.x - p.x;
        if (e.state != 1 || std::fabs(e.y - p.y) > SameLevelPx || dx > EngageAheadPx || dx < -EngageBehindPx)
            continue;
        if (!target || std::fabs(dx) < std::fabs(target->x - p.x)) target = &e;
    }
    // Coming down onto an enemy: strike downwards on the way.
    if (p.airborne == 1 && p.attackState == 0) {
        for (const Enemy& e : Enemies) {
            float below = e.y - e.height - p.y;
            if (e.state == 1 && e.x - p.x > -40 && e.x - p.x < 140 && below > -40 && below < 50) {
                Tap(keys, KeyX);
                break;
            }
        }
    }
    // The lunge carries the player 50 px: no strikes toward a drop.
    if (target && DropTo(p.x + (target->x >= p.x ? 60 : -60), p.y - 4, 40) < 0) target = nullptr;
    if (target && p.airborne == 0) {
        float dx = target->x - p.x;
        int direction = dx >= 0 ? 1 : -1;
        bool facing = (direction > 0) == (p.facing == 0);
        if (p.attackState == 0 && !facing) {
            Hold(keys, direction > 0 ? KeyRight : KeyLeft);
            return;
        }
        if (std::fabs(dx) <= StrikeReachPx) {
            if (p.attackState == 0 || (p.attackState < 3 && p.attackCount <= 19)) Tap(keys, KeyX);
            return;
        }
        if (p.attackState == 0) Walk(keys, direction);
        return;
    }
    // Make way to the right; jump when nothing changes for a while.
    if (p.x > progressX_ + 1) {
        progressX_ = p.x;
        stuckFrames_ = 0;
    } else if (++stuckFrames_ > StuckLimitFrames) {
        stuckFrames_ = 0;
        progressX_ = p.x;
        Tap(keys, KeyZ);
    }
    if (p.attackState == 0 || p.attackState >= 4) Walk(keys, 1);
}

void Bot::BossFight(BotKeys& keys) {
    const Player& p = ThePlayer;
    if (BossHp <= 0) {
        Tap(keys, KeyEnter);
        return;
    }
    if (!p.controllable) return;
    float dx = Boss.x - p.x;
    float d = std::fabs(dx);
    int toward = dx >= 0 ? 1 : -1;
    bool facing = (toward > 0) == (p.facing == 0);
    bool free = p.attackState == 0 && p.attackCount == 0;
    bool fighting = Boss.state == 1;
    bool safe = p.Cnt != 0;  // just hurt: nothing can hurt again yet
    // The leap: hold the canopy overhead until it comes down.
    if (fighting && Boss.attack == 3 && Boss.attackCounter <= 76 && !safe) {
        if (p.airborne == 0 && (free || p.guardState == 2)) {
            Hold(keys, KeyUp);
            if (p.guardState == 2 || !(last_[KeyC] & 0x80)) Hold(keys, KeyC);
        }
        return;
    }
    // The thud: be in the air while the shock wave runs along the ground.
    if (fighting && Boss.attack == 2 && Boss.attackCounter <= 27 && d < ShockReachPx && !safe) {
        if (p.airborne == 0 && p.attackState == 0 && p.guardState == 0) Tap(keys, KeyZ);
        return;
    }
    // The swing and the shots: the canopy held forward, facing the boss.
    if (fighting && (Boss.attack == 1 || Boss.attack == 4) && d < 420 && !safe) {
        if (p.guardState == 1) {
            Hold(keys, KeyC);
        } else if (free && p.airborne == 0) {
            if (!facing) {
                Hold(keys, toward > 0 ? KeyRight : KeyLeft);
            } else if (!(last_[KeyC] & 0x80)) {
                Hold(keys, KeyC);
            }
        }
        return;
    }
    if (p.airborne != 0) return;
    if (p.attackState == 0 && !facing) {
        Hold(keys, toward > 0 ? KeyRight : KeyLeft);
        return;
    }
    if (d <= BossStrikeFarPx && (d >= BossStrikeNearPx || safe || p.attackState != 0)) {
        if (p.attackState == 0 || (p.attackState < 3 && p.attackCount <= 12)) Tap(keys, KeyX);
        return;
    }
    if (p.attackState != 0) return;
    if (d > BossStrikeFarPx) {
        Walk(keys, toward);
    } else if (d < BossStrikeNearPx) {
        // Too close: step back, then turn to face it again.
        Hold(keys, toward > 0 ? KeyLeft : KeyRight);
    }
}
