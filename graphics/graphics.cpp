// Placeholder until this area is built; replace wholesale.
#include "graphics/graphics.h"

DirectGraphics Graphics;

BOOL DirectGraphics::Create(HWND, UINT, UINT, D3DFORMAT, BOOL) { return 0; }
void DirectGraphics::SetRenderStates() {}
void DirectGraphics::SetAlphaBlend() {}
int DirectGraphics::Restore() { return 0; }
void DirectGraphics::Release() {}
DWORD FloatBitsToDword(float) { return 0; }
