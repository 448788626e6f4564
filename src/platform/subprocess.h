// Child processes fed through their standard input: the capture writes raw
// frames into the ffmpeg program this way.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ChildProcess {
    intptr_t process = -1;  // process id or handle; -1 when not running
    intptr_t input = -1;    // descriptor or handle of the write end of the child's standard input
};

// True when name is an executable file in one of PATH's folders.
bool program_available(const char* name);

// Starts argv[0] (searched in PATH) with a pipe on its standard input and
// its standard output discarded. Returns false if it cannot be started.
bool child_start(ChildProcess& child, const std::vector<std::string>& argv);
// Writes all bytes to the child's input; false if the child went away.
bool child_write(ChildProcess& child, const void* bytes, size_t count);
// Closes the child's input, waits for it and returns its exit status
// (-1 when it was killed by a signal or was not running).
int child_finish(ChildProcess& child);
