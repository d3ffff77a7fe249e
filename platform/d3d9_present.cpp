// Showing the back buffer, and the device lost while its full-screen
// window is minimised.
#include <cstdio>
#include <cstring>
#include <string>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/d3d9_internal.h"
#include "platform/testhooks.h"
#include "platform/win32_internal.h"

namespace {
DeviceLossState LossState = DeviceLossState::Working;
bool HeldLostByTest = false;
bool LostOnNextReset = false;

// A lost device stays lost while the cause lasts, then waits for Reset.
void UpdateLossState(const IDirect3DDevice9::Impl* impl) {
    SDL_Window* window = PlatformSdlWindow(impl->params.hDeviceWindow);
    const bool minimised =
        window && !impl->params.Windowed && (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) != 0;
    if (HeldLostByTest || minimised) {
        LossState = DeviceLossState::Lost;
    } else if (LossState == DeviceLossState::Lost) {
        LossState = DeviceLossState::NotReset;
    }
}

// The renderer made earlier is still the window's own: SDL destroys a
// window's renderer with the window.
bool PresentationAlive(const IDirect3DDevice9::Impl* impl, HWND handle) {
    SDL_Window* window = PlatformSdlWindow(impl->shownHandle);
    if (handle != impl->shownHandle || !window) return false;
    return impl->renderer ? SDL_GetRenderer(window) == impl->renderer : impl->intoSurface;
}

// ... and its picture still has the back buffer's sizes (a Reset may
// have changed them).
bool PresentationFits(const IDirect3DDevice9::Impl* impl, HWND handle) {
    if (!PresentationAlive(impl, handle)) return false;
    if (!impl->renderer) return true;  // the surface is checked as it is shown into
    int width = 0, height = 0;
    return SDL_QueryTexture(impl->screen, nullptr, nullptr, &width, &height) == 0 && width == (int)impl->width &&
           height == (int)impl->height;
}

// SDL's renderer scales on the GPU; it is also whatever SDL_RENDER_DRIVER
// in the environment names.
bool MakeRenderer(IDirect3DDevice9::Impl* impl, SDL_Window* window) {
    const char* named = SDL_getenv("SDL_RENDER_DRIVER");
    SDL_Renderer* renderer = SDL_GetRenderer(window);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, named && *named ? 0 : SDL_RENDERER_ACCELERATED);
    if (!renderer) return false;
    SDL_Texture* screen = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                            (int)impl->width, (int)impl->height);
    if (!screen) {
        SDL_DestroyRenderer(renderer);
        return false;
    }
    SDL_SetTextureScaleMode(screen, SDL_ScaleModeNearest);
    SDL_RenderSetLogicalSize(renderer, (int)impl->width, (int)impl->height);  // letterboxed
    impl->renderer = renderer;
    impl->screen = screen;
    return true;
}

// SDL quietly takes another renderer for one it cannot make; the player
// who named it is told, once for each name.
void TellStandInRenderer(const char* named, SDL_Renderer* renderer) {
    static std::string told;
    SDL_RendererInfo info{};
    if (renderer && SDL_GetRendererInfo(renderer, &info) == 0 &&
        SDL_strcasecmp(info.name, named) == 0)
        return;
    if (told == named) return;
    told = named;
    if (renderer)
        std::fprintf(stderr, "SDL_RENDER_DRIVER names \"%s\", which cannot be made here; drawing with SDL's \"%s\" "
                     "renderer instead\n", named, info.name ? info.name : "?");
    else
        std::fprintf(stderr, "SDL_RENDER_DRIVER names \"%s\", which cannot be made here; the game scales its "
                     "picture into the window itself instead\n", named);
}

bool MakePresentation(IDirect3DDevice9::Impl* impl, HWND handle, SDL_Window* window) {
    const char* named = SDL_getenv("SDL_RENDER_DRIVER");
    const bool namesRenderer = named && *named;
    impl->shownHandle = handle;
    if ((namesRenderer || PlatformWindowHasGpu(window)) && MakeRenderer(impl, window)) {
        if (namesRenderer) TellStandInRenderer(named, impl->renderer);
        return true;
    }
    if (namesRenderer) TellStandInRenderer(named, nullptr);
    // No GPU (a virtual display, software GL): the picture is scaled into
    // the window system's own framebuffer, never through a software GL,
    // which would cost more time and memory than the game.
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    impl->intoSurface = true;
    PlatformBlackenUncovered(window);
    return true;
}

