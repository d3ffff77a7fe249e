// The font is made and released with the device; nothing draws with it.
#include "platform/d3d9_internal.h"
#include "platform/d3dx9.h"

struct ID3DXFont::Impl {
    ULONG refs = 1;
    IDirect3DDevice9* device = nullptr;  // one reference held
};

HRESULT D3DXCreateFontA(IDirect3DDevice9* device, INT, UINT, UINT, UINT, BOOL, DWORD, DWORD, DWORD, DWORD,
                        LPCSTR, ID3DXFont** font) {
    if (!device || !font) return D3DERR_INVALIDCALL;
    *font = NewDeviceChild<ID3DXFont>(device);
    return D3D_OK;
}

ULONG ID3DXFont::AddRef() { return ++impl->refs; }

ULONG ID3DXFont::Release() { return ReleaseDeviceChild(this); }
