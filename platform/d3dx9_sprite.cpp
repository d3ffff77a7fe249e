// The sprite batch: each Draw composites at once into the back buffer
// with pixman. A Direct3D 9 rasteriser samples each pixel at its integer
// corner and fills a pixel on a picture's left or top edge but not on its
// right or bottom edge; the draws here place texels the same way.
#include <cmath>
#include <cstring>
#include <initializer_list>
#include "platform/d3d9_internal.h"
#include "platform/d3dx9.h"

namespace {
// How far right and down of the pixel's corner a turned picture is
// sampled, so that an edge falling exactly on a pixel belongs to the
// picture on its right or below.
constexpr double FillRuleNudgePx = 1.0 / 512.0;
constexpr double TurnedBandPx = 16.0;
constexpr int ViewCacheSize = 128;
// Premultiplied copies kept by the views: three screens' worth.
constexpr size_t MaxPremultipliedTexels = 1u << 20;

struct PixelBox {
    int x0, y0, x1, y1;  // x1, y1 exclusive
    bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

PixelBox ClipToTarget(double x0, double y0, double x1, double y1, int width, int height) {
    PixelBox box{0, 0, 0, 0};
    if (!(x0 < width && y0 < height && x1 > 0 && y1 > 0)) return box;  // also rejects NaN
    box.x0 = x0 < 0 ? 0 : (int)x0;
    box.y0 = y0 < 0 ? 0 : (int)y0;
    box.x1 = x1 > width ? width : (int)x1;
    box.y1 = y1 > height ? height : (int)y1;
    return box;
}

// The leftmost and rightmost x of the convex outline (xs, ys) between
// the heights top and bottom; false when none of it lies there.
bool SlabExtent(const double (&xs)[4], const double (&ys)[4], double top, double bottom, double* left,
                double* right) {
    bool found = false;
    auto take = [&](double x) {
        *left = found ? std::fmin(*left, x) : x;
        *right = found ? std::fmax(*right, x) : x;
        found = true;
    };
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        if (ys[i] >= top && ys[i] <= bottom) take(xs[i]);
        for (double edge : {top, bottom}) {
            if ((ys[i] < edge) != (ys[j] < edge)) take(xs[i] + (xs[j] - xs[i]) * (edge - ys[i]) / (ys[j] - ys[i]));
        }
    }
    return found;
}

uint32_t ModulateByte(uint32_t texel, uint32_t colour, int shift) {
    const uint32_t t = ((texel >> shift) & 0xFF) * ((colour >> shift) & 0xFF) + 128;
    return (t + (t >> 8)) >> 8;
}

// The texels of the clipped rectangle times a colour other than white,
// premultiplied when they are to be blended; new[] storage for one draw.
uint32_t* ModulatedCopy(const IDirect3DTexture9::Impl* texture, int left, int top, int width, int height,
                        D3DCOLOR colour, bool premultiply) {
    uint32_t* copy = new uint32_t[(size_t)width * height];
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t texel = TexelAt(texture, (UINT)(left + x), (UINT)(top + y));
            const uint32_t a = ModulateByte(texel, colour, 24);
            uint32_t p = a << 24;
            for (int shift = 16; shift >= 0; shift -= 8) {
                const uint32_t c = ModulateByte(texel, colour, shift);
                const uint32_t t = c * a + 128;
                p |= (premultiply ? (t + (t >> 8)) >> 8 : c) << shift;
            }
            copy[(size_t)y * width + x] = p;
        }
    }
    return copy;
}

// Where a draw's picture lands: picture point q (the first drawn texel's
// corner at 0) goes to q x [a b; c d] + (tx, ty) on the screen.
struct Placement {
    double a, b, c, d, tx, ty;
    int width, height;  // texels drawn
};

