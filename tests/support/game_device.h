// The test device for one scope, with the device in reach.
#pragma once
#include "graphics/graphics.h"
#include "support/test_graphics.h"

class GameDevice {
public:
    GameDevice() : ok_(OpenTestGraphics()), device(Graphics.device) {}
    ~GameDevice() { CloseTestGraphics(); }
    GameDevice(const GameDevice&) = delete;
    GameDevice& operator=(const GameDevice&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_;

public:
    IDirect3DDevice9* device;
};
