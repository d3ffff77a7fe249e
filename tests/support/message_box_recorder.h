// Answers every message box with a fixed reply and keeps what was asked.
#pragma once
#include <string>
#include <vector>

#include "platform/testhooks.h"

namespace boxes {

struct Shown {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

inline std::vector<Shown> Seen;
inline int Reply = IDNO;

inline int Answer(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    Seen.push_back({owner, text ? text : "", caption ? caption : "", type});
    return Reply;
}

// From now on boxes are answered with reply and recorded.
inline void Record(int reply) {
    Seen.clear();
    Reply = reply;
    SetMessageBoxHook(Answer);
}

inline void Stop() {
    SetMessageBoxHook(nullptr);
    Seen.clear();
}

}  // namespace boxes
