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

void Load(const char* path, int slot, int frames, int16_t level) {
    WriteConstantWave(path, frames, level);
    ASSERT_EQ(LoadSound(path, slot, 0), 1) << path;
}
}  // namespace

TEST_F(SoundTest, EffectsRepeatTheGivenNumberOfTimesAfterTheFirstPlay) {
    Load("Sound/step01.wav", 10, ShortFrames, Step);
    for (int repeats : {1, 3}) {
        long from = MixWatch::Count();
        PlaySoundSlot(10, 1, repeats, 0);
        ASSERT_TRUE(MixWatch::WaitFrames(from, (repeats + 1) * ShortFrames + 4 * 1024));
        EXPECT_EQ(MixWatch::LoudFramesSince(from), (repeats + 1) * ShortFrames) << "repeats " << repeats;
        EXPECT_TRUE(MixWatch::SteadyAt(0));
    }
}

// A loop sounds on past its own length; a second play of a slot layers a
// second instance; StopAllSounds silences everything within one buffer.
TEST_F(SoundTest, LoopsOutlastTheirLengthPlaysLayerAndStopAllSilencesAtOnce) {
    Load("Sound/rain.wav", 0, ShortFrames, Rain);
    Load("Sound/bom10.wav", 7, 20 * ShortFrames, Step);
    Loop(0);
    ASSERT_TRUE(MixWatch::WaitFrames(MixWatch::Count(), 8 * ShortFrames));
    EXPECT_TRUE(MixWatch::SteadyAt(Rain));
    Effect(7);
    Effect(7);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain + 2 * Step));
    StopAllSounds();
    EXPECT_TRUE(MixWatch::SteadyAt(0, 1));
    EXPECT_TRUE(MixWatch::SteadyAt(0));
}

// A reload keeps the old loop playing beside the new one; a failed reload
// empties the slot, so no further loop starts.
TEST_F(SoundTest, ReloadedSlotKeepsItsOldLoopAndAMissingFileEmptiesIt) {
    Load("Sound/rain.wav", 0, ShortFrames, Rain);
    Loop(0);
    Load("Sound/sadsong-1.wav", 0, 3 * ShortFrames, Song);
    Loop(0);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain + Song, 10 * ShortFrames));
    EXPECT_EQ(LoadSound("Sound/missing.wav", 0, 0), 0);
    EXPECT_EQ(SoundSegments[0], nullptr);
    Loop(0);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain + Song));
}

// Stopping a slot and quietening a path act at once and on nothing else.
TEST_F(SoundTest, SlotStopsAndPathVolumesActAtOnceAndOnlyOnTheirOwn) {
    Load("Sound/rain.wav", 0, ShortFrames, Rain);
    Load("Sound/forest.wav", 4, ShortFrames, Song);
    Loop(0);
    Loop(4);
    Loop(4);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain + 2 * Song));
    StopSoundSlot(4);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain, 1));
    StopSoundSlot(50);
    StopSoundSlot(-1);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain));

    PlaySoundSlot(4, 1, 0, 1);
    PlaySoundSlot(4, 1, 0, 3);  // no such path: nothing plays
    EXPECT_TRUE(MixWatch::SteadyAt(Rain + Song));
    SetSoundVolume(0, -600);  // -6 dB halves the amplitude
    EXPECT_TRUE(MixWatch::SteadyAt(Rain / 2 + Song, 1));
    SetSoundVolume(1, DMUS_VOLUME_MIN);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain / 2, 1));
    for (int path : {3, -1, 0x7FFFFFFF}) SetSoundVolume(path, 0);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain / 2));
    // Later plays through a quietened path take its volume.
    Loop(0);
    EXPECT_TRUE(MixWatch::SteadyAt(Rain));
}

TEST_F(SoundTest, PrimarySoundReplacesThePrimaryOneButNotSecondaries) {
    Load("Sound/rain.wav", 0, ShortFrames, Rain);
    Load("Sound/Boss.wav", 13, ShortFrames, Song);
    Load("Sound/step01.wav", 10, ShortFrames, Step);
    Loop(10);
    PlaySoundSlot(0, 0, 0, 0);
    EXPECT_TRUE(MixWatch::SteadyAt(Step + Rain));
    PlaySoundSlot(13, 2, 0, 0);
    EXPECT_TRUE(MixWatch::SteadyAt(Step + Song, 1));
}

TEST_F(SoundTest, OtherWaveFormatsAreConvertedToTheMix) {
    // Mono, 8-bit, half the rate: a tenth of a second, played twice.
    WriteConstantWave("Sound/hyupa.wav", TestRateHz / 2 / 10, 8192, TestRateHz / 2, 1, 8);
    ASSERT_EQ(LoadSound("Sound/hyupa.wav", 17, 0), 1);
    long from = MixWatch::Count();
    PlaySoundSlot(17, 1, 1, 0);
    ASSERT_TRUE(MixWatch::WaitFrames(from, 2 * TestRateHz / 10 + 4 * 1024));
    EXPECT_EQ(MixWatch::LoudFramesSince(from), 2 * TestRateHz / 10);
}
