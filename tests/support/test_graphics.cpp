#include "support/test_graphics.h"

#include "graphics/graphics.h"

D3DPRESENT_PARAMETERS GameParams() {
    D3DPRESENT_PARAMETERS params = {};
    params.BackBufferWidth = 640;
    params.BackBufferHeight = 480;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.BackBufferCount = 1;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.Windowed = FALSE;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D24S8;
    params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return params;
}

bool OpenTestGraphics() {
    Graphics.d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!Graphics.d3d) return false;
    D3DPRESENT_PARAMETERS params = GameParams();
    if (FAILED(Graphics.d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                                          D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &Graphics.device)))
        return false;
    Graphics.deviceLost = 0;
    return SUCCEEDED(D3DXCreateSprite(Graphics.device, &Graphics.sprite));
}

bool CloseTestGraphics() {
    if (Graphics.sprite) Graphics.sprite->Release();
    const ULONG deviceLeft = Graphics.device ? Graphics.device->Release() : 0;
    const ULONG d3dLeft = Graphics.d3d ? Graphics.d3d->Release() : 0;
    Graphics.sprite = nullptr;
    Graphics.device = nullptr;
    Graphics.d3d = nullptr;
    return deviceLeft == 0 && d3dLeft == 0;
}

IDirect3DTexture9* MakeTestTexture(int width, int height, const std::function<uint32_t(int u, int v)>& texel,
                                   IDirect3DDevice9* device) {
    IDirect3DTexture9* texture = nullptr;
    if (!device) device = Graphics.device;
    if (FAILED(device->CreateTexture((UINT)width, (UINT)height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                              &texture, nullptr)))
        return nullptr;
    D3DLOCKED_RECT locked{};
    if (FAILED(texture->LockRect(0, &locked, nullptr, 0))) {
        texture->Release();
        return nullptr;
    }
    for (int v = 0; v < height; ++v) {
        uint32_t* row = (uint32_t*)((char*)locked.pBits + (size_t)v * locked.Pitch);
        for (int u = 0; u < width; ++u) row[u] = texel(u, v);
    }
    texture->UnlockRect(0);
    return texture;
}

HRESULT OpenSpriteBatch() {
    IDirect3DDevice9* device = Graphics.device;
    const HRESULT begun = Graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_NONE);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_NONE);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    return begun;
}

uint32_t BackPixel(int x, int y) {
    return Graphics.device->BackBuffer()[(size_t)y * Graphics.device->BackBufferWidth() + x];
}
