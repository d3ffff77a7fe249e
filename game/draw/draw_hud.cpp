// The life bars, fixed to the screen, and the stage-clear picture.
#include "game/draw/draw.h"

#include "game/frame.h"
#include "game/records.h"
#include "game/resources.h"
#include "graphics/graphics.h"

namespace {

constexpr int PlayerBarTexture = 2;
constexpr int PlayerFillTexture = 3;
constexpr int PlayerBarSizePx = 512;
constexpr int BossBarTexture = 4;
constexpr int BossFillTexture = 5;
constexpr int BossBarWidthPx = 640;
constexpr int BossBarHeightPx = 240;
constexpr int StageClearTexture = 7;

void DrawFixedCell(IDirect3DTexture9* picture, long long left, long long top, long long right, long long bottom) {
    RECT source;
    if (CellOnPicture(picture, left, top, right, bottom, &source)) DrawFixed(picture, source, OpaqueColour);
}

}  // namespace

void DrawHud() {
    DrawFixedCell(TextureSlot(PlayerTextures, PlayerBarTexture), 0, 0, PlayerBarSizePx, PlayerBarSizePx);
    // The fill is HP pixels wide.
    DrawFixedCell(TextureSlot(PlayerTextures, PlayerFillTexture), 0, 0, ThePlayer.HP, PlayerBarSizePx);
    if (Scene == SceneBoss) {
        DrawFixedCell(TextureSlot(BossTextures, BossBarTexture), 0, 0, BossBarWidthPx, BossBarHeightPx);
        // The boss's fill keeps its rightmost BossHp columns where they
        // stand, so the bar shrinks toward the screen's right edge.
        IDirect3DTexture9* fill = TextureSlot(BossTextures, BossFillTexture);
        const long long left = (long long)BossBarWidthPx - BossHp;
        RECT source;
        if (CellOnPicture(fill, left, 0, BossBarWidthPx, BossBarHeightPx, &source)) {
            DrawPlaced(fill, source, (float)left, 0, OpaqueColour);
        }
    }
    if (BossHp <= 0) {
        DrawFixedCell(TextureSlot(SceneTextures, StageClearTexture), 0, 0, ScreenWidthPx, ScreenHeightPx);
    }
}
