// The title screen and the continue screen.
#pragma once

extern int TitleCursor;     // 0 start, 1 quit
extern int TitleChoice;     // 0 none yet, 1 start, 2 quit
extern int TitleAlpha;      // 0-255 strength of logo, title and menu
extern float LogoX;         // logo's top-left on screen, sliding in
extern float LogoY;
extern int EnterHeld;       // title's Enter latch
extern int ContinueCursor;  // 0 continue, 1 give up; kept between screens
extern int ContinueAlpha;
extern int ContinueDelay;   // frames until a continue-screen choice acts

// The title body. Returns 0 when the quit choice has faded out (the frame
// then ends without presenting), 1 otherwise.
int TitleBody(const unsigned char* keys);
void ContinueBody(const unsigned char* keys);
void DrawTitle();
void DrawContinue();
// Back to a fresh title.
void ResetTitle();
