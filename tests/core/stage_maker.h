// A stage painted pixel by pixel, written out as the game's own stage files
// (tile masks and a tile index, at most ten distinct tiles) in the working
// directory and read back through the stage readers.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "game/stage/stage.h"
#include "support/scratch.h"

class StageMaker {
public:
    // All free to begin with.
    StageMaker() : pixels_((size_t)StageWidthPx * StageHeightPx, MaskFree) {}

    // Sets every pixel of the inclusive rectangle to value.
    void Fill(int x0, int y0, int x1, int y1, signed char value) {
        for (int y = std::max(y0, 0); y <= std::min(y1, StageHeightPx - 1); ++y)
            for (int x = std::max(x0, 0); x <= std::min(x1, StageWidthPx - 1); ++x)
                pixels_[(size_t)y * StageWidthPx + x] = value;
    }

    void Load() {
        std::vector<std::string> tiles;  // each tile's mask file text
        std::string index;
        for (int row = 0; row < StageRows; ++row) {
            for (int column = 0; column < StageColumns; ++column) {
                std::string mask;
                for (int ty = 0; ty < TileSize; ++ty) {
                    for (int tx = 0; tx < TileSize; ++tx)
                        mask += (char)('0' + pixels_[(size_t)(row * TileSize + ty) * StageWidthPx + column * TileSize + tx]);
                    mask += '\n';
                }
                const size_t t = std::find(tiles.begin(), tiles.end(), mask) - tiles.begin();
                if (t == tiles.size()) tiles.push_back(mask);
                index += (char)('0' + t);
            }
            index += '\n';
        }
        ASSERT_LE(tiles.size(), (size_t)TileCount) << "the painted stage needs more than ten tiles";
        for (size_t t = 0; t < tiles.size(); ++t) {
            char path[64];
            std::snprintf(path, sizeof path, "Texture/Map/Map%02d.txt", (int)t);
            WriteTextFile(path, tiles[t]);
            LoadMapTile((int)t, path);
        }
        WriteTextFile("Texture/Map/MapHitData.txt", index);
        LoadTileIndexMap();
    }

private:
    std::vector<signed char> pixels_;
};
