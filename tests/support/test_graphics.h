// A real device for tests, made the way start-up makes it but without a
// window: Graphics' Direct3D object, a 640 x 480 X8R8G8B8 device with depth
// and stencil, and its sprite batch.
#pragma once

// False when any of the three cannot be made.
bool OpenTestGraphics();
// Releases what OpenTestGraphics made and clears Graphics' pointers.
void CloseTestGraphics();
