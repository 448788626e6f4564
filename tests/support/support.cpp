#include "support/support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

#include "platform/process.h"

namespace {
void throw_exit(int code) { throw ProcessExited{code}; }

// Unit tests never open a real window or sound device: SDL's dummy drivers,
// unless the environment names others.
struct DummyDrivers {
    DummyDrivers()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
    }
} dummy_drivers;
}

void support_intercept_exit()
{
    process_clear_finishers();
    process_set_exit_handler(throw_exit);
}

std::string support_temp_dir()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vivur-test-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    return pattern;
}

ScopedChdir::ScopedChdir(const std::string& dir)
{
    char buffer[4096];
    previous = getcwd(buffer, sizeof buffer) ? buffer : "/";
    if (chdir(dir.c_str()) != 0)
        throw std::runtime_error("chdir failed: " + dir);
}

ScopedChdir::~ScopedChdir() { (void)!chdir(previous.c_str()); }

void ScratchDirTest::TearDown()
{
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

std::string support_read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void support_write_file(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}
