// COM start-up and the slice of DirectMusic the sound module calls, carried
// on SDL2_mixer. Objects count their references and are freed when the
// count reaches 0. Every call returns an HRESULT that callers test by sign.
// Times are not scheduled: everything asked of the performance happens now.
#pragma once
#include "platform/win32.h"

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
typedef GUID CLSID;
typedef GUID IID;
typedef const GUID& REFGUID;
typedef const GUID& REFCLSID;
typedef const GUID& REFIID;
bool operator==(const GUID& a, const GUID& b);
bool operator!=(const GUID& a, const GUID& b);

typedef uint32_t ULONG;
typedef int64_t REFERENCE_TIME;  // 100 ns units
typedef int32_t MUSIC_TIME;      // music ticks

// Class, interface and parameter identifiers.
extern const CLSID CLSID_DirectMusicPerformance;
extern const CLSID CLSID_DirectMusicLoader;
extern const CLSID CLSID_DirectMusicSegment;
extern const IID IID_IDirectMusicPerformance8;
extern const IID IID_IDirectMusicLoader8;
extern const IID IID_IDirectMusicSegment8;
extern const GUID GUID_DirectMusicAllTypes;
extern const GUID GUID_StandardMIDIFile;

constexpr DWORD CLSCTX_INPROC = 3;

constexpr DWORD DMUS_APATH_SHARED_STEREOPLUSREVERB = 1;
constexpr DWORD DMUS_APATH_DYNAMIC_STEREO = 8;
constexpr DWORD DMUS_AUDIOF_ALL = 0x3F;
constexpr DWORD DMUS_SEGF_SECONDARY = 0x80;
constexpr DWORD DMUS_SEG_REPEAT_INFINITE = 0xFFFFFFFF;
// Audio path volumes, hundredths of a decibel; 0 is full volume.
constexpr LONG DMUS_VOLUME_MIN = -9600;
constexpr LONG DMUS_VOLUME_MAX = 0;

constexpr HRESULT CO_E_NOTINITIALIZED = (HRESULT)0x800401F0u;
constexpr HRESULT REGDB_E_CLASSNOTREG = (HRESULT)0x80040154u;
constexpr HRESULT CLASS_E_NOAGGREGATION = (HRESULT)0x80040110u;
constexpr HRESULT DMUS_E_NOT_INIT = (HRESULT)0x88781001u;
constexpr HRESULT DMUS_E_ALREADY_INITED = (HRESULT)0x88781002u;
constexpr HRESULT DMUS_E_NO_AUDIO_DEVICE = (HRESULT)0x88781003u;
constexpr HRESULT DMUS_E_NOT_DOWNLOADED = (HRESULT)0x88781004u;
constexpr HRESULT DMUS_E_NO_FREE_VOICE = (HRESULT)0x88781005u;
constexpr HRESULT DMUS_E_LOADER_FAILEDOPEN = (HRESULT)0x88781006u;
constexpr HRESULT DMUS_E_LOADER_BADPATH = (HRESULT)0x88781009u;
constexpr HRESULT DMUS_E_UNSUPPORTED_STREAM = (HRESULT)0x88781007u;
constexpr HRESULT DMUS_E_TYPE_UNSUPPORTED = (HRESULT)0x88781008u;

// Stand-ins for objects the game never receives; pass null wherever they
// appear.
struct IUnknown;
struct IDirectMusic;
struct IDirectSound;
struct IDirectMusicSegmentState;
struct DMUS_AUDIOPARAMS;

class IDirectMusicPerformance8;

// A decoded WAV file. Made only by the loader; a file loaded again gives
// the same segment.
class IDirectMusicSegment8 {
public:
    ULONG AddRef();
    ULONG Release();
    // Repeats after the first play; DMUS_SEG_REPEAT_INFINITE loops until
    // stopped. Read by each later play.
    HRESULT SetRepeats(DWORD repeats);
    // Only GUID_StandardMIDIFile is known, and a wave needs nothing from it.
    HRESULT SetParam(REFGUID type, DWORD trackGroups, DWORD index, MUSIC_TIME time, void* data);
    // Prepares the sound in the performance's output format; the
    // performance must have its audio open. Repeated downloads reuse it.
    HRESULT Download(IDirectMusicPerformance8* performance);

