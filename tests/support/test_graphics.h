// A real device for tests, made the way start-up makes it but without a
// window: the game's presentation, a 640 x 480 X8R8G8B8 device with depth
// and stencil, and its sprite batch, all handed to the game through Graphics.
#pragma once
#include <cstdint>
#include <functional>

#include "platform/d3dx9.h"

// The presentation the game asks for: full screen 640 x 480, 32-bit.
D3DPRESENT_PARAMETERS GameParams();

// False when any of the three cannot be made.
bool OpenTestGraphics();
// Releases what OpenTestGraphics made and clears Graphics' pointers; true
// when the device and the Direct3D object were freed by it (nothing leaked
// a reference).
bool CloseTestGraphics();

// An A8R8G8B8 texture on the device (Graphics' unless given) whose texel
// (u, v) is texel(u, v); null when it cannot be made.
IDirect3DTexture9* MakeTestTexture(int width, int height, const std::function<uint32_t(int u, int v)>& texel,
                                   IDirect3DDevice9* device = nullptr);

// Opens the sprite batch as the frame does: alpha blending, no filtering.
HRESULT OpenSpriteBatch();

// The back buffer's pixel at (x, y), top byte included.
uint32_t BackPixel(int x, int y);
