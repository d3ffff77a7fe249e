#include "support/played_sounds.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "platform/testhooks.h"
#include "sound/sound.h"
#include "support/scratch.h"

namespace {

// Each play of a slot sounds twice (repeat count 1), this many frames each.
constexpr int SoundFrames = 64;
constexpr int Rate = 44100;
constexpr int Channels = 2;
// Levels 1, 8, 64, 512, 4096: seven plays of all five sum to 32767.
constexpr int LevelBase = 8;

std::atomic<long long> SampleSum{0};
std::atomic<long> Buffers{0};
std::atomic<long> SilentBuffersInARow{0};

void Listen(const int16_t* samples, int frames, int channels, int) {
    long long sum = 0;
    for (int i = 0; i < frames * channels; ++i) sum += samples[i];
    SampleSum += sum;
    SilentBuffersInARow = sum == 0 ? SilentBuffersInARow + 1 : 0;
    ++Buffers;
}

}  // namespace

PlayedSounds::PlayedSounds(std::initializer_list<int> slots) {
    EXPECT_EQ(InitSound(nullptr), 1);
    int level = 1;
    for (int slot : slots) {
        if (count_ == 5) break;
        char path[64];
        snprintf(path, sizeof path, "Sound/slot%d.wav", slot);
        WriteConstantWave(path, SoundFrames, (int16_t)level, Rate, Channels);
        EXPECT_EQ(LoadSound(path, slot, 0), 1) << path;
        slots_[count_++] = slot;
        level *= LevelBase;
    }
    SampleSum = 0;
    SetMixHook(Listen);
}

PlayedSounds::~PlayedSounds() {
    SetMixHook(nullptr);
    ReleaseSound();
}

void PlayedSounds::Settle() {
    // Sounds start with the next buffer and last two short plays; a few
    // silent buffers after that mean all have ended.
    long from = Buffers;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Buffers < from + 2 || SilentBuffersInARow < 2) {
        if (std::chrono::steady_clock::now() > deadline) {
            ADD_FAILURE() << "the mixer stalled";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    long long units = SampleSum / (2LL * SoundFrames * Channels);
    long long fresh = units - heardUnits_;
    heardUnits_ = units;
    for (int i = 0; i < count_; ++i) {
        plays_[i] = (int)(fresh % LevelBase);
        fresh /= LevelBase;
    }
}

int PlayedSounds::Plays(int slot) {
    Settle();
    for (int i = 0; i < count_; ++i) {
        if (slots_[i] == slot) return plays_[i];
    }
    ADD_FAILURE() << "slot " << slot << " is not watched";
    return -1;
}

std::string PlayedSounds::Heard() {
    Settle();
    std::string heard;
    for (int i = 0; i < count_; ++i) {
        if (plays_[i] == 0) continue;
        if (!heard.empty()) heard += ", ";
        heard += std::to_string(slots_[i]) + " x " + std::to_string(plays_[i]);
    }
    return heard;
}