// No turn and no scale: a copy or blend of whole pixels, starting on the
// first pixel at or after the origin.
void CompositePlain(pixman_image_t* picture, pixman_image_t* mask, pixman_image_t* target, const Placement& p) {
    const double x = std::ceil(p.tx), y = std::ceil(p.ty);
    const PixelBox box = ClipToTarget(x, y, x + p.width, y + p.height, pixman_image_get_width(target),
                                      pixman_image_get_height(target));
    if (box.Empty()) return;
    pixman_image_composite32(PIXMAN_OP_OVER, picture, mask, target, box.x0 - (int)x, box.y0 - (int)y, 0, 0, box.x0,
                             box.y0, box.x1 - box.x0, box.y1 - box.y0);
}

// An opaque packed picture placed pixel for pixel at full strength: its
// texels widened straight into the target, as pixman would but without
// its slower general path for three-byte pixels.
void CopyPacked(const IDirect3DTexture9::Impl* texture, LONG left, LONG top, pixman_image_t* target,
                const Placement& p) {
    const double x = std::ceil(p.tx), y = std::ceil(p.ty);
    const PixelBox box = ClipToTarget(x, y, x + p.width, y + p.height, pixman_image_get_width(target),
                                      pixman_image_get_height(target));
    if (box.Empty()) return;
    const size_t pitch = PackedPitch(texture->width);
    const size_t targetPitch = (size_t)pixman_image_get_stride(target) / 4;
    for (int row = box.y0; row < box.y1; ++row) {
        const unsigned char* from =
            texture->packed + (size_t)(top + row - (int)y) * pitch + (size_t)(left + box.x0 - (int)x) * 3;
        uint32_t* to = pixman_image_get_data(target) + (size_t)row * targetPitch + box.x0;
        const int count = box.x1 - box.x0;
        int i = 0;
        // Four texels from three words, then one at a time: the last texel
        // of a row may end its picture's storage.
        for (; i + 4 <= count; i += 4, from += 12) {
            uint32_t w[3];
            std::memcpy(w, from, sizeof w);
            to[i] = w[0] | 0xFF000000u;
            to[i + 1] = w[0] >> 24 | w[1] << 8 | 0xFF000000u;
            to[i + 2] = w[1] >> 16 | w[2] << 16 | 0xFF000000u;
            to[i + 3] = w[2] >> 8 | 0xFF000000u;
        }
        for (; i < count; ++i, from += 3)
            to[i] = 0xFF000000u | (uint32_t)from[2] << 16 | (uint32_t)from[1] << 8 | from[0];
    }
}

void CompositeTransformed(pixman_image_t* picture, pixman_image_t* mask, pixman_image_t* target, const Placement& p,
                          bool smooth) {
    const double det = p.a * p.d - p.b * p.c;
    if (!std::isfinite(det) || det == 0.0) return;
    // pixman samples screen pixel v at v + 0.5 and maps it back to the
    // picture; Direct3D samples at v itself, nudged for the fill rule.
    const double nudge = smooth ? 0.0 : FillRuleNudgePx;
    const double ia = p.d / det, ib = -p.b / det, ic = -p.c / det, id = p.a / det;
    const double sx = -0.5 + nudge - p.tx, sy = -0.5 + nudge - p.ty;
    pixman_f_transform inverse;
    pixman_f_transform_init_identity(&inverse);
    inverse.m[0][0] = ia;
    inverse.m[0][1] = ic;
    inverse.m[0][2] = sx * ia + sy * ic;
    inverse.m[1][0] = ib;
    inverse.m[1][1] = id;
    inverse.m[1][2] = sx * ib + sy * id;
    pixman_transform fixed;
    if (!pixman_transform_from_pixman_f_transform(&fixed, &inverse)) return;
    pixman_image_set_transform(picture, &fixed);
    pixman_image_set_filter(picture, smooth ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);

    // Corners in order round the picture's edge.
    const double w = p.width, h = p.height;
    const double xs[4] = {p.tx, p.tx + w * p.a, p.tx + w * p.a + h * p.c, p.tx + h * p.c};
    const double ys[4] = {p.ty, p.ty + w * p.b, p.ty + w * p.b + h * p.d, p.ty + h * p.d};
    double highest = ys[0], lowest = ys[0];
    for (double y : ys) highest = std::fmin(highest, y), lowest = std::fmax(lowest, y);
    // Band by band, so that a turned picture does not pay for the empty
    // corners of its whole bounding box.
    const int targetWidth = pixman_image_get_width(target), targetHeight = pixman_image_get_height(target);
    const double firstBand = std::fmax(std::floor(highest) - 1, 0.0);
    const double lastBand = std::fmin(lowest + 1, (double)targetHeight);
    for (double bandTop = firstBand; bandTop < lastBand; bandTop += TurnedBandPx) {
        double leftmost = 0.0, rightmost = 0.0;
        if (!SlabExtent(xs, ys, bandTop - 1, bandTop + TurnedBandPx + 1, &leftmost, &rightmost)) continue;
        const PixelBox box = ClipToTarget(std::floor(leftmost) - 1, bandTop, std::ceil(rightmost) + 1,
                                          std::fmin(bandTop + TurnedBandPx, lastBand), targetWidth, targetHeight);
        if (box.Empty()) continue;
        pixman_image_composite32(PIXMAN_OP_OVER, picture, mask, target, box.x0, box.y0, 0, 0, box.x0, box.y0,
                                 box.x1 - box.x0, box.y1 - box.y0);
    }
}
}  // namespace

