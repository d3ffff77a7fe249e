// The player's picture: one pose cell, or during an attack its cell with a
// fading after-image where the attack began and the attack's effects.
#include "game/draw/draw.h"

#include "game/geometry.h"
#include "game/records.h"
#include "game/resources.h"

namespace {

constexpr int SheetTexture = 0;
constexpr int EffectsTexture = 1;

// Sheet cells and the anchor that stands them on the player's feet.
constexpr int CellPx = 96;
constexpr float AnchorLeftPx = 48.0f;
constexpr float AnchorUpPx = 96.0f;
constexpr int WalkRow = 0;  // air poses share it
constexpr int AttackRow = 2;
constexpr int GuardRow = 4;
constexpr int StandRow = 6;  // knock-back poses share it
constexpr int KnockedLeftColumn = 1;
constexpr int KnockedColumn = 2;
constexpr int RisingColumnPastAirborne = 3;
constexpr int FallingColumnPastAirborne = 4;

// Blinking while the hit timer runs.
constexpr D3DCOLOR BlinkColour = 0x32FFFFFF;
constexpr int BlinkPeriodFrames = 10;
constexpr int BlinkDimFrom = 5;

// Effects picture: ground steps' 150 x 96 cells, the aerial strike's
// 130 x 130 cells below them.
constexpr int StepEffectWidthPx = 150;
constexpr int StrikeEffectSizePx = 130;
constexpr int StrikeEffectTopPx = 192;
// Facing left the step's effect ends flush with the 96-pixel cell.
constexpr float StepEffectLeftPx = AnchorLeftPx + (StepEffectWidthPx - CellPx);
constexpr float StrikeEffectLeftPx = 82.0f;  // facing left
constexpr float StrikeEffectUpPx = 113.0f;

constexpr int AfterImageAbove = 10;
constexpr int EffectAbove = 18;

struct Point {
    float x, y;
};

void DrawCell(IDirect3DTexture9* picture, long long left, long long top, long long width, long long height, Point at,
              D3DCOLOR colour) {
    RECT source;
    if (CellOnPicture(picture, left, top, left + width, top + height, &source)) {
        DrawPlaced(picture, source, at.x, at.y, colour);
    }
}

void DrawSheetCell(long long col, long long row, Point at, D3DCOLOR colour) {
    DrawCell(TextureSlot(PlayerTextures, SheetTexture), col * CellPx, row * CellPx, CellPx, CellPx, at, colour);
}

// The cell of ground step `a` in the effects picture.
void DrawStepEffect(long long a, long long f, Point at, D3DCOLOR colour) {
    DrawCell(TextureSlot(PlayerTextures, EffectsTexture), StepEffectWidthPx * (a - AttackStep1), CellPx * f, StepEffectWidthPx,
             CellPx, at, colour);
}

void DrawStrikeEffect(long long f, Point at, D3DCOLOR colour) {
    DrawCell(TextureSlot(PlayerTextures, EffectsTexture), StrikeEffectSizePx * f, StrikeEffectTopPx,
             StrikeEffectSizePx, StrikeEffectSizePx, at, colour);
}

// Where a picture's top-left goes, `leftPx` and `upPx` from the feet.
Point FromFeet(Point feet, float leftPx, float upPx) {
    return Point{feet.x - leftPx, feet.y - upPx};
}

// `feet` is the player's on screen, `startFeet` where the attack began.
void DrawAttack(const Player& p, Point feet, Point startFeet) {
    const long long a = p.attackState;
    const long long n = p.attackCount;
    const long long f = p.facing;
    const float stepEffectLeft = p.facing == FacingLeft ? StepEffectLeftPx : AnchorLeftPx;
    if (n > AfterImageAbove) {
        DrawSheetCell(a - AttackStep1, AttackRow + f, FromFeet(startFeet, AnchorLeftPx, AnchorUpPx),
                      AlphaColour(a == AttackFinisher ? 4 * n - 40 : 7 * n - 50));
        if (a < AttackFinisher) {
            DrawStepEffect(a, f, FromFeet(startFeet, stepEffectLeft, AnchorUpPx), AlphaColour(3 * n - 30));
        }
    }
    // The attack itself never blinks.
    DrawSheetCell(a - AttackStep1, AttackRow + f, FromFeet(feet, AnchorLeftPx, AnchorUpPx), OpaqueColour);
    if (n <= EffectAbove || a == AttackAerialWindUp) return;
    const D3DCOLOR effect = AlphaColour(a == AttackFinisher ? 6 * n - 45 : 9 * n - 20);
    if (a == AttackAerialStrike) {
        const float strikeLeft = p.facing == FacingLeft ? StrikeEffectLeftPx : AnchorLeftPx;
        DrawStrikeEffect(f, FromFeet(feet, strikeLeft, StrikeEffectUpPx), effect);
    } else {
        DrawStepEffect(a, f, FromFeet(feet, stepEffectLeft, AnchorUpPx), effect);
    }
}

}  // namespace

void DrawPlayer(int cameraX, int cameraY) {
    const Player& p = ThePlayer;
    const Point feet{p.x - (float)cameraX, p.y - (float)cameraY};
    if (p.controllable != 0 && p.attackState != AttackNone && p.attackCount != 0) {
        DrawAttack(p, feet, Point{p.attackStartX - (float)cameraX, p.attackStartY - (float)cameraY});
        return;
    }
    const long long f = p.facing;
    long long col;
    long long row;
    if (p.controllable == 0) {
        col = p.vx < 0 ? KnockedLeftColumn : KnockedColumn;
        row = StandRow + f;
    } else if (p.guardState != GuardNone) {
        col = p.guardState - (long long)GuardForward;
        row = GuardRow + f;
    } else if (p.airborne != OnGround) {
        col = p.airborne + (long long)(p.vy < 0 ? RisingColumnPastAirborne : FallingColumnPastAirborne);
        row = WalkRow + f;
    } else if (p.animation == 0) {
        col = 0;
        row = StandRow + f;
    } else {
        col = TruncToInt(p.animation);
        row = WalkRow + f;
    }
    const D3DCOLOR colour = p.Cnt % BlinkPeriodFrames >= BlinkDimFrom ? BlinkColour : OpaqueColour;
    DrawSheetCell(col, row, FromFeet(feet, AnchorLeftPx, AnchorUpPx), colour);
}
