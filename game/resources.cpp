// Placeholder until this area is built; replace wholesale.
#include "game/resources.h"

IDirect3DTexture9* SceneTextures[TextureTableSize];
IDirect3DTexture9* PlayerTextures[TextureTableSize];
IDirect3DTexture9* EnemyTextures[TextureTableSize];
IDirect3DTexture9* BackgroundTextures[TextureTableSize];
IDirect3DTexture9* BossTextures[TextureTableSize];
IDirect3DTexture9* ShotTextures[TextureTableSize];

void LoadResources() {}
void ReleaseTextures() {}
