// Lighting, the texture stage, specular and fog for the line path, after
// Direct3D 9's fixed-function pipeline.
#include "platform/d3d9_shading.h"

#include <cmath>
#include <cstring>

namespace {

constexpr DWORD ArgSelectorMask = 0x0F;
constexpr DWORD ArgComplement = 0x10;
constexpr DWORD ArgAlphaReplicate = 0x20;
constexpr DWORD ArgTextureFactor = 3;
constexpr DWORD ArgSpecular = 4;
constexpr DWORD ArgTemp = 5;

enum TextureOp : DWORD {
    OpDisable = TopDisable,
    OpSelectArg1 = TopSelectArg1,
    OpSelectArg2 = 3,
    OpModulate = D3DTOP_MODULATE,
    OpModulate2x = 5,
    OpModulate4x = 6,
    OpAdd = 7,
    OpAddSigned = 8,
    OpAddSigned2x = 9,
    OpSubtract = 10,
    OpAddSmooth = 11,
    OpBlendDiffuseAlpha = 12,
    OpBlendTextureAlpha = 13,
    OpBlendFactorAlpha = 14,
    OpBlendTextureAlphaPm = 15,
    OpBlendCurrentAlpha = 16,
};

// Nothing sets a material, so every line is lit with the device's own:
// white diffuse and nothing reflected as ambient, specular or emissive.
constexpr D3DCOLORVALUE MaterialDiffuse{1.0f, 1.0f, 1.0f, 1.0f};
constexpr D3DCOLORVALUE MaterialNone{0.0f, 0.0f, 0.0f, 0.0f};

constexpr int A = 0;  // the alpha's place in a colour; red, green, blue follow

void ColourOf(D3DCOLOR colour, double (&out)[4]) {
    for (int c = 0; c < 4; ++c) out[c] = ((colour >> (24 - 8 * c)) & 0xFF) / 255.0;
}

void ColourOf(const D3DCOLORVALUE& value, double (&out)[4]) {
    out[0] = value.a;
    out[1] = value.r;
    out[2] = value.g;
    out[3] = value.b;
}

float FloatState(const DWORD* renderStates, DWORD state) {
    float value;
    std::memcpy(&value, &renderStates[state], sizeof value);
    return value;
}

// Not-a-number (fog states holding any bits at all) comes out as 0.
double Clamp01(double value) { return value > 0.0 ? (value < 1.0 ? value : 1.0) : 0.0; }

// A material colour from the source the state names: the vertex's first
// colour, its second (which a line vertex lacks), or the material.
void MaterialColour(const DWORD* rs, DWORD sourceState, const double (&vertex)[4], const D3DCOLORVALUE& material,
                    double (&out)[4]) {
    if (rs[RsColorVertex] && rs[sourceState] == McsColor1) {
        std::memcpy(out, vertex, sizeof out);
    } else {
        ColourOf(material, out);
    }
}

double Dot(const double (&a)[3], const double (&b)[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// A point or direction (w = 0) of world space in camera space.
void ToCamera(const D3DMATRIX& view, const D3DVECTOR& v, double w, double (&out)[3]) {
    for (int col = 0; col < 3; ++col) {
        out[col] = v.x * view.m[0][col] + v.y * view.m[1][col] + v.z * view.m[2][col] + w * view.m[3][col];
    }
}

// How much of a light's ambient reaches the vertex: its attenuation with
// distance times, for a spot light, how far inside the cone it is. A
// directional light reaches everywhere whole.
double LightReach(const D3DLIGHT9& light, const D3DMATRIX& view, const double (&camera)[3]) {
    if (light.Type == D3DLIGHT_DIRECTIONAL) return 1.0;
    double position[3];
    ToCamera(view, light.Position, 1.0, position);
    double toVertex[3] = {camera[0] - position[0], camera[1] - position[1], camera[2] - position[2]};
    const double distance = std::sqrt(Dot(toVertex, toVertex));
    if (distance > light.Range) return 0.0;
    const double falloff =
        light.Attenuation0 + light.Attenuation1 * distance + light.Attenuation2 * distance * distance;
    // No attenuation terms at all would light with infinite strength; such
    // a light gives nothing rather than a white-out.
    if (!(falloff > 0.0)) return 0.0;
    double reach = 1.0 / falloff;
    if (light.Type != D3DLIGHT_SPOT) return reach;
    double axis[3];
    ToCamera(view, light.Direction, 0.0, axis);
    const double lengths = std::sqrt(Dot(axis, axis) * Dot(toVertex, toVertex));
    // At the light's own position the vertex is inside the inner cone.
    const double rho = lengths > 0.0 ? Dot(axis, toVertex) / lengths : 1.0;
    const double inner = std::cos(light.Theta / 2.0), outer = std::cos(light.Phi / 2.0);
    if (rho > inner) return reach;
    if (rho <= outer) return 0.0;
    return reach * std::pow((rho - outer) / (inner - outer), (double)light.Falloff);
}

// The colour a lit vertex gets. It has no normal, so no light reflects
// diffusely or specularly from it: what is left is the ambient light times
// the material's ambient, plus the emissive, at the diffuse colour's alpha.
void LightVertex(const IDirect3DDevice9::Impl* impl, const double (&camera)[3], const double (&vertex)[4],
                 double (&out)[4]) {
    const DWORD* rs = impl->renderStates;
    double ambient[4], diffuse[4], emissive[4], light[4];
    MaterialColour(rs, RsAmbientMaterialSource, vertex, MaterialNone, ambient);
    MaterialColour(rs, RsDiffuseMaterialSource, vertex, MaterialDiffuse, diffuse);
    MaterialColour(rs, RsEmissiveMaterialSource, vertex, MaterialNone, emissive);
    ColourOf((D3DCOLOR)rs[RsAmbient], light);
    for (const LightSlot& slot : impl->lights) {
        if (!slot.enabled) continue;
        double lightAmbient[4];
        ColourOf(slot.light.Ambient, lightAmbient);
        const double reach = LightReach(slot.light, impl->view, camera);
        for (int c = 1; c < 4; ++c) light[c] += reach * lightAmbient[c];
    }
    out[A] = Clamp01(diffuse[A]);
    for (int c = 1; c < 4; ++c) out[c] = Clamp01(ambient[c] * light[c] + emissive[c]);
}

// Texel (x, y) of a texture with the sampler's addressing, for coordinates
// that may fall one texel outside it.
void AddressedTexel(const IDirect3DTexture9::Impl* texture, const DWORD* sampler, long x, long y, double (&out)[4]) {
    long at[2] = {x, y};
    const long sizes[2] = {(long)texture->width, (long)texture->height};
    for (int axis = 0; axis < 2; ++axis) {
        const long size = sizes[axis];
        long& i = at[axis];
        if (i >= 0 && i < size) continue;
        switch (sampler[SampAddressU + axis]) {
        case AddressWrap: i = ((i % size) + size) % size; break;
        case AddressBorder: ColourOf((D3DCOLOR)sampler[SampBorderColor], out); return;
        case AddressMirror: {
            const long period = 2 * size;
            const long m = ((i % period) + period) % period;
            i = m < size ? m : period - 1 - m;
            break;
        }
        default: i = i < 0 ? 0 : size - 1; break;  // clamp, and mirror once
        }
    }
    ColourOf(TexelAt(texture, (UINT)at[0], (UINT)at[1]), out);
}

// Samples a texture at (u, v) as sampler 0 says. The coordinates of a line
// do not change along it, so the texture is always magnified.
void Sample(const IDirect3DTexture9::Impl* texture, const DWORD* sampler, double u, double v, double (&out)[4]) {
    const double x = u * texture->width - 0.5, y = v * texture->height - 0.5;
    // No filter at all reads as the nearest texel, as point filtering does.
    if (sampler[D3DSAMP_MAGFILTER] <= D3DTEXF_POINT) {
        AddressedTexel(texture, sampler, (long)std::floor(x + 0.5), (long)std::floor(y + 0.5), out);
        return;
    }
    // Linear, and the filters this device does not have, which come closest.
    const double x0 = std::floor(x), y0 = std::floor(y);
    const double fx = x - x0, fy = y - y0;
    for (double& c : out) c = 0.0;
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
            double texel[4];
            AddressedTexel(texture, sampler, (long)x0 + dx, (long)y0 + dy, texel);
            const double weight = (dx ? fx : 1.0 - fx) * (dy ? fy : 1.0 - fy);
            for (int c = 0; c < 4; ++c) out[c] += weight * texel[c];
        }
    }
}

struct StageInputs {
    const double* diffuse;
    const double* specular;
    const double* texel;
    const double* factor;
};

double Argument(DWORD arg, const StageInputs& in, int channel) {
    const int from = (arg & ArgAlphaReplicate) ? A : channel;
    double value;
    switch (arg & ArgSelectorMask) {
    case D3DTA_TEXTURE: value = in.texel[from]; break;
    case ArgTextureFactor: value = in.factor[from]; break;
    case ArgSpecular: value = in.specular[from]; break;
    case ArgTemp: value = 0.0; break;
    default: value = in.diffuse[from]; break;  // diffuse, and current: at stage 0 it is the diffuse
    }
    return (arg & ArgComplement) ? 1.0 - value : value;
}

// One channel through stage 0's operation. Operations this device does not
// have leave the stage passing on what it was given, as a disabled one does.
double Combine(DWORD op, DWORD arg1, DWORD arg2, const StageInputs& in, int channel) {
    const double a = Argument(arg1, in, channel), b = Argument(arg2, in, channel);
    auto blend = [&](double alpha) { return a * alpha + b * (1.0 - alpha); };
    double value;
    switch (op) {
    case OpSelectArg1: value = a; break;
    case OpSelectArg2: value = b; break;
    case OpModulate: value = a * b; break;
    case OpModulate2x: value = 2.0 * a * b; break;
    case OpModulate4x: value = 4.0 * a * b; break;
    case OpAdd: value = a + b; break;
    case OpAddSigned: value = a + b - 0.5; break;
    case OpAddSigned2x: value = 2.0 * (a + b - 0.5); break;
    case OpSubtract: value = a - b; break;
    case OpAddSmooth: value = a + b - a * b; break;
    case OpBlendDiffuseAlpha:
    case OpBlendCurrentAlpha: value = blend(in.diffuse[A]); break;
    case OpBlendTextureAlpha: value = blend(in.texel[A]); break;
    case OpBlendFactorAlpha: value = blend(in.factor[A]); break;
    case OpBlendTextureAlphaPm: value = a + b * (1.0 - in.texel[A]); break;
    default: value = in.diffuse[channel]; break;
    }
    return Clamp01(value);
}

}  // namespace