// Rounded a * c / 255 for each colour byte of a straight texel. Full and
// no coverage come out unchanged and as zero; most texels of a sprite
// sheet are one or the other.
uint32_t Premultiplied(uint32_t p) {
    const uint32_t a = p >> 24;
    if (a == 0xFF || a == 0) return a ? p : 0;
    auto scale = [a](uint32_t c) {
        const uint32_t t = a * c + 128;
        return (t + (t >> 8)) >> 8;
    };
    return (a << 24) | (scale((p >> 16) & 0xFF) << 16) | (scale((p >> 8) & 0xFF) << 8) | scale(p & 0xFF);
}

// A pixman image over one rectangle of one texture's contents, kept from
// frame to frame: the game draws the same cells over and over. A blended
// view of a picture with alpha holds the rectangle premultiplied; the
// others read the texture's own pixels.
struct PictureView {
    uint64_t serial = 0;  // the texture contents it shows; 0 for none
    LONG left = 0, top = 0;
    int width = 0, height = 0;
    pixman_format_code_t format = PIXMAN_a8r8g8b8;
    bool turned = false;  // carries a transform
    uint64_t lastUse = 0;
    pixman_image_t* image = nullptr;
    uint32_t* premultiplied = nullptr;  // new[]; null when the view reads the texture
};

struct ID3DXSprite::Impl {
    ULONG refs = 1;
    IDirect3DDevice9* device = nullptr;  // one reference held
    D3DXMATRIX transform{};
    bool begun = false;
    DWORD flags = 0;

    PictureView views[ViewCacheSize];
    uint64_t draws = 0;
    uint64_t drawsBeforeBatch = 0;
    size_t premultipliedTexels = 0;  // held by all views
    pixman_image_t* levelMasks[256] = {};  // solid alpha, by level

    ~Impl() {
        for (PictureView& view : views) Drop(&view);
        for (pixman_image_t* mask : levelMasks) {
            if (mask) pixman_image_unref(mask);
        }
    }

    void Drop(PictureView* view) {
        if (view->image) pixman_image_unref(view->image);
        if (view->premultiplied) premultipliedTexels -= (size_t)view->width * view->height;
        delete[] view->premultiplied;
        *view = PictureView{};
    }

