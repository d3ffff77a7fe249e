// The picture loader: the first byte picks the file kind (.png, .jpg, .bmp),
// the rest is the file; whatever loads is drawn turned and clipped.
#include <cstring>

#include "support.h"
#include "graphics/graphics.h"

static const char* const Paths[] = {"Texture/fuzz.png", "Texture/fuzz.jpg", "Texture/fuzz.bmp"};

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnterScratchTree();
    OpenHeadlessGraphics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const char* path = Paths[data[0] % 3];
    WriteScratchFile(path, data + 1, size - 1);
    IDirect3DTexture9* texture = nullptr;
    if (FAILED(D3DXCreateTextureFromFileA(Graphics.device, path, &texture)) || !texture) return 0;

    D3DSURFACE_DESC desc = {};
    texture->GetLevelDesc(0, &desc);
    D3DXMATRIX place, turn, centre, m;
    D3DXMatrixTranslation(&centre, -48.0f, -48.0f, 0.0f);
    D3DXMatrixRotationZ(&turn, 0.7f);
    D3DXMatrixMultiply(&m, &centre, &turn);
    D3DXMatrixTranslation(&place, 320.5f, 240.25f, 0.0f);
    D3DXMatrixMultiply(&m, &m, &place);
    RECT whole = {-1, -1, (LONG)desc.Width + 1, (LONG)desc.Height + 1};

    Graphics.device->BeginScene();
    Graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND);
    Graphics.sprite->SetTransform(&m);
    Graphics.sprite->Draw(texture, &whole, nullptr, nullptr, 0x80FFFFFFu);
    D3DXMatrixTranslation(&place, -10.0f, 400.0f, 0.0f);
    Graphics.sprite->SetTransform(&place);
    Graphics.sprite->Draw(texture, &whole, nullptr, nullptr, 0xFFFFFFFFu);
    Graphics.sprite->End();
    Graphics.device->EndScene();
    texture->Release();
    return 0;
}
