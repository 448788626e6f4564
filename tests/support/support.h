// Shared test helpers: intercepting the end of the process, scratch folders,
// a fixture that runs each test inside its own scratch folder.
#pragma once
#include <gtest/gtest.h>

#include <string>

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
