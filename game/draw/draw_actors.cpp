// The enemies, the boss and the shots, each turned about the middle of
// its box.
#include "game/draw/draw.h"

#include "game/actors/boss.h"
#include "game/geometry.h"
#include "game/records.h"
#include "game/resources.h"

namespace {

// Enemy sheets: walk columns 0 and 1, attack column 2.
constexpr int EnemyAttackColumn = 2;

// Boss sheets: attack cells sit in rows from this y, whatever the cell height.
constexpr int BossAttackRowPx = 512;
constexpr int BossShotsColumn = 6;
constexpr int BossLeapRiseColumn = 4;
constexpr int BossLeapFallColumn = 5;
constexpr int BossLeapRiseAbove = 75;
constexpr int BossSwingWindUpAbove = 25;  // swing and thud show their second cell from here
constexpr int TransformFramesPerCell = 10;
constexpr int BossImpactTexture = 1;
constexpr float ImpactLeftOfBossPx = -170.0f;
constexpr float ImpactRightOfBossPx = 98.0f;
constexpr float ImpactAboveFeetPx = 128.0f;

// A sheet cell of w x h at column `col`, row top `rowTop`.
int SheetCell(IDirect3DTexture9* sheet, long long col, long long rowTop, int w, int h, RECT* source) {
    return CellOnPicture(sheet, col * w, rowTop, (col + 1) * w, rowTop + h, source);
}

// An actor stands on its feet, centred on x.
void DrawStanding(IDirect3DTexture9* sheet, const RECT& source, const Enemy& e) {
    const float cx = e.x - (float)CameraX;
    const float cy = e.y - (float)CameraY - (float)e.height + (float)(e.height / 2);
    DrawTurned(sheet, source, e.width, e.height, e.spin, cx, cy);
}

int BossCell(const Enemy& b, IDirect3DTexture9* sheet, RECT* source) {
    const int w = b.width;
    const int h = b.height;
    const long long facing = b.facing;
    const int n = b.attackCounter;
    // The transformation's cells sit one pixel left of the grid.
    if (b.state == BossTransforming) {
        const long long f = b.bossCount / TransformFramesPerCell;
        return CellOnPicture(sheet, f * w - 1, 0, (f + 1) * w - 1, h, source);
    }
    const long long attackRow = BossAttackRowPx + facing * h;
    switch (b.attack) {
    case BossWalking:
        return SheetCell(sheet, TruncToInt(b.animation), facing * h, w, h, source);
    case BossShots:
        return SheetCell(sheet, BossShotsColumn, attackRow, w, h, source);
    case BossLeap:
        return SheetCell(sheet, n > BossLeapRiseAbove ? BossLeapRiseColumn : BossLeapFallColumn, attackRow, w, h,
                         source);
    case BossSwing:
    case BossThud: {
        const long long first = 2 * (b.attack - BossSwing);
        return SheetCell(sheet, n > BossSwingWindUpAbove ? first : first + 1, attackRow, w, h, source);
    }
    default:
        return 0;
    }
}

void DrawImpact(const Enemy& b) {
    IDirect3DTexture9* impact = TextureSlot(BossTextures, BossImpactTexture);
    RECT source;
    if (!SheetCell(impact, 0, (long long)b.facing * b.height, b.width, b.height, &source)) return;
    const float side = b.facing == FacingLeft ? ImpactLeftOfBossPx : ImpactRightOfBossPx;
    DrawPlaced(impact, source, b.x - (float)CameraX + side, b.y - (float)CameraY - ImpactAboveFeetPx, OpaqueColour);
}

}  // namespace

void DrawEnemies() {
    for (const Enemy& e : Enemies) {
        IDirect3DTexture9* sheet = TextureSlot(EnemyTextures, e.kind);
        const long long col = e.attack != EnemyNotShooting ? EnemyAttackColumn : TruncToInt(e.animation);
        RECT source;
        if (!SheetCell(sheet, col, (long long)e.facing * e.height, e.width, e.height, &source)) continue;
        DrawStanding(sheet, source, e);
    }
}

void DrawBoss() {
    IDirect3DTexture9* sheet = TextureSlot(BossTextures, Boss.kind);
    RECT source;
    if (BossCell(Boss, sheet, &source)) DrawStanding(sheet, source, Boss);
    // The impact shows in the swing's second half, in any state.
    if (Boss.attack == BossSwing && Boss.attackCounter < BossSwingWindUpAbove) DrawImpact(Boss);
}

void DrawShots() {
    for (const Shot& s : Shots) {
        if (s.active == 0) continue;
        IDirect3DTexture9* picture = TextureSlot(ShotTextures, s.type);
        RECT source;
        if (!CellOnPicture(picture, 0, 0, s.width, s.height, &source)) continue;
        const float cx = s.x - (float)CameraX + (float)(s.width / 2);
        const float cy = s.y - (float)CameraY + (float)(s.height / 2);
        DrawTurned(picture, source, s.width, s.height, s.spin, cx, cy);
    }
}
