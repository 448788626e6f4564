#include "support/support.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/files.h"
#include "platform/host.h"
#include "platform/process.h"

namespace {
void throw_exit(int code) { throw ProcessExited{code}; }

// Paths are UTF-8 in the tests, as in the production.
std::filesystem::path utf8_path(const std::string& path) { return std::u8string(path.begin(), path.end()); }

// Unit tests run on the host as the executable's entry sets it up (on
// Windows: standard streams in binary mode, as the messages compared are
// the Linux bytes), and never open a real window or sound device: SDL's
// dummy drivers, unless the environment names others.
struct TestHost {
    TestHost()
    {
        host_start();
        support_setenv("SDL_VIDEODRIVER", "dummy", false);
        support_setenv("SDL_AUDIODRIVER", "dummy", false);
    }
} test_host;
}

void support_intercept_exit()
{
    process_clear_finishers();
    process_set_exit_handler(throw_exit);
}

std::string support_temp_dir()
{
    std::string dir = folder_create_temporary("vivur-test-");
    if (dir.empty())
        throw std::runtime_error("cannot make a temporary folder");
    return dir;
}

ScopedChdir::ScopedChdir(const std::string& dir)
{
    std::error_code error;
    const std::u8string here = std::filesystem::current_path(error).u8string();
    previous.assign(here.begin(), here.end());
    std::filesystem::current_path(utf8_path(dir), error);
    if (error)
        throw std::runtime_error("cannot change to the folder " + dir);
}

ScopedChdir::~ScopedChdir()
{
    std::error_code ignored;
    std::filesystem::current_path(utf8_path(previous), ignored);
}

void ScratchDirTest::TearDown()
{
    std::error_code ignored;
    std::filesystem::remove_all(utf8_path(dir), ignored);
}

std::string support_read_file(const std::string& path)
{
    std::ifstream in(utf8_path(path), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void support_write_file(const std::string& path, const std::string& bytes)
{
    std::ofstream out(utf8_path(path), std::ios::binary);
    out << bytes;
}
