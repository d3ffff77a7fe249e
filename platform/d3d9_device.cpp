// The device's record: back buffer, depth buffer, states and scenes.
#include <algorithm>
#include <cstring>
#include "platform/d3d9_internal.h"
#include "platform/testhooks.h"

namespace {
constexpr DWORD RsFillMode = 8;
constexpr DWORD RsZFunc = 23;
constexpr DWORD RsAlphaFunc = 25;
constexpr DWORD FillSolid = 3;
constexpr DWORD CmpLessEqual = 4;
constexpr DWORD CmpAlways = 8;
constexpr DWORD SampMaxAnisotropy = 10;
constexpr DWORD FloatOneBits = 0x3F800000u;

void SetIdentity(D3DMATRIX* m) {
    std::memset(m, 0, sizeof *m);
    m->_11 = m->_22 = m->_33 = m->_44 = 1.0f;
}

// The states a device starts with, and returns to on Reset.
void SetDefaultStates(IDirect3DDevice9::Impl* impl) {
    std::memset(impl->renderStates, 0, sizeof impl->renderStates);
    DWORD* rs = impl->renderStates;
    rs[D3DRS_ZENABLE] = impl->params.EnableAutoDepthStencil ? D3DZB_TRUE : 0;
    rs[RsFillMode] = FillSolid;
    rs[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
    rs[D3DRS_ZWRITEENABLE] = TRUE;
    rs[RsLastPixel] = TRUE;
    rs[D3DRS_SRCBLEND] = 2;   // one
    rs[D3DRS_DESTBLEND] = 1;  // zero
    rs[D3DRS_CULLMODE] = D3DCULL_CCW;
    rs[RsZFunc] = CmpLessEqual;
    rs[RsAlphaFunc] = CmpAlways;
    rs[D3DRS_FOGEND] = FloatOneBits;
    rs[D3DRS_FOGDENSITY] = FloatOneBits;
    rs[RsTextureFactor] = 0xFFFFFFFFu;
    rs[D3DRS_LIGHTING] = TRUE;
    rs[RsColorVertex] = TRUE;
    rs[RsDiffuseMaterialSource] = McsColor1;
    rs[RsSpecularMaterialSource] = McsColor2;
    rs[RsAmbientMaterialSource] = McsMaterial;
    rs[RsEmissiveMaterialSource] = McsMaterial;

    std::memset(impl->stageStates, 0, sizeof impl->stageStates);
    for (DWORD stage = 0; stage < D3DTextureStageCount; ++stage) {
        DWORD* ts = impl->stageStates[stage];
        ts[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : TopDisable;
        ts[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        ts[D3DTSS_COLORARG2] = TaCurrent;
        ts[D3DTSS_ALPHAOP] = stage == 0 ? TopSelectArg1 : TopDisable;
        ts[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        ts[D3DTSS_ALPHAARG2] = TaCurrent;
    }

    std::memset(impl->samplerStates, 0, sizeof impl->samplerStates);
    for (DWORD sampler = 0; sampler < D3DSamplerCount; ++sampler) {
        DWORD* ss = impl->samplerStates[sampler];
        ss[SampAddressU] = ss[SampAddressV] = ss[SampAddressW] = AddressWrap;
        ss[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
        ss[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        ss[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
        ss[SampMaxAnisotropy] = 1;
    }

    SetIdentity(&impl->world);
    SetIdentity(&impl->view);
    SetIdentity(&impl->projection);
    impl->lights.clear();
    for (IDirect3DTexture9*& texture : impl->textures) {
        if (texture) texture->Release();
        texture = nullptr;
    }
    impl->fvf = 0;
    impl->inScene = false;
}

void FreeBuffers(IDirect3DDevice9::Impl* impl) {
    if (impl->colorImage) pixman_image_unref(impl->colorImage);
    delete[] impl->color;
    delete[] impl->depth;
    impl->colorImage = nullptr;
    impl->color = nullptr;
    impl->depth = nullptr;
}

// A size of 0 takes the window's client area when windowed, as Direct3D
// does; otherwise (or with no client area) the game's 640 x 480.
UINT SideOrDefault(UINT side, LONG clientSide, UINT fallback) {
    if (side) return side;
    return clientSide > 0 ? (UINT)clientSide : fallback;
}

// Sizes the buffers for params and writes the sizes taken back into them;
// false leaves the old buffers in place.
bool MakeBuffers(IDirect3DDevice9::Impl* impl, D3DPRESENT_PARAMETERS* params) {
    RECT client{};
    if (!params->Windowed || !GetClientRect(params->hDeviceWindow, &client)) client = RECT{};
    const UINT width = SideOrDefault(params->BackBufferWidth, client.right, DefaultBackBufferWidth);
    const UINT height = SideOrDefault(params->BackBufferHeight, client.bottom, DefaultBackBufferHeight);
    if (width > MaxSurfaceSide || height > MaxSurfaceSide) return false;
    const size_t count = (size_t)width * height;
    // A Reset to the same sizes keeps the buffers it has.
    const bool wantDepth = params->EnableAutoDepthStencil != FALSE;
    if (!impl->color || width != impl->width || height != impl->height || wantDepth != (impl->depth != nullptr)) {
        uint32_t* color = new uint32_t[count];
        float* depth = wantDepth ? new float[count] : nullptr;
        pixman_image_t* image =
            pixman_image_create_bits(PIXMAN_a8r8g8b8, (int)width, (int)height, color, (int)width * 4);
        if (!image) {
            delete[] color;
            delete[] depth;
            return false;
        }
        FreeBuffers(impl);
        impl->color = color;
        impl->depth = depth;
        impl->colorImage = image;
        impl->width = width;
        impl->height = height;
    }
    std::fill(impl->color, impl->color + count, 0xFF000000u);
    impl->depthClearPending = impl->depth != nullptr;
    impl->depthClearValue = 1.0f;

    params->BackBufferWidth = width;
    params->BackBufferHeight = height;
    if (params->BackBufferFormat == D3DFMT_UNKNOWN) params->BackBufferFormat = D3DFMT_X8R8G8B8;
    if (params->BackBufferCount == 0) params->BackBufferCount = 1;
    impl->params = *params;
    return true;
}

bool ValidFormat(D3DFORMAT format) {
    return format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8 || format == D3DFMT_UNKNOWN;
}
}  // namespace

IDirect3DDevice9* NewDevice(const D3DPRESENT_PARAMETERS& params) {
    if (!ValidFormat(params.BackBufferFormat)) return nullptr;
    IDirect3DDevice9::Impl* impl = new IDirect3DDevice9::Impl;
    D3DPRESENT_PARAMETERS actual = params;
    if (!MakeBuffers(impl, &actual)) {
        delete impl;
        return nullptr;
    }
    SetDefaultStates(impl);
    IDirect3DDevice9* device = new IDirect3DDevice9;
    device->impl = impl;
    return device;
}

pixman_image_t* DeviceColorImage(IDirect3DDevice9* device) { return device->impl->colorImage; }

float* DeviceDepth(IDirect3DDevice9::Impl* impl) {
    if (impl->depth && impl->depthClearPending) {
        std::fill(impl->depth, impl->depth + (size_t)impl->width * impl->height, impl->depthClearValue);
    }
    impl->depthClearPending = false;
    return impl->depth;
}

ULONG IDirect3DDevice9::AddRef() { return ++impl->refs; }

ULONG IDirect3DDevice9::Release() {
    const ULONG refs = --impl->refs;
    if (refs == 0) {
        for (IDirect3DTexture9* texture : impl->textures) {
            if (texture) texture->Release();
        }
        ReleasePresentation(impl);
        FreeBuffers(impl);
        delete impl;
        delete this;
    }
    return refs;
}

HRESULT IDirect3DDevice9::TestCooperativeLevel() { return DeviceCooperativeLevel(this); }

HRESULT IDirect3DDevice9::Reset(D3DPRESENT_PARAMETERS* params) {
    if (!params || !ValidFormat(params->BackBufferFormat)) return D3DERR_INVALIDCALL;
    NoteResetTried();
    const HRESULT level = DeviceCooperativeLevel(this);
    if (level == D3DERR_DEVICELOST) return D3DERR_DEVICELOST;
    D3DPRESENT_PARAMETERS actual = *params;
    if (!MakeBuffers(impl, &actual)) return D3DERR_INVALIDCALL;
    *params = actual;
    SetDefaultStates(impl);
    ApplyWindowMode(impl);
    ForceDeviceLossState(DeviceLossState::Working);
    return D3D_OK;
}

HRESULT IDirect3DDevice9::BeginScene() {
    if (impl->inScene) return D3DERR_INVALIDCALL;
    impl->inScene = true;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::EndScene() {
    if (!impl->inScene) return D3DERR_INVALIDCALL;
    impl->inScene = false;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                                DWORD) {
    if ((flags & D3DCLEAR_ZBUFFER) && (!impl->depth || !(z >= 0.0f && z <= 1.0f))) return D3DERR_INVALIDCALL;
    if ((flags & D3DCLEAR_STENCIL) && !impl->depth) return D3DERR_INVALIDCALL;
    const D3DRECT whole{0, 0, (LONG)impl->width, (LONG)impl->height};
    const bool listed = count > 0 && rects;
    const DWORD rectCount = listed ? count : 1;
    const uint32_t fill = color | 0xFF000000u;  // the X byte of the back buffer
    for (DWORD r = 0; r < rectCount; ++r) {
        const D3DRECT& rect = listed ? rects[r] : whole;
        const LONG x1 = rect.x1 < 0 ? 0 : rect.x1;
        const LONG y1 = rect.y1 < 0 ? 0 : rect.y1;
        const LONG x2 = rect.x2 > whole.x2 ? whole.x2 : rect.x2;
        const LONG y2 = rect.y2 > whole.y2 ? whole.y2 : rect.y2;
        if (x1 >= x2 || y1 >= y2) continue;
        if (flags & D3DCLEAR_TARGET) {
            pixman_fill(impl->color, (int)impl->width, 32, x1, y1, x2 - x1, y2 - y1, fill);
        }
        if ((flags & D3DCLEAR_ZBUFFER) && !listed) {
            impl->depthClearPending = true;
            impl->depthClearValue = z;
        } else if (flags & D3DCLEAR_ZBUFFER) {
            DeviceDepth(impl);
            for (LONG y = y1; y < y2; ++y) {
                const size_t row = (size_t)y * impl->width;
                std::fill(impl->depth + row + x1, impl->depth + row + x2, z);
            }
        }
    }
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    if (state >= D3DRenderStateCount) return D3DERR_INVALIDCALL;
    impl->renderStates[state] = value;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    if (state >= D3DRenderStateCount || !value) return D3DERR_INVALIDCALL;
    *value = impl->renderStates[state];
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    if (stage >= D3DTextureStageCount || type >= D3DTextureStageStateCount) return D3DERR_INVALIDCALL;
    impl->stageStates[stage][type] = value;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    if (stage >= D3DTextureStageCount || type >= D3DTextureStageStateCount || !value) return D3DERR_INVALIDCALL;
    *value = impl->stageStates[stage][type];
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    if (sampler >= D3DSamplerCount || type >= D3DSamplerStateCount) return D3DERR_INVALIDCALL;
    impl->samplerStates[sampler][type] = value;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
    if (sampler >= D3DSamplerCount || type >= D3DSamplerStateCount || !value) return D3DERR_INVALIDCALL;
    *value = impl->samplerStates[sampler][type];
    return D3D_OK;
}

namespace {
D3DMATRIX* TransformSlot(IDirect3DDevice9::Impl* impl, D3DTRANSFORMSTATETYPE state) {
    switch (state) {
    case D3DTS_WORLD: return &impl->world;
    case D3DTS_VIEW: return &impl->view;
    case D3DTS_PROJECTION: return &impl->projection;
    }
    return nullptr;
}
}  // namespace

HRESULT IDirect3DDevice9::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    D3DMATRIX* slot = TransformSlot(impl, state);
    if (!slot || !matrix) return D3DERR_INVALIDCALL;
    *slot = *matrix;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    D3DMATRIX* slot = TransformSlot(impl, state);
    if (!slot || !matrix) return D3DERR_INVALIDCALL;
    *matrix = *slot;
    return D3D_OK;
}

namespace {
// Where the light of index is kept, or would be.
std::vector<LightSlot>::iterator LightPlace(IDirect3DDevice9::Impl* impl, DWORD index) {
    return std::lower_bound(impl->lights.begin(), impl->lights.end(), index,
                            [](const LightSlot& slot, DWORD i) { return slot.index < i; });
}

// The light kept at index, or null when it was never set or switched.
LightSlot* FindLight(IDirect3DDevice9::Impl* impl, DWORD index) {
    auto at = LightPlace(impl, index);
    return at != impl->lights.end() && at->index == index ? &*at : nullptr;
}

// The light at index, made as Direct3D's default light when it is new: a
// white directional light shining along +z, switched off.
LightSlot& LightAt(IDirect3DDevice9::Impl* impl, DWORD index) {
    auto at = LightPlace(impl, index);
    if (at != impl->lights.end() && at->index == index) return *at;
    LightSlot made{index, {}, FALSE};
    made.light.Type = D3DLIGHT_DIRECTIONAL;
    made.light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    made.light.Direction = {0.0f, 0.0f, 1.0f};
    return *impl->lights.insert(at, made);
}
}  // namespace

HRESULT IDirect3DDevice9::SetLight(DWORD index, const D3DLIGHT9* light) {
    if (!light) return D3DERR_INVALIDCALL;
    LightAt(impl, index).light = *light;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetLight(DWORD index, D3DLIGHT9* light) {
    const LightSlot* slot = FindLight(impl, index);
    if (!slot || !light) return D3DERR_INVALIDCALL;
    *light = slot->light;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::LightEnable(DWORD index, BOOL enable) {
    LightAt(impl, index).enabled = enable ? TRUE : FALSE;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetLightEnable(DWORD index, BOOL* enable) {
    const LightSlot* slot = FindLight(impl, index);
    if (!slot || !enable) return D3DERR_INVALIDCALL;
    *enable = slot->enabled;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetTexture(DWORD stage, IDirect3DTexture9* texture) {
    if (stage >= D3DTextureStageCount) return D3DERR_INVALIDCALL;
    // The device keeps a reference to what is bound, as Direct3D does.
    if (texture) texture->AddRef();
    if (impl->textures[stage]) impl->textures[stage]->Release();
    impl->textures[stage] = texture;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetTexture(DWORD stage, IDirect3DTexture9** texture) {
    if (stage >= D3DTextureStageCount || !texture) return D3DERR_INVALIDCALL;
    *texture = impl->textures[stage];
    if (*texture) (*texture)->AddRef();
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetFVF(DWORD fvf) {
    impl->fvf = fvf;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetFVF(DWORD* fvf) {
    if (!fvf) return D3DERR_INVALIDCALL;
    *fvf = impl->fvf;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::CreateTexture(UINT width, UINT height, UINT levels, DWORD, D3DFORMAT format,
                                        D3DPOOL pool, IDirect3DTexture9** texture, void*) {
    if (!texture || levels > 1 || (format != D3DFMT_A8R8G8B8 && format != D3DFMT_X8R8G8B8)) {
        return D3DERR_INVALIDCALL;
    }
    IDirect3DTexture9* made = NewTexture(width, height, format, pool);
    if (!made) return D3DERR_INVALIDCALL;
    *texture = made;
    return D3D_OK;
}

uint32_t* IDirect3DDevice9::BackBuffer() { return impl->color; }
UINT IDirect3DDevice9::BackBufferWidth() const { return impl->width; }
UINT IDirect3DDevice9::BackBufferHeight() const { return impl->height; }
