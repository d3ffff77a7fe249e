#include "game_device.h"

#include <cstring>

#include "graphics/graphics.h"

D3DPRESENT_PARAMETERS GameParams() {
    D3DPRESENT_PARAMETERS params;
    std::memset(&params, 0, sizeof params);
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

GameDevice::GameDevice() {
    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!d3d) return;
    D3DPRESENT_PARAMETERS params = GameParams();
    if (d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params,
                          &device) < 0)
        device = nullptr;
    if (device && D3DXCreateSprite(device, &sprite) < 0) sprite = nullptr;
    Graphics.device = device;
    Graphics.sprite = sprite;
}

GameDevice::~GameDevice() {
    Graphics.device = nullptr;
    Graphics.sprite = nullptr;
    if (sprite) sprite->Release();
    if (device) device->Release();
    if (d3d) d3d->Release();
}
