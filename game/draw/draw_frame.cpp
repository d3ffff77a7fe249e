// The stage picture of one frame, in drawing order.
#include "game/draw/draw.h"

#include "game/frame.h"
#include "game/geometry.h"
#include "game/records.h"
#include "game/resources.h"
#include "game/stage/stage.h"
#include "graphics/graphics.h"

int CameraX;
int CameraY;

namespace {

// The player's centre stands this far from the view's left edge and its
// feet this far below the view's top, until the view meets the stage edge.
constexpr float CameraLeadXPx = 320.0f;
constexpr float CameraLeadYPx = 380.0f;
constexpr int BackgroundSizePx = 1024;
constexpr int CameraMaxXPx = StageWidthPx - ScreenWidthPx;
constexpr int CameraMaxYPx = BackgroundSizePx - ScreenHeightPx;  // the background pictures' bottom

int Clamp(int value, int low, int high) {
    if (value < low) return low;
    if (value > high) return high;
    return value;
}

void PlaceCamera() {
    CameraX = Clamp(TruncToInt((double)(ThePlayer.x - CameraLeadXPx)), 0, CameraMaxXPx);
    CameraY = Clamp(TruncToInt((double)(ThePlayer.y - CameraLeadYPx)), 0, CameraMaxYPx);
}

// Every strip is issued, in view or not.
void DrawBackground() {
    for (int k = 0; k < BackgroundStripCount; ++k) {
        IDirect3DTexture9* picture = TextureSlot(BackgroundTextures, BackgroundOrder[k]);
        RECT source;
        if (!CellOnPicture(picture, 0, 0, BackgroundSizePx, BackgroundSizePx, &source)) continue;
        DrawPlaced(picture, source, (float)(BackgroundStripWidthPx * k - CameraX), (float)-CameraY, OpaqueColour);
    }
}

}  // namespace

void DrawFrame() {
    PlaceCamera();
    DrawBackground();
    DrawPlayer(CameraX, CameraY);
    // The continue screen shows the stage without enemies or boss.
    if (Scene == SceneField) {
        DrawEnemies();
    } else if (Scene == SceneBoss) {
        DrawBoss();
    }
    DrawShots();
    DrawHud();
}
