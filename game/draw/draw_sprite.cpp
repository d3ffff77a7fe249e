// The three ways a picture is placed, and the guards that keep a bad
// record from reading outside a table or a picture.
#include <climits>

#include "game/draw/draw.h"
#include "game/resources.h"
#include "graphics/graphics.h"

namespace {

constexpr float DegreesToRadians = 0.0174532924f;

void Issue(IDirect3DTexture9* texture, const RECT& source, const D3DXMATRIX& transform, D3DCOLOR colour) {
    Graphics.sprite->SetTransform(&transform);
    Graphics.sprite->Draw(texture, &source, nullptr, nullptr, colour);
}

}  // namespace

D3DCOLOR AlphaColour(long long alpha) {
    return ((D3DCOLOR)(alpha & 0xFF) << 24) | 0xFFFFFFu;
}

IDirect3DTexture9* TextureSlot(IDirect3DTexture9* const* table, int index) {
    if (index < 0 || index >= TextureTableSize) return nullptr;
    return table[index];
}

int CellOnPicture(IDirect3DTexture9* texture, long long left, long long top, long long right, long long bottom,
                  RECT* source) {
    if (texture == nullptr || left >= right || top >= bottom) return 0;
    D3DSURFACE_DESC desc{};
    if (FAILED(texture->GetLevelDesc(0, &desc))) return 0;
    if (right <= 0 || bottom <= 0 || left >= (long long)desc.Width || top >= (long long)desc.Height) return 0;
    if (left < INT_MIN || top < INT_MIN || right > INT_MAX || bottom > INT_MAX) return 0;
    SetRect(source, (int)left, (int)top, (int)right, (int)bottom);
    return 1;
}

void DrawFixed(IDirect3DTexture9* texture, const RECT& source, D3DCOLOR colour) {
    D3DXMATRIX identity;
    D3DXMatrixTranslation(&identity, 0, 0, 0);
    Issue(texture, source, identity, colour);
}

void DrawPlaced(IDirect3DTexture9* texture, const RECT& source, float tx, float ty, D3DCOLOR colour) {
    D3DXMATRIX placed;
    D3DXMatrixTranslation(&placed, tx, ty, 0);
    Issue(texture, source, placed, colour);
}

void DrawTurned(IDirect3DTexture9* texture, const RECT& source, int w, int h, float spin, float cx, float cy) {
    D3DXMATRIX toMiddle, turn, toPlace, turned, transform;
    D3DXMatrixTranslation(&toMiddle, (float)-(w / 2), (float)-(h / 2), 0);
    const float angle = spin * DegreesToRadians;
    D3DXMatrixRotationZ(&turn, angle);
    D3DXMatrixTranslation(&toPlace, cx, cy, 0);
    D3DXMatrixMultiply(&turned, &toMiddle, &turn);
    D3DXMatrixMultiply(&transform, &turned, &toPlace);
    Issue(texture, source, transform, OpaqueColour);
}
