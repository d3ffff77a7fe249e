// The main loop's pass: messages first, then the device, then one frame.
#include "game/frame.h"
#include "graphics/graphics.h"
#include "shell/shell.h"

int Running = 1;

int MainLoopPass(HWND window, MSG* msg) {
    if (PeekMessageA(msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!GetMessageA(msg, nullptr, 0, 0)) return 0;
        TranslateMessage(msg);
        DispatchMessageA(msg);
        return 1;
    }
    // A lost device: no frame until it is back, and no spinning meanwhile:
    // the pass waits for a message or the frame period, whichever is first.
    if (Graphics.deviceLost) {
        if (Graphics.Restore()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, FramePeriodMs, QS_ALLINPUT);
            return 1;
        }
        Graphics.deviceLost = 0;
    }
    // The frame alone is timed; the sleep runs to its start plus the period.
    uint64_t start = MonotonicNanoseconds();
    Running = UpdateFrame(window);
    if (MonotonicNanoseconds() - start < FramePeriodNs) SleepUntilNanoseconds(start + FramePeriodNs);
    return Running != 0;
}
