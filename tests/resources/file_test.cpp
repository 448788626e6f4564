#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "resources/file.h"
#include "resources/pak.h"
#include "archive_bytes.h"

namespace {

// Each test works in a fresh directory that holds its archive and loose files.
class Files : public ScratchDirTest {
protected:
    void mount(const std::string& bytes, const std::string& path = "test.pak")
    {
        support_write_file(path, bytes);
        pak_mount(path.c_str());
    }
    static std::string text(const FileHandle& handle)
    {
        return std::string(reinterpret_cast<const char*>(handle.data), handle.size);
    }
};

TEST_F(Files, HandLaidArchiveOpensByNameInAnyCase)
{
    // "hello" stored at 0 as 05 00 00 00 'hello' (9 bytes); the directory
    // starts at 9, so the distance is 9.
    mount(le32(5) + "hello" + pak_entry_bytes_of("font.jpg", 9, 9, 5) + le16(1) + "qomrax");
    ASSERT_EQ(pak_directory.entries.size(), 1u);
    FileHandle handle = file_open("FONT.JPG");
    EXPECT_EQ(handle.is_open, 1);
    EXPECT_EQ(handle.position, 0u);
    EXPECT_EQ(text(handle), "hello");
    file_close(handle);
}

TEST_F(Files, LastOfEqualNamesWinsAndLooseFilesComeFirst)
{
    mount(pak_archive({{"a.txt", "first"}, {"font.jpg", "packed"}, {"A.TXT", "second"}}));
    FileHandle last = file_open("a.Txt");
    EXPECT_EQ(text(last), "second");
    file_close(last);

    support_write_file("font.jpg", "loose!");
    FileHandle loose = file_open("font.jpg");
    EXPECT_EQ(text(loose), "loose!");
    file_close(loose);

    // A directory of an asset's name is no loose file: the archive serves it.
    std::filesystem::create_directory("a.txt");
    FileHandle packed = file_open("a.txt");
    EXPECT_EQ(text(packed), "second");
    file_close(packed);
}

TEST_F(Files, SignatureInCapitalsMountsAndOthersStop)
{
    mount(pak_archive({{"x.bin", "1"}}, "QOMRAX"));
    EXPECT_EQ(pak_directory.entries.size(), 1u);

    EXPECT_NE(fatal_output([&] { mount(pak_archive({{"x.bin", "1"}}, "qomrad"), "bad.pak"); })
                  .find("error: bad.pak is not a valid PAK file\n"),
              std::string::npos);
    // Too short to hold a count and a signature.
    EXPECT_NE(fatal_output([&] { mount("qomrax", "tiny.pak"); })
                  .find("error: tiny.pak is not a valid PAK file\n"),
              std::string::npos);
    EXPECT_NE(fatal_output([] { pak_mount("missing.pak"); }).find("error: file not found [missing.pak]\n"),
              std::string::npos);
}

TEST_F(Files, EmptyArchiveMountsAndEveryLookupFails)
{
    mount(le16(0) + "qomrax");
    EXPECT_TRUE(pak_directory.entries.empty());
    EXPECT_NE(fatal_output([] { file_open("intro.jpg"); }).find("error: file not found [intro.jpg]\n"),
              std::string::npos);
}

TEST_F(Files, MoreEntriesThanAThousandAndPathsOfAnyLength)
{
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; i < 1500; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%04d.bin", i);
        files.push_back({name, std::string(1, char('a' + i % 26))});
    }
    std::string deep = dir;
    for (int level = 0; level < 8; ++level)
        deep += "/" + std::string(40, char('a' + level));
    std::filesystem::create_directories(deep);
    mount(pak_archive(files), deep + "/archive.pak");
    EXPECT_EQ(pak_directory.entries.size(), 1500u);
    EXPECT_EQ(pak_directory.path, deep + "/archive.pak");
    FileHandle handle = file_open("F1499.BIN");  // 1499 % 26 = 17: 'r'
    EXPECT_EQ(text(handle), "r");
    file_close(handle);
}

TEST_F(Files, SeekReadAndGetcAtAndPastTheEnd)
{
    mount(pak_archive({{"h.txt", "hello"}}));
    FileHandle handle = file_open("h.txt");
    char buffer[16] = {};

    file_seek(handle, 0, 2);  // counts back from the end: position = size
    EXPECT_EQ(file_tell(handle), 5u);
    EXPECT_EQ(file_read(handle, buffer, 4), 0u);
    EXPECT_EQ(file_getc(handle), 0xFF);
    EXPECT_EQ(file_tell(handle), 5u);

    file_seek(handle, 2, 0);
    EXPECT_EQ(file_read(handle, buffer, 10), 3u);  // only what remains
    EXPECT_EQ(std::string(buffer, 3), "llo");
    EXPECT_EQ(file_tell(handle), 5u);

    file_seek(handle, 2, 2);  // 5 - 2 = 3
    EXPECT_EQ(file_getc(handle), 'l');
    file_seek(handle, -3, 1);  // 4 - 3 = 1
    EXPECT_EQ(file_getc(handle), 'e');
    file_seek(handle, 0, 7);  // unknown whence: unchanged
    EXPECT_EQ(file_tell(handle), 2u);

    // Past the end, reads give nothing instead of running off the buffer.
    file_seek(handle, 100, 0);
    EXPECT_EQ(file_read(handle, buffer, 4), 0u);
    EXPECT_EQ(file_getc(handle), 0xFF);
    file_seek(handle, -1, 2);  // 5 + 1 = 6
    EXPECT_EQ(file_read(handle, buffer, 1), 0u);
    // position + length wrapping past 2^32 is still cut to what remains.
    file_seek(handle, 2, 0);
    EXPECT_EQ(file_read(handle, buffer, 0xFFFFFFFFu), 3u);
    file_close(handle);
}

