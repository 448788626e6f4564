// Shared test helpers: intercepting the end of the process, scratch folders,
// a fixture that runs each test inside its own scratch folder, the
// environment, and running the programs the build makes. What differs by
// operating system lives in support_posix.cpp and support_win.cpp.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

// Thrown by the intercepted process end instead of ending the test program.
struct ProcessExited {
    int code;
};

// Makes process_exit throw ProcessExited (and clears finishers). Safe to call often.
void support_intercept_exit();

// A fresh empty directory under the system's temporary folder.
std::string support_temp_dir();

// Changes the working directory for the lifetime of the object.
struct ScopedChdir {
    explicit ScopedChdir(const std::string& dir);
    ~ScopedChdir();
    std::string previous;  // the working directory to return to
};

// Fixture base for tests that work with relative file names: each test runs
// in a fresh scratch directory, which TearDown removes (a fixture overriding
// TearDown calls ScratchDirTest::TearDown).
class ScratchDirTest : public testing::Test {
protected:
    std::string dir = support_temp_dir();  // the scratch directory
    ScopedChdir in{dir};                   // inside it until the fixture ends
    void TearDown() override;
};

// Whole contents of a file ("" when missing).
std::string support_read_file(const std::string& path);
void support_write_file(const std::string& path, const std::string& bytes);

// The line end of a file written in text mode ("\r\n" on Windows).
extern const char* const support_text_line_end;

// Sets an environment variable of this process (and of the programs it
// starts); an existing value stays unless replace.
void support_setenv(const char* name, const char* value, bool replace = true);

// The file name of the program the build writes as path ("vivur" becomes
// "vivur.exe" on Windows).
std::string support_program(const std::string& path);

// Runs program (support_program adds the ending) with arguments, in folder,
// its standard output and error written to the files out and err (relative
// to folder; "" discards them). Returns its exit code, -1 when it did not
// end by itself or could not be started.
int support_run(const std::string& folder, const std::string& program, const std::vector<std::string>& arguments,
                const std::string& out, const std::string& err);
