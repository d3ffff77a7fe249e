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

void RefreshTexture(IDirect3DTexture9* texture) {
    IDirect3DTexture9::Impl* impl = texture->impl;
    const size_t count = (size_t)impl->width * impl->height;
    impl->serial = NextTextureSerial();
    if (impl->format == D3DFMT_X8R8G8B8) {
        for (size_t i = 0; i < count; ++i) impl->pixels[i] |= 0xFF000000u;
        return;
    }
    bool opaque = true;
    for (size_t i = 0; i < count && opaque; ++i) opaque = (impl->pixels[i] >> 24) == 0xFF;
    impl->opaque = opaque;
}

bool TextureReady(IDirect3DTexture9* texture) {
    if (texture->impl->loading) FinishPictureLoad(texture->impl, false);
    return texture->impl->pixels != nullptr;
}

ULONG IDirect3DTexture9::AddRef() { return ++impl->refs; }

ULONG IDirect3DTexture9::Release() {
    const ULONG refs = --impl->refs;
    if (refs == 0) {
        if (impl->loading) FinishPictureLoad(impl, true);
        delete[] impl->pixels;
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
