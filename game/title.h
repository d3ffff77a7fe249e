// The title screen and the continue screen.
#pragma once
#include "platform/d3d9.h"

// TitleCursor, also the menu picture's row.
constexpr int EntryStart = 0;
constexpr int EntryQuit = 1;
// TitleChoice: set by Enter on an entry, acted on once the title has faded.
constexpr int ChoiceNone = 0;
constexpr int ChoiceStart = 1;
constexpr int ChoiceQuit = 2;
// ContinueCursor, also which continue picture shows.
constexpr int EntryContinue = 0;
constexpr int EntryGiveUp = 1;

extern int TitleCursor;     // Entry... of the title menu
extern int TitleChoice;     // Choice...
extern int TitleAlpha;      // 0-255 strength of logo, title and menu
extern float LogoX;         // logo's top-left on screen, sliding in
extern float LogoY;
extern int EnterHeld;       // title's Enter latch
extern int ContinueCursor;  // EntryContinue or EntryGiveUp; kept between screens
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
