// Shared by the fuzz targets: a scratch working directory laid out like the
// game's data tree, and the device the drawing runs on.
#pragma once
#include <cstddef>
#include <cstdint>

// Makes a fresh temporary directory with Texture/ and Sound/ folders and
// makes it the working directory. Once per process.
void EnterScratchTree();

// Writes bytes to a path under the working directory.
void WriteScratchFile(const char* path, const uint8_t* data, size_t size);

// A device and sprite in Graphics, on SDL's dummy drivers. Once per process.
void OpenHeadlessGraphics();

// Draws one frame of the current scene state into the back buffer.
void DrawOneFrame();
