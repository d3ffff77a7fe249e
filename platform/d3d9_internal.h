// Shared inside the platform layer only: the records behind the Direct3D
// and D3DX objects, so the sprite compositor and the texture loader can
// reach the pixels the device and the textures own.
#pragma once
#include <pixman.h>
#include <SDL.h>
#include <vector>
#include "platform/d3d9.h"
#include "platform/picture_decode.h"

constexpr UINT DefaultBackBufferWidth = 640;
constexpr UINT DefaultBackBufferHeight = 480;
// Larger sides than this are refused rather than allocated.
constexpr UINT MaxSurfaceSide = 4096;

// Direct3D's values for the device states the game never names.
constexpr DWORD RsLastPixel = 16;
constexpr DWORD RsTextureFactor = 60;
constexpr DWORD RsAmbient = 139;
constexpr DWORD RsColorVertex = 141;
constexpr DWORD RsDiffuseMaterialSource = 145;
constexpr DWORD RsSpecularMaterialSource = 146;
constexpr DWORD RsAmbientMaterialSource = 147;
constexpr DWORD RsEmissiveMaterialSource = 148;
constexpr DWORD McsMaterial = 0;
constexpr DWORD McsColor1 = 1;
constexpr DWORD McsColor2 = 2;
constexpr DWORD TopDisable = 1;
constexpr DWORD TopSelectArg1 = 2;
constexpr DWORD TaCurrent = 1;
constexpr DWORD SampAddressU = 1;
constexpr DWORD SampAddressV = 2;
constexpr DWORD SampAddressW = 3;
constexpr DWORD SampBorderColor = 4;
constexpr DWORD AddressWrap = 1;
constexpr DWORD AddressMirror = 2;
constexpr DWORD AddressClamp = 3;
constexpr DWORD AddressBorder = 4;

struct IDirect3D9::Impl {
    ULONG refs = 1;
};

struct PictureLoad;

struct IDirect3DTexture9::Impl {
    ULONG refs = 1;
    UINT width = 0;
    UINT height = 0;
    D3DFORMAT format = D3DFMT_A8R8G8B8;
    D3DPOOL pool = D3DPOOL_MANAGED;
    uint32_t* pixels = nullptr;  // straight (not premultiplied) A8R8G8B8; new[]
    // An opaque texture is kept packed instead (PackedPitch rows of blue,
    // green and red bytes) and widened while it is locked; new[].
    unsigned char* packed = nullptr;
    bool opaque = true;  // every alpha byte 0xFF: draws become copies
    bool locked = false;
    // A picture file still being decoded off the game's thread; null once
    // its pixels are here (or it failed, and the texture has none).
    PictureLoad* loading = nullptr;
    // Changes whenever the pixels may have: views made of older pixels
    // are not used again.
    uint64_t serial = 0;
};

// A light the game has set or switched at its index.
struct LightSlot {
    DWORD index;
    D3DLIGHT9 light;
    BOOL enabled;
};

struct IDirect3DDevice9::Impl {
    ULONG refs = 1;
    D3DPRESENT_PARAMETERS params{};
    UINT width = 0;
    UINT height = 0;
    uint32_t* color = nullptr;  // X8R8G8B8, kept with the X byte at 0xFF
    float* depth = nullptr;
    // A whole-buffer depth clear waits until something tests depth: the
    // sprites never do, and they are most of every frame.
    bool depthClearPending = false;
    float depthClearValue = 1.0f;
    pixman_image_t* colorImage = nullptr;
    bool inScene = false;

    DWORD renderStates[D3DRenderStateCount] = {};
    DWORD stageStates[D3DTextureStageCount][D3DTextureStageStateCount] = {};
    DWORD samplerStates[D3DSamplerCount][D3DSamplerStateCount] = {};
    D3DMATRIX world{}, view{}, projection{};
    // Any index may be used, so only those that have been are kept, in
    // order of index.
    std::vector<LightSlot> lights;
    IDirect3DTexture9* textures[D3DTextureStageCount] = {};
    DWORD fvf = 0;

