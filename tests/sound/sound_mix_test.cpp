// The sound module heard through the real mixer: what sounds, for how
// long, beside what, and when it falls silent.
#include "sound_fixture.h"
#include "sound/sound.h"

namespace {
constexpr int16_t Rain = 1000;
constexpr int16_t Song = 3000;
constexpr int16_t Step = 200;

void Loop(int slot) { PlaySoundSlot(slot, 1, 0, 0); }
void Effect(int slot) { PlaySoundSlot(slot, 1, 1, 0); }

// Two loops of different levels in slots 0 and 4.
void LoadRainAndForest() {
    WriteConstantWave("Sound/rain.wav", ShortFrames, Rain);
    WriteConstantWave("Sound/forest.wav", ShortFrames, Song);
    LoadSound("Sound/rain.wav", 0, 0);
    LoadSound("Sound/forest.wav", 4, 0);
}
}  // namespace

TEST_F(SoundTest, EffectsRepeatTheGivenNumberOfTimesAfterTheFirstPlay) {
    WriteConstantWave("Sound/step01.wav", ShortFrames, Step);
    ASSERT_EQ(LoadSound("Sound/step01.wav", 10, 0), 1);
    for (int repeats : {1, 3}) {
        long from = MixWatch::Count();
        PlaySoundSlot(10, 1, repeats, 0);
        ASSERT_TRUE(MixWatch::WaitFrames(from, (repeats + 1) * ShortFrames + 4 * 1024));
        EXPECT_EQ(MixWatch::LoudFramesSince(from), (repeats + 1) * ShortFrames) << "repeats " << repeats;
        EXPECT_TRUE(MixWatch::SteadyAt(0));
    }
}

TEST_F(SoundTest, LoopOutlastsItsLengthAndStopAllSilencesEverythingAtOnce) {
    WriteConstantWave("Sound/rain.wav", ShortFrames, Rain);
    WriteConstantWave("Sound/bom10.wav", 20 * ShortFrames, Step);
    ASSERT_EQ(LoadSound("Sound/rain.wav", 0, 0), 1);
    ASSERT_EQ(LoadSound("Sound/bom10.wav", 7, 0), 1);
    Loop(0);
    ASSERT_TRUE(MixWatch::WaitFrames(MixWatch::Count(), 8 * ShortFrames));
    EXPECT_TRUE(MixWatch::SteadyAt(Rain));
    Effect(7);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain + Step));

    StopAllSounds();
    EXPECT_TRUE(MixWatch::SteadyAt(0, 1));
    EXPECT_TRUE(MixWatch::SteadyAt(0));
}

TEST_F(SoundTest, PlayingASlotAgainLayersASecondInstance) {
    WriteConstantWave("Sound/open.wav", 10 * ShortFrames, Step);
    ASSERT_EQ(LoadSound("Sound/open.wav", 8, 0), 1);
    long from = MixWatch::Count();
    Effect(8);
    Effect(8);
    ASSERT_TRUE(MixWatch::WaitFrames(from, 2 * ShortFrames));
    EXPECT_EQ(MixWatch::At(MixWatch::Count() - 1).high, 2 * Step);
}

TEST_F(SoundTest, ReloadedSlotKeepsItsOldLoopBesideTheNewOne) {
    WriteConstantWave("Sound/rain.wav", ShortFrames, Rain);
    WriteConstantWave("Sound/sadsong-1.wav", 3 * ShortFrames, Song);
    LoadSound("Sound/rain.wav", 0, 0);
    Loop(0);
    LoadSound("Sound/sadsong-1.wav", 0, 0);
    Loop(0);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain + Song, 10 * ShortFrames));
}

TEST_F(SoundTest, MissingFileEmptiesItsSlotSoNoSecondLoopStarts) {
    WriteConstantWave("Sound/rain.wav", ShortFrames, Rain);
    LoadSound("Sound/rain.wav", 0, 0);
    Loop(0);
    EXPECT_EQ(LoadSound("Sound/sadsong-1.wav", 0, 0), 0);
    EXPECT_EQ(SoundSegments[0], nullptr);
    Loop(0);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain));
}

TEST_F(SoundTest, EmptyOrOutOfRangeSlotsPlayNothing) {
    for (int slot : {0, 17, 99, -1, 100}) Effect(slot);
    PlaySoundSlot(-5, 0, 0, 0);
    EXPECT_TRUE(MixWatch::SteadyAt(0));
}

TEST_F(SoundTest, StopSoundSlotStopsOnlyThatSlotsInstances) {
    LoadRainAndForest();
    Loop(0);
    Loop(4);
    Loop(4);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain + 2 * Song));
    StopSoundSlot(4);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain, 1));
    StopSoundSlot(50);
    StopSoundSlot(-1);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain));
}

TEST_F(SoundTest, PathVolumesActAtOnceAndOnlyOnTheirOwnPath) {
    LoadRainAndForest();
    Loop(0);
    PlaySoundSlot(4, 1, 0, 1);
    PlaySoundSlot(4, 1, 0, 3);  // no such path: nothing plays
    EXPECT_TRUE(MixWatch::SteadyAt(Rain + Song));

    SetSoundVolume(0, -600);  // -6 dB halves the amplitude
    EXPECT_TRUE(MixWatch::SteadyAt(Rain / 2 + Song, 1));
    SetSoundVolume(1, DMUS_VOLUME_MIN);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain / 2, 1));
    // Numbers that name no path change nothing.
    SetSoundVolume(3, 0);
    SetSoundVolume(-1, 0);
    SetSoundVolume(0x7FFFFFFF, 0);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain / 2));
    // Later plays through a quietened path take its volume.
    Loop(0);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain));
}

TEST_F(SoundTest, PrimarySoundReplacesThePrimaryOneButNotSecondaries) {
    WriteConstantWave("Sound/rain.wav", ShortFrames, Rain);
    WriteConstantWave("Sound/Boss.wav", ShortFrames, Song);
    WriteConstantWave("Sound/step01.wav", ShortFrames, Step);
    LoadSound("Sound/rain.wav", 0, 0);
    LoadSound("Sound/Boss.wav", 13, 0);
    LoadSound("Sound/step01.wav", 10, 0);
    Loop(10);
    PlaySoundSlot(0, 0, 0, 0);
    EXPECT_TRUE(MixWatch::SteadyAt(Step + Rain));
    PlaySoundSlot(13, 2, 0, 0);
    EXPECT_TRUE(MixWatch::SteadyAt(Step + Song, 1));
}

TEST_F(SoundTest, OtherWaveFormatsAreConvertedToTheMix) {
    // Mono, 8-bit, half the rate: one second of sound either way.
    WriteConstantWave("Sound/hyupa.wav", TestRateHz / 2 / 10, 8192, TestRateHz / 2, 1, 8);
    ASSERT_EQ(LoadSound("Sound/hyupa.wav", 17, 0), 1);
    long from = MixWatch::Count();
    PlaySoundSlot(17, 1, 1, 0);
    ASSERT_TRUE(MixWatch::WaitFrames(from, 2 * TestRateHz / 10 + 4 * 1024));
    long loud = MixWatch::LoudFramesSince(from);
    EXPECT_NEAR(loud, 2 * TestRateHz / 10, TestRateHz / 100);
}
