// Termination signals (SIGTERM, SIGINT, SIGHUP) as the desktop's request to
// end the program, the way Windows closes a program's windows when the
// session ends. The handler only notes the signal: the message queue turns
// it into closes, and a message box's wait wakes on the pipe.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/win32_internal.h"

namespace {

constexpr int EndSignals[] = {SIGTERM, SIGINT, SIGHUP};

volatile sig_atomic_t EndRequested;
bool Watching;
int WakePipe[2] = {-1, -1};  // read end, write end

void NoteEndSignal(int) {
    const int savedErrno = errno;
    EndRequested = 1;
    if (WakePipe[1] >= 0) {
        const char byte = 0;
        const ssize_t written = write(WakePipe[1], &byte, 1);
        (void)written;  // a full pipe wakes its reader all the same
    }
    errno = savedErrno;
}

}  // namespace

void PlatformWatchEndSignals() {
    if (Watching) return;
    Watching = true;
    if (pipe2(WakePipe, O_NONBLOCK | O_CLOEXEC) != 0) WakePipe[0] = WakePipe[1] = -1;
    for (int signal : EndSignals) {
        struct sigaction old {};
        if (sigaction(signal, nullptr, &old) != 0) continue;
        // Started to ignore it (nohup, a background job): it stays ignored.
        if (old.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = NoteEndSignal;
        sigemptyset(&action.sa_mask);
        // A second signal ends the program at once, should the first not
        // have ended it by then.
        action.sa_flags = SA_RESETHAND | SA_RESTART;
        sigaction(signal, &action, nullptr);
    }
}

bool PlatformEndRequested() { return EndRequested != 0; }

int PlatformEndRequestFd() { return WakePipe[0]; }