    // Presentation into the window last shown into: through SDL's renderer
    // (renderer and its texture), or scaled straight into the window's
    // surface (surface, with where the picture lands and which back buffer
    // column each of its columns shows).
    HWND shownHandle = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* screen = nullptr;
    bool intoSurface = false;
    SDL_Surface* surface = nullptr;  // null until the first frame lays it out
    void* surfacePixels = nullptr;
    int surfaceWidth = 0, surfaceHeight = 0;
    UINT laidOutWidth = 0, laidOutHeight = 0;  // the back buffer's, then
    SDL_Rect picture{};
    int* sourceColumns = nullptr;  // new[], picture.w entries
    uint32_t* scaledRow = nullptr;  // new[], one row of the picture
};

// Makes a device with its back buffer; null when the sizes cannot be had.
IDirect3DDevice9* NewDevice(const D3DPRESENT_PARAMETERS& params);
// The back buffer as a pixman destination (alpha kept at 0xFF).
pixman_image_t* DeviceColorImage(IDirect3DDevice9* device);
// Makes a texture of the given size with every pixel zero; null when the
// size is out of range.
IDirect3DTexture9* NewTexture(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool);
// Brings the opaque flag up to date after the pixels changed, and packs
// an opaque texture.
void RefreshTexture(IDirect3DTexture9* texture);
// Pure helpers, also for the loader's workers: whether every alpha byte
// is 0xFF; the packed rows of opaque pixels (new[]).
bool AllOpaque(const uint32_t* pixels, size_t count);
unsigned char* PackPixels(const uint32_t* pixels, UINT width, UINT height);
// One texel as A8R8G8B8, packed or not.
uint32_t TexelAt(const IDirect3DTexture9::Impl* texture, UINT x, UINT y);
// Waits for a texture's picture to be decoded; false when it has no
// pixels (its picture failed), and it then behaves as no texture at all.
bool TextureReady(IDirect3DTexture9* texture);
// Ends a picture load: waits for it, or drops it when it has not begun.
void FinishPictureLoad(IDirect3DTexture9::Impl* texture, bool dropIfWaiting);
// A number no texture contents have had before.
uint64_t NextTextureSerial();

// The cooperative state shared by the device and the test hook.
HRESULT DeviceCooperativeLevel(const IDirect3DDevice9* device);
// Called as a Reset begins: a loss the tests asked for happens now.
void NoteResetTried();
// The depth buffer with any waiting clear carried out.
float* DeviceDepth(IDirect3DDevice9::Impl* impl);
// Puts the device's window full screen on the desktop, or back into a
// window, as its parameters ask.
void ApplyWindowMode(const IDirect3DDevice9::Impl* impl);
// Drops the device's presentation objects (renderer and its texture).
void ReleasePresentation(IDirect3DDevice9::Impl* impl);
// Where a picture of the given size lands in a window, letterboxed as SDL's
// renderer places it for a logical size, and the picture's pixel shown at
// each position along one side (SDL's nearest-neighbour stepping).
SDL_Rect LetterboxedPicture(int windowWidth, int windowHeight, int width, int height);
int NearestSource(int position, int scaledSize, int size);

// The sprite and the font: each holds one reference to its device, and
// gives it back when its own count reaches 0.
template <class Object>
Object* NewDeviceChild(IDirect3DDevice9* device) {
    Object* made = new Object;
    made->impl = new typename Object::Impl;
    made->impl->device = device;
    device->AddRef();
    return made;
}

template <class Object>
ULONG ReleaseDeviceChild(Object* object) {
    const ULONG refs = --object->impl->refs;
    if (refs == 0) {
        object->impl->device->Release();
        delete object->impl;
        delete object;
    }
    return refs;
}
