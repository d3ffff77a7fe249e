// The process's entry hands over to WinMain as the Windows runtime would.
#include <cstring>

#include "shell/shell.h"

namespace {

constexpr int CommandLineChars = 1024;
char CommandLine[CommandLineChars];

// The arguments after the program's name, joined by spaces (cut short
// when they do not fit).
LPSTR JoinArguments(int argc, char** argv) {
    size_t used = 0;
    for (int i = 1; i < argc; ++i) {
        size_t length = std::strlen(argv[i]);
        size_t separator = used > 0 ? 1 : 0;
        if (used + separator + length >= sizeof CommandLine) break;
        if (separator) CommandLine[used++] = ' ';
        std::memcpy(CommandLine + used, argv[i], length);
        used += length;
    }
    CommandLine[used] = '\0';
    return CommandLine;
}

}  // namespace

int main(int argc, char** argv) {
    return WinMain(GetModuleHandleA(nullptr), nullptr, JoinArguments(argc, argv), SW_SHOWDEFAULT);
}
