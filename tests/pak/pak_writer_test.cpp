#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "pak_writer.h"
#include "resources/file.h"
#include "resources/pak.h"
#include "support/support.h"

namespace {

PakFile pak_file(const std::string& name, const std::string& content)
{
    return PakFile{name, std::vector<uint8_t>(content.begin(), content.end())};
}

std::string le32(uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

TEST(PakWriter, LaysOutBlocksDirectoryCountAndSignature)
{
    std::vector<uint8_t> archive;
    std::string error;
    ASSERT_TRUE(pak_build({pak_file("a.txt", "hello"), pak_file("B.TXT", "world123")}, archive, error)) << error;
    // Blocks: 0..8 count 5 + "hello", 9..20 count 8 + "world123"; the
    // directory starts at 21, so the distances are 21 and 12.
    const std::string expected = le32(5) + "hello" + le32(8) + "world123" +
                                 std::string("a.txt\0\0\0\0\0\0\0\0", 13) + le32(21) + le32(9) + le32(5) +
                                 std::string("B.TXT\0\0\0\0\0\0\0\0", 13) + le32(12) + le32(12) + le32(8) +
                                 std::string("\2\0qomrax", 8);
    EXPECT_EQ(std::string(archive.begin(), archive.end()), expected);

    ASSERT_TRUE(pak_build({}, archive, error));
    EXPECT_EQ(std::string(archive.begin(), archive.end()), std::string("\0\0qomrax", 8));
}

TEST(PakWriter, RefusesNamesTheFormatCannotHold)
{
    std::vector<uint8_t> archive;
    std::string error;
    EXPECT_FALSE(pak_build({pak_file("thirteen.char", "x")}, archive, error));
    EXPECT_EQ(error, "name 'thirteen.char' has 13 characters; an archive name holds at most 12");
    EXPECT_FALSE(pak_build({pak_file("", "x")}, archive, error));
    EXPECT_FALSE(pak_build({pak_file("../x.jpg", "x")}, archive, error));
    EXPECT_EQ(error, "name '../x.jpg' holds a directory; archive names have none");
    EXPECT_FALSE(pak_build({pak_file("..", "x")}, archive, error));
    EXPECT_FALSE(pak_build({pak_file("font.jpg", "1"), pak_file("FONT.JPG", "2")}, archive, error));
    EXPECT_EQ(error, "names 'font.jpg' and 'FONT.JPG' are the same ignoring case");

    // Twelve characters fill the field but one: byte 12 stays the terminator.
    ASSERT_TRUE(pak_build({pak_file("twelve.chars", "")}, archive, error)) << error;
    EXPECT_EQ(archive.size(), 4u + 25u + 8u);
    EXPECT_EQ(std::string(archive.begin() + 4, archive.begin() + 17), std::string("twelve.chars\0", 13));
}

TEST(PakWriter, WrittenArchiveOpensInTheProduction)
{
    const std::string dir = support_temp_dir();
    {
        ScopedChdir in(dir);
        std::string big(70000, '\0');
        for (size_t i = 0; i < big.size(); ++i)
            big[i] = char(i * 7);
        std::string error;
        ASSERT_TRUE(pak_write("out.pak", {pak_file("small.txt", "abc"), pak_file("big.bin", big)}, error)) << error;
        pak_mount("out.pak");
        FileHandle handle = file_open("BIG.BIN");
        EXPECT_EQ(std::string(reinterpret_cast<char*>(handle.data), handle.size), big);
        file_close(handle);
        handle = file_open("small.txt");
        EXPECT_EQ(std::string(reinterpret_cast<char*>(handle.data), handle.size), "abc");
        file_close(handle);

        EXPECT_FALSE(pak_write(dir + "/no/such/dir/out.pak", {}, error));
        EXPECT_EQ(error, "cannot create " + dir + "/no/such/dir/out.pak");
    }
    // Out of the folder first: Windows removes no process's working folder.
    std::filesystem::remove_all(dir);
}

}  // namespace
