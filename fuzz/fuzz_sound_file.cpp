// The sound loader: the input is a WAV file, loaded, prepared for the open
// mixer, played and stopped.
#include "platform/dmusic.h"
#include "sound/sound.h"
#include "support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnterScratchTree();
    // Without an audio device the files are still decoded, only not played.
    InitSound(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteScratchFile("Sound/fuzz.wav", data, size);
    // A loader of its own each time: the module's loader would keep the
    // first file decoded.
    IDirectMusicLoader8* loader = nullptr;
    if (FAILED(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicLoader8,
                                (void**)&loader)))
        return 0;
    IDirectMusicSegment8* segment = nullptr;
    if (SUCCEEDED(loader->LoadObjectFromFile(CLSID_DirectMusicSegment, IID_IDirectMusicSegment8, u"Sound/fuzz.wav",
                                             (void**)&segment))) {
        if (SUCCEEDED(segment->Download(Performance))) {
            segment->SetRepeats(DMUS_SEG_REPEAT_INFINITE);
            Performance->PlaySegmentEx(segment, nullptr, nullptr, DMUS_SEGF_SECONDARY, 0, nullptr, nullptr, nullptr);
            Performance->Stop(nullptr, nullptr, 0, 0);
        }
        segment->Release();
    }
    loader->Release();
    return 0;
}
