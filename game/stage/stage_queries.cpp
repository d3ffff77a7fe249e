// Point, line and box queries over the stage.
#include <cstdint>
#include <cstring>

#include "game/stage/stage.h"

namespace {

constexpr int TileShift = 5;  // log2 of TileSize
constexpr int TileMaskBits = TileSize - 1;
static_assert(TileSize == 1 << TileShift, "tiles are 32 px");

// How the lines of one scan direction run: along x (columns) or along y
// (rows), one step at a time, and how many of them dist gives.
struct ScanShape {
    bool columns;      // lines are columns (left, right) rather than rows
    int step;          // -1 away to the left or up, +1 to the right or down
    int extraLines;    // left and up walk dist + 1 lines, right and down dist
};

// The pixel (line coordinate a, across coordinate b) of a scan.
signed char SampleLine(const ScanShape& shape, int64_t a, int64_t b) {
    return shape.columns ? SampleMapHit((int)a, (int)b) : SampleMapHit((int)b, (int)a);
}

// The tile of a cell, or null where the cell names none.
const MapTile* CellTile(int row, int column) {
    int tile = TileIndexMap[row][column];
    return tile >= 0 && tile < TileCount ? &MapTiles[tile] : nullptr;
}

// Which lines of one band of cells hold a solid pixel between the across
// pixels from and to: bit k for the band's k-th line. The band is the cell
// column (lines are columns) or the cell row that `line` falls in; a scan
// asks once per band, not once per pixel.
uint32_t SolidLinesOfBand(bool columns, int64_t line, int64_t from, int64_t to) {
    const int band = (int)(line >> TileShift);
    unsigned char solid[TileSize] = {};  // 1 where line k has a solid pixel
    for (int cell = (int)(from >> TileShift); cell <= (int)(to >> TileShift); ++cell) {
        const MapTile* tile = columns ? CellTile(cell, band) : CellTile(band, cell);
        if (!tile) continue;
        const int first = cell == (int)(from >> TileShift) ? (int)(from & TileMaskBits) : 0;
        const int last = cell == (int)(to >> TileShift) ? (int)(to & TileMaskBits) : TileSize - 1;
        if (columns) {
            // Four mask bytes at a time: a byte's top bit ends up set
            // exactly where the byte is 1 (solid).
            uint32_t marks[TileSize / 4] = {};
            for (int across = first; across <= last; ++across) {
                for (int word = 0; word < TileSize / 4; ++word) {
                    uint32_t bytes;
                    std::memcpy(&bytes, &tile->mask[across][4 * word], sizeof bytes);
                    const uint32_t x = bytes ^ 0x01010101u;  // 0 where solid
                    marks[word] |= ~(((x & 0x7F7F7F7Fu) + 0x7F7F7F7Fu) | x | 0x7F7F7F7Fu);
                }
            }
            unsigned char marked[TileSize];
            std::memcpy(marked, marks, sizeof marked);  // back in mask order
            for (int k = 0; k < TileSize; ++k) solid[k] |= marked[k] >> 7;
        } else {
            for (int k = 0; k < TileSize; ++k)
                if (std::memchr(&tile->mask[k][first], MaskSolid, (size_t)(last - first + 1))) solid[k] = 1;
        }
    }
    uint32_t bits = 0;
    for (int k = 0; k < TileSize; ++k) bits |= (uint32_t)solid[k] << k;
    return bits;
}

}  // namespace

signed char SampleMapHit(int x, int y) {
    if (x < 0 || y < 0 || x >= StageWidthPx || y >= StageHeightPx) return MaskOutside;
    int tile = TileIndexMap[y / TileSize][x / TileSize];
    if (tile < 0 || tile >= TileCount) return MaskOutside;
    return MapTiles[tile].mask[y % TileSize][x % TileSize];
}

// Lines and pixels outside the stage sample -1: never solid and never
// counted free, so only the part of the walk inside the stage is sampled.
// That keeps the cost bounded for any size, with the same results.
int ScanMap(int x, int y, int* freeCount, unsigned char dir, int half, int dist) {
    *freeCount = 0;
    ScanShape shape;
    switch (dir) {
        case ScanLeft: shape = {true, -1, 1}; break;
        case ScanUp: shape = {false, -1, 1}; break;
        case ScanRight: shape = {true, 1, 0}; break;
        case ScanDown: shape = {false, 1, 0}; break;
        default: return 0;
    }
    if (half <= 0) return 0;
    const int64_t lineCount = (int64_t)dist + shape.extraLines;
    const int64_t start = shape.columns ? x : y;
    const int64_t across = shape.columns ? y : x;
    const int64_t lineLimit = shape.columns ? StageWidthPx : StageHeightPx;
    const int64_t acrossLimit = shape.columns ? StageHeightPx : StageWidthPx;

    // Walk indices whose line lies inside the stage.
    int64_t first = 0, last = lineCount - 1;
    if (shape.step > 0) {
        if (-start > first) first = -start;
        if (lineLimit - 1 - start < last) last = lineLimit - 1 - start;
    } else {
        if (start - (lineLimit - 1) > first) first = start - (lineLimit - 1);
        if (start < last) last = start;
    }
    const int64_t lowPixel = across - half;
    const int64_t highPixel = across + half - 1;
    const int64_t fromPixel = lowPixel < 0 ? 0 : lowPixel;
    const int64_t toPixel = highPixel > acrossLimit - 1 ? acrossLimit - 1 : highPixel;
    const bool lastPixelInside = highPixel >= 0 && highPixel < acrossLimit;

    int64_t band = -1;
    uint32_t solidLines = 0;
    for (int64_t i = first; i <= last; ++i) {
        const int64_t line = start + shape.step * i;
        if (fromPixel <= toPixel && (line >> TileShift) != band) {
            band = line >> TileShift;
            solidLines = SolidLinesOfBand(shape.columns, line, fromPixel, toPixel);
        }
        if (solidLines & (1u << (line & TileMaskBits))) return 1;
        if (lastPixelInside && SampleLine(shape, line, highPixel) == MaskFree) ++*freeCount;
    }
    return 0;
}
