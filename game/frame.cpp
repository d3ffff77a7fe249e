// The frame road and the field and boss bodies.
#include "game/frame.h"

#include <cstring>

#include "game/actors/boss.h"
#include "game/actors/enemies.h"
#include "game/actors/hits.h"
#include "game/actors/player.h"
#include "game/actors/shots.h"
#include "game/draw/draw.h"
#include "game/records.h"
#include "game/sounds.h"
#include "game/stage/stage.h"
#include "game/title.h"
#include "graphics/graphics.h"

int Scene;

namespace {

constexpr D3DCOLOR ClearColour = 0xFF0000FF;  // opaque blue behind everything

constexpr float BossGateXPx = 6000.0f;  // passing it strictly starts the boss part
constexpr int PlayerSizePx = 96;
constexpr int BossSizePx = 256;
constexpr int BossContactTrimWidthPx = 80;  // the boss's body is smaller than its picture
constexpr int BossContactTrimHeightPx = 30;

constexpr char ReturnQuestion[] = "タイトルに戻ります。よろしいですか？";
constexpr char ReturnCaption[] = "タイトルに戻る";

// Blocks the frame until answered; Yes is a fresh title, and the body
// still runs to its end.
void AskReturnToTitle() {
    if (MessageBoxA(nullptr, ReturnQuestion, ReturnCaption, MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL) == IDYES)
        ResetTitle();
}

void CollidePlayerWithMap() {
    CollideWithMap(&ThePlayer.x, &ThePlayer.y, PlayerSizePx, PlayerSizePx, &ThePlayer.airborne, &ThePlayer.vy);
}

void FieldBody(const BYTE* keys) {
    if (LoadedSoundSet != SoundSetField) SwitchSoundSet(SoundSetField);
    if (BossGateXPx < ThePlayer.x) Scene = SceneBoss;
    if (KeyDown(keys, VK_ESCAPE)) AskReturnToTitle();
    UpdateFieldActors(keys);
    DrawFrame();
}

void BossBody(const BYTE* keys) {
    if (KeyDown(keys, VK_ESCAPE)) AskReturnToTitle();
    // No latch: the title's own Enter latch swallows this press.
    if (BossHp <= 0 && KeyDown(keys, VK_RETURN)) ResetTitle();
    if (LoadedSoundSet != SoundSetBoss) SwitchSoundSet(SoundSetBoss);
    UpdateBossActors(keys);
    DrawFrame();
}

// Runs the body of the scene the frame began in. False on the title's quit
// exit.
bool RunSceneBody(const BYTE* keys) {
    switch (Scene) {
        case SceneTitle: return TitleBody(keys) != 0;
        case SceneField: FieldBody(keys); break;
        case SceneBoss: BossBody(keys); break;
        case SceneContinue: ContinueBody(keys); break;
        default: break;
    }
    return true;
}

}  // namespace

void UpdateFieldActors(const unsigned char* keys) {
    HandlePlayerInput(keys);
    UpdatePlayer();
    UpdateEnemies();
    UpdateShots();
    CollidePlayerWithMap();
    for (Enemy& e : Enemies)
        if (e.state == EnemyActive) CollideWithMap(&e.x, &e.y, e.width, e.height, &e.airborne, &e.yF);
    // Sees the scene as this frame has left it so far.
    PlayerAttackHits(Scene);
    for (Enemy& e : Enemies) ActorTouchesPlayer(&e.x, &e.y, e.width, e.height, e.airborne, e.state);
    ShotsHitPlayer();
}

void UpdateBossActors(const unsigned char* keys) {
    HandlePlayerInput(keys);
    UpdatePlayer();
    UpdateBoss();
    UpdateShots();
    CollidePlayerWithMap();
    if (Boss.state != BossDefeated) CollideWithMap(&Boss.x, &Boss.y, BossSizePx, BossSizePx, &Boss.airborne, &Boss.yF);
    PlayerAttackHits(Scene);
    BossAttackHitsPlayer();
    ActorTouchesPlayer(&Boss.x, &Boss.y, Boss.width - BossContactTrimWidthPx, Boss.height - BossContactTrimHeightPx,
                       Boss.airborne, Boss.state);
    ShotsHitPlayer();
}

int UpdateFrame(HWND) {
    BYTE keys[KeyStateBytes] = {};
    // Unreadable keys count as all up.
    if (!GetKeyboardState(keys)) std::memset(keys, 0, sizeof keys);
    IDirect3DDevice9* device = Graphics.device;
    if (!device) return 1;

    if (SUCCEEDED(device->BeginScene())) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, ClearColour, 1.0f, 0);
        ID3DXSprite* sprite = Graphics.sprite;
        if (sprite && SUCCEEDED(sprite->Begin(D3DXSPRITE_ALPHABLEND))) {
            device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
            device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
            // Unfiltered: texel for pixel.
            device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_NONE);
            device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_NONE);
            device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
            if (!RunSceneBody(keys)) {
                // Quit: close the frame without presenting; shutdown follows.
                sprite->End();
                device->EndScene();
                return 0;
            }
            sprite->End();
        }
        device->EndScene();
    }
    if (device->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST) Graphics.deviceLost = 1;
    return 1;
}
