// Placeholder until this area is built; replace wholesale.
#include "shell/shell.h"

int main() { return WinMain(nullptr, nullptr, nullptr, SW_SHOWDEFAULT); }
