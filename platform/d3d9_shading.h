// The fixed-function stages a line goes through on the software device:
// per-vertex lighting and fog, then per pixel the texture stage, the
// specular sum and the fog blend. Colours are (a, r, g, b) in 0..1.
#pragma once
#include "platform/d3d9_internal.h"

// One vertex after the vertex stage: the colours it is drawn with, and its
// fog factor by the vertex fog mode (1 with none), which the pixel stage
// uses only while vertex fog is the fog in force.
struct ShadedVertex {
    double diffuse[4];
    double specular[4];
    double fog;
};

// Lights (or not) the vertex at `camera` (its position after world x view)
// whose own colour is `colour`, and works out its vertex fog.
ShadedVertex ShadeVertex(const IDirect3DDevice9::Impl* impl, const double (&camera)[3], D3DCOLOR colour);

// What stays the same for every pixel of one draw: stage 0's texel and
// texture factor, the fog in use and whether specular is added.
struct PixelShading {
    const IDirect3DDevice9::Impl* impl;
    bool textured;
    double texel[4];
    double factor[4];
    bool addSpecular;
    DWORD pixelFogMode;  // D3DFOG_NONE when fog is off or per vertex
    // Under a perspective projection pixel fog goes by the eye distance w,
    // otherwise by the depth in 0..1.
    bool fogByEyeDistance;
    bool vertexFog;
    double fogColour[4];
};

PixelShading PreparePixelShading(IDirect3DDevice9::Impl* impl);

// The colour of one pixel before it is blended: `diffuse` and `specular`
// and `fog` as interpolated along the line, `fogDistance` what pixel fog
// measures there (see fogByEyeDistance).
void ShadePixel(const PixelShading& shading, const double (&diffuse)[4], const double (&specular)[4], double fog,
                double fogDistance, double (&out)[4]);

// The fog factor, 1 (no fog) to 0 (all fog), at distance or depth d.
double FogFactor(DWORD mode, double d, const DWORD* renderStates);
