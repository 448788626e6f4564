// The S3M writer: byte layout worked out by hand from the format's rules, the
// checks on bad input, and libopenmpt's view of a written module.
#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.h>

#include "s3m_writer.h"

namespace {

uint32_t u16_at(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t u32_at(const std::vector<uint8_t>& b, size_t at) { return u16_at(b, at) | u16_at(b, at + 2) << 16; }

// Two channels, orders 0, +++, 1 (odd: padded), one looped sample of 20
// points, pattern 0 with a note and a speed command on row 0, pattern 1 empty.
S3mModule small_module()
{
    S3mModule module;
    module.name = "small";
    module.channel_count = 2;
    module.orders = {0, S3M_ORDER_SKIP, 1};
    S3mSample sample;
    sample.name = "ramp";
    for (int i = 0; i < 20; ++i)
        sample.data.push_back(static_cast<int8_t>(i * 6 - 60));
    sample.loop = true;
    sample.loop_start = 4;
    sample.loop_end = 20;
    module.samples.push_back(sample);
    module.patterns.resize(2);
    module.patterns[0].cells[0][0] = s3m_cell(s3m_note(4, 0), 1, 32);
    module.patterns[0].cells[0][1] = s3m_cell(S3M_NO_NOTE, 0, S3M_NO_VOLUME, s3m_effect('A'), 3);
    return module;
}

}  // namespace

TEST(S3mWriter, LayoutOfSmallModule)
{
    std::vector<uint8_t> b;
    std::string error;
    ASSERT_TRUE(s3m_write(small_module(), b, error)) << error;

    // Header 0x60, 4 orders, 1 + 2 pointers: 106 bytes, so the sample header
    // sits at 0x70 (paragraph 7), pattern 0 at 0xC0 (12), pattern 0 takes
    // 2 + 8 + 63 = 73 bytes, so pattern 1 sits at 0x110 (17) and takes 66,
    // and the sample data sits at 0x160 (22): 0x160 + 20 = 372 bytes in all.
    ASSERT_EQ(b.size(), 372u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[0]), 5), "small");
    EXPECT_EQ(b[0x1C], 0x1A);
    EXPECT_EQ(b[0x1D], 16);
    EXPECT_EQ(u16_at(b, 0x20), 4u);
    EXPECT_EQ(u16_at(b, 0x22), 1u);
    EXPECT_EQ(u16_at(b, 0x24), 2u);
    EXPECT_EQ(u16_at(b, 0x28), 0x1320u);
    EXPECT_EQ(u16_at(b, 0x2A), 2u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[0x2C]), 4), "SCRM");
    EXPECT_EQ(b[0x31], 6);
    EXPECT_EQ(b[0x32], 125);
    EXPECT_EQ(b[0x33], 48 | 0x80);
    EXPECT_EQ(b[0x34], 16);
    EXPECT_EQ(b[0x40], 0);    // left 1
    EXPECT_EQ(b[0x41], 8);    // right 1
    EXPECT_EQ(b[0x42], 255);  // unused
    EXPECT_EQ(b[0x60], 0);
    EXPECT_EQ(b[0x61], 254);
    EXPECT_EQ(b[0x62], 1);
    EXPECT_EQ(b[0x63], 255);
    EXPECT_EQ(u16_at(b, 0x64), 7u);
    EXPECT_EQ(u16_at(b, 0x66), 12u);
    EXPECT_EQ(u16_at(b, 0x68), 17u);

    // Sample header.
    EXPECT_EQ(b[0x70], 1);
    EXPECT_EQ(b[0x70 + 0x0D], 0);
    EXPECT_EQ(u16_at(b, 0x70 + 0x0E), 22u);
    EXPECT_EQ(u32_at(b, 0x70 + 0x10), 20u);
    EXPECT_EQ(u32_at(b, 0x70 + 0x14), 4u);
    EXPECT_EQ(u32_at(b, 0x70 + 0x18), 20u);
    EXPECT_EQ(b[0x70 + 0x1C], 64);
    EXPECT_EQ(b[0x70 + 0x1F], 1);
    EXPECT_EQ(u32_at(b, 0x70 + 0x20), 8363u);
    EXPECT_NE(u16_at(b, 0x70 + 0x28), 0u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[0x70 + 0x30]), 4), "ramp");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[0x70 + 0x4C]), 4), "SCRS");

    // Pattern 0: length, then row 0 = channel 0 with note, instrument and
    // volume (0x60), channel 1 with an effect (0x81), end of row; then 63 ends.
    EXPECT_EQ(u16_at(b, 0xC0), 73u);
    const std::vector<uint8_t> row0 = {0x60, 0x40, 1, 32, 0x81, 1, 3, 0};
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 0xC2, b.begin() + 0xCA), row0);
    for (size_t at = 0xCA; at < 0xC0 + 73; ++at)
        ASSERT_EQ(b[at], 0) << at;
    EXPECT_EQ(u16_at(b, 0x110), 66u);

    // Sample data unsigned: -60 is stored as 68, the last point 54 as 182.
    EXPECT_EQ(b[0x160], 68);
    EXPECT_EQ(b[0x160 + 19], 182);
}

