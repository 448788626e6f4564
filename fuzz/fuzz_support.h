// Shared by the libFuzzer targets: a scratch directory for the files an input
// becomes, and the end of the process turned into an exception, so a clean
// fatal error (report_error) ends one input instead of the fuzzer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Thrown by the intercepted process_exit.
struct FuzzStopped {
    int code;  // the exit code the program asked for (1 for report_error)
};

// Called once by each target's LLVMFuzzerInitialize: installs the exit handler
// and creates a temporary directory (in /dev/shm when it is writable) that is
// removed at exit. The working directory stays, since libFuzzer keeps its
// corpus and artifacts relative to it.
void fuzz_setup();

// Called per input: writes size bytes of data to name in the scratch
// directory and gives the file's absolute path.
std::string fuzz_write_file(const char* name, const uint8_t* data, size_t size);

// Called per input: runs body; a stop through process_exit ends it quietly.
template <class Body>
void fuzz_run(Body body)
{
    try {
        body();
    } catch (const FuzzStopped&) {
    }
}
