// Lines through the device's 3D path: a fan of 256 half-transparent lines
// with ends between pixel centres, in every direction, under an identity
// view and projection. The cost is reported per pixel of the lines' long
// axes, which is what the rasteriser walks.
#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>
#include "bench/bench_device.h"

namespace {
constexpr int LineCount = 256;
constexpr float FanRadius = 0.9f;  // of the half screen
constexpr DWORD LineFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;
constexpr D3DCOLOR HalfRed = 0x80FF0000u;

struct Point {
    float x, y, z;
    D3DCOLOR colour;
};

void BM_LineFan(benchmark::State& state) {
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = MakeBenchDevice(&d3d);
    if (!device) {
        state.SkipWithError("no device");
        return;
    }
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetFVF(LineFvf);
    // Spokes from just off the middle, so no end lands on a pixel centre.
    std::vector<Point> points;
    double pixels = 0.0;
    for (int i = 0; i < LineCount; ++i) {
        const float angle = 6.2831853f * (i + 0.37f) / LineCount;
        const float x0 = 0.0013f, y0 = -0.0021f;
        const float x1 = FanRadius * std::cos(angle), y1 = FanRadius * std::sin(angle);
        points.push_back({x0, y0, 0.5f, HalfRed});
        points.push_back({x1, y1, 0.5f, HalfRed});
        pixels += std::fmax(std::fabs(x1 - x0) * 320.0, std::fabs(y1 - y0) * 240.0);
    }
    for (auto _ : state) {
        device->DrawPrimitiveUP(D3DPT_LINELIST, LineCount, points.data(), sizeof(Point));
        benchmark::ClobberMemory();
    }
    state.counters["per_pixel"] =
        benchmark::Counter(pixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    device->Release();
    d3d->Release();
}
BENCHMARK(BM_LineFan)->Unit(benchmark::kMicrosecond);
}  // namespace

BENCHMARK_MAIN();
