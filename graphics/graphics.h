// The graphics device: the Direct3D device, its sprite batch and font, and a few 3D helpers.
#pragma once
#include "platform/d3dx9.h"

// The back buffer everything is drawn into, also the window's client area.
constexpr int ScreenWidthPx = 640;
constexpr int ScreenHeightPx = 480;

// An untransformed, unlit, coloured vertex of the line operations.
struct LineVertex {
    float x, y, z;
    D3DCOLOR color;
};
constexpr DWORD LineVertexFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;

// The 3D helpers (light, fog, lines, box, projection) work on the same
// device; the game calls none of them.
class DirectGraphics {
public:
    IDirect3D9* d3d;
    IDirect3DDevice9* device;
    D3DPRESENT_PARAMETERS presentParams;  // kept for Reset
    ID3DXSprite* sprite;
    ID3DXFont* font;  // made and remade with the device; nothing draws text
    int deviceLost;   // set by a frame whose Present found the device lost

    // 1 when the device, sprite and font were made. Full screen adjusts the
    // window's client area to width x height first.
    BOOL Create(HWND window, UINT width, UINT height, D3DFORMAT format, BOOL fullScreen);
    void SetRenderStates();
    void SetAlphaBlend();
    // 1 while the device is still lost, else 0.
    int Restore();
    // Safe to repeat: each pointer is released once and then null.
    void Release();

    // Switches; the value goes to the render state unchanged.
    void SetLighting(DWORD value);
    void SetFogEnable(DWORD value);
    void SetSpecularEnable(DWORD value);
    // Also turns lighting and specular highlights on; the direction need
    // not be unit length.
    void SetDirectionalLight(DWORD index, const D3DXVECTOR3* direction, const D3DCOLORVALUE* diffuse,
                             const D3DCOLORVALUE* ambient, const D3DCOLORVALUE* specular);
    void SetVertexFogLinear(float start, float end, D3DCOLOR color);
    void SetPixelFogLinear(float start, float end, D3DCOLOR color);
    void SetVertexFogExp(float density, D3DCOLOR color);
    void SetPixelFogExp(float density, D3DCOLOR color);
    void SetVertexFogExp2(float density, D3DCOLOR color);
    void SetPixelFogExp2(float density, D3DCOLOR color);

    // A null world matrix draws as the identity.
    void DrawLine3D(float x0, float y0, float z0, float x1, float y1, float z1, D3DCOLOR color,
                    const D3DXMATRIX* world);
    // count points, count - 1 lines; fewer than 2 points draw nothing.
    void DrawLineStrip(const LineVertex* points, UINT count, const D3DXMATRIX* world);
    // The 12 edges of the axis-aligned box with corners a and b.
    void DrawBox(const D3DXVECTOR3* a, const D3DXVECTOR3* b, D3DCOLOR color, const D3DXMATRIX* world);
    // Where the origin of m1's space lands on the back buffer through
    // m1 x m2 x m3: out.x, out.y in pixels (y down), out.z the clip w.
    D3DXVECTOR3* ProjectToScreen(D3DXVECTOR3* out, const D3DXMATRIX* m1, const D3DXMATRIX* m2,
                                 const D3DXMATRIX* m3);
};

extern DirectGraphics Graphics;  // the one device everything draws through

// The float's bits as a state value, for float-valued states.
DWORD FloatBitsToDword(float value);
