#include <gtest/gtest.h>

#include <cstring>

#include "effects/scene_tables.h"

namespace {

// The word shown by the first variant at a row, by the second variant at a row.
const char* word_a(int row) { return MainWordList[MainWordTable[row]]; }
const char* word_b(int row) { return MainWordList[MainWordTable[row + 64]]; }

TEST(SceneTables, MainWordsAtKnownRows)
{
    EXPECT_STREQ(word_a(0), "JA");
    EXPECT_STREQ(word_a(10), " ");
    EXPECT_STREQ(word_a(25), "KLOP");
    EXPECT_STREQ(word_a(27), "BOMMEL");
    EXPECT_STREQ(word_a(29), "IS");
    EXPECT_STREQ(word_b(11), "VOK");
    EXPECT_STREQ(word_b(27), "O");
    EXPECT_STREQ(word_b(43), "EEN");
    EXPECT_STREQ(word_b(45), "VIVUR");
    EXPECT_STREQ(word_b(63), " ");
    // Every entry names a word of the list, and no word is longer than six letters.
    for (int i = 0; i < 128; ++i) {
        ASSERT_GE(MainWordTable[i], 0);
        ASSERT_LT(MainWordTable[i], main_word_count);
    }
    for (int i = 0; i < main_word_count; ++i)
        EXPECT_LE(std::strlen(MainWordList[i]), 6u);
}

TEST(SceneTables, ClosingWordsByRow)
{
    const char* expected[64];
    for (int r = 0; r < 64; ++r)
        expected[r] = "      ";
    for (int r = 0; r <= 3; ++r) expected[r] = "NOU";
    for (int r = 4; r <= 6; ++r) expected[r] = "KNUL";
    expected[7] = "GE";
    expected[8] = expected[9] = "FE";
    expected[10] = expected[11] = "LI";
    expected[12] = expected[13] = "CI";
    for (int r = 14; r <= 17; ++r) expected[r] = "TEERD";
    expected[62] = expected[63] = "NOU";
    for (int r = 0; r < 64; ++r)
        EXPECT_STREQ(ClosingWordList[ClosingWordTable[r]], expected[r]) << "row " << r;
}

TEST(SceneTables, BeatTables)
{
    // Pulse a: rows 16..30 even are all marked, 17 is not.
    EXPECT_EQ(pulse_rows_a[0], 1);
    EXPECT_EQ(pulse_rows_a[4], 1);
    EXPECT_EQ(pulse_rows_a[8], 0);
    for (int r = 16; r <= 30; r += 2)
        EXPECT_EQ(pulse_rows_a[r], 1) << r;
    EXPECT_EQ(pulse_rows_a[17], 0);
    EXPECT_EQ(pulse_rows_a[52], 1);
    // Pulse b: row 38 holds the 2 that only the first variant follows; rows 48.. are empty.
    EXPECT_EQ(pulse_rows_b[38], 2);
    EXPECT_EQ(pulse_rows_b[39], 1);
    EXPECT_EQ(pulse_rows_b[45], 1);
    EXPECT_EQ(pulse_rows_b[46], 0);
    for (int r = 48; r < 64; ++r)
        EXPECT_EQ(pulse_rows_b[r], 0) << r;
    // Flicker: rows 0..3 first picture, 4..9 second, 48..51 second, 52.. first.
    for (int r = 0; r <= 3; ++r) EXPECT_EQ(flicker_rows[r], 0) << r;
    for (int r = 4; r <= 9; ++r) EXPECT_EQ(flicker_rows[r], 1) << r;
    for (int r = 48; r <= 51; ++r) EXPECT_EQ(flicker_rows[r], 1) << r;
    for (int r = 52; r < 64; ++r) EXPECT_EQ(flicker_rows[r], 0) << r;
    // Blur: a marks 0, 3, 15 and the odd rows 17..31; b holds the 2 at 38 too.
    EXPECT_EQ(blur_rows_a[0], 1);
    EXPECT_EQ(blur_rows_a[3], 1);
    EXPECT_EQ(blur_rows_a[15], 1);
    for (int r = 17; r <= 31; r += 2)
        EXPECT_EQ(blur_rows_a[r], 1) << r;
    EXPECT_EQ(blur_rows_a[16], 0);
    EXPECT_EQ(blur_rows_a[63], 1);
    EXPECT_EQ(blur_rows_b[0], 0);
    EXPECT_EQ(blur_rows_b[11], 1);
    EXPECT_EQ(blur_rows_b[38], 2);
    EXPECT_EQ(blur_rows_b[47], 0);
    // Marks per table, counted by hand from the tables.
    auto marks = [](const int32_t* t) { int n = 0; for (int r = 0; r < 64; ++r) n += t[r] != 0; return n; };
    EXPECT_EQ(marks(pulse_rows_a), 14);
    EXPECT_EQ(marks(pulse_rows_b), 15);
    EXPECT_EQ(marks(blur_rows_a), 15);
    EXPECT_EQ(marks(blur_rows_b), 14);
}

}  // namespace
