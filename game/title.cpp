#include "game/title.h"

#include "game/actors/boss.h"
#include "game/actors/enemies.h"
#include "game/frame.h"
#include "game/records.h"
#include "game/resources.h"
#include "game/sounds.h"
#include "graphics/graphics.h"
#include "platform/crt.h"
#include "platform/d3dx9.h"

namespace {
// Logo slide: 80 steps from the start corner to rest at (0, 0).
constexpr float LogoStartXPx = 2560.0f;
constexpr float LogoStartYPx = -1920.0f;
constexpr float LogoStepXPx = 32.0f;
constexpr float LogoStepYPx = 24.0f;

// Fades, per frame. After a choice the net fall is 8 - 5 = 3.
constexpr int TitleFadeInStep = 5;
constexpr int ChoiceFadeOutStep = 8;

// Rain scrolls by a random offset each frame; two copies of the
// screen-high picture fill the screen.
constexpr int RainHeightPx = ScreenHeightPx;

// Menu: two 160 x 100 images stacked, one per cursor position.
constexpr float MenuXPx = 240.0f;
constexpr float MenuYPx = 300.0f;
constexpr int MenuWidthPx = 160;
constexpr int MenuEntryHeightPx = 100;

// A new game's player; the rest of the record carries over.
constexpr float NewGameXPx = 300.0f;
constexpr float NewGameYPx = 900.0f;
constexpr float NewGameVy = 1.0f;
constexpr int NewGameHp = 300;

constexpr int TextureRain = 0;
constexpr int TextureLogo = 1;
constexpr int TextureTitle = 2;
constexpr int TextureMenu = 3;
constexpr int TextureFarewell = 4;

constexpr RECT ScreenSource = {0, 0, ScreenWidthPx, ScreenHeightPx};

int RainOffset;  // this frame's draw, 0 to 479

bool LogoAtRest() { return LogoX == 0.0f && LogoY == 0.0f; }
bool LogoComingIn() { return LogoX > 0.0f || LogoY < 0.0f; }

void StartNewGame() {
    ThePlayer.x = NewGameXPx;
    ThePlayer.airborne = OnGround;
    ThePlayer.y = NewGameYPx;
    ThePlayer.HP = NewGameHp;
    ThePlayer.vy = NewGameVy;
    LoadEnemies(Enemies);
    ResetBoss();
}

void PressEnter() {
    if (LogoComingIn()) {
        LogoX = 0.0f;
        LogoY = 0.0f;
        TitleAlpha = FullStrength;
    } else if (TitleCursor == EntryStart && TitleChoice == ChoiceNone) {
        PlayEffect(SlotTitleChoice);
        StartNewGame();
        TitleChoice = ChoiceStart;
    } else if (TitleCursor == EntryQuit && TitleChoice == ChoiceNone) {
        TitleChoice = ChoiceQuit;
        PlayEffect(SlotTitleChoice);
    }
}

void MoveCursor(int entry) {
    PlayEffect(SlotCursor);
    TitleCursor = entry;
}
}  // namespace

int TitleCursor;
int TitleChoice;
int TitleAlpha;
float LogoX = LogoStartXPx;
float LogoY = LogoStartYPx;
int EnterHeld;
int ContinueCursor;
int ContinueAlpha;
int ContinueDelay;

void DrawScreenPicture(IDirect3DTexture9* texture, const RECT& source, float x, float y, int strength) {
    const D3DCOLOR colour = ((unsigned)strength & 0xFFu) << 24 | 0xFFFFFFu;
    D3DXMATRIX transform;
    D3DXMatrixTranslation(&transform, x, y, 0.0f);
    Graphics.sprite->SetTransform(&transform);
    Graphics.sprite->Draw(texture, &source, nullptr, nullptr, colour);
}

int TitleBody(const unsigned char* keys) {
    if (LoadedSoundSet != SoundSetTitle) SwitchSoundSet(SoundSetTitle);
    // Drawn on every title frame: the title's length shifts the field's sequence.
    RainOffset = crt::rand() % RainHeightPx;

    if (!KeyDown(keys, VK_RETURN)) {
        EnterHeld = 0;
    } else if (EnterHeld == 0) {
        EnterHeld = 1;
        PressEnter();
    }
    // Down sees the cursor as Up left it.
    const bool menuOpen = LogoAtRest() && TitleChoice == ChoiceNone;
    if (KeyDown(keys, VK_UP) && menuOpen && TitleCursor != EntryStart) MoveCursor(EntryStart);
    if (KeyDown(keys, VK_DOWN) && menuOpen && TitleCursor != EntryQuit) MoveCursor(EntryQuit);

    if (TitleAlpha == FullStrength && LogoX != 0.0f && LogoY != 0.0f) {
        LogoX -= LogoStepXPx;
        LogoY += LogoStepYPx;
    }

    TitleAlpha += TitleFadeInStep;
    if (TitleAlpha > FullStrength) TitleAlpha = FullStrength;
    if (TitleChoice != ChoiceNone) {
        TitleAlpha -= ChoiceFadeOutStep;
        if (TitleAlpha < 0) {
            TitleAlpha = 0;
            // Quit returns mid-frame; the last picture stays on the screen.
            if (TitleChoice == ChoiceQuit) return 0;
            Scene = SceneField;
        }
    }
    DrawTitle();
    return 1;
}

void DrawTitle() {
    DrawScreenPicture(SceneTextures[TextureRain], ScreenSource, 0.0f, (float)RainOffset, FullStrength);
    DrawScreenPicture(SceneTextures[TextureRain], ScreenSource, 0.0f, (float)(RainOffset - RainHeightPx),
                      FullStrength);
    DrawScreenPicture(SceneTextures[TextureLogo], ScreenSource, LogoX, LogoY, TitleAlpha);
    DrawScreenPicture(SceneTextures[TextureTitle], ScreenSource, 0.0f, 0.0f, TitleAlpha);
    if (LogoAtRest()) {
        const int top = MenuEntryHeightPx * TitleCursor;
        const RECT menu = {0, top, MenuWidthPx, top + MenuEntryHeightPx};
        DrawScreenPicture(SceneTextures[TextureMenu], menu, MenuXPx, MenuYPx, TitleAlpha);
    }
    if (TitleChoice == ChoiceQuit)
        DrawScreenPicture(SceneTextures[TextureFarewell], ScreenSource, 0.0f, 0.0f, FullStrength - TitleAlpha);
}

void ResetTitleState() {
    TitleCursor = EntryStart;
    LogoX = LogoStartXPx;
    TitleAlpha = 0;
    LogoY = LogoStartYPx;
    TitleChoice = ChoiceNone;
    // The Enter that led here must be released before it counts.
    EnterHeld = 1;
}

void ResetTitle() {
    ResetTitleState();
    Scene = SceneTitle;
}
