#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "archive_bytes.h"
#include "resources/jpeg.h"
#include "resources/pak.h"
#include "support/support_jpeg.h"

namespace {

// The pictures are encoded at quality 100 without chroma subsampling, so every
// decoded component stays within 3 of what was encoded.

// Four quadrants of different colours, so swapped channels, mirrored columns
// and flipped rows all show. The bottom-right one is a grain pattern (to make
// the file longer than one 4096-byte refill) with a flat corner.
std::vector<uint8_t> quadrants(int x, int y)
{
    if (y < 96)
        return x < 160 ? std::vector<uint8_t>{200, 40, 10} : std::vector<uint8_t>{10, 200, 40};
    if (x < 160)
        return {40, 10, 200};
    if (x >= 296 && y >= 176)
        return {250, 250, 250};
    const uint8_t grain = uint8_t((x * 37 + y * 91) * (x ^ y));
    return {grain, uint8_t(grain * 3), uint8_t(255 - grain)};
}

// Expects pixel (x, y) of image to hold blue, green, red (each within 3) and 0.
void expect_pixel(const uint32_t* image, int width, int x, int y, int red, int green, int blue)
{
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(image + y * width + x);
    EXPECT_NEAR(bytes[0], blue, 3) << x << "," << y;
    EXPECT_NEAR(bytes[1], green, 3) << x << "," << y;
    EXPECT_NEAR(bytes[2], red, 3) << x << "," << y;
    EXPECT_EQ(bytes[3], 0) << x << "," << y;
}

// Each test writes its pictures into its own scratch directory.
class Jpeg : public ScratchDirTest {};

TEST_F(Jpeg, ArchivedPictureDecodesToBlueGreenRedZero)
{
    const std::string picture = support_jpeg(320, 200, 3, 100, quadrants);
    ASSERT_GT(picture.size(), 4096u);  // more than one source refill
    support_write_file("test.pak", pak_archive({{"intro.jpg", picture}}));
    pak_mount("test.pak");
    int32_t height = 0;
    uint32_t* image = load_jpeg("INTRO.JPG", 320, 200, &height);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(height, 200);
    const uint8_t* first = reinterpret_cast<const uint8_t*>(image);
    EXPECT_NEAR(first[0], 10, 3);   // blue of the top-left pixel
    EXPECT_NEAR(first[1], 40, 3);   // green
    EXPECT_NEAR(first[2], 200, 3);  // red
    EXPECT_EQ(first[3], 0);
    expect_pixel(image, 320, 319, 0, 10, 200, 40);
    expect_pixel(image, 320, 0, 199, 40, 10, 200);
    expect_pixel(image, 320, 319, 199, 250, 250, 250);
    for (int i = 0; i < 320 * 200; ++i)
        ASSERT_EQ(image[i] >> 24, 0u) << i;
    std::free(image);
}

TEST_F(Jpeg, GreyscaleComesOutGreyAndTallerPicturesAreAccepted)
{
    support_write_file("grey.jpg", support_jpeg(32, 40, 1, 100, [](int, int y) {
                           return std::vector<uint8_t>{uint8_t(y < 24 ? 77 : 180)};
                       }));
    int32_t height = 0;
    uint32_t* image = load_jpeg("grey.jpg", 32, 32, &height);
    EXPECT_EQ(height, 40);
    expect_pixel(image, 32, 5, 0, 77, 77, 77);
    expect_pixel(image, 32, 31, 39, 180, 180, 180);
    std::free(image);
}

TEST_F(Jpeg, TruncatedPictureDecodesFullSizeWithAWarning)
{
    // Top half flat, bottom half noisy so the cut falls in the bottom rows.
    uint32_t seed = 7;
    const std::string picture = support_jpeg(320, 200, 3, 100, [&](int, int y) {
        if (y < 64)
            return std::vector<uint8_t>{200, 40, 10};
        seed = seed * 1103515245u + 12345u;
        return std::vector<uint8_t>{uint8_t(seed >> 24), uint8_t(seed >> 16), uint8_t(seed >> 8)};
    });
    support_write_file("cut.jpg", picture.substr(0, picture.size() / 2));
    testing::internal::CaptureStderr();
    int32_t height = 0;
    uint32_t* image = load_jpeg("cut.jpg", 320, 200, &height);
    const std::string output = testing::internal::GetCapturedStderr();
    EXPECT_NE(output.find("Premature end of JPEG file"), std::string::npos) << output;
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(height, 200);
    expect_pixel(image, 320, 0, 0, 200, 40, 10);
    expect_pixel(image, 320, 319, 63, 200, 40, 10);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(image)[320 * 200 * 4 - 1], 0);  // last byte is written
    std::free(image);
}

