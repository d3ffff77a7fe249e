// The title screen and the continue screen.
#pragma once
#include "platform/d3d9.h"

extern int TitleCursor;     // 0 start, 1 quit
extern int TitleChoice;     // 0 none yet, 1 start, 2 quit
extern int TitleAlpha;      // 0-255 strength of logo, title and menu
extern float LogoX;         // logo's top-left on screen, sliding in
extern float LogoY;
extern int EnterHeld;       // title's Enter latch
extern int ContinueCursor;  // 0 continue, 1 give up; kept between screens
extern int ContinueAlpha;
extern int ContinueDelay;   // frames until a continue-screen choice acts

constexpr int FullStrength = 255;  // alpha of a picture drawn fully

// The title body. Returns 0 when the quit choice has faded out (the frame
// then ends without presenting), 1 otherwise.
int TitleBody(const unsigned char* keys);
// The continue body: the frozen stage under the continue picture.
void ContinueBody(const unsigned char* keys);
// Draw into the open sprite batch; DrawTitle shows the rain at the height
// drawn by this frame's TitleBody.
void DrawTitle();
void DrawContinue();
// Back to a fresh title, from the field, the boss part or a give-up.
void ResetTitle();
// ResetTitle's values without the change of scene: a give-up on the
// continue screen sets them at once and switches scene frames later.
void ResetTitleState();

// A whole-screen or menu picture with its source's top-left at (x, y),
// white at the given strength.
void DrawScreenPicture(IDirect3DTexture9* texture, const RECT& source, float x, float y, int strength);
