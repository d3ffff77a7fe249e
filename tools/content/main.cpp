// Writes Kestoria's whole data tree: copies the hand-made stage and enemy
// files, then draws every picture and synthesizes every sound.
//   kestoria_content <source data directory> <output directory>
#include <cstdio>
#include <string>
#include <vector>

#include "content.h"

namespace {

const char* const TextFiles[] = {
    "Texture/Map/Map00.txt", "Texture/Map/Map01.txt", "Texture/Map/Map02.txt", "Texture/Map/Map03.txt",
    "Texture/Map/Map04.txt", "Texture/Map/Map05.txt", "Texture/Map/Map06.txt", "Texture/Map/Map07.txt",
    "Texture/Map/Map08.txt", "Texture/Map/Map09.txt", "Texture/Map/MapHitData.txt",
    "Texture/Map/MapImageData.txt", "Texture/Enemy/enemy.txt", "Texture/Enemy/no0.txt",
    "Texture/Enemy/no1.txt", "Texture/Enemy/no2.txt", "Texture/Enemy/no3.txt",
};

bool CopyFile(const std::string& from, const std::string& to) {
    FILE* in = std::fopen(from.c_str(), "rb");
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", from.c_str());
        return false;
    }
    std::vector<char> bytes;
    char block[4096];
    size_t n;
    while ((n = std::fread(block, 1, sizeof block, in)) > 0) bytes.insert(bytes.end(), block, block + n);
    std::fclose(in);
    FILE* out = std::fopen(to.c_str(), "wb");
    bool ok = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (out) ok = (std::fclose(out) == 0) && ok;
    if (!ok) std::fprintf(stderr, "cannot write %s\n", to.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <source data directory> <output directory>\n", argv[0]);
        return 2;
    }
    std::string source = argv[1], root = argv[2];
    bool ok = true;
    for (const char* dir : {"Texture/Map", "Texture/Enemy", "Texture/Chara", "Texture/Tama",
                            "Texture/スタートメニュー", "Texture/その他", "Sound"})
        ok = MakeDirectories(root + "/" + dir) && ok;
    for (const char* file : TextFiles) ok = CopyFile(source + "/" + file, root + "/" + file) && ok;
    StageMask stage;
    if (!ReadStageMask(root, stage)) return 1;
    ok = MakeBackgrounds(root, stage) && ok;
    ok = MakeHeroPictures(root) && ok;
    ok = MakeFoePictures(root) && ok;
    ok = MakeBossPictures(root) && ok;
    ok = MakeScreenPictures(root) && ok;
    ok = MakeSounds(root) && ok;
    return ok ? 0 : 1;
}
