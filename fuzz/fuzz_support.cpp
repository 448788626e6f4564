#include "fuzz_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/process.h"

namespace {

std::string fuzz_directory;  // the scratch working directory

void fuzz_throw_exit(int code) { throw FuzzStopped{code}; }

void fuzz_remove_directory()
{
    std::error_code ignored;
    std::filesystem::remove_all(fuzz_directory, ignored);
}

}  // namespace

void fuzz_setup()
{
    process_clear_finishers();
    process_set_exit_handler(fuzz_throw_exit);
    // Every input is written to a file there, so a memory-backed directory
    // (/dev/shm) when there is one: on a disk, the writes take about as long
    // as the fast targets' own work.
    const char* base = std::getenv("TMPDIR");
    if (access("/dev/shm", W_OK | X_OK) == 0)
        base = "/dev/shm";
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vivur-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("fuzz_setup: scratch directory");
        std::abort();
    }
    fuzz_directory = pattern;
    std::atexit(fuzz_remove_directory);
}

std::string fuzz_write_file(const char* name, const uint8_t* data, size_t size)
{
    const std::string path = fuzz_directory + "/" + name;
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool written = descriptor >= 0;
    while (written && size > 0) {
        const ssize_t count = write(descriptor, data, size);
        written = count > 0;
        if (written) {
            data += count;
            size -= size_t(count);
        }
    }
    if (descriptor >= 0)
        close(descriptor);
    if (!written) {
        std::perror(path.c_str());
        std::abort();
    }
    return path;
}
