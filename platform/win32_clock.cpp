// The millisecond timer and sleep, the finer clock the frame pacing uses
// and the wait for events, all on CLOCK_MONOTONIC unless a test drives the
// clock.
#include <cerrno>
#include <ctime>

#include "platform/testhooks.h"
#include "platform/win32_internal.h"

namespace {

constexpr uint64_t NanosecondsPerMillisecond = 1000000;
constexpr uint64_t NanosecondsPerSecond = 1000000000;

ClockHooks Hooks;
bool Hooked;

}  // namespace

void SetClockHooks(const ClockHooks* hooks) {
    Hooked = hooks && hooks->now && hooks->sleepUntil;
    Hooks = Hooked ? *hooks : ClockHooks{};
}

uint64_t MonotonicNanoseconds() {
    if (Hooked) return Hooks.now();
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * NanosecondsPerSecond + static_cast<uint64_t>(now.tv_nsec);
}

void SleepUntilNanoseconds(uint64_t deadline) {
    if (Hooked) {
        Hooks.sleepUntil(deadline);
        return;
    }
    timespec when{};
    when.tv_sec = static_cast<time_t>(deadline / NanosecondsPerSecond);
    when.tv_nsec = static_cast<long>(deadline % NanosecondsPerSecond);
    // A signal cuts the sleep short; the deadline stays where it was.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &when, nullptr) == EINTR) {
    }
}

void Sleep(DWORD milliseconds) {
    SleepUntilNanoseconds(MonotonicNanoseconds() + milliseconds * NanosecondsPerMillisecond);
}

void PlatformWaitForEvents(DWORD milliseconds) {
    if (Hooked) {
        if (Hooks.wait) Hooks.wait(milliseconds * NanosecondsPerMillisecond);
        return;
    }
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_WaitEventTimeout(nullptr, static_cast<int>(milliseconds));
    } else {
        Sleep(milliseconds);
    }
}

// Wraps every 2^32 ms (about 49.7 days), as on Windows.
DWORD timeGetTime() { return static_cast<DWORD>(MonotonicNanoseconds() / NanosecondsPerMillisecond); }

// The monotonic clock is already finer than a millisecond.
UINT timeBeginPeriod(UINT) { return 0; }