double FogFactor(DWORD mode, double d, const DWORD* renderStates) {
    const double density = FloatState(renderStates, D3DRS_FOGDENSITY);
    switch (mode) {
    case D3DFOG_LINEAR: {
        const double start = FloatState(renderStates, D3DRS_FOGSTART);
        const double end = FloatState(renderStates, D3DRS_FOGEND);
        // With no span between start and end the fog is all there from its
        // end on and absent before it, as the formula tends to either side.
        if (end == start) return d < end ? 1.0 : 0.0;
        return Clamp01((end - d) / (end - start));
    }
    case D3DFOG_EXP: return Clamp01(std::exp(-density * d));
    case D3DFOG_EXP2: return Clamp01(std::exp(-(density * d) * (density * d)));
    default: return 1.0;
    }
}

ShadedVertex ShadeVertex(const IDirect3DDevice9::Impl* impl, const double (&camera)[3], D3DCOLOR colour) {
    const DWORD* rs = impl->renderStates;
    ShadedVertex v;
    double own[4];
    ColourOf(colour, own);
    if (rs[D3DRS_LIGHTING]) {
        LightVertex(impl, camera, own, v.diffuse);
    } else {
        std::memcpy(v.diffuse, own, sizeof own);
    }
    // A lit line has no normal to catch a highlight, and an unlit line
    // vertex carries no specular colour: either way there is none to add.
    for (double& c : v.specular) c = 0.0;
    // Whether vertex fog is used at all is the pixel stage's to say. A
    // right-handed camera looks down -z: its depth is the size of z.
    const double d = rs[D3DRS_RANGEFOGENABLE] ? std::sqrt(Dot(camera, camera)) : std::fabs(camera[2]);
    v.fog = FogFactor(rs[D3DRS_FOGVERTEXMODE], d, rs);
    return v;
}

