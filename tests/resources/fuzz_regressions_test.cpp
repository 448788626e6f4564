// Inputs the fuzz targets found, reduced and written out with the archive
// helpers, each with the clean stop (or the result) it must give now.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "archive_bytes.h"
#include "resources/file.h"
#include "resources/jpeg.h"
#include "resources/pak.h"

namespace {

// Each case writes its input into its own scratch directory.
class FuzzRegressions : public ScratchDirTest {};

// A 5-byte block whose entry claims 620756997 content bytes: the file layer
// allocated and zero-filled 592 MB for a 42-byte archive, and reading it took
// seconds. A size up to the archive's own length still opens.
TEST_F(FuzzRegressions, ContentSizeBeyondTheArchiveStops)
{
    const std::string block = le32(5) + "seeds";
    const std::string tail = le16(1) + "qomrax";
    support_write_file("huge.pak", block + pak_entry_bytes_of("Tail.BIN", 9, 9, 0x25000005) + tail);
    const std::string output = fatal_output([] {
        pak_mount("huge.pak");
        file_open("tail.bin");
    });
    EXPECT_EQ(output, "error: huge.pak is damaged: [Tail.BIN] claims a size of 620756997 bytes, "
                      "more than the whole archive\n");

    // 9 + 25 + 8 bytes: a content size of exactly 42 is the largest allowed.
    support_write_file("edge.pak", block + pak_entry_bytes_of("Tail.BIN", 9, 9, 42) + tail);
    pak_mount("edge.pak");
    FileHandle file = file_open("tail.bin");
    ASSERT_EQ(file.size, 42u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(file.data), 7), std::string("seeds\0\0", 7));
    EXPECT_EQ(file.data[41], 0);
    file_close(file);
}

// A progressive picture's header claiming 60000 x 60000 pixels, from a seed
// whose frame header was enlarged: the decoder kept every coefficient of the
// whole picture (gigabytes, zero-filled) before the size check refused it.
// The header alone (no tables, no data) must now stop at once on its size.
TEST_F(FuzzRegressions, HugeProgressiveHeaderStopsBeforeAllocating)
{
    const std::string picture = std::string("\xFF\xD8", 2) +
        // start of a progressive frame: 8 bits, 60000 rows, 60000 columns, 3 components 1x1
        std::string("\xFF\xC2\x00\x11\x08\xEA\x60\xEA\x60\x03"
                    "\x01\x11\x00\x02\x11\x00\x03\x11\x00", 19) +
        // start of the first scan: the three DC coefficients
        std::string("\xFF\xDA\x00\x0C\x03\x01\x00\x02\x00\x03\x00\x00\x00\x00", 14);
    support_write_file("big.jpg", picture);
    const auto start = std::chrono::steady_clock::now();
    const std::string output = fatal_output([] { load_jpeg("big.jpg", 320, 200); });
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(output, "error: picture big.jpg is 60000x60000 pixels, expected 320x200 (or taller)\n");
    EXPECT_LT(elapsed, std::chrono::seconds(2));
}

}  // namespace
