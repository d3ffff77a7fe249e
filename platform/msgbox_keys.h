// What the keyboard does to a message box of our own: which button has the
// focus, and which key answers. Apart from the window system, so that it
// can be driven with keys alone.
#pragma once
#include "platform/win32.h"

// The keys a box knows; any other key is Other.
enum class BoxKey { Other, Tab, Left, Right, Enter, Space, Yes, No, Escape, Count };

constexpr int BoxKeyCount = static_cast<int>(BoxKey::Count);
constexpr int NoAnswer = 0;
constexpr int FirstButton = 0;   // はい, or the only button, OK
constexpr int SecondButton = 1;  // いいえ

struct BoxKeys {
    bool yesNo;                      // はい and いいえ; otherwise OK alone
    int focus;                       // the button Enter and Space press
    bool down[BoxKeyCount];          // held now
    bool pressedHere[BoxKeyCount];   // went down while the box was up
};

// A box just shown: the first button has the focus. Keys held then
// (heldAtOpen, one flag a BoxKey) answer nothing until let go and pressed
// again, so a key held from the game never answers by itself.
BoxKeys OpenBoxKeys(bool yesNo, const bool* heldAtOpen);
// A key went down; a key already down (auto-repeat) does nothing. Tab and
// Right move the focus on, Shift+Tab and Left back. Never answers.
void BoxKeyDown(BoxKeys* box, BoxKey key, bool shift);
// A key let go: IDYES, IDNO or IDOK when it answers, else NoAnswer. Only a
// key that went down in the box answers: Enter and Space the focused
// button, Y はい and N いいえ, and on an OK box Esc too.
int BoxKeyUp(BoxKeys* box, BoxKey key);
// What pressing the button answers.
int BoxButtonAnswer(const BoxKeys& box, int button);
// What the box answers when it goes without a button (closed by the window
// manager, destroyed, or the program asked to end): いいえ, or on an OK box
// OK, as Esc does there.
int BoxCloseAnswer(const BoxKeys& box);
