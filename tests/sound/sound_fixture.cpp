#include "sound_fixture.h"

#include <unistd.h>
#include <array>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>
#include "platform/testhooks.h"
#include "support/picture_files.h"
#include "sound/sound.h"

namespace {
void PutLittleEndian(std::string* out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back((char)((value >> (8 * i)) & 0xFF));
}

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

void WriteConstantWave(const std::string& path, int frames, int16_t value, int rate, int channels, int bits) {
    int sampleBytes = bits / 8;
    uint32_t dataBytes = (uint32_t)(frames * channels * sampleBytes);
    std::string out = "RIFF";
    PutLittleEndian(&out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    PutLittleEndian(&out, 16, 4);
    PutLittleEndian(&out, 1, 2);  // PCM
    PutLittleEndian(&out, (uint32_t)channels, 2);
    PutLittleEndian(&out, (uint32_t)rate, 4);
    PutLittleEndian(&out, (uint32_t)(rate * channels * sampleBytes), 4);
    PutLittleEndian(&out, (uint32_t)(channels * sampleBytes), 2);
    PutLittleEndian(&out, (uint32_t)bits, 2);
    out += "data";
    PutLittleEndian(&out, dataBytes, 4);
    // 8-bit PCM is unsigned around 128.
    uint32_t stored = bits == 8 ? (uint32_t)(128 + value / 256) : (uint16_t)value;
    for (int i = 0; i < frames * channels; ++i) PutLittleEndian(&out, stored, sampleBytes);
    std::filesystem::path file(path);
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    EXPECT_TRUE(WriteBytes(path, std::vector<unsigned char>(out.begin(), out.end()))) << path;
}

ScratchDirectory::ScratchDirectory() {
    char previous[PATH_MAX];
    if (getcwd(previous, sizeof previous)) previous_ = previous;
    char pattern[] = "/tmp/kestoria-sound-XXXXXX";
    if (mkdtemp(pattern)) path_ = pattern;
    EXPECT_FALSE(path_.empty());
    EXPECT_EQ(chdir(path_.c_str()), 0);
}

ScratchDirectory::~ScratchDirectory() {
    if (chdir(previous_.c_str()) != 0) ADD_FAILURE() << "cannot return to " << previous_;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

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
        long count = Count();
        for (long i = from; i < count; ++i) mixed += Buffers[i].frames;
        if (mixed >= frames) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

long LoudFramesSince(long from) {
    long loud = 0;
    long count = Count();
    for (long i = from; i < count; ++i) loud += Buffers[i].loudFrames;
    return loud;
}

::testing::AssertionResult SteadyAt(int16_t value, long frames) {
    long from = Count();
    if (!WaitFrames(from, frames)) return ::testing::AssertionFailure() << "the mixer stalled";
    long count = Count();
    for (long i = from; i < count; ++i) {
        MixBuffer buffer = Buffers[i];
        if (buffer.low != value || buffer.high != value)
            return ::testing::AssertionFailure() << "buffer " << i << " spans " << buffer.low << " to " << buffer.high
                                                 << ", expected " << value << " throughout";
    }
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
