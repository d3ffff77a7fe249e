// The makers of the game's data tree. Each writes its files under the
// output directory with the exact paths the game opens; each returns false
// (after saying why on stderr) when a file could not be written.
#pragma once
#include <cairo.h>
#include <string>

// The stage's solidity as the game reads it from the copied map files.
struct StageMask {
    bool loaded = false;
    bool Solid(int x, int y) const;
    signed char tiles[10][32][32] = {};
    int cells[40][224] = {};
};
bool ReadStageMask(const std::string& root, StageMask& stage);

bool MakeBackgrounds(const std::string& root, const StageMask& stage);
bool MakeHeroPictures(const std::string& root);
bool MakeFoePictures(const std::string& root);
bool MakeBossPictures(const std::string& root);
bool MakeScreenPictures(const std::string& root);
bool MakeSounds(const std::string& root);

// The hero standing under the open canopy, in a 96 x 96 cell at the origin.
void DrawHeroUnderCanopy(cairo_t* cr);

// Creates every missing directory of path.
bool MakeDirectories(const std::string& path);
