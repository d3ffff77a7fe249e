#include "game/draw/draw.h"
#include "game/frame.h"
#include "game/records.h"
#include "game/resources.h"
#include "game/sounds.h"
#include "game/title.h"
#include "graphics/graphics.h"
#include "sound/sound.h"

namespace {
constexpr int ContinueFadeInStep = 4;
// A choice acts 62 frames after its own frame, which counts the first one down.
constexpr int ChoiceDelayFrames = 63;

// A continue puts the player back at the x of its death, feet at this y.
constexpr float ContinueYPx = 100.0f;
constexpr int ContinueHp = 300;

// The continue-entry picture; the give-up picture follows it.
constexpr int TextureContinue = 5;

void Choose() {
    if (ContinueCursor == EntryGiveUp) ResetTitleState();
    PlayEffect(SlotContinueChoice);
    ContinueDelay = ChoiceDelayFrames;
}

void ReadKeys(const unsigned char* keys) {
    if (KeyDown(keys, VK_RETURN)) {
        Choose();
        return;
    }
    if (KeyDown(keys, VK_LEFT) && ContinueCursor == EntryGiveUp) {
        PlayEffect(SlotCursor);
        ContinueCursor = EntryContinue;
    }
    if (KeyDown(keys, VK_RIGHT) && ContinueCursor == EntryContinue) {
        PlayEffect(SlotCursor);
        ContinueCursor = EntryGiveUp;
    }
}

void TakeChoice() {
    ContinueAlpha = 0;
    if (ContinueCursor == EntryContinue) {
        ThePlayer.HP = ContinueHp;
        ThePlayer.y = ContinueYPx;
        ThePlayer.attackState = AttackNone;
        ThePlayer.guardState = GuardNone;
        ThePlayer.airborne = OnGround;
        Scene = SceneField;
    } else {
        Scene = SceneTitle;
    }
}
}  // namespace

void ContinueBody(const unsigned char* keys) {
    // Only the first frame of a continue screen starts from strength 0.
    if (ContinueAlpha == 0) LoadSound("Sound/hyupa.wav", SlotContinueChoice, WaveFile);
    ContinueAlpha += ContinueFadeInStep;
    if (ContinueAlpha >= FullStrength) {
        ContinueAlpha = FullStrength;
        if (ContinueDelay == 0) ReadKeys(keys);
    }
    if (ContinueDelay != 0) {
        ContinueDelay -= 1;
        if (ContinueDelay == 0) TakeChoice();
    }
    DrawFrame();
    DrawContinue();
}

void DrawContinue() {
    RECT source;
    SetRect(&source, 0, 0, ScreenWidthPx, ScreenHeightPx);
    DrawScreenPicture(SceneTextures[TextureContinue + ContinueCursor], source, 0.0f, 0.0f, ContinueAlpha);
}
