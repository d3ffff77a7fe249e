// The game's pictures, loaded once at start-up, and the start-up reads.
#pragma once
#include "platform/d3d9.h"

constexpr int TextureTableSize = 10;

extern IDirect3DTexture9* SceneTextures[TextureTableSize];       // title, menu, continue, stage clear
extern IDirect3DTexture9* PlayerTextures[TextureTableSize];      // sheet, effects, life bar
extern IDirect3DTexture9* EnemyTextures[TextureTableSize];       // one sheet per kind
extern IDirect3DTexture9* BackgroundTextures[TextureTableSize];  // the stage's pictures
extern IDirect3DTexture9* BossTextures[TextureTableSize];        // forms, impact, life bar
extern IDirect3DTexture9* ShotTextures[TextureTableSize];        // one per shot type

// Pictures, stage files and enemy table, then the random seed.
void LoadResources();
// Releases every loaded picture and empties its slot; a second call finds
// nothing to release.
void ReleaseTextures();
