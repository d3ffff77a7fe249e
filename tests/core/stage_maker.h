// Test helpers: a scratch directory to run in, and a stage painted pixel by
// pixel that is written out as the game's own stage files and read back.
#pragma once
#include <string>
#include <vector>

#include "support/picture_files.h"

// A fresh temporary directory as the working directory; the previous one
// comes back on destruction.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();

private:
    std::string previous_;
    TempDir dir_;
};

// Makes the folders on the way to path (relative to the working directory).
void MakeParentFolders(const std::string& path);
// Writes text to path, making folders.
void WriteTextFile(const std::string& path, const std::string& text);

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
