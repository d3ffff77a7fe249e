// Placeholder until this area is built; replace wholesale.
#include "game/title.h"

int TitleCursor;
int TitleChoice;
int TitleAlpha;
float LogoX = 2560.0f;
float LogoY = -1920.0f;
int EnterHeld;
int ContinueCursor;
int ContinueAlpha;
int ContinueDelay;

int TitleBody(const unsigned char*) { return 1; }
void ContinueBody(const unsigned char*) {}
void DrawTitle() {}
void DrawContinue() {}
void ResetTitle() {}