    // The view of the texture's rectangle as the format asks: x8r8g8b8
    // copies the texels, a8r8g8b8 blends them.
    pixman_image_t* View(const IDirect3DTexture9::Impl* texture, LONG left, LONG top, int width, int height,
                         pixman_format_code_t format, bool turned) {
        ++draws;
        PictureView* oldest = &views[0];
        for (PictureView& view : views) {
            if (view.serial == texture->serial && view.left == left && view.top == top && view.width == width &&
                view.height == height && view.format == format && view.turned == turned) {
                view.lastUse = draws;
                return view.image;
            }
            if (view.lastUse < oldest->lastUse) oldest = &view;
        }
        Drop(oldest);
        const size_t texels = (size_t)width * height;
        // Copies beyond this many texels push out the views least used.
        while (format == PIXMAN_a8r8g8b8 && !texture->opaque && premultipliedTexels > 0 &&
               premultipliedTexels + texels > MaxPremultipliedTexels)
            Drop(LeastUsedCopy());
        *oldest = PictureView{texture->serial, left, top, width, height, format, turned, draws, nullptr, nullptr};
        if (texture->packed) {
            // pixman reads packed texels byte by byte, wherever a row starts.
            const size_t pitch = PackedPitch(texture->width);
            unsigned char* first = texture->packed + (size_t)top * pitch + (size_t)left * 3;
            oldest->image = pixman_image_create_bits(PIXMAN_r8g8b8, width, height, reinterpret_cast<uint32_t*>(first),
                                                     (int)pitch);
            return oldest->image;
        }
        const uint32_t* first = texture->pixels + (size_t)top * texture->width + left;
        if (format == PIXMAN_a8r8g8b8 && !texture->opaque) {
            oldest->premultiplied = new uint32_t[texels];
            premultipliedTexels += texels;
            for (int y = 0; y < height; ++y) {
                const uint32_t* row = first + (size_t)y * texture->width;
                uint32_t* to = oldest->premultiplied + (size_t)y * width;
                for (int x = 0; x < width; ++x) to[x] = Premultiplied(row[x]);
            }
            oldest->image = pixman_image_create_bits(format, width, height, oldest->premultiplied, width * 4);
        } else {
            oldest->image = pixman_image_create_bits(format, width, height, const_cast<uint32_t*>(first),
                                                     (int)texture->width * 4);
        }
        return oldest->image;
    }

    PictureView* LeastUsedCopy() {
        PictureView* least = nullptr;
        for (PictureView& view : views) {
            if (view.premultiplied && (!least || view.lastUse < least->lastUse)) least = &view;
        }
        return least;
    }

    pixman_image_t* LevelMask(uint32_t level) {
        if (!levelMasks[level]) {
            const pixman_color_t colour{0, 0, 0, (uint16_t)(level * 257)};
            levelMasks[level] = pixman_image_create_solid_fill(&colour);
        }
        return levelMasks[level];
    }
};

HRESULT D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite) {
    if (!device || !sprite) return D3DERR_INVALIDCALL;
    ID3DXSprite* made = NewDeviceChild<ID3DXSprite>(device);
    D3DXMatrixTranslation(&made->impl->transform, 0.0f, 0.0f, 0.0f);
    *sprite = made;
    return D3D_OK;
}

ULONG ID3DXSprite::AddRef() { return ++impl->refs; }

ULONG ID3DXSprite::Release() { return ReleaseDeviceChild(this); }

HRESULT ID3DXSprite::Begin(DWORD flags) {
    if (impl->begun) return D3DERR_INVALIDCALL;
    impl->begun = true;
    impl->flags = flags;
    impl->drawsBeforeBatch = impl->draws;
    return D3D_OK;
}

HRESULT ID3DXSprite::End() {
    if (!impl->begun) return D3DERR_INVALIDCALL;
    impl->begun = false;
    // A copy this batch did not draw goes: the next scene draws other
    // pictures, and a cell that comes back is premultiplied again.
    for (PictureView& view : impl->views) {
        if (view.premultiplied && view.lastUse <= impl->drawsBeforeBatch) impl->Drop(&view);
    }
    return D3D_OK;
}

HRESULT ID3DXSprite::SetTransform(const D3DXMATRIX* transform) {
    if (!transform) return D3DERR_INVALIDCALL;
    impl->transform = *transform;
    return D3D_OK;
}

HRESULT ID3DXSprite::GetTransform(D3DXMATRIX* transform) {
    if (!transform) return D3DERR_INVALIDCALL;
    *transform = impl->transform;
    return D3D_OK;
}

