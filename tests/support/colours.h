// Colours read back from the back buffer, compared with what a blend of
// source alpha over inverse source alpha should give.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

// `over` at alpha (0 to 1) on `under`, opaque, each channel rounded.
inline uint32_t Blended(uint32_t over, double alpha, uint32_t under) {
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double top = (over >> shift) & 0xFF, bottom = (under >> shift) & 0xFF;
        out |= (uint32_t)(top * alpha + bottom * (1 - alpha) + 0.5) << shift;
    }
    return out;
}

// Each colour byte of got within tolerance of want.
inline ::testing::AssertionResult NearColour(uint32_t got, uint32_t want, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8) {
        if (std::abs((int)((got >> shift) & 0xFF) - (int)((want >> shift) & 0xFF)) > tolerance)
            return ::testing::AssertionFailure() << std::hex << "got 0x" << got << ", want 0x" << want;
    }
    return ::testing::AssertionSuccess();
}
