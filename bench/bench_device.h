// The game's 640 x 480 device with a depth buffer, as the benchmarks draw
// on it.
#pragma once
#include <cstring>
#include "platform/d3d9.h"

// Makes the Direct3D object into *d3d and the device from it. Null when no
// device could be made; the object is then released and *d3d null.
inline IDirect3DDevice9* MakeBenchDevice(IDirect3D9** d3d) {
    *d3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS params;
    std::memset(&params, 0, sizeof params);
    params.BackBufferWidth = 640;
    params.BackBufferHeight = 480;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D24S8;
    IDirect3DDevice9* device = nullptr;
    if (!*d3d || FAILED((*d3d)->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                                             D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &device))) {
        if (*d3d) (*d3d)->Release();
        *d3d = nullptr;
        return nullptr;
    }
    return device;
}
