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

// A 178-byte picture whose first quantisation table holds what looks like a
// frame header (524 x 3); the decoder takes the real one after it, 524 x
// 40707. The fuzz target's own guard read the first and asked for 524 x 3,
// which "or taller" accepted: 21 million pixels decoded for 178 bytes. The
// decoder's own reading of the header now gives the real size, and pictures
// taller than jpeg_max_height are refused before anything is allocated.
TEST_F(FuzzRegressions, HiddenTallFrameHeaderIsRefused)
{
    const std::string picture(
        "\xFF\xD8\xFF\xDB\x00\x43\x00\x08\x06\x06\x07\x06\x05\x08\x07\x07\x07\x09\x09\x08"
        "\x0A\x0C\x14\x0D\x0C\x0B\x0B\x0C\x19\x12\x13\x0B\x14\x1D\x1A\x1F\x1E\x1D\x1A\x1C"
        "\x1C\x20\x24\x2E\x27\x20\x22\x2C\x23\x1C\x1C\x28\x38\x29\x2C\x30\x31\x34\x34\x34"
        "\x1F\x27\x2F\x3D\x38\x32\x3C\x2E\x33\x34\x32\xFF\xDB\x00\x43\x01\x60\x09\x09\x0C"
        "\x0B\x0C\x18\x0D\x0D\x18\x21\x32\x1C\x21\x25\x32\x32\x32\x32\x32\x32\x32\x32\x32"
        "\x32\x32\x32\x32\xFF\xC9\x00\x11\x08\x00\x03\x02\x0C\x03\x01\x11\x00\x02\x32\x32"
        "\x32\x2F\x32\x2D\x32\x12\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32"
        "\x32\xFF\xC9\x00\x11\x08\x9F\x03\x02\x0C\x03\x01\x11\x00\x02\x11\x01\x03\x11\x01"
        "\x00\x10\x05\xFF\xDA\x00\x0C\x03\x01\x00\x02\x11\x03\x11\x00\xDB\xFF\xD9",
        178);
    uint32_t width = 0, height = 0;
    int components = 0;
    ASSERT_TRUE(jpeg_header_size(reinterpret_cast<const uint8_t*>(picture.data()), picture.size(), &width,
                                 &height, &components));
    EXPECT_EQ(width, 524u);
    EXPECT_EQ(height, 40707u);
    EXPECT_EQ(components, 3);
    support_write_file("tall.jpg", picture);
    const auto start = std::chrono::steady_clock::now();
    const std::string output = fatal_output([] { load_jpeg("tall.jpg", 524, 3); });
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // The decoder warns about the stray byte before the real header first.
    EXPECT_NE(output.find("error: picture tall.jpg is 524x40707 pixels, taller than the 4096 rows a picture "
                          "may have\n"),
              std::string::npos)
        << output;
    EXPECT_LT(elapsed, std::chrono::seconds(2));
}

}  // namespace
