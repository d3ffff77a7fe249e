// The sound module over DirectMusic.
#include "sound/sound.h"
#include <cstdarg>
#include <cstdio>

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

// The shell learns only that sound failed; the player reads why here, in
// one line.
__attribute__((format(printf, 1, 2))) int NoSound(const char* why, ...) {
    std::va_list arguments;
    va_start(arguments, why);
    std::fputs("No sound: ", stderr);
    std::vfprintf(stderr, why, arguments);
    std::fputc('\n', stderr);
    va_end(arguments);
    return 0;
}

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
    HRESULT result = CoInitialize(nullptr);
    if (FAILED(result)) return NoSound("COM did not start (error 0x%08X)", (unsigned)result);
    result = CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC, IID_IDirectMusicPerformance8,
                              (void**)&Performance);
    if (FAILED(result)) return NoSound("the DirectMusic performance was not made (error 0x%08X)", (unsigned)result);
    // Only the audio system knows why it has no device: InitAudio tells it.
    if (FAILED(Performance->InitAudio(nullptr, nullptr, window, DMUS_APATH_SHARED_STEREOPLUSREVERB,
                                      PerformanceChannels, DMUS_AUDIOF_ALL, nullptr)))
        return 0;
    result = Performance->GetDefaultAudioPath(&DefaultAudioPath);
    if (FAILED(result)) return NoSound("the performance has no default audio path (error 0x%08X)", (unsigned)result);
    // A path that cannot be made stays null; its sounds go to the default path.
    Performance->CreateStandardAudioPath(DMUS_APATH_DYNAMIC_STEREO, PerformanceChannels, TRUE, &AudioPath1);
    Performance->CreateStandardAudioPath(DMUS_APATH_DYNAMIC_STEREO, PerformanceChannels, TRUE, &AudioPath2);
    result = CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicLoader8,
                              (void**)&Loader);
    if (FAILED(result)) return NoSound("the DirectMusic loader was not made (error 0x%08X)", (unsigned)result);
    char directory[PathChars];
    DWORD length = GetCurrentDirectoryA(PathChars, directory);
    if (length == 0) return NoSound("the working directory cannot be read");
    // Too long: the size asked for counts the terminator.
    if (length >= (DWORD)PathChars)
        return NoSound("the working directory is %u bytes long; the sound loader takes at most %d",
                       (unsigned)(length - 1), PathChars - 1);
    WCHAR wideDirectory[PathChars];
    if (MultiByteToWideChar(CP_ACP, 0, directory, -1, wideDirectory, PathChars) == 0)
        return NoSound("the working directory \"%s\" is longer than %d UTF-16 units", directory, PathChars - 1);
    result = Loader->SetSearchDirectory(GUID_DirectMusicAllTypes, wideDirectory, FALSE);
    if (FAILED(result))
        return NoSound("sounds cannot be looked for in the working directory \"%s\" (error 0x%08X)", directory,
                       (unsigned)result);
    return 1;
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
