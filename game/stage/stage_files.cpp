// The three stage files: tile masks, the tile index map, the background order.
#include <cstdio>
#include <cstring>

#include "game/stage/stage.h"

MapTile MapTiles[TileCount];
int TileIndexMap[StageRows][StageColumns];
int BackgroundOrder[BackgroundStripCount];

namespace {

// Reader capacities: one full line, its LF and the closing zero byte. The
// background line has room for 8 characters only.
constexpr int MaskReaderBytes = TileSize + 2;
constexpr int IndexReaderBytes = StageColumns + 2;
constexpr int OrderReaderBytes = 9;

constexpr int EndOfText = 0x1A;  // text mode ends a file at this byte

constexpr char TileIndexPath[] = "Texture/Map/MapHitData.txt";
constexpr char BackgroundOrderPath[] = "Texture/Map/MapImageData.txt";

// One line, up to and including its LF but at most capacity - 1 characters,
// closed by a zero byte, read as text mode reads it: CR LF reads as LF, so
// both line ends give the same rows, and the file ends at its first 0x1A.
// At the end of the file the buffer keeps what it held.
bool ReadLine(FILE* file, char* buffer, int capacity) {
    int count = 0;
    while (count < capacity - 1) {
        int c = fgetc(file);
        if (c == EOF) break;
        if (c == EndOfText) {
            // Left unread, so every later read ends here too.
            ungetc(c, file);
            break;
        }
        if (c == '\r') {
            int next = fgetc(file);
            if (next == '\n')
                c = '\n';
            else if (next != EOF)
                ungetc(next, file);
        }
        buffer[count++] = (char)c;
        if (c == '\n') break;
    }
    if (count == 0) return false;
    buffer[count] = '\0';
    return true;
}

// Reads rows lines of path, handing each one to store(row, buffer). The
// buffer starts cleared, so a position never read decodes as -48; a row
// past the file's end gets the last line again.
template <typename Store>
void ReadStageFile(const char* path, int rows, int capacity, Store store) {
    FILE* file = fopen(path, "rb");
    if (!file) {
        fprintf(stderr, "Stage file missing: %s\n", path);
        return;
    }
    char buffer[IndexReaderBytes];
    memset(buffer, 0, sizeof buffer);
    for (int row = 0; row < rows; ++row) {
        ReadLine(file, buffer, capacity);
        store(row, buffer);
    }
    fclose(file);
}

int DigitValue(char c) { return (signed char)c - '0'; }

}  // namespace

void LoadMapTile(int index, const char* maskPath) {
    if (index < 0 || index >= TileCount) return;
    MapTile& tile = MapTiles[index];
    ReadStageFile(maskPath, TileSize, MaskReaderBytes, [&tile](int row, const char* line) {
        for (int column = 0; column < TileSize; ++column)
            tile.mask[row][column] = (signed char)DigitValue(line[column]);
    });
}

void LoadTileIndexMap() {
    ReadStageFile(TileIndexPath, StageRows, IndexReaderBytes, [](int row, const char* line) {
        for (int column = 0; column < StageColumns; ++column) TileIndexMap[row][column] = DigitValue(line[column]);
    });
}

void LoadBackgroundOrder() {
    ReadStageFile(BackgroundOrderPath, 1, OrderReaderBytes, [](int, const char* line) {
        for (int strip = 0; strip < BackgroundStripCount; ++strip) BackgroundOrder[strip] = DigitValue(line[strip]);
    });
}
