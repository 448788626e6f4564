// Windows before the program starts: where libraries may be loaded from,
// where the standard streams go, and the timer's resolution.
#include "platform/host.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace {

// A standard handle the program was given (a file, a pipe or a console).
bool handle_given(DWORD which)
{
    HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void host_start()
{
    // Libraries loaded while running (SDL loads the renderer's and the
    // display scale's with LoadLibrary) come from the system folder only,
    // never from the executable's folder or the working directory, where a
    // download could have placed one of the same name.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");

    // The program is a windowed one, so a double-click opens no console.
    // Started from a console without redirection, it writes to that console;
    // output redirected to a file or a pipe stays where it was sent.
    const bool out_given = handle_given(STD_OUTPUT_HANDLE);
    const bool err_given = handle_given(STD_ERROR_HANDLE);
    if ((!out_given || !err_given) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!out_given)
            (void)!std::freopen("CONOUT$", "w", stdout);
        if (!err_given)
            (void)!std::freopen("CONOUT$", "w", stderr);
    }
    // The trace and every message are the same bytes as on Linux: no CR
    // added before line ends.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);

    // Sleeps of 1 ms granularity instead of the default timer's 15 ms.
    timeBeginPeriod(1);
}
