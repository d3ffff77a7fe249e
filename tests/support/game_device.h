// A real 640 x 480 device and sprite over no window, handed to the game
// through Graphics as start-up would; released again on destruction.
#pragma once
#include "platform/d3dx9.h"

// The presentation the game asks for: full screen 640 x 480, 32-bit.
D3DPRESENT_PARAMETERS GameParams();

class GameDevice {
public:
    GameDevice();
    ~GameDevice();
    bool ok() const { return device != nullptr && sprite != nullptr; }

    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    ID3DXSprite* sprite = nullptr;
};
