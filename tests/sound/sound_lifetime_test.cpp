// Start-up, shutdown and bad input: what the module holds, what it frees,
// and that nothing it is handed makes it misbehave.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
#include "platform/testhooks.h"
#include "sound/sound.h"
#include "sound_fixture.h"

namespace {
constexpr int16_t Rain = 1000;

void ExpectEverythingReleased() {
    EXPECT_EQ(Performance, nullptr);
    EXPECT_EQ(Loader, nullptr);
    EXPECT_EQ(DefaultAudioPath, nullptr);
    EXPECT_EQ(AudioPath1, nullptr);
    EXPECT_EQ(AudioPath2, nullptr);
    for (IDirectMusicSegment8* segment : SoundSegments) EXPECT_EQ(segment, nullptr);
}

// Every entry point once, as the game might call them with sound off.
void CallEverything() {
    EXPECT_EQ(LoadSound("Sound/rain.wav", 0, 0), 0);
    PlaySoundSlot(0, 1, 0, 0);
    PlaySoundSlot(0, 0, 1, 2);
    StopSoundSlot(0);
    StopAllSounds();
    SetSoundVolume(0, -600);
    SetSoundVolume(2, -600);
}
}  // namespace

TEST(SoundWithoutDevice, EveryCallDoesNothingAndShutdownCompletes) {
    ScratchDir directory;
    WriteConstantWave("Sound/rain.wav", ShortFrames, Rain);
    CallEverything();  // never started
    ReleaseSound();
    ExpectEverythingReleased();

    // No audio device: the performance exists, nothing after it does, and
    // the audio system's reason is told in one line.
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(InitSound(nullptr), 0);
    std::string told = testing::internal::GetCapturedStderr();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_EQ(told.rfind("No sound: ", 0), 0u) << told;
    EXPECT_NE(told.find("no-such-driver"), std::string::npos) << told;
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
    EXPECT_NE(Performance, nullptr);
    EXPECT_EQ(Loader, nullptr);
    EXPECT_EQ(DefaultAudioPath, nullptr);
    CallEverything();
    ReleaseSound();
    ExpectEverythingReleased();

    // And the device can still be had afterwards.
    ASSERT_EQ(InitSound(nullptr), 1);
    EXPECT_EQ(LoadSound("Sound/rain.wav", 0, 0), 1);
    ReleaseSound();
    ExpectEverythingReleased();
    EXPECT_EQ(LiveSoundSegments(), 0);
}

// Files are found from the directory of start-up, and each is decoded once
// however many returns to the title load it again.
TEST_F(SoundTest, PathsMadeAtStartUpAndEachFileDecodedOnce) {
    EXPECT_NE(DefaultAudioPath, nullptr);
    EXPECT_NE(AudioPath1, nullptr);
    EXPECT_NE(AudioPath2, nullptr);
    EXPECT_NE(AudioPath1, AudioPath2);
    for (const char* path : {"Sound/rain.wav", "Sound/sadsong-1.wav", "Sound/swing1.wav"})
        WriteConstantWave(path, ShortFrames, Rain);
    ScratchDir elsewhere;
    for (int round = 0; round < 50; ++round) {
        StopAllSounds();
        LoadSound("Sound/swing1.wav", 1, 0);
        ASSERT_EQ(LoadSound("Sound/rain.wav", 0, 0), 1);
        PlaySoundSlot(0, 1, 0, 0);
        LoadSound("Sound/sadsong-1.wav", 0, 0);
        PlaySoundSlot(0, 1, 0, 0);
        LoadSound("Sound/swing1.wav", 5, 0);
    }
    EXPECT_EQ(LiveSoundSegments(), 3);
    EXPECT_EQ(SoundSegments[1], SoundSegments[5]);
    EXPECT_TRUE(MixWatch::SteadyAt(2 * Rain));
}

TEST_F(SoundTest, FailedLoadsLeaveTheirSlotEmptyAndOddSlotsPlayNothing) {
    WriteConstantWave("Sound/rain.wav", ShortFrames, Rain);
    WriteBytes("Sound/text.wav", std::vector<unsigned char>(20, 'x'));
    WriteConstantWave("Sound/empty.wav", 0, Rain);
    WriteConstantWave("Sound/cut.wav", ShortFrames, Rain);
    std::filesystem::resize_file("Sound/cut.wav", 20);
    std::string longName = "Sound/" + std::string(300, 'a') + ".wav";
    const char* bad[] = {"Sound/missing.wav", "Sound/text.wav", "Sound/empty.wav", "Sound/cut.wav", "Sound",
                         "", "Sound/\xff\xfe.wav", longName.c_str(), nullptr};
    for (const char* path : bad) {
        SCOPED_TRACE(path ? path : "null");
        ASSERT_EQ(LoadSound("Sound/rain.wav", 3, 0), 1);
        EXPECT_EQ(LoadSound(path, 3, 0), 0);
        EXPECT_EQ(SoundSegments[3], nullptr);
    }
    EXPECT_EQ(LoadSound("Sound/rain.wav", SoundSlotCount, 0), 0);
    EXPECT_EQ(LoadSound("Sound/rain.wav", -1, 0), 0);
    for (int slot : {0, 3, 17, 99, -1, 100}) PlaySoundSlot(slot, 1, 1, 0);
    PlaySoundSlot(-5, 0, 0, 0);
    EXPECT_TRUE(MixWatch::SteadyAt(0));
    EXPECT_EQ(LiveSoundSegments(), 1);
}

