// The slice of D3DX 9 the game calls: texture files, the sprite batch,
// a font that is only made and released, and the matrix helpers.
#pragma once
#include "platform/d3d9.h"

struct D3DXVECTOR3 : D3DVECTOR {
    D3DXVECTOR3() = default;
    D3DXVECTOR3(float vx, float vy, float vz) : D3DVECTOR{vx, vy, vz} {}
};

struct D3DXMATRIX : D3DMATRIX {};

constexpr DWORD D3DXSPRITE_ALPHABLEND = 0x10;
constexpr HRESULT D3DXERR_INVALIDDATA = (HRESULT)0x88760B59u;

constexpr UINT FW_DONTCARE = 0;
constexpr DWORD DEFAULT_CHARSET = 1;
constexpr DWORD OUT_DEFAULT_PRECIS = 0;
constexpr DWORD DEFAULT_QUALITY = 0;
constexpr DWORD DEFAULT_PITCH = 0;
constexpr DWORD FF_DONTCARE = 0;

// The sprite batch. Draws composite into the device's back buffer between
// Begin and End: the source rectangle's top-left texel lands at the
// transform's origin, one texel per pixel; the colour's alpha byte
// multiplies each texel's alpha; source alpha over inverse source alpha.
// A picture at a fractional place starts on the next whole pixel; texels
// outside the texture are transparent. Draw refuses a null texture and
// any draw outside Begin and End.
class ID3DXSprite {
public:
    ULONG AddRef();
    ULONG Release();
    HRESULT Begin(DWORD flags);
    HRESULT SetTransform(const D3DXMATRIX* transform);
    HRESULT GetTransform(D3DXMATRIX* transform);
    HRESULT Draw(IDirect3DTexture9* texture, const RECT* source, const D3DXVECTOR3* center,
                 const D3DXVECTOR3* position, D3DCOLOR color);
    HRESULT End();

    struct Impl;
    Impl* impl = nullptr;  // owned by the platform
};

// Made and released with the device; nothing draws text with it.
class ID3DXFont {
public:
    ULONG AddRef();
    ULONG Release();

    struct Impl;
    Impl* impl = nullptr;  // owned by the platform
};

// Decodes .png, .jpg and .bmp; each side is rounded up to a power of two
// and the picture scaled to fill it. A missing or undecodable file fails
// and leaves *texture untouched.
HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice9* device, LPCSTR file, IDirect3DTexture9** texture);
HRESULT D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite);
HRESULT D3DXCreateFontA(IDirect3DDevice9* device, INT height, UINT width, UINT weight, UINT mipLevels,
                        BOOL italic, DWORD charSet, DWORD outputPrecision, DWORD quality,
                        DWORD pitchAndFamily, LPCSTR faceName, ID3DXFont** font);

// Row-vector convention: a point p is drawn at p x M.
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z);
D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* m1, const D3DXMATRIX* m2);
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* in);
