// Textures: one level of straight A8R8G8B8 pixels; the sprite premultiplies
// the parts it blends as it first draws them.
#include <cstring>
#include "platform/d3d9_internal.h"

uint64_t NextTextureSerial() {
    static uint64_t serial = 0;
    return ++serial;
}

IDirect3DTexture9* NewTexture(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool) {
    if (width == 0 || height == 0 || width > MaxSurfaceSide || height > MaxSurfaceSide) return nullptr;
    IDirect3DTexture9::Impl* impl = new IDirect3DTexture9::Impl;
    impl->width = width;
    impl->height = height;
    impl->format = format;
    impl->pool = pool;
    impl->pixels = new uint32_t[(size_t)width * height]();
    // An X8R8G8B8 texture ignores its alpha byte; it is opaque by format.
    impl->opaque = format == D3DFMT_X8R8G8B8;
    impl->serial = NextTextureSerial();
    IDirect3DTexture9* texture = new IDirect3DTexture9;
    texture->impl = impl;
    return texture;
}

bool AllOpaque(const uint32_t* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if ((pixels[i] >> 24) != 0xFF) return false;
    return true;
}

unsigned char* PackPixels(const uint32_t* pixels, UINT width, UINT height) {
    const size_t pitch = PackedPitch(width);
    unsigned char* packed = new unsigned char[pitch * height];
    for (UINT y = 0; y < height; ++y) {
        const uint32_t* from = pixels + (size_t)y * width;
        unsigned char* to = packed + y * pitch;
        for (UINT x = 0; x < width; ++x, to += 3) {
            to[0] = (unsigned char)from[x];
            to[1] = (unsigned char)(from[x] >> 8);
            to[2] = (unsigned char)(from[x] >> 16);
        }
    }
    return packed;
}

uint32_t TexelAt(const IDirect3DTexture9::Impl* texture, UINT x, UINT y) {
    if (texture->pixels) return texture->pixels[(size_t)y * texture->width + x];
    const unsigned char* at = texture->packed + y * PackedPitch(texture->width) + (size_t)x * 3;
    return 0xFF000000u | (uint32_t)at[2] << 16 | (uint32_t)at[1] << 8 | at[0];
}

void RefreshTexture(IDirect3DTexture9* texture) {
    IDirect3DTexture9::Impl* impl = texture->impl;
    impl->serial = NextTextureSerial();
    // An X8R8G8B8 texture ignores its alpha bytes: it reads back opaque.
    impl->opaque = impl->format == D3DFMT_X8R8G8B8 || AllOpaque(impl->pixels, (size_t)impl->width * impl->height);
    if (impl->opaque) {
        impl->packed = PackPixels(impl->pixels, impl->width, impl->height);
        delete[] impl->pixels;
        impl->pixels = nullptr;
    }
}

namespace {
// The locked form: every texel four bytes.
void Widen(IDirect3DTexture9::Impl* impl) {
    uint32_t* pixels = new uint32_t[(size_t)impl->width * impl->height];
    for (UINT y = 0; y < impl->height; ++y)
        for (UINT x = 0; x < impl->width; ++x) pixels[(size_t)y * impl->width + x] = TexelAt(impl, x, y);
    delete[] impl->packed;
    impl->packed = nullptr;
    impl->pixels = pixels;
}
}  // namespace

bool TextureReady(IDirect3DTexture9* texture) {
    if (texture->impl->loading) FinishPictureLoad(texture->impl, false);
    return texture->impl->pixels || texture->impl->packed;
}

ULONG IDirect3DTexture9::AddRef() { return ++impl->refs; }

ULONG IDirect3DTexture9::Release() {
    const ULONG refs = --impl->refs;
    if (refs == 0) {
        if (impl->loading) FinishPictureLoad(impl, true);
        delete[] impl->pixels;
        delete[] impl->packed;
        delete impl;
        delete this;
    }
    return refs;
}

HRESULT IDirect3DTexture9::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (level != 0 || !desc || !TextureReady(this)) return D3DERR_INVALIDCALL;
    *desc = D3DSURFACE_DESC{impl->format, impl->pool, impl->width, impl->height};
    return D3D_OK;
}

HRESULT IDirect3DTexture9::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD) {
    if (level != 0 || !locked || impl->locked || !TextureReady(this)) return D3DERR_INVALIDCALL;
    LONG left = 0, top = 0;
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->right > (LONG)impl->width || rect->bottom > (LONG)impl->height ||
            rect->left >= rect->right || rect->top >= rect->bottom) {
            return D3DERR_INVALIDCALL;
        }
        left = rect->left;
        top = rect->top;
    }
    if (impl->packed) Widen(impl);
    locked->Pitch = (INT)(impl->width * 4);
    locked->pBits = impl->pixels + (size_t)top * impl->width + left;
    impl->locked = true;
    return D3D_OK;
}

HRESULT IDirect3DTexture9::UnlockRect(UINT level) {
    if (level != 0 || !impl->locked) return D3DERR_INVALIDCALL;
    impl->locked = false;
    RefreshTexture(this);
    return D3D_OK;
}
