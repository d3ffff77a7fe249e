// The graphics device: the Direct3D device, its sprite batch and font.
#pragma once
#include "platform/d3dx9.h"

class DirectGraphics {
public:
    IDirect3D9* d3d;
    IDirect3DDevice9* device;
    D3DPRESENT_PARAMETERS presentParams;
    ID3DXSprite* sprite;
    ID3DXFont* font;
    int deviceLost;

    BOOL Create(HWND window, UINT width, UINT height, D3DFORMAT format, BOOL fullScreen);
    void SetRenderStates();
    void SetAlphaBlend();
    int Restore();
    void Release();
};

extern DirectGraphics Graphics;  // the one device everything draws through

DWORD FloatBitsToDword(float value);
