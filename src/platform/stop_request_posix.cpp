#include "platform/stop_request.h"

#include <csignal>

namespace {
volatile std::sig_atomic_t requested = 0;     // set by the signal handler
struct sigaction previous_int, previous_term;  // handlers before stop_request_watch

void note_request(int) { requested = 1; }
}  // namespace

void stop_request_watch()
{
    requested = 0;
    struct sigaction action {};
    action.sa_handler = note_request;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous_int);
    sigaction(SIGTERM, &action, &previous_term);
}

void stop_request_release()
{
    sigaction(SIGINT, &previous_int, nullptr);
    sigaction(SIGTERM, &previous_term, nullptr);
}

bool stop_request_take()
{
    if (!requested)
        return false;
    requested = 0;
    return true;
}
