// Lines: vertices lit and fogged in camera space, through the projection,
// clipped to the view volume, onto the whole back buffer, each pixel
// through the texture stage and fog before it is blended.
#include <cmath>
#include <cstring>
#include <initializer_list>
#include "platform/d3d9_shading.h"

namespace {
constexpr DWORD LineFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;
constexpr UINT LineVertexBytes = 16;
constexpr DWORD ShadeFlat = 1;
// Clipped lines are at most a diagonal of the back buffer; anything
// longer came from arithmetic gone wrong.
constexpr double MaxLineSteps = 2.0 * MaxSurfaceSide;
constexpr DWORD BlendZero = 1;

struct ClipVertex {
    double x, y, z, w;
    ShadedVertex shade;
};

// The world x view and world x view x projection products.
struct Transforms {
    double camera[4][4];
    double clip[4][4];
};

void Transform(const float (&position)[3], const double (&m)[4][4], int columns, double* out) {
    for (int col = 0; col < columns; ++col) {
        out[col] = position[0] * m[0][col] + position[1] * m[1][col] + position[2] * m[2][col] + m[3][col];
    }
}

ClipVertex ReadVertex(const IDirect3DDevice9::Impl* impl, const unsigned char* bytes, const Transforms& m) {
    float position[3];
    uint32_t colour;
    std::memcpy(position, bytes, sizeof position);
    std::memcpy(&colour, bytes + 12, sizeof colour);
    ClipVertex v;
    double clip[4], camera[3];
    Transform(position, m.clip, 4, clip);
    Transform(position, m.camera, 3, camera);
    v.x = clip[0];
    v.y = clip[1];
    v.z = clip[2];
    v.w = clip[3];
    v.shade = ShadeVertex(impl, camera, colour);
    return v;
}

double Mix(double a, double b, double t) { return a + (b - a) * t; }

ShadedVertex Lerp(const ShadedVertex& a, const ShadedVertex& b, double t) {
    ShadedVertex v;
    for (int c = 0; c < 4; ++c) {
        v.diffuse[c] = Mix(a.diffuse[c], b.diffuse[c], t);
        v.specular[c] = Mix(a.specular[c], b.specular[c], t);
    }
    v.fog = Mix(a.fog, b.fog, t);
    return v;
}

ClipVertex Lerp(const ClipVertex& a, const ClipVertex& b, double t) {
    ClipVertex v;
    v.x = Mix(a.x, b.x, t);
    v.y = Mix(a.y, b.y, t);
    v.z = Mix(a.z, b.z, t);
    v.w = Mix(a.w, b.w, t);
    v.shade = Lerp(a.shade, b.shade, t);
    return v;
}

// Cuts the segment to -w <= x, y <= w and 0 <= z <= w; false when nothing
// of it is left.
bool ClipSegment(ClipVertex* a, ClipVertex* b) {
    for (const ClipVertex* v : {a, b}) {
        if (!std::isfinite(v->x) || !std::isfinite(v->y) || !std::isfinite(v->z) || !std::isfinite(v->w)) return false;
    }
    auto planes = [](const ClipVertex& v, int i) {
        switch (i) {
        case 0: return v.w + v.x;
        case 1: return v.w - v.x;
        case 2: return v.w + v.y;
        case 3: return v.w - v.y;
        case 4: return v.z;
        default: return v.w - v.z;
        }
    };
    double t0 = 0.0, t1 = 1.0;
    for (int i = 0; i < 6; ++i) {
        const double da = planes(*a, i), db = planes(*b, i);
        if (!(da >= 0.0) && !(db >= 0.0)) return false;
        if (da < 0.0) t0 = std::fmax(t0, da / (da - db));
        if (db < 0.0) t1 = std::fmin(t1, da / (da - db));
    }
    if (!(t0 <= t1)) return false;
    const ClipVertex start = Lerp(*a, *b, t0), end = Lerp(*a, *b, t1);
    *a = start;
    *b = end;
    return a->w > 0.0 && b->w > 0.0;
}

double BlendFactor(DWORD factor, double srcAlpha) {
    switch (factor) {
    case BlendZero: return 0.0;
    case D3DBLEND_SRCALPHA: return srcAlpha;
    case D3DBLEND_INVSRCALPHA: return 1.0 - srcAlpha;
    default: return 1.0;
    }
}

// colour: a, r, g, b in 0..1.
void Plot(IDirect3DDevice9::Impl* impl, int x, int y, double z, const double (&colour)[4]) {
    if (x < 0 || y < 0 || x >= (int)impl->width || y >= (int)impl->height) return;
    const size_t at = (size_t)y * impl->width + x;
    const DWORD* rs = impl->renderStates;
    float* depth = DeviceDepth(impl);
    if (rs[D3DRS_ZENABLE] && depth) {
        if (!(z <= depth[at])) return;
        if (rs[D3DRS_ZWRITEENABLE]) depth[at] = (float)z;
    }
    uint32_t pixel = 0xFF000000u;
    const double srcAlpha = colour[0];
    const bool blend = rs[D3DRS_ALPHABLENDENABLE] != 0;
    const double fs = blend ? BlendFactor(rs[D3DRS_SRCBLEND], srcAlpha) : 1.0;
    const double fd = blend ? BlendFactor(rs[D3DRS_DESTBLEND], srcAlpha) : 0.0;
    for (int c = 1; c < 4; ++c) {
        const int shift = 24 - 8 * c;
        const double dst = (impl->color[at] >> shift) & 0xFF;
        double value = colour[c] * 255.0 * fs + dst * fd;
        value = value < 0.0 ? 0.0 : value > 255.0 ? 255.0 : value;
        pixel |= (uint32_t)std::lround(value) << shift;
    }
    impl->color[at] = pixel;
}

// One line from pixel-centre to pixel-centre. Its last pixel is drawn only
// while the device's last-pixel state is on, as a Direct3D rasteriser does.
void RasteriseLine(IDirect3DDevice9::Impl* impl, const PixelShading& shading, const ClipVertex& a,
                   const ClipVertex& b) {
    const double halfW = impl->width / 2.0, halfH = impl->height / 2.0;
    const double x0 = (a.x / a.w + 1.0) * halfW, y0 = (1.0 - a.y / a.w) * halfH, z0 = a.z / a.w;
    const double x1 = (b.x / b.w + 1.0) * halfW, y1 = (1.0 - b.y / b.w) * halfH, z1 = b.z / b.w;
    const double length = std::fmax(std::fabs(x1 - x0), std::fabs(y1 - y0));
    if (!(length < MaxLineSteps)) return;
    const long steps = std::lround(length);
    const bool flat = impl->renderStates[D3DRS_SHADEMODE] == ShadeFlat;
    // A line shorter than a pixel still has a last pixel: the one it ends in.
    const long pixels = steps + (impl->renderStates[RsLastPixel] ? 1 : 0);
    for (long i = 0; i < pixels; ++i) {
        const double t = i < steps ? i / length : 1.0;
        ShadedVertex at = Lerp(a.shade, b.shade, t);
        if (flat) {
            std::memcpy(at.diffuse, a.shade.diffuse, sizeof at.diffuse);
            std::memcpy(at.specular, a.shade.specular, sizeof at.specular);
        }
        const double z = Mix(z0, z1, t);
        double colour[4];
        ShadePixel(shading, at.diffuse, at.specular, at.fog, z, colour);
        Plot(impl, (int)std::lround(Mix(x0, x1, t)), (int)std::lround(Mix(y0, y1, t)), z, colour);
    }
}

// out = out x next.
void Combine(double (&out)[4][4], const D3DMATRIX& next) {
    double product[4][4];
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += out[row][k] * next.m[k][col];
            product[row][col] = sum;
        }
    }
    std::memcpy(out, product, sizeof product);
}
}  // namespace

HRESULT IDirect3DDevice9::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices,
                                          UINT stride) {
    if (type != D3DPT_LINELIST && type != D3DPT_LINESTRIP) return D3DERR_INVALIDCALL;
    if (!vertices || stride < LineVertexBytes || impl->fvf != LineFvf) return D3DERR_INVALIDCALL;
    Transforms m;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) m.camera[row][col] = impl->world.m[row][col];
    }
    Combine(m.camera, impl->view);
    std::memcpy(m.clip, m.camera, sizeof m.clip);
    Combine(m.clip, impl->projection);
    const PixelShading shading = PreparePixelShading(impl);
    const unsigned char* bytes = static_cast<const unsigned char*>(vertices);
    for (UINT line = 0; line < primitiveCount; ++line) {
        const size_t first = type == D3DPT_LINELIST ? 2 * (size_t)line : line;
        ClipVertex a = ReadVertex(impl, bytes + first * stride, m);
        ClipVertex b = ReadVertex(impl, bytes + (first + 1) * stride, m);
        if (ClipSegment(&a, &b)) RasteriseLine(impl, shading, a, b);
    }
    return D3D_OK;
}