HRESULT ID3DXSprite::Draw(IDirect3DTexture9* texture, const RECT* source, const D3DXVECTOR3* center,
                          const D3DXVECTOR3* position, D3DCOLOR color) {
    if (!impl->begun || !texture || !TextureReady(texture) || texture->impl->locked) return D3DERR_INVALIDCALL;
    const IDirect3DTexture9::Impl* tex = texture->impl;
    const RECT whole{0, 0, (LONG)tex->width, (LONG)tex->height};
    const RECT r = source ? *source : whole;
    if (r.right <= r.left || r.bottom <= r.top) return D3D_OK;

    // Only texels inside both the rectangle and the texture are drawn,
    // each where it would have landed.
    const LONG left = r.left > 0 ? r.left : 0;
    const LONG top = r.top > 0 ? r.top : 0;
    const LONG right = r.right < whole.right ? r.right : whole.right;
    const LONG bottom = r.bottom < whole.bottom ? r.bottom : whole.bottom;
    if (right <= left || bottom <= top) return D3D_OK;

    const D3DXMATRIX& m = impl->transform;
    double offsetX = (double)left - (double)r.left, offsetY = (double)top - (double)r.top;
    if (position) offsetX += position->x, offsetY += position->y;
    if (center) offsetX -= center->x, offsetY -= center->y;
    Placement place{m._11, m._12, m._21, m._22, 0.0, 0.0, (int)(right - left), (int)(bottom - top)};
    place.tx = offsetX * place.a + offsetY * place.c + m._41;
    place.ty = offsetX * place.b + offsetY * place.d + m._42;
    for (double value : {place.a, place.b, place.c, place.d, place.tx, place.ty}) {
        if (!std::isfinite(value)) return D3D_OK;
    }

    const bool blend = (impl->flags & D3DXSPRITE_ALPHABLEND) != 0;
    const uint32_t alpha = color >> 24;
    if (blend && alpha == 0) return D3D_OK;
    IDirect3DDevice9* device = impl->device;
    DWORD minFilter = D3DTEXF_NONE, magFilter = D3DTEXF_NONE;
    device->GetSamplerState(0, D3DSAMP_MINFILTER, &minFilter);
    device->GetSamplerState(0, D3DSAMP_MAGFILTER, &magFilter);
    const bool smooth = minFilter >= D3DTEXF_LINEAR || magFilter >= D3DTEXF_LINEAR;
    const bool plain = place.a == 1.0 && place.b == 0.0 && place.c == 0.0 && place.d == 1.0 &&
                       (!smooth || (place.tx == std::floor(place.tx) && place.ty == std::floor(place.ty)));

    const bool tinted = (color & 0x00FFFFFFu) != 0x00FFFFFFu;
    if (plain && tex->packed && !tinted && (!blend || alpha == 0xFF)) {
        CopyPacked(tex, left, top, DeviceColorImage(device), place);
        return D3D_OK;
    }
    // The source: the clipped rectangle, premultiplied for blending, with
    // the colour applied; opaque pictures and unblended draws copy.
    pixman_image_t* picture = nullptr;
    uint32_t* tintedCopy = nullptr;
    if (tinted) {
        tintedCopy = ModulatedCopy(tex, left, top, place.width, place.height, color, blend);
        picture = pixman_image_create_bits(blend ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8, place.width, place.height,
                                           tintedCopy, place.width * 4);
    } else {
        const bool copy = tex->opaque || !blend;
        picture = impl->View(tex, left, top, place.width, place.height, copy ? PIXMAN_x8r8g8b8 : PIXMAN_a8r8g8b8,
                             !plain);
    }
    pixman_image_t* mask = blend && !tintedCopy && alpha != 0xFF ? impl->LevelMask(alpha) : nullptr;
    if (plain) {
        CompositePlain(picture, mask, DeviceColorImage(device), place);
    } else {
        CompositeTransformed(picture, mask, DeviceColorImage(device), place, smooth);
    }
    if (tintedCopy) {
        pixman_image_unref(picture);
        delete[] tintedCopy;
    }
    return D3D_OK;
}
