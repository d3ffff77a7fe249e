// The sound module over DirectMusic.
#include "sound/sound.h"

IDirectMusicPerformance8* Performance = nullptr;
IDirectMusicLoader8* Loader = nullptr;
IDirectMusicAudioPath8* DefaultAudioPath = nullptr;
IDirectMusicAudioPath8* AudioPath1 = nullptr;
IDirectMusicAudioPath8* AudioPath2 = nullptr;
IDirectMusicSegment8* SoundSegments[SoundSlotCount] = {};

namespace {
constexpr int PathChars = 256;  // UTF-16 units, terminator included
constexpr DWORD PerformanceChannels = 64;
constexpr DWORD AllTracks = 0xFFFFFFFF;

bool ValidSlot(int slot) { return slot >= 0 && slot < SoundSlotCount; }

template <typename T>
void ReleaseObject(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

// The path of path number 0 to 2 as PlaySoundSlot hands it on: null picks
// the performance's default path. False for any other number.
bool PlayPath(int pathNumber, IDirectMusicAudioPath8** path) {
    switch (pathNumber) {
    case 0: *path = nullptr; return true;
    case 1: *path = AudioPath1; return true;
    case 2: *path = AudioPath2; return true;
    default: return false;
    }
}
}  // namespace

int InitSound(HWND window) {
    if (FAILED(CoInitialize(nullptr))) return 0;
    if (FAILED(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC, IID_IDirectMusicPerformance8,
                                (void**)&Performance)))
        return 0;
    if (FAILED(Performance->InitAudio(nullptr, nullptr, window, DMUS_APATH_SHARED_STEREOPLUSREVERB,
                                      PerformanceChannels, DMUS_AUDIOF_ALL, nullptr)))
        return 0;
    if (FAILED(Performance->GetDefaultAudioPath(&DefaultAudioPath))) return 0;
    // A path that cannot be made stays null; its sounds go to the default path.
    Performance->CreateStandardAudioPath(DMUS_APATH_DYNAMIC_STEREO, PerformanceChannels, TRUE, &AudioPath1);
    Performance->CreateStandardAudioPath(DMUS_APATH_DYNAMIC_STEREO, PerformanceChannels, TRUE, &AudioPath2);
    if (FAILED(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicLoader8,
                                (void**)&Loader)))
        return 0;
    char directory[PathChars];
    DWORD length = GetCurrentDirectoryA(PathChars, directory);
    if (length == 0 || length >= (DWORD)PathChars) return 0;
    WCHAR wideDirectory[PathChars];
    if (MultiByteToWideChar(CP_ACP, 0, directory, -1, wideDirectory, PathChars) == 0) return 0;
    return SUCCEEDED(Loader->SetSearchDirectory(GUID_DirectMusicAllTypes, wideDirectory, FALSE)) ? 1 : 0;
}

int LoadSound(const char* path, int slot, int midi) {
    if (!ValidSlot(slot) || !Loader || !Performance) return 0;
    IDirectMusicSegment8* segment = nullptr;
    WCHAR widePath[PathChars];
    if (path && MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, PathChars) != 0)
        Loader->LoadObjectFromFile(CLSID_DirectMusicSegment, IID_IDirectMusicSegment8, widePath, (void**)&segment);
    // The sound pushed out keeps playing: the loader and its playing
    // instances still hold it.
    ReleaseObject(SoundSegments[slot]);
    SoundSegments[slot] = segment;
    if (!segment) return 0;
    if (midi == MidiFile && FAILED(segment->SetParam(GUID_StandardMIDIFile, AllTracks, 0, 0, nullptr))) return 0;
    return SUCCEEDED(segment->Download(Performance)) ? 1 : 0;
}

void PlaySoundSlot(int slot, int kind, int repeats, int pathNumber) {
    IDirectMusicAudioPath8* path = nullptr;
    if (!ValidSlot(slot) || !Performance || !SoundSegments[slot] || !PlayPath(pathNumber, &path)) return;
    IDirectMusicSegment8* segment = SoundSegments[slot];
    DWORD flags = kind == SecondarySound ? DMUS_SEGF_SECONDARY : 0;
    segment->SetRepeats(repeats == LoopForever ? DMUS_SEG_REPEAT_INFINITE : (DWORD)repeats);
    Performance->PlaySegmentEx(segment, nullptr, nullptr, flags, 0, nullptr, nullptr, path);
}

void StopSoundSlot(int slot) {
    if (!ValidSlot(slot) || !Performance || !SoundSegments[slot]) return;
    Performance->StopEx(SoundSegments[slot], 0, 0);
}

void StopAllSounds() {
    if (!Performance) return;
    Performance->Stop(nullptr, nullptr, 0, 0);
}

void SetSoundVolume(int pathNumber, int volume) {
    IDirectMusicAudioPath8* paths[] = {DefaultAudioPath, AudioPath1, AudioPath2};
    if (pathNumber < 0 || pathNumber > 2 || !paths[pathNumber]) return;
    paths[pathNumber]->SetVolume(volume, 0);
}

void ReleaseSound() {
    if (Performance) {
        Performance->Stop(nullptr, nullptr, 0, 0);
        Performance->CloseDown();
    }
    for (IDirectMusicSegment8*& segment : SoundSegments) ReleaseObject(segment);
    ReleaseObject(DefaultAudioPath);
    ReleaseObject(AudioPath1);
    ReleaseObject(AudioPath2);
    ReleaseObject(Loader);
    ReleaseObject(Performance);
    CoUninitialize();
}
