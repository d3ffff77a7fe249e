#include "support.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "game/draw/draw.h"
#include "graphics/graphics.h"
#include "support/test_graphics.h"

void EnterScratchTree() {
    static bool entered = false;
    if (entered) return;
    entered = true;
    char dir[] = "/tmp/kestoria-fuzz-XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0) {
        perror("scratch directory");
        abort();
    }
    for (const char* d : {"Texture", "Texture/Map", "Texture/Enemy", "Sound"}) mkdir(d, 0755);
}

void WriteScratchFile(const char* path, const uint8_t* data, size_t size) {
    FILE* f = fopen(path, "wb");
    if (!f) {
        perror(path);
        abort();
    }
    if (size) fwrite(data, 1, size, f);
    fclose(f);
}

void OpenHeadlessGraphics() {
    if (Graphics.device) return;
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!OpenTestGraphics()) {
        fprintf(stderr, "no headless device\n");
        abort();
    }
}

void DrawOneFrame() {
    Graphics.device->BeginScene();
    OpenSpriteBatch();
    DrawFrame();
    Graphics.sprite->End();
    Graphics.device->EndScene();
}
