#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "content.h"

namespace {

// Reads `rows` lines of at least `width` digits 0-9 into out[row * width + column].
template <typename T>
bool ReadDigits(const std::string& path, int rows, int width, T* out) {
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    char line[512];
    bool ok = true;
    for (int r = 0; r < rows && ok; ++r) {
        ok = std::fgets(line, sizeof line, f) != nullptr && (int)std::strlen(line) >= width;
        for (int c = 0; c < width && ok; ++c) {
            ok = line[c] >= '0' && line[c] <= '9';
            out[r * width + c] = (T)(line[c] - '0');
        }
    }
    std::fclose(f);
    if (!ok) std::fprintf(stderr, "%s: expected %d lines of %d digits\n", path.c_str(), rows, width);
    return ok;
}

}  // namespace

bool StageMask::Solid(int x, int y) const {
    if (x < 0 || y < 0 || x >= 224 * 32 || y >= 40 * 32) return false;
    return tiles[cells[y / 32][x / 32]][y % 32][x % 32] == 1;
}

bool ReadStageMask(const std::string& root, StageMask& stage) {
    bool ok = true;
    for (int i = 0; i < 10 && ok; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "/Texture/Map/Map%02d.txt", i);
        ok = ReadDigits(root + name, 32, 32, &stage.tiles[i][0][0]);
    }
    ok = ok && ReadDigits(root + "/Texture/Map/MapHitData.txt", 40, 224, &stage.cells[0][0]);
    stage.loaded = ok;
    return ok;
}

bool MakeDirectories(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i != path.size() && path[i] != '/') continue;
        std::string part = path.substr(0, i);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            std::fprintf(stderr, "cannot create %s\n", part.c_str());
            return false;
        }
    }
    return true;
}
