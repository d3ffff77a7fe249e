// 3D helpers on the device: lighting and fog switches, a directional light,
// lines, boxes and the projection of a point to the back buffer.
#include "graphics/graphics.h"

namespace {

constexpr UINT LineVertexStride = sizeof(LineVertex);
static_assert(sizeof(LineVertex) == 16, "line vertices are 16 bytes apart");
constexpr int BoxVertexCount = 24;

const D3DXMATRIX* WorldOrIdentity(const D3DXMATRIX* world) {
    static const D3DXMATRIX Identity{{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}};
    return world ? world : &Identity;
}

// Fog colour, then its range or density, then the two modes; vertex fog
// also measures by range. Fog goes on last.
void SetFog(IDirect3DDevice9* device, D3DCOLOR color, const float* start, const float* end, const float* density,
            DWORD vertexMode, DWORD tableMode) {
    if (!device) return;
    device->SetRenderState(D3DRS_FOGCOLOR, color);
    if (density) {
        device->SetRenderState(D3DRS_FOGDENSITY, FloatBitsToDword(*density));
    } else {
        device->SetRenderState(D3DRS_FOGSTART, FloatBitsToDword(*start));
        device->SetRenderState(D3DRS_FOGEND, FloatBitsToDword(*end));
    }
    device->SetRenderState(D3DRS_FOGVERTEXMODE, vertexMode);
    device->SetRenderState(D3DRS_FOGTABLEMODE, tableMode);
    if (vertexMode != D3DFOG_NONE) device->SetRenderState(D3DRS_RANGEFOGENABLE, TRUE);
    device->SetRenderState(D3DRS_FOGENABLE, TRUE);
}

}  // namespace

void DirectGraphics::SetLighting(DWORD value) {
    if (device) device->SetRenderState(D3DRS_LIGHTING, value);
}

void DirectGraphics::SetFogEnable(DWORD value) {
    if (device) device->SetRenderState(D3DRS_FOGENABLE, value);
}

void DirectGraphics::SetSpecularEnable(DWORD value) {
    if (device) device->SetRenderState(D3DRS_SPECULARENABLE, value);
}

void DirectGraphics::SetDirectionalLight(DWORD index, const D3DXVECTOR3* direction, const D3DCOLORVALUE* diffuse,
                                         const D3DCOLORVALUE* ambient, const D3DCOLORVALUE* specular) {
    if (!device || !direction || !diffuse || !ambient || !specular) return;
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = *diffuse;
    light.Ambient = *ambient;
    light.Specular = *specular;
    D3DXVECTOR3 unit;
    D3DXVec3Normalize(&unit, direction);
    light.Direction = unit;
    device->SetLight(index, &light);
    device->LightEnable(index, TRUE);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
}

void DirectGraphics::SetVertexFogLinear(float start, float end, D3DCOLOR color) {
    SetFog(device, color, &start, &end, nullptr, D3DFOG_LINEAR, D3DFOG_NONE);
}

void DirectGraphics::SetPixelFogLinear(float start, float end, D3DCOLOR color) {
    SetFog(device, color, &start, &end, nullptr, D3DFOG_NONE, D3DFOG_LINEAR);
}

void DirectGraphics::SetVertexFogExp(float density, D3DCOLOR color) {
    SetFog(device, color, nullptr, nullptr, &density, D3DFOG_EXP, D3DFOG_NONE);
}

void DirectGraphics::SetPixelFogExp(float density, D3DCOLOR color) {
    SetFog(device, color, nullptr, nullptr, &density, D3DFOG_NONE, D3DFOG_EXP);
}

void DirectGraphics::SetVertexFogExp2(float density, D3DCOLOR color) {
    SetFog(device, color, nullptr, nullptr, &density, D3DFOG_EXP2, D3DFOG_NONE);
}

void DirectGraphics::SetPixelFogExp2(float density, D3DCOLOR color) {
    SetFog(device, color, nullptr, nullptr, &density, D3DFOG_NONE, D3DFOG_EXP2);
}

void DirectGraphics::DrawLine3D(float x0, float y0, float z0, float x1, float y1, float z1, D3DCOLOR color,
                                const D3DXMATRIX* world) {
    if (!device) return;
    const LineVertex line[2] = {{x0, y0, z0, color}, {x1, y1, z1, color}};
    device->SetTransform(D3DTS_WORLD, WorldOrIdentity(world));
    device->SetTexture(0, nullptr);
    device->SetFVF(LineVertexFvf);
    device->DrawPrimitiveUP(D3DPT_LINELIST, 1, line, LineVertexStride);
}

// The strip keeps stage 0's texture: a bound texture modulates it.
void DirectGraphics::DrawLineStrip(const LineVertex* points, UINT count, const D3DXMATRIX* world) {
    if (!device || !points || count < 2) return;
    device->SetTransform(D3DTS_WORLD, WorldOrIdentity(world));
    device->SetFVF(LineVertexFvf);
    device->DrawPrimitiveUP(D3DPT_LINESTRIP, count - 1, points, LineVertexStride);
}

void DirectGraphics::DrawBox(const D3DXVECTOR3* a, const D3DXVECTOR3* b, D3DCOLOR color, const D3DXMATRIX* world) {
    if (!device || !a || !b) return;
    const float ax = a->x, ay = a->y, az = a->z;
    const float bx = b->x, by = b->y, bz = b->z;
    // The rectangle at y = ay, the one at y = by, then the edges between.
    const LineVertex edges[BoxVertexCount] = {
        {ax, ay, az, color}, {ax, ay, bz, color}, {ax, ay, bz, color}, {bx, ay, bz, color},
        {bx, ay, bz, color}, {bx, ay, az, color}, {bx, ay, az, color}, {ax, ay, az, color},
        {ax, by, az, color}, {ax, by, bz, color}, {ax, by, bz, color}, {bx, by, bz, color},
        {bx, by, bz, color}, {bx, by, az, color}, {bx, by, az, color}, {ax, by, az, color},
        {ax, ay, az, color}, {ax, by, az, color}, {ax, ay, bz, color}, {ax, by, bz, color},
        {bx, ay, az, color}, {bx, by, az, color}, {bx, ay, bz, color}, {bx, by, bz, color},
    };
    device->SetTransform(D3DTS_WORLD, WorldOrIdentity(world));
    device->SetTexture(0, nullptr);
    device->SetFVF(LineVertexFvf);
    device->DrawPrimitiveUP(D3DPT_LINELIST, BoxVertexCount / 2, edges, LineVertexStride);
}

// No guard for w = 0: the result is then not finite.
D3DXVECTOR3* DirectGraphics::ProjectToScreen(D3DXVECTOR3* out, const D3DXMATRIX* m1, const D3DXMATRIX* m2,
                                             const D3DXMATRIX* m3) {
    D3DXMATRIX m;
    D3DXMatrixMultiply(&m, m1, m2);
    D3DXMatrixMultiply(&m, &m, m3);
    const float x = m._41;
    const float y = m._42;
    const float w = m._44;
    out->z = w;
    const float halfWidth = static_cast<float>(presentParams.BackBufferWidth / 2);
    const float halfHeight = static_cast<float>(presentParams.BackBufferHeight / 2);
    out->x = halfWidth + halfWidth * (x / w);
    out->y = halfHeight - halfHeight * (y / w);
    return out;
}
