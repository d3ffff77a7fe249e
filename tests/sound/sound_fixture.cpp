#include "sound_fixture.h"

#include <array>
#include <atomic>
#include <chrono>
#include <thread>
#include "platform/testhooks.h"
#include "sound/sound.h"

namespace {
constexpr long BufferCapacity = 1 << 14;
std::array<MixBuffer, BufferCapacity> Buffers;
std::atomic<long> BufferCount{0};

void Record(const int16_t* samples, int frames, int channels, int) {
    long index = BufferCount.load(std::memory_order_relaxed);
    if (index >= BufferCapacity) return;
    MixBuffer buffer{frames, 0, INT16_MAX, INT16_MIN};
    for (int frame = 0; frame < frames; ++frame) {
        bool loud = false;
        for (int channel = 0; channel < channels; ++channel) {
            int16_t sample = samples[frame * channels + channel];
            loud = loud || sample != 0;
            if (sample < buffer.low) buffer.low = sample;
            if (sample > buffer.high) buffer.high = sample;
        }
        buffer.loudFrames += loud ? 1 : 0;
    }
    Buffers[index] = buffer;
    BufferCount.store(index + 1, std::memory_order_release);
}
}  // namespace

namespace MixWatch {
void Start() {
    SetMixHook(nullptr);
    BufferCount.store(0);
    SetMixHook(Record);
}

void Stop() { SetMixHook(nullptr); }

long Count() { return BufferCount.load(std::memory_order_acquire); }

MixBuffer At(long index) { return Buffers[index]; }

bool WaitFrames(long from, long frames) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        long mixed = 0;
        for (long i = from, count = Count(); i < count; ++i) mixed += Buffers[i].frames;
        if (mixed >= frames) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

long LoudFramesSince(long from) {
    long loud = 0;
    for (long i = from, count = Count(); i < count; ++i) loud += Buffers[i].loudFrames;
    return loud;
}

::testing::AssertionResult SteadyAt(int16_t value, long frames) {
    long from = Count();
    if (!WaitFrames(from, frames)) return ::testing::AssertionFailure() << "the mixer stalled";
    for (long i = from, count = Count(); i < count; ++i)
        if (Buffers[i].low != value || Buffers[i].high != value)
            return ::testing::AssertionFailure() << "buffer " << i << " spans " << Buffers[i].low << " to "
                                                 << Buffers[i].high << ", expected " << value << " throughout";
    return ::testing::AssertionSuccess();
}
}  // namespace MixWatch

void SoundTest::SetUp() {
    ASSERT_EQ(InitSound(nullptr), 1);
    MixWatch::Start();
}

void SoundTest::TearDown() {
    ReleaseSound();
    MixWatch::Stop();
    EXPECT_EQ(Performance, nullptr);
    EXPECT_EQ(LiveSoundSegments(), 0);
}