TEST(S3mWriter, RefusesWhatTheFormatCannotHold)
{
    std::vector<uint8_t> b;
    std::string error;
    S3mModule module = small_module();
    module.channel_count = 17;
    EXPECT_FALSE(s3m_write(module, b, error));
    EXPECT_NE(error.find("channel count 17"), std::string::npos);

    module = small_module();
    module.orders.push_back(2);  // there are only patterns 0 and 1
    EXPECT_FALSE(s3m_write(module, b, error));
    EXPECT_NE(error.find("pattern 2"), std::string::npos);

    module = small_module();
    module.samples[0].loop_end = 21;
    EXPECT_FALSE(s3m_write(module, b, error));
    EXPECT_NE(error.find("sample 1"), std::string::npos);

    EXPECT_FALSE(s3m_save(small_module(), "/nonexistent-dir/x.s3m", error));
    EXPECT_NE(error.find("/nonexistent-dir/x.s3m"), std::string::npos);
}

TEST(S3mWriter, LibopenmptReadsAScreamTracker320Module)
{
    std::vector<uint8_t> b;
    std::string error;
    ASSERT_TRUE(s3m_write(small_module(), b, error)) << error;
    openmpt_module* mod = openmpt_module_create_from_memory2(b.data(), b.size(), nullptr, nullptr, nullptr,
                                                             nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(mod, nullptr);
    const char* type = openmpt_module_get_metadata(mod, "type");
    const char* tracker = openmpt_module_get_metadata(mod, "tracker");
    EXPECT_STREQ(type, "s3m");
    EXPECT_EQ(std::string(tracker).rfind("Scream Tracker 3.20", 0), 0u) << tracker;
    openmpt_free_string(type);
    openmpt_free_string(tracker);
    // The trailing 255 is not counted; the +++ marker keeps its place (the
    // library shows it as 65534).
    EXPECT_EQ(openmpt_module_get_num_orders(mod), 3);
    EXPECT_EQ(openmpt_module_get_order_pattern(mod, 1), 65534);
    EXPECT_EQ(openmpt_module_get_num_patterns(mod), 2);
    EXPECT_EQ(openmpt_module_get_num_samples(mod), 1);
    EXPECT_EQ(openmpt_module_get_num_channels(mod), 2);
    // Speed 3 from row 0 on, tempo 125: 2 x 64 rows of 3 x 2.5 / 125 s = 7.68 s.
    EXPECT_NEAR(openmpt_module_get_duration_seconds(mod), 7.68, 1e-6);
    // Pattern 0, row 0, channel 0 holds C-4 with sample 1 and volume 32.
    EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(mod, 0, 0, 0, OPENMPT_MODULE_COMMAND_NOTE),
              4 * 12 + 1 + 12);
    EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(mod, 0, 0, 0, OPENMPT_MODULE_COMMAND_INSTRUMENT), 1);
    openmpt_module_destroy(mod);
}
