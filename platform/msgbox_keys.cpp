// The keyboard's rules for a message box, as Windows' own box keeps them.
#include "platform/msgbox_keys.h"

namespace {
int Index(BoxKey key) { return static_cast<int>(key); }
int ButtonCount(const BoxKeys& box) { return box.yesNo ? 2 : 1; }
}  // namespace

BoxKeys OpenBoxKeys(bool yesNo, const bool* heldAtOpen) {
    BoxKeys box{};
    box.yesNo = yesNo;
    box.focus = FirstButton;
    for (int i = 0; i < BoxKeyCount; ++i) box.down[i] = heldAtOpen && heldAtOpen[i];
    return box;
}

void BoxKeyDown(BoxKeys* box, BoxKey key, bool shift) {
    if (box->down[Index(key)]) return;
    box->down[Index(key)] = true;
    box->pressedHere[Index(key)] = true;
    int step = 0;
    if (key == BoxKey::Right || (key == BoxKey::Tab && !shift)) step = 1;
    if (key == BoxKey::Left || (key == BoxKey::Tab && shift)) step = -1;
    // The focus goes round: on from the last button is the first.
    const int count = ButtonCount(*box);
    box->focus = (box->focus + step + count) % count;
}

int BoxKeyUp(BoxKeys* box, BoxKey key) {
    const bool pressedHere = box->pressedHere[Index(key)];
    box->down[Index(key)] = false;
    box->pressedHere[Index(key)] = false;
    if (!pressedHere) return NoAnswer;
    switch (key) {
    case BoxKey::Enter:
    case BoxKey::Space: return BoxButtonAnswer(*box, box->focus);
    case BoxKey::Yes: return box->yesNo ? IDYES : NoAnswer;
    case BoxKey::No: return box->yesNo ? IDNO : NoAnswer;
    case BoxKey::Escape: return box->yesNo ? NoAnswer : BoxCloseAnswer(*box);
    default: return NoAnswer;
    }
}

int BoxButtonAnswer(const BoxKeys& box, int button) {
    if (!box.yesNo) return IDOK;
    return button == FirstButton ? IDYES : IDNO;
}

int BoxCloseAnswer(const BoxKeys& box) { return box.yesNo ? IDNO : IDOK; }