TEST_F(Files, CloseReleasesAndLaterReadsStop)
{
    mount(pak_archive({{"h.txt", "hello"}}));
    FileHandle handle = file_open("h.txt");
    file_seek(handle, 3, 0);
    file_close(handle);
    EXPECT_EQ(handle.is_open, 0);
    EXPECT_EQ(handle.size, 0xFFFFFFFFu);
    EXPECT_EQ(handle.data, nullptr);
    EXPECT_EQ(handle.position, 3u);
    char byte;
    EXPECT_NE(fatal_output([&] { file_read(handle, &byte, 1); }).find("error: file not opened!\n"),
              std::string::npos);
    EXPECT_NE(fatal_output([&] { file_getc(handle); }).find("error: file not opened!\n"),
              std::string::npos);
}

TEST_F(Files, ArchiveGoneAfterMountingGivesAnEmptyOpenHandle)
{
    mount(pak_archive({{"h.txt", "hello"}}));
    std::filesystem::remove("test.pak");
    FileHandle handle = file_open("h.txt");
    EXPECT_EQ(handle.is_open, 1);
    EXPECT_EQ(handle.size, 0u);
    char byte;
    EXPECT_EQ(file_read(handle, &byte, 1), 0u);
    file_close(handle);
}

TEST_F(Files, ContentSizeAboveTheStoredCountReadsZeros)
{
    mount(le32(5) + "hello" + pak_entry_bytes_of("pad.bin", 9, 9, 8) + le16(1) + "qomrax");
    FileHandle handle = file_open("pad.bin");
    EXPECT_EQ(text(handle), std::string("hello\0\0\0", 8));
    file_close(handle);
}

// A bare archive name is looked for in the working directory, beside the
// executable, then in share/vivur beside the executable's folder; each place
// here holds an archive with one entry naming that place.
TEST_F(Files, ArchiveLookupOrderAndThePlacesTriedWhenMissing)
{
    EXPECT_EQ(pak_places("vivur.pak", "/opt/v/bin"),
              (std::vector<std::string>{"vivur.pak", "/opt/v/bin/vivur.pak", "/opt/v/share/vivur/vivur.pak"}));
    EXPECT_EQ(pak_places("vivur.pak", ""), std::vector<std::string>{"vivur.pak"});
    EXPECT_EQ(pak_places("sub/vivur.pak", "/opt/v/bin"), std::vector<std::string>{"sub/vivur.pak"});

    std::filesystem::create_directories("bin");
    std::filesystem::create_directories("share/vivur");
    std::filesystem::create_directories("run");
    support_write_file("run/vivur.pak", pak_archive({{"cwd.txt", "1"}}));
    support_write_file("bin/vivur.pak", pak_archive({{"beside.txt", "1"}}));
    support_write_file("share/vivur/vivur.pak", pak_archive({{"share.txt", "1"}}));
    ScopedChdir run("run");
    const std::string bin = dir + "/bin";
    const char* order[] = {"cwd.txt", "beside.txt", "share.txt"};
    const char* files[] = {"vivur.pak", "../bin/vivur.pak", "../share/vivur/vivur.pak"};
    for (int i = 0; i < 3; ++i) {
        pak_mount_from("vivur.pak", bin);
        ASSERT_EQ(pak_directory.entries.size(), 1u);
        EXPECT_STREQ(pak_directory.entries[0].name, order[i]);
        std::filesystem::remove(files[i]);
    }
    EXPECT_EQ(fatal_output([&] { pak_mount_from("vivur.pak", bin); }),
              "error: file not found [vivur.pak]\nlooked for in: vivur.pak (the working directory), " + bin +
                  "/vivur.pak, " + dir + "/share/vivur/vivur.pak\n");
}

// Damaged archives stop with a message naming the archive and the entry,
// never reading or writing outside a buffer.
TEST_F(Files, DamagedArchivesStopWithAClearMessage)
{
    const std::string hello = le32(5) + "hello";  // a 9-byte block at 0
    const std::string tail = le16(1) + "qomrax";
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {"count larger than the file holds", hello + pak_entry_bytes_of("a.bin", 9, 9, 5) + le16(3) + "qomrax",
         "error: bad.pak is damaged: its directory of 3 entries does not fit in the file\n"},
        {"block before the start of the file", hello + pak_entry_bytes_of("a.bin", 10, 9, 5) + tail,
         "error: bad.pak is damaged: the stored block of [a.bin] lies outside the archive\n"},
        {"block running into the directory", hello + pak_entry_bytes_of("a.bin", 9, 40, 5) + tail,
         "error: bad.pak is damaged: the stored block of [a.bin] lies outside the archive\n"},
        {"stored length below 4", hello + pak_entry_bytes_of("a.bin", 9, 3, 5) + tail,
         "error: bad.pak is damaged: the stored block of [a.bin] is 3 bytes, too short for its 4-byte count\n"},
        {"count above the content size", hello + pak_entry_bytes_of("a.bin", 9, 9, 4) + tail,
         "error: bad.pak is damaged: [a.bin] claims 5 bytes, but its block holds 5 and its size is 4\n"},
        {"count above the block", le32(200) + "hello" + pak_entry_bytes_of("a.bin", 9, 9, 30) + tail,
         "error: bad.pak is damaged: [a.bin] claims 200 bytes, but its block holds 5 and its size is 30\n"},
    };
    for (const Case& c : cases) {
        const std::string output = fatal_output([&] {
            mount(c.bytes, "bad.pak");
            file_open("a.bin");
        });
        EXPECT_NE(output.find(c.message), std::string::npos) << c.what << ": " << output;
    }
}

}  // namespace
