// The COM and DirectMusic stand-ins on their own: object creation, the
// one audio device, and the lifetime of a sound the mixer still plays.
#include "platform/dmusic.h"
#include "platform/testhooks.h"
#include "sound_fixture.h"

namespace {
constexpr int16_t Tone = 700;

const WCHAR* const WaveName = u"tone.wav";

IDirectMusicPerformance8* StartPerformance() {
    IDirectMusicPerformance8* performance = nullptr;
    EXPECT_GE(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC, IID_IDirectMusicPerformance8,
                               (void**)&performance), 0);
    if (performance) {
        EXPECT_GE(performance->InitAudio(nullptr, nullptr, nullptr, DMUS_APATH_SHARED_STEREOPLUSREVERB, 64,
                                         DMUS_AUDIOF_ALL, nullptr), 0);
    }
    return performance;
}

IDirectMusicLoader8* StartLoader() {
    IDirectMusicLoader8* loader = nullptr;
    EXPECT_GE(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicLoader8,
                               (void**)&loader), 0);
    return loader;
}

IDirectMusicSegment8* LoadTone(IDirectMusicLoader8* loader) {
    IDirectMusicSegment8* segment = nullptr;
    EXPECT_GE(loader->LoadObjectFromFile(CLSID_DirectMusicSegment, IID_IDirectMusicSegment8, WaveName,
                                         (void**)&segment), 0);
    return segment;
}

class DirectMusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteConstantWave("tone.wav", ShortFrames, Tone);
        ASSERT_GE(CoInitialize(nullptr), 0);
        MixWatch::Start();
    }
    void TearDown() override {
        MixWatch::Stop();
        CoUninitialize();
        EXPECT_EQ(LiveSoundSegments(), 0);
    }
    ScratchDirectory directory_;
};
}  // namespace

TEST(ComTest, ObjectsComeOnlyAfterCoInitializeAndOnlyAsAsked) {
    void* object = &object;
    EXPECT_EQ(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicLoader8, &object),
              CO_E_NOTINITIALIZED);
    EXPECT_EQ(object, nullptr);
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    object = &object;
    EXPECT_EQ(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicPerformance8, &object),
              E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(CoCreateInstance(CLSID_DirectMusicSegment, nullptr, CLSCTX_INPROC, IID_IDirectMusicSegment8, &object),
              REGDB_E_CLASSNOTREG);
    CoUninitialize();
    ASSERT_GE(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicLoader8, &object), 0);
    EXPECT_EQ(static_cast<IDirectMusicLoader8*>(object)->Release(), 0u);
    CoUninitialize();
    EXPECT_EQ(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicLoader8, &object),
              CO_E_NOTINITIALIZED);
}

TEST_F(DirectMusicTest, OnlyOnePerformanceHoldsTheDevice) {
    IDirectMusicPerformance8* first = StartPerformance();
    IDirectMusicPerformance8* second = nullptr;
    CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC, IID_IDirectMusicPerformance8,
                     (void**)&second);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->InitAudio(nullptr, nullptr, nullptr, 1, 64, DMUS_AUDIOF_ALL, nullptr), DMUS_E_ALREADY_INITED);
    IDirectMusicAudioPath8 unset;
    IDirectMusicAudioPath8* path = &unset;
    EXPECT_EQ(second->CreateStandardAudioPath(DMUS_APATH_DYNAMIC_STEREO, 64, TRUE, &path), DMUS_E_NOT_INIT);
    EXPECT_EQ(path, nullptr);
    first->CloseDown();
    EXPECT_GE(second->InitAudio(nullptr, nullptr, nullptr, 1, 64, DMUS_AUDIOF_ALL, nullptr), 0);
    EXPECT_EQ(second->Release(), 0u);
    EXPECT_EQ(first->Release(), 0u);
}

TEST_F(DirectMusicTest, APlayingSoundOutlivesEveryOtherReference) {
    IDirectMusicPerformance8* performance = StartPerformance();
    IDirectMusicLoader8* loader = StartLoader();
    IDirectMusicSegment8* segment = LoadTone(loader);
    ASSERT_NE(segment, nullptr);
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
    performance->Release();
}

TEST_F(DirectMusicTest, AFinishedSoundIsGivenBackAndAReopenedDeviceNeedsANewDownload) {
    IDirectMusicPerformance8* performance = StartPerformance();
    IDirectMusicLoader8* loader = StartLoader();
    IDirectMusicSegment8* segment = LoadTone(loader);
    ASSERT_NE(segment, nullptr);
    ASSERT_GE(segment->Download(performance), 0);
    long from = MixWatch::Count();
    ASSERT_GE(performance->PlaySegmentEx(segment, nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr), 0);
    ASSERT_TRUE(MixWatch::WaitFrames(from, 2 * ShortFrames + 2048));
    EXPECT_EQ(MixWatch::LoudFramesSince(from), ShortFrames);
    performance->StopEx(nullptr, 0, 0);
    EXPECT_EQ(segment->AddRef(), 3u);  // ours, the loader's, the new one; the play's is gone
    segment->Release();

    performance->CloseDown();
    ASSERT_GE(performance->InitAudio(nullptr, nullptr, nullptr, 1, 64, DMUS_AUDIOF_ALL, nullptr), 0);
    EXPECT_EQ(performance->PlaySegmentEx(segment, nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr),
              DMUS_E_NOT_DOWNLOADED);
    ASSERT_GE(segment->Download(performance), 0);
    EXPECT_GE(performance->PlaySegmentEx(segment, nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr), 0);
    segment->Release();
    loader->Release();
    performance->Release();
}

TEST_F(DirectMusicTest, TheLoaderFindsFilesUnderItsSearchDirectoryOnly) {
    IDirectMusicLoader8* loader = StartLoader();
    WriteConstantWave("inner/tone.wav", ShortFrames, Tone);
    EXPECT_EQ(loader->SetSearchDirectory(GUID_DirectMusicAllTypes, u"no-such-directory", FALSE), DMUS_E_LOADER_BADPATH);
    ASSERT_GE(loader->SetSearchDirectory(GUID_DirectMusicAllTypes, u"inner", FALSE), 0);
    IDirectMusicSegment8* inner = nullptr;
    IDirectMusicSegment8* again = nullptr;
    ASSERT_GE(loader->LoadObjectFromFile(CLSID_DirectMusicSegment, IID_IDirectMusicSegment8, WaveName, (void**)&inner), 0);
    ASSERT_GE(loader->SetSearchDirectory(GUID_DirectMusicAllTypes, u".", TRUE), 0);
    ASSERT_GE(loader->LoadObjectFromFile(CLSID_DirectMusicSegment, IID_IDirectMusicSegment8, WaveName, (void**)&again), 0);
    EXPECT_NE(inner, again);
    EXPECT_EQ(LiveSoundSegments(), 2);
    inner->Release();
    EXPECT_EQ(LiveSoundSegments(), 1);  // the cleared cache let go of it
    again->Release();
    IDirectMusicSegment8* missing = inner;
    EXPECT_EQ(loader->LoadObjectFromFile(CLSID_DirectMusicSegment, IID_IDirectMusicSegment8, u"inner/none.wav",
                                         (void**)&missing), DMUS_E_LOADER_FAILEDOPEN);
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(loader->Release(), 0u);
}