    struct Impl;
    Impl* impl = nullptr;  // owned by the platform
};

// A route to the output with its own volume.
class IDirectMusicAudioPath8 {
public:
    ULONG AddRef();
    ULONG Release();
    // Applies at once to every sound playing through the path and to later
    // plays; volume is clamped to DMUS_VOLUME_MIN..DMUS_VOLUME_MAX.
    HRESULT SetVolume(LONG volume, DWORD durationMs);

    struct Impl;
    Impl* impl = nullptr;  // owned by the platform
};

// Finds files by name and decodes each file once: it keeps a reference on
// everything it loaded until it is released or its search directory is set
// with clear TRUE.
class IDirectMusicLoader8 {
public:
    ULONG AddRef();
    ULONG Release();
    // Relative file names are looked up under this directory (which must
    // exist); without one, under the working directory.
    HRESULT SetSearchDirectory(REFGUID objectClass, const WCHAR* directory, BOOL clear);
    // CLSID_DirectMusicSegment as IID_IDirectMusicSegment8 from a WAV file.
    // On failure *object is null.
    HRESULT LoadObjectFromFile(REFCLSID objectClass, REFIID iid, const WCHAR* file, void** object);

    struct Impl;
    Impl* impl = nullptr;  // owned by the platform
};

// The one performance that may hold the audio device. A playing sound keeps
// its segment and audio path alive until it ends or is stopped.
class IDirectMusicPerformance8 {
public:
    ULONG AddRef();
    ULONG Release();
    // Opens the audio device; fails when there is none or another
    // performance holds it. The DirectMusic, DirectSound and parameter
    // arguments are not used.
    HRESULT InitAudio(IDirectMusic** music, IDirectSound** sound, HWND window, DWORD defaultPathType,
                      DWORD performanceChannels, DWORD flags, DMUS_AUDIOPARAMS* params);
    HRESULT GetDefaultAudioPath(IDirectMusicAudioPath8** path);
    // DMUS_APATH_DYNAMIC_STEREO or DMUS_APATH_SHARED_STEREOPLUSREVERB; a
    // path is always active.
    HRESULT CreateStandardAudioPath(DWORD type, DWORD performanceChannels, BOOL activate,
                                    IDirectMusicAudioPath8** path);
    // Starts the segment now through the path (null: the default path). A
    // secondary segment sounds beside everything else, and a second play
    // of one segment beside the first; a primary one replaces the primary
    // segment playing. Names, transitions, states and "from" are not used.
    HRESULT PlaySegmentEx(IDirectMusicSegment8* source, const WCHAR* segmentName, IDirectMusicSegment8* transition,
                          DWORD flags, REFERENCE_TIME startTime, IDirectMusicSegmentState** segmentState,
                          IUnknown* from, IDirectMusicAudioPath8* audioPath);
    // Silences every playing instance of the segment at once; null: all.
    HRESULT StopEx(IDirectMusicSegment8* object, REFERENCE_TIME stopTime, DWORD flags);
    // As StopEx; the segment state is not used.
    HRESULT Stop(IDirectMusicSegment8* segment, IDirectMusicSegmentState* segmentState, MUSIC_TIME time,
                 DWORD flags);
    // Stops everything and closes the audio device.
    HRESULT CloseDown();

    struct Impl;
    Impl* impl = nullptr;  // owned by the platform
};

// COM for this thread; calls nest and each needs a CoUninitialize.
HRESULT CoInitialize(void* reserved);
// Makes a performance or a loader; fails before CoInitialize.
HRESULT CoCreateInstance(REFCLSID classId, IUnknown* outer, DWORD context, REFIID iid, void** object);
void CoUninitialize();
