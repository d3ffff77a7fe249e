// What the sound tests share: WAV files written on the spot into a scratch
// working directory, and a watch on every buffer the real mixer produces.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include <string>

#include "support/scratch.h"

// The output format the performance asks the mixer for.
constexpr int TestRateHz = 44100;
constexpr int TestChannels = 2;
// About 46 ms at the test rate.
constexpr int ShortFrames = 2048;

// One finished mixer buffer.
struct MixBuffer {
    int frames;
    int loudFrames;  // frames with any sample not 0
    int16_t low;     // smallest sample
    int16_t high;    // largest sample
};

// Records every mixer buffer from Start to Stop.
namespace MixWatch {
void Start();
void Stop();
// Buffers finished so far.
long Count();
MixBuffer At(long index);
// Waits (up to a few seconds) until `frames` frames have been mixed in
// the buffers from index `from` on; false on timeout.
bool WaitFrames(long from, long frames);
// Frames with sound in the buffers from index `from` on.
long LoudFramesSince(long from);
// Waits for `frames` more frames of mix and tells whether every sample in
// them equals `value` (0 for silence).
::testing::AssertionResult SteadyAt(int16_t value, long frames = 4 * ShortFrames);
}  // namespace MixWatch

// A started sound module in a scratch directory, watched from the first
// buffer; shut down again after the test, which must leave no decoded
// sound behind.
class SoundTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    ScratchDir directory_;
};