bool ShowsArgbWords(const SDL_Surface* surface) {
    const SDL_PixelFormat* f = surface->format;
    return f->BytesPerPixel == 4 && f->Rmask == 0xFF0000u && f->Gmask == 0xFF00u && f->Bmask == 0xFFu;
}

// A new or resized window surface: where the picture lands, which column
// each of its columns shows, and black bars around it.
void LayOut(IDirect3DDevice9::Impl* impl, SDL_Surface* surface) {
    impl->surface = surface;
    impl->surfacePixels = surface->pixels;
    impl->surfaceWidth = surface->w;
    impl->surfaceHeight = surface->h;
    impl->laidOutWidth = impl->width;
    impl->laidOutHeight = impl->height;
    impl->picture = LetterboxedPicture(surface->w, surface->h, (int)impl->width, (int)impl->height);
    delete[] impl->sourceColumns;
    delete[] impl->scaledRow;
    impl->sourceColumns = new int[impl->picture.w > 0 ? impl->picture.w : 1];
    impl->scaledRow = new uint32_t[impl->picture.w > 0 ? impl->picture.w : 1];
    for (int x = 0; x < impl->picture.w; ++x)
        impl->sourceColumns[x] = NearestSource(x, impl->picture.w, (int)impl->width);
    const SDL_Rect& p = impl->picture;
    const SDL_Rect bars[] = {{0, 0, surface->w, p.y},
                             {0, p.y + p.h, surface->w, surface->h - p.y - p.h},
                             {0, p.y, p.x, p.h},
                             {p.x + p.w, p.y, surface->w - p.x - p.w, p.h}};
    for (const SDL_Rect& bar : bars) SDL_FillRect(surface, &bar, SDL_MapRGB(surface->format, 0, 0, 0));
}

// Copies a row to the window's surface past the caches: the window system
// reads it next, from another core, and the game does not read it again.
void StreamRow(uint32_t* to, const uint32_t* from, int count) {
    int i = 0;
#ifdef __SSE2__
    for (; i < count && (reinterpret_cast<uintptr_t>(to + i) & 15) != 0; ++i) to[i] = from[i];
    for (; i + 4 <= count; i += 4)
        _mm_stream_si128(reinterpret_cast<__m128i*>(to + i), _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)));
#endif
    for (; i < count; ++i) to[i] = from[i];
}

// Each back buffer row the picture shows is scaled once, then copied to
// every row of the picture that shows it.
void ScaleInto(const IDirect3DDevice9::Impl* impl, SDL_Surface* surface) {
    const SDL_Rect p = impl->picture;
    const size_t pitch = (size_t)surface->pitch;
    unsigned char* first = static_cast<unsigned char*>(surface->pixels) + (size_t)p.y * pitch + (size_t)p.x * 4;
    const int* columns = impl->sourceColumns;
    uint32_t* row = impl->scaledRow;
    int scaledRow = -1;
    const uint32_t* scaled = row;
    for (int y = 0; y < p.h; ++y) {
        const int sourceRow = NearestSource(y, p.h, (int)impl->height);
        if (sourceRow != scaledRow) {
            const uint32_t* source = impl->color + (size_t)sourceRow * impl->width;
            if (p.w == (int)impl->width) {
                scaled = source;
            } else {
                for (int x = 0; x < p.w; ++x) row[x] = source[columns[x]];
            }
            scaledRow = sourceRow;
        }
        StreamRow(reinterpret_cast<uint32_t*>(first + (size_t)y * pitch), scaled, p.w);
    }
#ifdef __SSE2__
    _mm_sfence();  // all of it written before the window system is told
#endif
}

void PresentIntoSurface(IDirect3DDevice9::Impl* impl, HWND handle, SDL_Window* window) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (!surface || !ShowsArgbWords(surface)) {
        // A window system with other pixels: SDL's renderer converts them.
        ReleasePresentation(impl);
        impl->shownHandle = handle;
        if (!MakeRenderer(impl, window)) impl->shownHandle = nullptr;
        return;
    }
    // SDL makes the surface anew when the window's size changes; a Reset
    // may have changed the back buffer's.
    const bool fresh = surface != impl->surface || surface->pixels != impl->surfacePixels ||
                       surface->w != impl->surfaceWidth || surface->h != impl->surfaceHeight ||
                       impl->width != impl->laidOutWidth || impl->height != impl->laidOutHeight;
    if (fresh) LayOut(impl, surface);
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    if (impl->picture.w > 0 && impl->picture.h > 0) ScaleInto(impl, surface);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    // The bars only when they are new; the picture every frame.
    if (fresh)
        SDL_UpdateWindowSurface(window);
    else
        SDL_UpdateWindowSurfaceRects(window, &impl->picture, 1);
}
}  // namespace

