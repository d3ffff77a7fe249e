// The working directory and text conversion for the sound module's paths.
#include <climits>
#include <cstring>
#include <unistd.h>

#include "platform/win32.h"

namespace {

constexpr char32_t Replacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i] (length bytes in all); a malformed
// or overlong sequence, a surrogate or a value above U+10FFFF gives U+FFFD
// and consumes one byte, as Windows does.
char32_t DecodeUtf8(const unsigned char* text, int length, int* i) {
    unsigned char lead = text[*i];
    int extra;
    char32_t value;
    char32_t minimum;
    if (lead < 0x80) {
        ++*i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
        ++*i;
        return Replacement;
    }
    if (*i + extra >= length) {
        ++*i;
        return Replacement;
    }
    for (int k = 1; k <= extra; ++k) {
        unsigned char next = text[*i + k];
        if ((next & 0xC0) != 0x80) {
            ++*i;
            return Replacement;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++*i;
        return Replacement;
    }
    *i += extra + 1;
    return value;
}

}  // namespace

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
    char path[PATH_MAX];
    if (!getcwd(path, sizeof path)) return 0;
    DWORD length = static_cast<DWORD>(std::strlen(path));
    // Too small a buffer (or none) is told the size it needs, terminator
    // included, and is left untouched.
    if (!buffer || size <= length) return length + 1;
    std::memcpy(buffer, path, length + 1);
    return length;
}

int MultiByteToWideChar(UINT codePage, DWORD, LPCSTR text, int length, LPWSTR out, int outSize) {
    if (!text || length == 0 || length < -1 || outSize < 0 || (codePage != CP_ACP && codePage != CP_UTF8)) return 0;
    if (outSize > 0 && !out) return 0;
    // -1: the text runs to its terminator, which is converted too.
    if (length == -1) length = static_cast<int>(std::strlen(text)) + 1;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    int written = 0;
    for (int i = 0; i < length;) {
        char32_t value = DecodeUtf8(bytes, length, &i);
        int units = value >= 0x10000 ? 2 : 1;
        if (outSize > 0) {
            if (written + units > outSize) return 0;
            if (units == 2) {
                value -= 0x10000;
                out[written] = static_cast<char16_t>(0xD800 + (value >> 10));
                out[written + 1] = static_cast<char16_t>(0xDC00 + (value & 0x3FF));
            } else {
                out[written] = static_cast<char16_t>(value);
            }
        }
        written += units;
    }
    return written;
}
