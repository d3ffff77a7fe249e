// A stage painted pixel by pixel that is written out as the game's own stage files and read back.
#pragma once
#include <string>
#include <vector>

#include "support/scratch.h"

// A whole stage of mask values, all free to begin with. Load() writes it as
// tile mask files and a tile index file into the working directory (at most
// ten distinct tiles) and reads them back through the stage readers.
class StageMaker {
public:
    StageMaker();
    // Sets every pixel of the inclusive rectangle to value.
    void Fill(int x0, int y0, int x1, int y1, signed char value);
    void Load();

private:
    std::vector<signed char> pixels_;
};
