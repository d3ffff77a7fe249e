// Showing the back buffer, and the device lost while its full-screen
// window is minimised.
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
    return impl->renderer && handle == impl->shownHandle && window && SDL_GetRenderer(window) == impl->renderer;
}

// ... and its picture still has the back buffer's sizes (a Reset may
// have changed them).
bool PresentationFits(const IDirect3DDevice9::Impl* impl, HWND handle) {
    int width = 0, height = 0;
    return PresentationAlive(impl, handle) && SDL_QueryTexture(impl->screen, nullptr, nullptr, &width, &height) == 0 &&
           width == (int)impl->width && height == (int)impl->height;
}

bool MakePresentation(IDirect3DDevice9::Impl* impl, HWND handle, SDL_Window* window) {
    // The software renderer over the window system's own framebuffer: a
    // 640 x 480 copy a frame needs no GPU, and without one (a virtual
    // display) a software GL would cost more time and memory than the game.
    // SDL_RENDER_DRIVER in the environment still wins.
    SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_DEFAULT);
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    SDL_Renderer* renderer = SDL_GetRenderer(window);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, 0);
    if (!renderer) return false;
    SDL_Texture* screen = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                            (int)impl->width, (int)impl->height);
    if (!screen) {
        SDL_DestroyRenderer(renderer);
        return false;
    }
    SDL_SetTextureScaleMode(screen, SDL_ScaleModeNearest);
    SDL_RenderSetLogicalSize(renderer, (int)impl->width, (int)impl->height);  // letterboxed
    impl->shownHandle = handle;
    impl->renderer = renderer;
    impl->screen = screen;
    return true;
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
    if (PresentationAlive(impl, impl->shownHandle)) {
        SDL_DestroyTexture(impl->screen);
        SDL_DestroyRenderer(impl->renderer);
    }
    impl->shownHandle = nullptr;
    impl->renderer = nullptr;
    impl->screen = nullptr;
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
    SDL_UpdateTexture(impl->screen, nullptr, impl->color, (int)impl->width * 4);
    SDL_SetRenderDrawColor(impl->renderer, 0, 0, 0, 255);
    SDL_RenderClear(impl->renderer);
    SDL_RenderCopy(impl->renderer, impl->screen, nullptr, nullptr);
    SDL_RenderPresent(impl->renderer);
    return D3D_OK;
}
