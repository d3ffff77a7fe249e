// The DirectMusic stand-ins on their own: a sound the mixer still plays is
// never freed, whoever else lets go of it.
#include "platform/dmusic.h"
#include "platform/testhooks.h"
#include "sound_fixture.h"

TEST(DirectMusicTest, APlayingSoundOutlivesEveryOtherReference) {
    constexpr int16_t Tone = 700;
    ScratchDir directory;
    WriteConstantWave("tone.wav", ShortFrames, Tone);
    ASSERT_GE(CoInitialize(nullptr), 0);
    MixWatch::Start();
    IDirectMusicPerformance8* performance = nullptr;
    IDirectMusicLoader8* loader = nullptr;
    IDirectMusicSegment8* segment = nullptr;
    ASSERT_GE(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC, IID_IDirectMusicPerformance8,
                               (void**)&performance), 0);
    ASSERT_GE(performance->InitAudio(nullptr, nullptr, nullptr, DMUS_APATH_SHARED_STEREOPLUSREVERB, 64,
                                     DMUS_AUDIOF_ALL, nullptr), 0);
    ASSERT_GE(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicLoader8,
                               (void**)&loader), 0);
    ASSERT_GE(loader->LoadObjectFromFile(CLSID_DirectMusicSegment, IID_IDirectMusicSegment8, u"tone.wav",
                                         (void**)&segment), 0);
    EXPECT_EQ(performance->PlaySegmentEx(segment, nullptr, nullptr, DMUS_SEGF_SECONDARY, 0, nullptr, nullptr, nullptr),
              DMUS_E_NOT_DOWNLOADED);
    ASSERT_GE(segment->Download(performance), 0);
    segment->SetRepeats(DMUS_SEG_REPEAT_INFINITE);
    ASSERT_GE(performance->PlaySegmentEx(segment, nullptr, nullptr, DMUS_SEGF_SECONDARY, 0, nullptr, nullptr, nullptr),
              0);

    segment->Release();
    loader->Release();
    EXPECT_EQ(LiveSoundSegments(), 1);
    EXPECT_TRUE(MixWatch::SteadyAt(Tone));
    performance->Stop(nullptr, nullptr, 0, 0);
    EXPECT_EQ(LiveSoundSegments(), 0);
    EXPECT_TRUE(MixWatch::SteadyAt(0));
    EXPECT_EQ(performance->Release(), 0u);
    MixWatch::Stop();
    CoUninitialize();
}

// One performance holds the device at a time, and may take it again after
// closing down; the loader reads names with characters at each edge of
// the UTF-8 lengths, and beyond the 16-bit range.
TEST(DirectMusicTest, OnePerformanceHoldsTheDeviceAndNamesTakeAnyCharacter) {
    ScratchDir directory;
    WriteConstantWave("\u007f\u0080\u07ff\u0800\uffff🎵.wav", ShortFrames, 100);
    const char16_t* name = u"\u007f\u0080\u07ff\u0800\uffff🎵.wav";
    ASSERT_GE(CoInitialize(nullptr), 0);
    IDirectMusicPerformance8* performances[2] = {};
    for (IDirectMusicPerformance8*& performance : performances) {
        ASSERT_GE(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC, IID_IDirectMusicPerformance8,
                                   (void**)&performance), 0);
    }
    auto init = [](IDirectMusicPerformance8* p) {
        return p->InitAudio(nullptr, nullptr, nullptr, DMUS_APATH_SHARED_STEREOPLUSREVERB, 64, DMUS_AUDIOF_ALL, nullptr);
    };
    EXPECT_EQ(init(performances[0]), S_OK);
    EXPECT_EQ(init(performances[1]), DMUS_E_ALREADY_INITED);
    EXPECT_EQ(init(performances[0]), DMUS_E_ALREADY_INITED);
    performances[0]->CloseDown();
    EXPECT_EQ(init(performances[0]), S_OK);

    IDirectMusicLoader8* loader = nullptr;
    IDirectMusicSegment8* segment = nullptr;
    ASSERT_GE(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicLoader8,
                               (void**)&loader), 0);
    EXPECT_EQ(loader->LoadObjectFromFile(CLSID_DirectMusicSegment, IID_IDirectMusicSegment8, name,
                                         (void**)&segment), S_OK);
    if (segment) {
        EXPECT_EQ(segment->Download(performances[0]), S_OK);
        segment->Release();
    }
    loader->Release();
    for (IDirectMusicPerformance8* performance : performances) EXPECT_EQ(performance->Release(), 0u);
    EXPECT_EQ(LiveSoundSegments(), 0);
    CoUninitialize();
}
