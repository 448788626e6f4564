// The host file service: what opens, what reads, and the refusals the
// loaders turn into their messages (missing, a folder, a short file).
#include <gtest/gtest.h>

#include <string>

#include "platform/files.h"
#include "support/support.h"

namespace {

TEST(HostFiles, OpensRegularFilesOnlyAndReadsExactRanges)
{
    std::string dir = support_temp_dir();
    support_write_file(dir + "/ten.bin", "0123456789");
    HostFile file;
    ASSERT_TRUE(files_open((dir + "/ten.bin").c_str(), file));
    EXPECT_EQ(file.length, 10u);
    char bytes[5] = {};
    ASSERT_TRUE(files_read_at(file, 6, bytes, 4));
    EXPECT_EQ(std::string(bytes, 4), "6789");
    // A range that runs past the end is refused, not cut short.
    EXPECT_FALSE(files_read_at(file, 8, bytes, 4));
    EXPECT_FALSE(files_read_at(file, 10, bytes, 1));
    EXPECT_TRUE(files_read_at(file, 10, bytes, 0));
    files_close(file);
    EXPECT_EQ(file.descriptor, -1);
    EXPECT_FALSE(files_read_at(file, 0, bytes, 1));
    files_close(file);  // closing twice is harmless

    EXPECT_FALSE(files_open((dir + "/missing.bin").c_str(), file));
    EXPECT_FALSE(files_open(dir.c_str(), file));  // a folder is no file
    EXPECT_EQ(file.descriptor, -1);
}

TEST(HostFiles, FoldersAreMadeWithTheirParentsOrRefusedByName)
{
    std::string dir = support_temp_dir();
    std::string error;
    ASSERT_TRUE(folder_create(dir + "/a/b/c", error)) << error;
    ASSERT_TRUE(folder_create(dir + "/a/b/c", error)) << error;  // already there
    support_write_file(dir + "/plain", "x");
    EXPECT_FALSE(folder_create(dir + "/plain/sub", error));
    EXPECT_EQ(error, dir + "/plain is not a folder");
}

TEST(HostFiles, ExecutableFolderHoldsThisTestProgram)
{
    std::string folder = files_executable_dir();
    ASSERT_FALSE(folder.empty());
    HostFile file;
    EXPECT_TRUE(files_open(support_program(folder + "/test_platform").c_str(), file));
    files_close(file);
}

}  // namespace
