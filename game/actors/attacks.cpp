// The player's strikes: the ground combo and the aerial strike against the
// field's enemies or the boss.
#include "game/actors/hits.h"
#include "game/frame.h"
#include "game/records.h"
#include "game/sounds.h"

namespace {

// In the field a strike lands only in the first frames of its count.
constexpr int FieldCountWindow = 18;

// Ground combo box: 48 to 93 px in front, 80 to 16 px above the feet.
constexpr float GroundReachPx = 48.0f;
constexpr int GroundWidthPx = 45;
constexpr int GroundHeightPx = 64;
constexpr float GroundTopPx = 80.0f;
// Aerial strike: A in front over the full height, B under the feet.
constexpr float AerialAReachPx = 38.0f;
constexpr int AerialAWidthPx = 40;
constexpr int AerialAHeightPx = 96;
constexpr float AerialBHalfWidthPx = 48.0f;
constexpr float AerialBTopPx = 30.0f;
constexpr int AerialBWidthPx = 96;
constexpr int AerialBHeightPx = 40;

constexpr float EnemyKnockPx = 3.0f;
constexpr int BossMarginPx = 35;  // each side of the boss's hit box
constexpr float BossPushPx = 8.0f;
constexpr float BossLiftPx = 2.0f;


bool PlayerFacesLeft() { return ThePlayer.facing == FacingLeft; }

// A box reaching `reach` px in front of the player's centre.
Box FrontBox(float reach, float top, int width, int height) {
    double px = ThePlayer.x;
    double left = PlayerFacesLeft() ? px - (reach + width) : px + reach;
    return Box{TruncToInt(left), TruncToInt((double)ThePlayer.y - top), width, height};
}

Box AerialBBox() {
    return Box{TruncToInt((double)ThePlayer.x - AerialBHalfWidthPx),
               TruncToInt((double)ThePlayer.y - AerialBTopPx),
               AerialBWidthPx, AerialBHeightPx};
}

bool StrikeMeets(const Box& target) {
    if (ThePlayer.attackState == AttackAerialStrike) {
        return BoxesOverlap(FrontBox(AerialAReachPx, (float)AerialAHeightPx, AerialAWidthPx,
                                     AerialAHeightPx),
                            target) ||
               BoxesOverlap(AerialBBox(), target);
    }
    return BoxesOverlap(FrontBox(GroundReachPx, GroundTopPx, GroundWidthPx, GroundHeightPx), target);
}

Box BossHitBox() {
    return Box{TruncToInt((double)Boss.x - Boss.width / 2 + BossMarginPx),
               TruncToInt((double)Boss.y - Boss.height), ShrinkSize(Boss.width, 2 * BossMarginPx),
               Boss.height};
}

void StrikeEnemies() {
    if (ThePlayer.attackState == AttackNone || ThePlayer.attackState == AttackAerialWindUp ||
        ThePlayer.attackCount <= FieldCountWindow) {
        return;
    }
    // Every record, the dying included: one still in the box is hit again.
    for (Enemy& e : Enemies) {
        if (!StrikeMeets(ActorBox(e.x, e.y, e.width, e.height))) continue;
        e.state = EnemyDying;
        e.xF += PlayerFacesLeft() ? -EnemyKnockPx : EnemyKnockPx;
        e.yF -= EnemyKnockPx;
        PlayEffect(SlotStrikeLands);
    }
}

// No count window against the boss, and it is struck in every state.
void StrikeBoss() {
    if (ThePlayer.attackState <= AttackNone || ThePlayer.attackState == AttackAerialWindUp) return;
    if (!StrikeMeets(BossHitBox())) return;
    BossHp -= 1;
    Boss.x += PlayerFacesLeft() ? -BossPushPx : BossPushPx;
    Boss.y -= BossLiftPx;
    PlayEffect(SlotStrikeLands);
}

}  // namespace

void PlayerAttackHits(int scene) {
    if (scene == SceneField) {
        StrikeEnemies();
    } else if (scene == SceneBoss) {
        StrikeBoss();
    }
}
