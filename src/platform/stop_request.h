// Inside the platform layer only: requests from outside to stop the
// program (SIGINT and SIGTERM on Linux, Ctrl+C, Ctrl+Break and closing the
// console on Windows), noted by a flag the headless window turns into a
// quit message at its next pump.
#pragma once

// Starts noting stop requests (clears any noted before).
void stop_request_watch();
// Gives the requests back to the handlers from before stop_request_watch.
void stop_request_release();
// True once after each request.
bool stop_request_take();
