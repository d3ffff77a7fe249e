// The shell's real main loop on the real clock, timed from outside the
// game (run from the build directory, where the data tree is):
//   main_loop_timing startup START_NS
//       WinMain itself, from START_NS (CLOCK_REALTIME, taken just before
//       this program was started) to the end of the first frame, which
//       presents the title; prints the milliseconds
//   main_loop_timing pacing [FRAMES]
//       start-up as the shell does it, then FRAMES (600) passes of the main
//       loop that run a frame, on the title; prints the spread of the
//       periods between the starts of those frames
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "platform/testhooks.h"
#include "tools/replay/headless_game.h"

namespace {

long long StartNs;

long long RealtimeNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
}

// The real clock, watched: the first sleep the loop asks for comes right
// after the first frame has presented.
uint64_t RealNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint64_t)now.tv_sec * 1000000000ull + (uint64_t)now.tv_nsec;
}
void FirstSleep(uint64_t) {
    std::printf("start-up to the first presented title frame: %.1f ms\n", (RealtimeNs() - StartNs) / 1e6);
    std::fflush(stdout);
    _exit(0);
}

int Startup(long long startNs) {
    StartNs = startNs;
    const ClockHooks clock = {RealNow, FirstSleep, nullptr};
    SetClockHooks(&clock);
    WinMain(nullptr, nullptr, nullptr, SW_SHOWDEFAULT);
    std::fprintf(stderr, "the game ended before its first frame\n");
    return 1;
}

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    size_t index = (size_t)(p * (double)(values.size() - 1) + 0.5);
    return values[index];
}

int Pacing(int frames) {
    HWND window = StartHeadlessGame();
    if (!window) {
        std::fprintf(stderr, "the game did not start\n");
        return 1;
    }
    MSG msg{};
    std::vector<double> starts;
    while ((int)starts.size() < frames + 1) {
        // A pass with a message waiting handles it and runs no frame.
        MSG waiting;
        const bool frame = !PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE) && !Graphics.deviceLost;
        if (frame) starts.push_back((double)MonotonicNanoseconds() / 1e6);
        if (!MainLoopPass(window, &msg)) break;
    }
    StopHeadlessGame(window);
    std::vector<double> periods;
    for (size_t i = 1; i < starts.size(); ++i) periods.push_back(starts[i] - starts[i - 1]);
    if (periods.empty()) return 1;
    const double periodMs = FramePeriodNs / 1e6;
    int within = 0;
    for (double p : periods) within += p >= periodMs - 1.0 && p <= periodMs + 1.0;
    std::printf("frame periods over %zu frames: median %.3f ms, p1 %.3f ms, p99 %.3f ms, min %.3f, max %.3f; "
                "%d of %zu within 1 ms of %.0f ms\n",
                periods.size(), Percentile(periods, 0.5), Percentile(periods, 0.01), Percentile(periods, 0.99),
                Percentile(periods, 0.0), Percentile(periods, 1.0), within, periods.size(), periodMs);
    const bool met = std::abs(Percentile(periods, 0.99) - periodMs) <= 1.0 &&
                     std::abs(Percentile(periods, 0.01) - periodMs) <= 1.0;
    return met ? 0 : 3;
}

}  // namespace

int main(int argc, char** argv) {
    if (access("Texture/Map/MapHitData.txt", R_OK) != 0) {
        std::fprintf(stderr, "run me from the build directory, where the data tree is\n");
        return 2;
    }
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "startup" && argc == 3) return Startup(std::atoll(argv[2]));
    if (mode == "pacing") return Pacing(argc > 2 ? std::atoi(argv[2]) : 600);
    std::fprintf(stderr, "usage: %s startup START_NS | pacing [FRAMES]\n", argv[0]);
    return 2;
}
