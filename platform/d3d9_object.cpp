// The Direct3D object: the desktop's mode and the making of the device.
#include "platform/d3d9_internal.h"
#include "platform/testhooks.h"

namespace {
CreateDeviceHook DeviceHook = nullptr;

constexpr DWORD VertexProcessingMask = 0x70;  // software, hardware, mixed

bool OneVertexProcessingFlag(DWORD flags) {
    const DWORD processing = flags & VertexProcessingMask;
    return processing == 0x10 || processing == 0x20 || processing == 0x40;
}
}  // namespace

void SetCreateDeviceHook(CreateDeviceHook hook) { DeviceHook = hook; }

IDirect3D9* Direct3DCreate9(UINT sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION) return nullptr;
    IDirect3D9* d3d = new IDirect3D9;
    d3d->impl = new IDirect3D9::Impl;
    return d3d;
}

ULONG IDirect3D9::AddRef() { return ++impl->refs; }

ULONG IDirect3D9::Release() {
    const ULONG refs = --impl->refs;
    if (refs == 0) {
        delete impl;
        delete this;
    }
    return refs;
}

HRESULT IDirect3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
    if (adapter != D3DADAPTER_DEFAULT || !mode) return D3DERR_INVALIDCALL;
    // Without a display the desktop is taken to be the game's own mode.
    *mode = D3DDISPLAYMODE{DefaultBackBufferWidth, DefaultBackBufferHeight, 0, D3DFMT_X8R8G8B8};
    SDL_DisplayMode desktop;
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 &&
        desktop.h > 0) {
        mode->Width = (UINT)desktop.w;
        mode->Height = (UINT)desktop.h;
        mode->RefreshRate = desktop.refresh_rate > 0 ? (UINT)desktop.refresh_rate : 0;
    }
    return D3D_OK;
}

HRESULT IDirect3D9::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                                 D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) {
    if (adapter != D3DADAPTER_DEFAULT || !params || !device) return D3DERR_INVALIDCALL;
    if (!OneVertexProcessingFlag(behaviorFlags)) return D3DERR_INVALIDCALL;
    // The software device stands in for both the hardware and the
    // reference rasteriser; no pluggable software device exists.
    if (type != D3DDEVTYPE_HAL && type != D3DDEVTYPE_REF) return D3DERR_NOTAVAILABLE;
    if (DeviceHook && !DeviceHook(type, behaviorFlags)) return D3DERR_NOTAVAILABLE;

    D3DPRESENT_PARAMETERS actual = *params;
    if (!actual.hDeviceWindow) actual.hDeviceWindow = focusWindow;
    IDirect3DDevice9* made = NewDevice(actual);
    if (!made) return D3DERR_NOTAVAILABLE;
    params->BackBufferWidth = made->impl->params.BackBufferWidth;
    params->BackBufferHeight = made->impl->params.BackBufferHeight;
    params->BackBufferFormat = made->impl->params.BackBufferFormat;
    params->BackBufferCount = made->impl->params.BackBufferCount;
    *device = made;
    ApplyWindowMode(made->impl);
    return D3D_OK;
}
