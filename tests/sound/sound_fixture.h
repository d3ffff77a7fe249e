// What the sound tests share: WAV files written into a scratch working
// directory, and a watch on every buffer the real mixer produces.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>

#include "support/scratch.h"

constexpr int TestRateHz = 44100;
constexpr int ShortFrames = 2048;  // about 46 ms at the test rate

struct MixBuffer {
    int frames;
    int loudFrames;  // frames with any sample not 0
    int16_t low, high;
};

// Records every mixer buffer from Start to Stop.
namespace MixWatch {
void Start();
void Stop();
long Count();
MixBuffer At(long index);
// Waits (up to a few seconds) until `frames` frames have been mixed in the
// buffers from index `from` on; false on timeout.
bool WaitFrames(long from, long frames);
long LoudFramesSince(long from);
// Whether every sample of the next `frames` frames of mix equals `value`.
::testing::AssertionResult SteadyAt(int16_t value, long frames = 4 * ShortFrames);
}  // namespace MixWatch

// A started sound module in a scratch directory; the shutdown after the
// test must leave no decoded sound behind.
class SoundTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    ScratchDir directory_;
};
