#include "app/Console.h"

#include <cstdio>

#include <windows.h>

void attachParentConsole()
{
    // Where output goes somewhere already (a pipe, a file), it stays there.
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if ((out == nullptr || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS))
        std::freopen("CONOUT$", "w", stdout);
}
