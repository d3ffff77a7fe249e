// One field frame's pictures into the back buffer: the seven 1024 x 1024
// background strips (most of them outside the view) and 40 sprites of
// 96 x 96, a quarter of them turned.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <vector>
#include "bench/bench_device.h"
#include "platform/d3dx9.h"

namespace {
constexpr int StripCount = 7;
constexpr int StripSide = 1024;
constexpr int SpriteCount = 40;
constexpr int SpriteSide = 96;
constexpr int CameraX = 3000;
constexpr int CameraY = 544;
constexpr float DegreesToRadians = 0.0174532924f;

IDirect3DTexture9* MakeTexture(IDirect3DDevice9* device, int side, bool withAlpha) {
    IDirect3DTexture9* texture = nullptr;
    device->CreateTexture((UINT)side, (UINT)side, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr);
    D3DLOCKED_RECT locked;
    texture->LockRect(0, &locked, nullptr, 0);
    for (int y = 0; y < side; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<char*>(locked.pBits) + (size_t)y * locked.Pitch);
        for (int x = 0; x < side; ++x) {
            // A round figure on a transparent ground, as the sprite sheets have.
            const int dx = x - side / 2, dy = y - side / 2;
            const bool inside = dx * dx + dy * dy < side * side / 5;
            const uint32_t alpha = !withAlpha || inside ? 0xFFu : 0x00u;
            row[x] = (alpha << 24) | (uint32_t)((x * 7) & 0xFF) << 16 | (uint32_t)((y * 3) & 0xFF) << 8 | 0x40;
        }
    }
    texture->UnlockRect(0);
    return texture;
}

void Placed(D3DXMATRIX* out, float x, float y) { D3DXMatrixTranslation(out, x, y, 0.0f); }

void Turned(D3DXMATRIX* out, float spin, float cx, float cy) {
    D3DXMATRIX toMiddle, turn, place;
    D3DXMatrixTranslation(&toMiddle, (float)-(SpriteSide / 2), (float)-(SpriteSide / 2), 0.0f);
    D3DXMatrixRotationZ(&turn, spin * DegreesToRadians);
    D3DXMatrixTranslation(&place, cx, cy, 0.0f);
    D3DXMatrixMultiply(out, D3DXMatrixMultiply(out, &toMiddle, &turn), &place);
}

void BM_FieldFramePictures(benchmark::State& state) {
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = MakeBenchDevice(&d3d);
    if (!device) {
        state.SkipWithError("no device");
        return;
    }
    ID3DXSprite* sprite = nullptr;
    D3DXCreateSprite(device, &sprite);
    IDirect3DTexture9* strips[StripCount];
    for (IDirect3DTexture9*& strip : strips) strip = MakeTexture(device, StripSide, false);
    IDirect3DTexture9* sheet = MakeTexture(device, SpriteSide, true);
    const RECT stripRect{0, 0, StripSide, StripSide};
    const RECT spriteRect{0, 0, SpriteSide, SpriteSide};

    for (auto _ : state) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FFu, 1.0f, 0);
        sprite->Begin(D3DXSPRITE_ALPHABLEND);
        device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_NONE);
        device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_NONE);
        device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
        D3DXMATRIX matrix;
        for (int k = 0; k < StripCount; ++k) {
            Placed(&matrix, (float)(StripSide * k - CameraX), (float)-CameraY);
            sprite->SetTransform(&matrix);
            sprite->Draw(strips[k], &stripRect, nullptr, nullptr, 0xFFFFFFFFu);
        }
        for (int i = 0; i < SpriteCount; ++i) {
            const float x = (float)((i * 83) % 600) + 0.5f * (float)(i % 2);
            const float y = (float)((i * 37) % 420);
            if (i % 4 == 0) {
                Turned(&matrix, (float)(i * 9), x + SpriteSide / 2, y + SpriteSide / 2);
            } else {
                Placed(&matrix, x, y);
            }
            sprite->SetTransform(&matrix);
            sprite->Draw(sheet, &spriteRect, nullptr, nullptr, 0xFFFFFFFFu);
        }
        sprite->End();
        benchmark::DoNotOptimize(device->BackBuffer()[240 * 640 + 320]);
    }

    for (IDirect3DTexture9* strip : strips) strip->Release();
    sheet->Release();
    sprite->Release();
    device->Release();
    d3d->Release();
}
BENCHMARK(BM_FieldFramePictures)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);
}  // namespace

BENCHMARK_MAIN();
