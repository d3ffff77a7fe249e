// A clock the tests drive through the platform's clock hooks: the loop
// reads it twice a frame, and the second read finds the frame's scripted
// length gone by; every sleep and every wait for messages the loop asks
// for is recorded and passes at once.
#pragma once
#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/testhooks.h"

namespace driven {

constexpr uint64_t Ms = 1000000;

struct Clock {
    uint64_t now = 1000 * Ms;
    int reads = 0;
    std::vector<uint64_t> frameLengths;  // one per frame; the last repeats
    std::vector<int64_t> sleeps;         // how long each asked-for sleep lasted
    std::vector<int> sleepAfterFrame;    // the frame each sleep followed
    std::vector<int64_t> waits;          // the time limit of each wait for messages
    std::function<void(int frame)> onSleep;

    int Frames() const { return reads / 2; }
};

inline Clock TheClock;

inline uint64_t Now() {
    if (++TheClock.reads % 2 == 0 && !TheClock.frameLengths.empty()) {
        const size_t frame = std::min<size_t>(TheClock.reads / 2 - 1, TheClock.frameLengths.size() - 1);
        TheClock.now += TheClock.frameLengths[frame];
    }
    return TheClock.now;
}

inline void SleepUntil(uint64_t deadline) {
    TheClock.sleeps.push_back(static_cast<int64_t>(deadline - TheClock.now));
    TheClock.sleepAfterFrame.push_back(TheClock.Frames());
    TheClock.now = std::max(TheClock.now, deadline);
    if (TheClock.onSleep) TheClock.onSleep(TheClock.Frames());
}

inline void Wait(uint64_t nanoseconds) {
    TheClock.waits.push_back(static_cast<int64_t>(nanoseconds));
    TheClock.now += nanoseconds;
}

// Starts a fresh driven clock whose frames take frameLength each.
inline void Drive(uint64_t frameLength) {
    TheClock = Clock{};
    TheClock.frameLengths = {frameLength};
    static const ClockHooks hooks{Now, SleepUntil, Wait};
    SetClockHooks(&hooks);
}

inline void Release() {
    SetClockHooks(nullptr);
    TheClock = Clock{};
}

}  // namespace driven
