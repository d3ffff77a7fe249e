// The keyboard's layouts on X, shared by the game's keys and the box's: a
// letter key means the letter its label shows in the layout active at the
// moment, however often the player switches layouts.
#pragma once
#include <X11/Xlib.h>

// The keys down, as XQueryKeymap gives them: a bit for each keycode.
constexpr int KeymapBytes = 32;
bool PlatformKeyIsDown(const char* keymap, unsigned int keycode);

// The layout (XKB group) active now on the display's core keyboard.
int PlatformActiveLayout(Display* display);
// The layout a key event was pressed or let go in, carried in its state.
int PlatformLayoutOfEvent(const XKeyEvent& event);
// The letter 'A'..'Z' the key shows in the layout, or 0 for a key that is
// no letter of A to Z. A key that shows a letter of another script
// (Cyrillic, Greek) means its letter in the first layout that has one,
// as on Windows.
int PlatformLetterOfKey(Display* display, unsigned int keycode, int layout);
