// Untextured lines: vertices through world x view x projection, clipped
// to the view volume, onto the whole back buffer. Lighting and fog are
// kept as states but not applied.
#include <cmath>
#include <cstring>
#include <initializer_list>
#include "platform/d3d9_internal.h"

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
    double colour[4];  // a, r, g, b in 0..255
};

ClipVertex ReadVertex(const unsigned char* bytes, const double (&m)[4][4]) {
    float position[3];
    uint32_t colour;
    std::memcpy(position, bytes, sizeof position);
    std::memcpy(&colour, bytes + 12, sizeof colour);
    ClipVertex v;
    double* out[4] = {&v.x, &v.y, &v.z, &v.w};
    for (int col = 0; col < 4; ++col) {
        *out[col] = position[0] * m[0][col] + position[1] * m[1][col] + position[2] * m[2][col] + m[3][col];
    }
    for (int c = 0; c < 4; ++c) v.colour[c] = (colour >> (24 - 8 * c)) & 0xFF;
    return v;
}

ClipVertex Lerp(const ClipVertex& a, const ClipVertex& b, double t) {
    ClipVertex v;
    v.x = a.x + (b.x - a.x) * t;
    v.y = a.y + (b.y - a.y) * t;
    v.z = a.z + (b.z - a.z) * t;
    v.w = a.w + (b.w - a.w) * t;
    for (int c = 0; c < 4; ++c) v.colour[c] = a.colour[c] + (b.colour[c] - a.colour[c]) * t;
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
    const double srcAlpha = colour[0] / 255.0;
    const bool blend = rs[D3DRS_ALPHABLENDENABLE] != 0;
    const double fs = blend ? BlendFactor(rs[D3DRS_SRCBLEND], srcAlpha) : 1.0;
    const double fd = blend ? BlendFactor(rs[D3DRS_DESTBLEND], srcAlpha) : 0.0;
    for (int c = 1; c < 4; ++c) {
        const int shift = 24 - 8 * c;
        const double dst = (impl->color[at] >> shift) & 0xFF;
        double value = colour[c] * fs + dst * fd;
        value = value < 0.0 ? 0.0 : value > 255.0 ? 255.0 : value;
        pixel |= (uint32_t)std::lround(value) << shift;
    }
    impl->color[at] = pixel;
}

// One line from pixel-centre to pixel-centre, its last pixel left out as
// a Direct3D rasteriser leaves it.
void RasteriseLine(IDirect3DDevice9::Impl* impl, const ClipVertex& a, const ClipVertex& b) {
    const double halfW = impl->width / 2.0, halfH = impl->height / 2.0;
    const double x0 = (a.x / a.w + 1.0) * halfW, y0 = (1.0 - a.y / a.w) * halfH, z0 = a.z / a.w;
    const double x1 = (b.x / b.w + 1.0) * halfW, y1 = (1.0 - b.y / b.w) * halfH, z1 = b.z / b.w;
    const double length = std::fmax(std::fabs(x1 - x0), std::fabs(y1 - y0));
    if (!(length < MaxLineSteps)) return;
    const long steps = std::lround(length);
    const bool flat = impl->renderStates[D3DRS_SHADEMODE] == ShadeFlat;
    for (long i = 0; i < steps; ++i) {
        const double t = i / length;
        double colour[4];
        for (int c = 0; c < 4; ++c) colour[c] = flat ? a.colour[c] : a.colour[c] + (b.colour[c] - a.colour[c]) * t;
        Plot(impl, (int)std::lround(x0 + (x1 - x0) * t), (int)std::lround(y0 + (y1 - y0) * t), z0 + (z1 - z0) * t,
             colour);
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
    double m[4][4];
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) m[row][col] = impl->world.m[row][col];
    }
    Combine(m, impl->view);
    Combine(m, impl->projection);
    const unsigned char* bytes = static_cast<const unsigned char*>(vertices);
    for (UINT line = 0; line < primitiveCount; ++line) {
        const size_t first = type == D3DPT_LINELIST ? 2 * (size_t)line : line;
        ClipVertex a = ReadVertex(bytes + first * stride, m);
        ClipVertex b = ReadVertex(bytes + (first + 1) * stride, m);
        if (ClipSegment(&a, &b)) RasteriseLine(impl, a, b);
    }
    return D3D_OK;
}
