#include "platform/stop_request.h"

#include <windows.h>

#include <atomic>

namespace {
std::atomic<bool> requested{false};  // set on the console's handler thread

BOOL WINAPI note_request(DWORD)
{
    requested = true;
    return TRUE;
}
}  // namespace

void stop_request_watch()
{
    requested = false;
    SetConsoleCtrlHandler(note_request, TRUE);
}

void stop_request_release() { SetConsoleCtrlHandler(note_request, FALSE); }

bool stop_request_take() { return requested.exchange(false); }
