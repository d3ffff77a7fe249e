#include "data_tree.h"

#include <unistd.h>
#include <cstdio>
#include <cstdlib>

#include "game/stage/stage.h"

InDataDirectory::InDataDirectory() {
    char here[4096];
    if (getcwd(here, sizeof here)) previous_ = here;
    const char* data = std::getenv("KESTORIA_DATA_DIR");
    ok_ = data && chdir(data) == 0;
}

InDataDirectory::~InDataDirectory() {
    if (!previous_.empty() && chdir(previous_.c_str()) != 0) std::perror("chdir");
}

void LoadStageFiles() {
    for (int i = 0; i < TileCount; ++i) {
        char path[64];
        std::snprintf(path, sizeof path, "Texture/Map/Map%02d.txt", i);
        LoadMapTile(i, path);
    }
    LoadTileIndexMap();
    LoadBackgroundOrder();
}