PixelShading PreparePixelShading(IDirect3DDevice9::Impl* impl) {
    const DWORD* rs = impl->renderStates;
    PixelShading shading{};
    shading.impl = impl;
    IDirect3DTexture9* texture = impl->textures[0];
    shading.textured = texture && TextureReady(texture);
    // A line vertex has no texture coordinates: every pixel reads (0, 0).
    if (shading.textured) Sample(texture->impl, impl->samplerStates[0], 0.0, 0.0, shading.texel);
    ColourOf((D3DCOLOR)rs[RsTextureFactor], shading.factor);
    shading.addSpecular = rs[D3DRS_SPECULARENABLE] != 0;
    if (rs[D3DRS_FOGENABLE]) {
        shading.pixelFogMode = rs[D3DRS_FOGTABLEMODE];
        const D3DMATRIX& p = impl->projection;
        const bool perspective = p.m[0][3] != 0.0f || p.m[1][3] != 0.0f || p.m[2][3] != 0.0f || p.m[3][3] != 1.0f;
        shading.fogByEyeDistance = shading.pixelFogMode != D3DFOG_NONE && perspective;
        shading.vertexFog = shading.pixelFogMode == D3DFOG_NONE && rs[D3DRS_FOGVERTEXMODE] != D3DFOG_NONE;
    }
    ColourOf((D3DCOLOR)rs[D3DRS_FOGCOLOR], shading.fogColour);
    return shading;
}

