// The DirectMusic loader: file names in UTF-16, looked up under the search
// directory, each file decoded once and kept until the loader goes.
#include <sys/stat.h>
#include <cstdio>
#include <string>
#include <vector>
#include "platform/dmusic.h"
#include "platform/dmusic_internal.h"

namespace {
struct CachedFile {
    std::string path;
    IDirectMusicSegment8* segment;  // one reference held by the loader
};

// UTF-16 to UTF-8; false on a broken surrogate pair.
bool ToUtf8(const WCHAR* text, std::string* out) {
    out->clear();
    for (const WCHAR* unit = text; *unit; ++unit) {
        uint32_t code = *unit;
        if (code >= 0xDC00 && code <= 0xDFFF) return false;
        if (code >= 0xD800 && code <= 0xDBFF) {
            uint32_t low = unit[1];
            if (low < 0xDC00 || low > 0xDFFF) return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            ++unit;
        }
        if (code < 0x80) {
            out->push_back((char)code);
        } else if (code < 0x800) {
            out->push_back((char)(0xC0 | (code >> 6)));
            out->push_back((char)(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out->push_back((char)(0xE0 | (code >> 12)));
            out->push_back((char)(0x80 | ((code >> 6) & 0x3F)));
            out->push_back((char)(0x80 | (code & 0x3F)));
        } else {
            out->push_back((char)(0xF0 | (code >> 18)));
            out->push_back((char)(0x80 | ((code >> 12) & 0x3F)));
            out->push_back((char)(0x80 | ((code >> 6) & 0x3F)));
            out->push_back((char)(0x80 | (code & 0x3F)));
        }
    }
    return true;
}
}  // namespace

struct IDirectMusicLoader8::Impl {
    ULONG refs = 1;
    std::string directory;  // empty: the working directory
    std::vector<CachedFile> cache;

    void ClearCache() {
        for (CachedFile& file : cache) file.segment->Release();
        cache.clear();
    }
};

IDirectMusicLoader8* NewLoader() {
    IDirectMusicLoader8* loader = new IDirectMusicLoader8;
    loader->impl = new IDirectMusicLoader8::Impl;
    return loader;
}

ULONG IDirectMusicLoader8::AddRef() { return ++impl->refs; }

ULONG IDirectMusicLoader8::Release() {
    ULONG refs = --impl->refs;
    if (refs == 0) {
        impl->ClearCache();
        delete impl;
        delete this;
    }
    return refs;
}

HRESULT IDirectMusicLoader8::SetSearchDirectory(REFGUID objectClass, const WCHAR* directory, BOOL clear) {
    if (!directory) return E_POINTER;
    if (objectClass != GUID_DirectMusicAllTypes && objectClass != CLSID_DirectMusicSegment) return E_INVALIDARG;
    std::string path;
    struct stat info;
    if (!ToUtf8(directory, &path) || stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return DMUS_E_LOADER_BADPATH;
    if (clear) impl->ClearCache();
    impl->directory = path;
    return S_OK;
}

HRESULT IDirectMusicLoader8::LoadObjectFromFile(REFCLSID objectClass, REFIID iid, const WCHAR* file, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!file) return E_POINTER;
    if (objectClass != CLSID_DirectMusicSegment) return REGDB_E_CLASSNOTREG;
    if (iid != IID_IDirectMusicSegment8) return E_NOINTERFACE;
    std::string name;
    if (!ToUtf8(file, &name) || name.empty()) return E_INVALIDARG;
    std::string path = name[0] == '/' || impl->directory.empty() ? name : impl->directory + '/' + name;
    for (CachedFile& cached : impl->cache) {
        if (cached.path == path) {
            cached.segment->AddRef();
            *object = cached.segment;
            return S_OK;
        }
    }
    IDirectMusicSegment8* segment = nullptr;
    const char* why = nullptr;
    HRESULT result = DecodeWaveFile(path.c_str(), &segment, &why);
    if (FAILED(result)) {
        // As pictures do: the game does not look at the result.
        std::fprintf(stderr, "sound \"%s\": %s\n", name.c_str(), why);
        return result;
    }
    segment->AddRef();
    impl->cache.push_back(CachedFile{path, segment});
    *object = segment;
    return S_OK;
}
