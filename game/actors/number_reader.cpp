// Formatted reads of the enemy files, with the syntax fscanf's "%d" and "%f"
// accept but without the undefined conversion of numbers out of range.
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "game/actors/number_reader.h"

namespace {

// Enough significant digits to round any decimal to the nearest float; the
// rest only tell whether something non-zero followed.
constexpr int FloatDigitsKept = 200;
// Beyond this a decimal exponent means infinity or zero anyway.
constexpr long long ExponentLimit = 100000000;

int SkipSpace(FILE* file) {
    int c = getc(file);
    while (c != EOF && isspace(c)) c = getc(file);
    return c;
}

// Skips white space and an optional sign; returns the character after them.
int StartNumber(FILE* file, bool* negative) {
    int c = SkipSpace(file);
    if (c == '+' || c == '-') {
        *negative = c == '-';
        c = getc(file);
    }
    return c;
}

void GiveBack(FILE* file, int c) {
    if (c != EOF) ungetc(c, file);
}

// Consumes a word letter by letter, ignoring case; false on the first letter
// that does not match.
bool MatchWord(FILE* file, const char* word) {
    for (; *word; ++word) {
        int c = getc(file);
        if (c == EOF || tolower(c) != *word) return false;
    }
    return true;
}

bool ReadInfinityTail(FILE* file) {
    int c = getc(file);
    if (c == 'i' || c == 'I') return MatchWord(file, "nity");
    GiveBack(file, c);
    return true;
}

bool ReadNanTail(FILE* file) {
    int c = getc(file);
    if (c != '(') {
        GiveBack(file, c);
        return true;
    }
    for (c = getc(file); c != ')'; c = getc(file)) {
        if (c == EOF || !(isalnum(c) || c == '_')) return false;
    }
    return true;
}

// Decimal digits of an exponent, saturated; false when there are none.
bool ReadExponent(FILE* file, long long* exponent) {
    int c = getc(file);
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = getc(file);
    }
    if (!isdigit(c)) return false;
    long long value = 0;
    for (; isdigit(c); c = getc(file)) {
        if (value < ExponentLimit) value = value * 10 + (c - '0');
    }
    GiveBack(file, c);
    *exponent = negative ? -value : value;
    return true;
}

// A decimal number whose first character is c; false when it is not one.
bool ReadDecimal(FILE* file, int c, float* value) {
    char digits[FloatDigitsKept + 32];
    int kept = 0;
    bool anyDigit = false;
    bool significant = false;
    bool point = false;
    bool droppedNonZero = false;
    long long scale = 0;  // power of ten of the first kept digit's place + 1
    for (;; c = getc(file)) {
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (!isdigit(c)) break;
        anyDigit = true;
        if (!significant && c == '0') {
            if (point && scale > -ExponentLimit) --scale;
            continue;
        }
        significant = true;
        if (!point && scale < ExponentLimit) ++scale;
        if (kept < FloatDigitsKept) {
            digits[kept++] = (char)c;
        } else if (c != '0') {
            droppedNonZero = true;
        }
    }
    if (!anyDigit) return false;
    long long exponent = 0;
    if (c == 'e' || c == 'E') {
        if (!ReadExponent(file, &exponent)) return false;
    } else {
        GiveBack(file, c);
    }
    if (!significant) {
        *value = 0.0f;
        return true;
    }
    if (droppedNonZero) digits[kept++] = '1';
    digits[kept] = '\0';
    char text[FloatDigitsKept + 64];
    snprintf(text, sizeof text, "0.%se%lld", digits, scale + exponent);
    *value = strtof(text, nullptr);
    return true;
}

}  // namespace

void ReadInt(NumberReader* reader, int* field) {
    if (reader->failed) return;
    bool negative = false;
    int c = StartNumber(reader->file, &negative);
    if (!isdigit(c)) {
        reader->failed = 1;
        return;
    }
    const long long limit = (long long)INT_MAX + 1;
    long long magnitude = 0;
    for (; isdigit(c); c = getc(reader->file)) {
        if (magnitude <= limit) magnitude = magnitude * 10 + (c - '0');
    }
    GiveBack(reader->file, c);
    long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    *field = (int)value;
}

void ReadFloat(NumberReader* reader, float* field) {
    if (reader->failed) return;
    bool negative = false;
    int c = StartNumber(reader->file, &negative);
    bool ok = false;
    float value = 0.0f;
    if (c == 'i' || c == 'I') {
        ok = MatchWord(reader->file, "nf") && ReadInfinityTail(reader->file);
        value = INFINITY;
    } else if (c == 'n' || c == 'N') {
        ok = MatchWord(reader->file, "an") && ReadNanTail(reader->file);
        value = NAN;
    } else {
        ok = ReadDecimal(reader->file, c, &value);
    }
    if (!ok) {
        reader->failed = 1;
        return;
    }
    *field = negative ? -value : value;
}