// Each load of a file that gives no sound names it, with why, as pictures do.
TEST_F(SoundTest, AFileThatGivesNoSoundIsNamedWithTheReason) {
    WriteBytes("Sound/text.wav", std::vector<unsigned char>(20, 'x'));
    WriteConstantWave("Sound/empty.wav", 0, Rain);
    WriteBytes("Sound/zero.wav", {});
    testing::internal::CaptureStderr();
    for (const char* path :
         {"Sound/missing.wav", "Sound/text.wav", "Sound/empty.wav", "Sound", "Sound/text.wav", "Sound/zero.wav"})
        EXPECT_EQ(LoadSound(path, 3, 0), 0);
    std::string told = testing::internal::GetCapturedStderr();
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = told.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(told.substr(at, end - at));
    ASSERT_EQ(lines.size(), 6u) << told;
    EXPECT_EQ(lines[0], "sound \"Sound/missing.wav\": No such file or directory");
    EXPECT_EQ(lines[1].rfind("sound \"Sound/text.wav\": ", 0), 0u) << lines[1];
    EXPECT_GT(lines[1].size(), std::string("sound \"Sound/text.wav\": ").size());
    EXPECT_EQ(lines[2].rfind("sound \"Sound/empty.wav\": ", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3], "sound \"Sound\": Is a directory");
    EXPECT_EQ(lines[4], lines[1]);
    EXPECT_EQ(lines[5], "sound \"Sound/zero.wav\": the file is empty");
}

// A working directory the loader cannot search, or a device another
// performance holds: sound is off, the reason is told in one line, and
// shutdown still frees what start-up made.
namespace {
std::string StartToldOnce() {
    testing::internal::CaptureStderr();
    EXPECT_EQ(InitSound(nullptr), 0);
    std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
    EXPECT_EQ(told.rfind("No sound: ", 0), 0u) << told;
    ReleaseSound();
    ExpectEverythingReleased();
    return told;
}

// Makes and enters folders below the working directory until it is
// `length` bytes long.
void EnterDirectoryOfLength(size_t length) {
    std::string path = std::filesystem::current_path().string();
    ASSERT_LT(path.size() + 2, length);
    while (path.size() < length) {
        const size_t room = length - path.size() - 1;
        path += "/" + std::string(room > 100 && room < 102 ? 50 : std::min<size_t>(room, 100), 'd');
    }
    std::filesystem::create_directories(path);
    std::filesystem::current_path(path);
}
}  // namespace

TEST(SoundWithoutDevice, EveryFailedStartIsToldInOneLine) {
    ScratchDir directory;
    const std::filesystem::path top = std::filesystem::current_path();
    for (size_t length : {255u, 256u, 300u}) {
        SCOPED_TRACE(length);
        EnterDirectoryOfLength(length);
        if (length == 255) {
            EXPECT_EQ(InitSound(nullptr), 1);
            ReleaseSound();
        } else {
            EXPECT_NE(StartToldOnce().find("the working directory is " + std::to_string(length) +
                                           " bytes long; the sound loader takes at most 255"),
                      std::string::npos);
        }
        std::filesystem::current_path(top);
    }

    std::filesystem::create_directory("gone");
    std::filesystem::current_path("gone");
    std::filesystem::remove(top / "gone");
    EXPECT_NE(StartToldOnce().find("the working directory cannot be read"), std::string::npos);
    std::filesystem::current_path(top);

    // Not UTF-8: the name the loader is handed is another folder's.
    std::filesystem::create_directory("\xff\xfe");
    std::filesystem::current_path("\xff\xfe");
    EXPECT_NE(StartToldOnce().find("sounds cannot be looked for in the working directory"), std::string::npos);
    std::filesystem::current_path(top);

    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    IDirectMusicPerformance8* holder = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC, IID_IDirectMusicPerformance8,
                               (void**)&holder),
              S_OK);
    ASSERT_EQ(holder->InitAudio(nullptr, nullptr, nullptr, DMUS_APATH_SHARED_STEREOPLUSREVERB, 64, DMUS_AUDIOF_ALL,
                                nullptr),
              S_OK);
    EXPECT_NE(StartToldOnce().find("already held by another performance"), std::string::npos);
    holder->CloseDown();
    holder->Release();
    CoUninitialize();
}