void ShadePixel(const PixelShading& shading, const double (&diffuse)[4], const double (&specular)[4], double fog,
                double fogDistance, double (&out)[4]) {
    std::memcpy(out, diffuse, sizeof out);
    const DWORD* ts = shading.impl->stageStates[0];
    const StageInputs in{diffuse, specular, shading.texel, shading.factor};
    // With nothing bound the stage has nothing to combine: the line keeps
    // its colour and alpha, as untextured drawing always has.
    if (shading.textured && ts[D3DTSS_COLOROP] != OpDisable) {
        for (int c = 1; c < 4; ++c) out[c] = Combine(ts[D3DTSS_COLOROP], ts[D3DTSS_COLORARG1], ts[D3DTSS_COLORARG2], in, c);
        // Alpha switched off alone keeps the diffuse alpha.
        if (ts[D3DTSS_ALPHAOP] != OpDisable) {
            out[A] = Combine(ts[D3DTSS_ALPHAOP], ts[D3DTSS_ALPHAARG1], ts[D3DTSS_ALPHAARG2], in, A);
        }
    }
    if (shading.addSpecular) {
        for (int c = 1; c < 4; ++c) out[c] = Clamp01(out[c] + specular[c]);
    }
    const double f = shading.pixelFogMode != D3DFOG_NONE ? FogFactor(shading.pixelFogMode, fogDistance, shading.impl->renderStates)
                     : shading.vertexFog                  ? fog
                                                          : 1.0;
    for (int c = 1; c < 4; ++c) out[c] = f * out[c] + (1.0 - f) * shading.fogColour[c];
}
