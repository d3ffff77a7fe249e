// A clock the tests drive through the platform's clock hooks: the loop
// reads it twice a frame, and the second read finds the frame's scripted
// length gone by; every sleep the loop asks for is recorded and passes at
// once.
#pragma once
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
    std::function<void(int frame)> onSleep;

    int Frames() const { return reads / 2; }
};

inline Clock TheClock;

inline uint64_t Now() {
    Clock& c = TheClock;
    ++c.reads;
    if (c.reads % 2 == 0 && !c.frameLengths.empty()) {
        size_t frame = static_cast<size_t>(c.reads / 2 - 1);
        c.now += c.frameLengths[frame < c.frameLengths.size() ? frame : c.frameLengths.size() - 1];
    }
    return c.now;
}

inline void SleepUntil(uint64_t deadline) {
    Clock& c = TheClock;
    c.sleeps.push_back(static_cast<int64_t>(deadline - c.now));
    c.sleepAfterFrame.push_back(c.Frames());
    if (deadline > c.now) c.now = deadline;
    if (c.onSleep) c.onSleep(c.Frames());
}

// Starts a fresh driven clock whose frames take frameLength each.
inline void Drive(uint64_t frameLength) {
    TheClock = Clock{};
    TheClock.frameLengths = {frameLength};
    static const ClockHooks hooks{Now, SleepUntil};
    SetClockHooks(&hooks);
}

inline void Release() {
    SetClockHooks(nullptr);
    TheClock = Clock{};
}

}  // namespace driven
