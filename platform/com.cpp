// COM start-up and object creation for the DirectMusic stand-ins.
#include <cstring>
#include "platform/dmusic.h"
#include "platform/dmusic_internal.h"

const CLSID CLSID_DirectMusicPerformance = {0x4b57a2c1, 0x1e0f, 0x4c2b, {0x9a, 0x61, 0x3d, 0x0e, 0x52, 0x11, 0x7c, 0x01}};
const CLSID CLSID_DirectMusicLoader = {0x4b57a2c1, 0x1e0f, 0x4c2b, {0x9a, 0x61, 0x3d, 0x0e, 0x52, 0x11, 0x7c, 0x02}};
const CLSID CLSID_DirectMusicSegment = {0x4b57a2c1, 0x1e0f, 0x4c2b, {0x9a, 0x61, 0x3d, 0x0e, 0x52, 0x11, 0x7c, 0x03}};
const IID IID_IDirectMusicPerformance8 = {0x4b57a2c2, 0x1e0f, 0x4c2b, {0x9a, 0x61, 0x3d, 0x0e, 0x52, 0x11, 0x7c, 0x11}};
const IID IID_IDirectMusicLoader8 = {0x4b57a2c2, 0x1e0f, 0x4c2b, {0x9a, 0x61, 0x3d, 0x0e, 0x52, 0x11, 0x7c, 0x12}};
const IID IID_IDirectMusicSegment8 = {0x4b57a2c2, 0x1e0f, 0x4c2b, {0x9a, 0x61, 0x3d, 0x0e, 0x52, 0x11, 0x7c, 0x13}};
const GUID GUID_DirectMusicAllTypes = {0x4b57a2c3, 0x1e0f, 0x4c2b, {0x9a, 0x61, 0x3d, 0x0e, 0x52, 0x11, 0x7c, 0x21}};
const GUID GUID_StandardMIDIFile = {0x4b57a2c3, 0x1e0f, 0x4c2b, {0x9a, 0x61, 0x3d, 0x0e, 0x52, 0x11, 0x7c, 0x22}};

bool operator==(const GUID& a, const GUID& b) {
    return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
           std::memcmp(a.Data4, b.Data4, sizeof a.Data4) == 0;
}

bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }

namespace {
int ComInitCount = 0;
}

HRESULT CoInitialize(void*) {
    ++ComInitCount;
    return ComInitCount == 1 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (ComInitCount > 0) --ComInitCount;
}

HRESULT CoCreateInstance(REFCLSID classId, IUnknown* outer, DWORD, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (ComInitCount == 0) return CO_E_NOTINITIALIZED;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (classId == CLSID_DirectMusicPerformance) {
        if (iid != IID_IDirectMusicPerformance8) return E_NOINTERFACE;
        *object = NewPerformance();
        return S_OK;
    }
    if (classId == CLSID_DirectMusicLoader) {
        if (iid != IID_IDirectMusicLoader8) return E_NOINTERFACE;
        *object = NewLoader();
        return S_OK;
    }
    return REGDB_E_CLASSNOTREG;
}
