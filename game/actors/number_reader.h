// The enemy files' numbers, read as fscanf reads them but saturated to the field's range.
#pragma once
#include <cstdio>

// White space, sign, digits; inf and nan for floats. A read that fails
// leaves its field alone and every later read of the file fails.
struct NumberReader {
    FILE* file;
    int failed;
};
void ReadInt(NumberReader* reader, int* field);
void ReadFloat(NumberReader* reader, float* field);
