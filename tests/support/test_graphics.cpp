#include "support/test_graphics.h"

#include "graphics/graphics.h"

bool OpenTestGraphics() {
    Graphics.d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!Graphics.d3d) return false;
    D3DPRESENT_PARAMETERS params = {};
    params.BackBufferWidth = 640;
    params.BackBufferHeight = 480;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.BackBufferCount = 1;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D24S8;
    params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    if (FAILED(Graphics.d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                                          D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &Graphics.device)))
        return false;
    Graphics.deviceLost = 0;
    return SUCCEEDED(D3DXCreateSprite(Graphics.device, &Graphics.sprite));
}

void CloseTestGraphics() {
    if (Graphics.sprite) Graphics.sprite->Release();
    if (Graphics.device) Graphics.device->Release();
    if (Graphics.d3d) Graphics.d3d->Release();
    Graphics.sprite = nullptr;
    Graphics.device = nullptr;
    Graphics.d3d = nullptr;
}