void ForceDeviceLossState(DeviceLossState state) {
    HeldLostByTest = state == DeviceLossState::Lost;
    LostOnNextReset = false;
    LossState = state;
}

void LoseDeviceOnNextReset() { LostOnNextReset = true; }

void NoteResetTried() {
    if (LostOnNextReset) ForceDeviceLossState(DeviceLossState::Lost);
}

HRESULT DeviceCooperativeLevel(const IDirect3DDevice9* device) {
    UpdateLossState(device->impl);
    switch (LossState) {
    case DeviceLossState::Working: return D3D_OK;
    case DeviceLossState::Lost: return D3DERR_DEVICELOST;
    case DeviceLossState::NotReset: return D3DERR_DEVICENOTRESET;
    }
    return D3D_OK;
}

void ReleasePresentation(IDirect3DDevice9::Impl* impl) {
    if (impl->renderer && PresentationAlive(impl, impl->shownHandle)) {
        SDL_DestroyTexture(impl->screen);
        SDL_DestroyRenderer(impl->renderer);
    }
    delete[] impl->sourceColumns;
    delete[] impl->scaledRow;
    impl->shownHandle = nullptr;
    impl->renderer = nullptr;
    impl->screen = nullptr;
    impl->intoSurface = false;
    impl->surface = nullptr;
    impl->sourceColumns = nullptr;
    impl->scaledRow = nullptr;
}

SDL_Rect LetterboxedPicture(int windowWidth, int windowHeight, int width, int height) {
    // As SDL_RenderSetLogicalSize works it out, in single precision.
    const float want = (float)width / (float)height, real = (float)windowWidth / (float)windowHeight;
    if (SDL_fabs(want - real) < 0.0001) return SDL_Rect{0, 0, windowWidth, windowHeight};
    if (want > real) {
        const float scale = (float)windowWidth / (float)width;
        const int shown = (int)SDL_floor(height * scale);
        return SDL_Rect{0, (windowHeight - shown) / 2, windowWidth, shown};
    }
    const float scale = (float)windowHeight / (float)height;
    const int shown = (int)SDL_floor(width * scale);
    return SDL_Rect{(windowWidth - shown) / 2, 0, shown, windowHeight};
}

int NearestSource(int position, int scaledSize, int size) {
    // 16.16 fixed point from the middle of the first step.
    const uint32_t step = ((uint32_t)size << 16) / (uint32_t)scaledSize;
    return (int)((step / 2 + (uint32_t)position * step) >> 16);
}

void ApplyWindowMode(const IDirect3DDevice9::Impl* impl) {
    SDL_Window* window = PlatformSdlWindow(impl->params.hDeviceWindow);
    if (!window) return;
    if (impl->params.Windowed) {
        SDL_SetWindowFullscreen(window, 0);
        return;
    }
    // Full screen, the window steps aside when another takes the focus,
    // and that is what loses the device.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "1");
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

HRESULT IDirect3DDevice9::Present(const RECT*, const RECT*, HWND window, const void*) {
    if (DeviceCooperativeLevel(this) != D3D_OK) return D3DERR_DEVICELOST;
    const HWND handle = window ? window : impl->params.hDeviceWindow;
    SDL_Window* target = PlatformSdlWindow(handle);
    if (!target) return D3D_OK;
    if (!PresentationFits(impl, handle)) {
        ReleasePresentation(impl);
        if (!MakePresentation(impl, handle, target)) return D3D_OK;
    }
    if (!impl->renderer) {
        PresentIntoSurface(impl, handle, target);
        return D3D_OK;
    }
    SDL_UpdateTexture(impl->screen, nullptr, impl->color, (int)impl->width * 4);
    SDL_SetRenderDrawColor(impl->renderer, 0, 0, 0, 255);
    SDL_RenderClear(impl->renderer);
    SDL_RenderCopy(impl->renderer, impl->screen, nullptr, nullptr);
    SDL_RenderPresent(impl->renderer);
    return D3D_OK;
}