TEST_F(Jpeg, UndecodablePicturesStopNamingTheFile)
{
    support_write_file("empty.jpg", "");
    EXPECT_NE(fatal_output([] { load_jpeg("empty.jpg", 320, 200); })
                  .find("error: picture empty.jpg cannot be decoded: Empty input file\n"),
              std::string::npos);
    support_write_file("text.jpg", "hello, world");
    EXPECT_NE(fatal_output([] { load_jpeg("text.jpg", 320, 200); })
                  .find("error: picture text.jpg cannot be decoded: Not a JPEG file"),
              std::string::npos);
    EXPECT_NE(fatal_output([] { load_jpeg("none.jpg", 320, 200); }).find("error: file not found [none.jpg]\n"),
              std::string::npos);
}

TEST_F(Jpeg, WrongSizeOrColourModelStopsNamingBoth)
{
    support_write_file("wide.jpg", support_jpeg(320, 200, 3, 100, quadrants));
    EXPECT_NE(fatal_output([] { load_jpeg("wide.jpg", 256, 256); })
                  .find("error: picture wide.jpg is 320x200 pixels, expected 256x256 (or taller)\n"),
              std::string::npos);
    // The width must be exact even when the picture is tall enough.
    EXPECT_NE(fatal_output([] { load_jpeg("wide.jpg", 256, 100); })
                  .find("error: picture wide.jpg is 320x200 pixels, expected 256x100 (or taller)\n"),
              std::string::npos);
    support_write_file("cmyk.jpg", support_jpeg(16, 16, 4, 100, [](int, int) {
                           return std::vector<uint8_t>{1, 2, 3, 4};
                       }));
    EXPECT_NE(fatal_output([] { load_jpeg("cmyk.jpg", 16, 16); })
                  .find("error: picture cmyk.jpg has 4 colour components; only colour and greyscale "
                        "pictures load\n"),
              std::string::npos);
}

TEST_F(Jpeg, PicturesUpTo4096RowsLoadTallerOnesStop)
{
    auto flat = [](int, int) { return std::vector<uint8_t>{90}; };
    support_write_file("edge.jpg", support_jpeg(8, 4096, 1, 50, flat));
    int32_t height = 0;
    uint32_t* image = load_jpeg("edge.jpg", 8, 200, &height);
    EXPECT_EQ(height, 4096);
    std::free(image);
    support_write_file("tall.jpg", support_jpeg(8, 4097, 1, 50, flat));
    EXPECT_EQ(fatal_output([] { load_jpeg("tall.jpg", 8, 200); }),
              "error: picture tall.jpg is 8x4097 pixels, taller than the 4096 rows a picture may have\n");
    // The header alone gives the size; bytes that are no picture give nothing.
    const std::string bytes = support_jpeg(8, 4097, 1, 50, flat);
    uint32_t width = 0, rows = 0;
    int components = 0;
    ASSERT_TRUE(jpeg_header_size(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &width, &rows,
                                 &components));
    EXPECT_EQ(width, 8u);
    EXPECT_EQ(rows, 4097u);
    EXPECT_EQ(components, 1);
    EXPECT_FALSE(jpeg_header_size(reinterpret_cast<const uint8_t*>("hello"), 5, &width, &rows, &components));
    EXPECT_FALSE(jpeg_header_size(nullptr, 0, &width, &rows, &components));
}

}  // namespace
