// The device's life: creation with its fallbacks, the fixed states,
// recovery after a loss, and release.
#include <cstring>

#include "graphics/graphics.h"
#include "shell/shell.h"

DirectGraphics Graphics;

namespace {

constexpr INT FontHeightPx = 12;
constexpr UINT FontMipLevels = 1;
constexpr const char* FontFace = "ＭＳ Ｐゴシック";

// Hardware first, then software vertex processing, then the reference
// rasteriser.
struct DeviceTry {
    D3DDEVTYPE type;
    DWORD behavior;
};
constexpr DeviceTry DeviceTries[] = {
    {D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
    {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
    {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
};

struct RenderStateValue {
    D3DRENDERSTATETYPE state;
    DWORD value;
};
constexpr RenderStateValue FixedRenderStates[] = {
    {D3DRS_ZENABLE, D3DZB_TRUE},
    {D3DRS_ZWRITEENABLE, TRUE},
    {D3DRS_ALPHABLENDENABLE, TRUE},
    {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
    {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA},
    {D3DRS_NORMALIZENORMALS, TRUE},
    {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
    {D3DRS_CULLMODE, D3DCULL_CCW},
    {D3DRS_LIGHTING, FALSE},
};

// Stage 0: texel times vertex (or sprite) colour, alpha likewise.
struct StageStateValue {
    D3DTEXTURESTAGESTATETYPE type;
    DWORD value;
};
constexpr StageStateValue FixedStageStates[] = {
    {D3DTSS_ALPHAOP, D3DTOP_MODULATE},   {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
    {D3DTSS_COLOROP, D3DTOP_MODULATE},   {D3DTSS_COLORARG1, D3DTA_TEXTURE}, {D3DTSS_COLORARG2, D3DTA_DIFFUSE},
};

// Smooth filtering by default; each frame turns it off for its sprites.
struct SamplerStateValue {
    D3DSAMPLERSTATETYPE type;
    DWORD value;
};
const SamplerStateValue FixedSamplerStates[] = {
    {D3DSAMP_MINFILTER, D3DTEXF_LINEAR},
    {D3DSAMP_MAGFILTER, D3DTEXF_LINEAR},
    {D3DSAMP_MIPFILTER, D3DTEXF_LINEAR},
    {D3DSAMP_MIPMAPLODBIAS, FloatBitsToDword(0.0f)},
};

template <typename Object>
void ReleaseAndClear(Object*& object) {
    if (object) {
        object->Release();
        object = nullptr;
    }
}

// Neither result is examined: a missing sprite or font stays null.
void MakeSpriteAndFont(IDirect3DDevice9* device, ID3DXSprite** sprite, ID3DXFont** font) {
    D3DXCreateSprite(device, sprite);
    D3DXCreateFontA(device, FontHeightPx, 0, FW_DONTCARE, FontMipLevels, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, FontFace, font);
}

}  // namespace

DWORD FloatBitsToDword(float value) {
    DWORD bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

BOOL DirectGraphics::Create(HWND window, UINT width, UINT height, D3DFORMAT format, BOOL fullScreen) {
    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!d3d) return 0;
    D3DDISPLAYMODE mode{};
    if (FAILED(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode))) return 0;

    std::memset(&presentParams, 0, sizeof presentParams);
    if (fullScreen) {
        presentParams.BackBufferWidth = width;
        presentParams.BackBufferHeight = height;
        presentParams.BackBufferFormat = format;
        presentParams.Windowed = FALSE;
    } else {
        // Zero sizes take the window's client area.
        presentParams.BackBufferFormat = mode.Format;
        presentParams.Windowed = TRUE;
    }
    presentParams.BackBufferCount = 1;
    presentParams.MultiSampleType = D3DMULTISAMPLE_NONE;
    presentParams.MultiSampleQuality = 0;
    presentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
    presentParams.hDeviceWindow = window;
    presentParams.EnableAutoDepthStencil = TRUE;
    presentParams.AutoDepthStencilFormat = D3DFMT_D24S8;
    presentParams.Flags = 0;
    presentParams.FullScreen_RefreshRateInHz = 0;
    presentParams.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    if (fullScreen) AdjustWindowToClient(window, static_cast<int>(width), static_cast<int>(height));

    bool made = false;
    for (const DeviceTry& attempt : DeviceTries) {
        if (SUCCEEDED(d3d->CreateDevice(D3DADAPTER_DEFAULT, attempt.type, window, attempt.behavior, &presentParams,
                                        &device))) {
            made = true;
            break;
        }
    }
    if (!made) {
        MessageBoxA(window, "Direct3Dの初期化に失敗。", "Direct3D初期化", MB_OK | MB_ICONERROR);
        return 0;
    }

    MakeSpriteAndFont(device, &sprite, &font);
    deviceLost = 0;
    return 1;
}

void DirectGraphics::SetRenderStates() {
    if (!device) return;
    for (const RenderStateValue& s : FixedRenderStates) device->SetRenderState(s.state, s.value);
    for (const StageStateValue& s : FixedStageStates) device->SetTextureStageState(0, s.type, s.value);
    for (const SamplerStateValue& s : FixedSamplerStates) device->SetSamplerState(0, s.type, s.value);
}

void DirectGraphics::SetAlphaBlend() {
    if (!device) return;
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
}

int DirectGraphics::Restore() {
    if (!device) return 0;
    HRESULT level = device->TestCooperativeLevel();
    if (SUCCEEDED(level)) return 0;
    if (level == D3DERR_DEVICELOST) return 1;
    if (level != D3DERR_DEVICENOTRESET) return 0;

    // The sprite and font hold device resources; they go before the Reset
    // and are made again after it. Textures outlive it.
    ReleaseAndClear(sprite);
    ReleaseAndClear(font);
    HRESULT reset = device->Reset(&presentParams);
    if (FAILED(reset)) return reset == D3DERR_DEVICELOST ? 1 : 0;
    MakeSpriteAndFont(device, &sprite, &font);
    SetRenderStates();
    return 0;
}

// The device goes first: the sprite and font keep their own references to
// it, so it is freed with the last of them.
void DirectGraphics::Release() {
    ReleaseAndClear(device);
    ReleaseAndClear(d3d);
    ReleaseAndClear(sprite);
    ReleaseAndClear(font);
}
