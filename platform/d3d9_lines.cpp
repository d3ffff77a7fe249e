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

double Clamp01(double t) { return t < 0.0 ? 0.0 : t > 1.0 ? 1.0 : t; }

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

// A line as the rasteriser walks it: u along its long axis, turned so that
// it grows from the first end to the second, v across it, in pixels with
// the centres on whole numbers. Each pixel owns the open diamond
// |u - c| + |v - row| < 1/2 around its centre, and is drawn where the
// line leaves it; the diamond holding the line's end is its last pixel.
struct LineWalk {
    double u0, v0, slope;  // |slope| <= 1

    // The row whose diamond the line passes through in column c, found
    // where the line crosses the column's centre; rows halfway between
    // go to the larger.
    long Row(long c, double* offset) const {
        const double v = v0 + slope * (c - u0);
        const double row = std::floor(v + 0.5);
        *offset = v - row;
        return (long)row;
    }
    // How far past the column's centre the line leaves its diamond (Exit)
    // or short of it enters (Entry); 0 to 1/2. A line that only grazes a
    // corner is taken to pass through it there. An offset rounded a hair
    // past 1/2 still counts as the corner.
    static double Reach(double slope, double offset) {
        return std::fmax(0.0, std::fmin((0.5 - offset) / (1.0 + slope), (0.5 + offset) / (1.0 - slope)));
    }
    double Exit(long c) const {
        double offset;
        Row(c, &offset);
        return c + Reach(slope, offset);
    }
    double Entry(long c) const {
        double offset;
        Row(c, &offset);
        return c - Reach(-slope, offset);
    }
};

// One line between any two points of the screen. Between its ends it
// draws one pixel per column of its long axis, never two; its last pixel
// only when `lastPixel` says so.
void RasteriseLine(IDirect3DDevice9::Impl* impl, const PixelShading& shading, const ClipVertex& a,
                   const ClipVertex& b, bool lastPixel) {
    const double halfW = impl->width / 2.0, halfH = impl->height / 2.0;
    const double x0 = (a.x / a.w + 1.0) * halfW, y0 = (1.0 - a.y / a.w) * halfH, z0 = a.z / a.w;
    const double x1 = (b.x / b.w + 1.0) * halfW, y1 = (1.0 - b.y / b.w) * halfH, z1 = b.z / b.w;
    // The cut of a line with far-flung ends can land on rounding noise far
    // off the screen, even with both ends together: such a line shows
    // nothing, and its columns would not fit the walk's whole numbers.
    for (double at : {x0, y0, z0, x1, y1, z1}) {
        if (!(std::fabs(at) < MaxLineSteps)) return;
    }
    const double length = std::fmax(std::fabs(x1 - x0), std::fabs(y1 - y0));
    if (!(length < MaxLineSteps)) return;
    const bool xMajor = std::fabs(x1 - x0) >= std::fabs(y1 - y0);
    const double major0 = xMajor ? x0 : y0, major1 = xMajor ? x1 : y1;
    const long sign = major1 >= major0 ? 1 : -1;
    const double u0 = sign * major0, u1 = sign * major1;
    const double v0 = xMajor ? y0 : x0, v1 = xMajor ? y1 : x1;
    const LineWalk walk{u0, v0, length > 0.0 ? (v1 - v0) / length : 0.0};
    // The columns whose diamonds the line leaves, then the one it ends in.
    const long firstFloor = (long)std::floor(u0), lastFloor = (long)std::floor(u1);
    const long first = walk.Exit(firstFloor) > u0 ? firstFloor : firstFloor + 1;
    const long last = walk.Exit(lastFloor) <= u1 ? lastFloor : lastFloor - 1;
    const long end = lastPixel && u1 > walk.Entry(last + 1) ? last + 1 : last;

    const bool flat = impl->renderStates[D3DRS_SHADEMODE] == ShadeFlat;
    const double perLength = length > 0.0 ? 1.0 / length : 0.0;
    const double nearness0 = 1.0 / a.w, nearness1 = 1.0 / b.w;
    for (long c = first; c <= end; ++c) {
        const double t = Clamp01((c - u0) * perLength);
        ShadedVertex at = Lerp(a.shade, b.shade, t);
        if (flat) {
            std::memcpy(at.diffuse, a.shade.diffuse, sizeof at.diffuse);
            std::memcpy(at.specular, a.shade.specular, sizeof at.specular);
        }
        const double z = Mix(z0, z1, t);
        // Depth divided by w runs straight across the screen, and so does
        // 1 / w, but not w itself.
        const double fogDistance = shading.fogByEyeDistance ? 1.0 / Mix(nearness0, nearness1, t) : z;
        double colour[4];
        ShadePixel(shading, at.diffuse, at.specular, at.fog, fogDistance, colour);
        double offset;
        const long row = walk.Row(c, &offset);
        const long along = sign * c;
        Plot(impl, (int)(xMajor ? along : row), (int)(xMajor ? row : along), z, colour);
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
        // Inside a strip each joint is the next line's first pixel.
        const bool lastPixel = impl->renderStates[RsLastPixel] && (type == D3DPT_LINELIST || line + 1 == primitiveCount);
        if (ClipSegment(&a, &b)) RasteriseLine(impl, shading, a, b, lastPixel);
    }
    return D3D_OK;
}
