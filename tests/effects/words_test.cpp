#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/frame.h"
#include "effects/blend.h"
#include "effects/scene_tables.h"
#include "effects/words.h"
#include "core/music_position.h"

namespace {

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }

// A font of 26 glyphs: glyph k is filled with red k + 1, green 0x40 and blue
// 0x10 except its top-left pixel, which is pure blue 0x80; so each glyph's
// letter and corner can be read back from the frame.
struct Words : testing::Test {
    void SetUp() override
    {
        init_blend_tables();
        frame_allocate(320, 200);
        font.assign(32 * 32 * 26, 0);
        for (int k = 0; k < 26; ++k) {
            for (int i = 0; i < 1024; ++i)
                font[k * 1024 + i] = rgb(k + 1, 0x40, 0x10);
            font[k * 1024] = rgb(0, 0, 0x80);
        }
        words_font = font.data();
        init_closing_words();
        closing_row4_seen = 0;
    }
    void TearDown() override
    {
        words_font = nullptr;
        frame_free();
    }

    // Letter whose glyph covers (x, y) on a black frame, '.' where nothing was added.
    char letter_at(int x, int y) const
    {
        uint32_t p = frame_buffer[y * 320 + x];
        return p == 0 ? '.' : static_cast<char>('A' + ((p >> 16) & 0xFF) - 1);
    }
    // The letters on row 180 at the 32-pixel cells starting from column `left`.
    std::string text_from(int left, int n) const
    {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += letter_at(left + 32 * i + 5, 180);
        return s;
    }
    bool frame_black() const
    {
        for (int i = 0; i < 64000; ++i)
            if (frame_buffer[i] != 0)
                return false;
        return true;
    }

    std::vector<uint32_t> font;
};

TEST_F(Words, GlyphAddsWithSaturationAndClearsTheFourthByte)
{
    fill_buffer(frame_buffer, 0xAA000000u | rgb(250, 0x10, 0xFF));
    draw_glyph(10, 20, 'C', frame_buffer);
    // 250 + 3 = 253; 0x10 + 0x40; 0xFF + 0x10 saturates.
    EXPECT_EQ(frame_buffer[21 * 320 + 11], rgb(253, 0x50, 0xFF));
    EXPECT_EQ(frame_buffer[20 * 320 + 10], rgb(250, 0x10, 0xFF));  // top-left: blue only, saturated
    EXPECT_EQ(frame_buffer[51 * 320 + 41], rgb(253, 0x50, 0xFF));  // bottom-right corner of the glyph
    EXPECT_EQ(frame_buffer[52 * 320 + 41], 0xAA000000u | rgb(250, 0x10, 0xFF));
    EXPECT_EQ(frame_buffer[51 * 320 + 42], 0xAA000000u | rgb(250, 0x10, 0xFF));
    // A white frame stays white.
    fill_buffer(frame_buffer, rgb(255, 255, 255));
    draw_glyph(0, 0, 'Z', frame_buffer);
    EXPECT_EQ(frame_buffer[5 * 320 + 5], rgb(255, 255, 255));
}

TEST_F(Words, CharactersWithoutAGlyphDrawNothing)
{
    const char others[] = {' ', '@', '[', 'a', '0', static_cast<char>(0xC1)};
    for (char c : others)
        draw_glyph(100, 100, c, frame_buffer);
    EXPECT_TRUE(frame_black());
}

TEST_F(Words, GlyphIsClippedToTheFrame)
{
    draw_glyph(300, 190, 'A', frame_buffer);
    draw_glyph(-16, -16, 'B', frame_buffer);
    EXPECT_EQ(letter_at(319, 199), 'A');
    EXPECT_EQ(letter_at(0, 0), 'B');
    EXPECT_EQ(letter_at(15, 15), 'B');
    EXPECT_EQ(letter_at(16, 16), '.');
    EXPECT_EQ(frame_buffer[64000], 0u);  // nothing written past the picture
}

TEST_F(Words, MainWordsByRow)
{
    // init_words also loads the font: fill the buffers as it does.
    for (int i = 0; i < main_word_count; ++i)
        std::strcpy(main_words[i], MainWordList[i]);

    music_row = 10;  // the one-blank word
    draw_words_a(frame_buffer);
    EXPECT_TRUE(frame_black());

    music_row = 25;  // "KLOP" from x = 160 - 64
    draw_words_a(frame_buffer);
    EXPECT_EQ(text_from(96, 4), "KLOP");
    EXPECT_EQ(letter_at(95, 180), '.');
    EXPECT_EQ(letter_at(224, 180), '.');
    EXPECT_EQ(frame_buffer[164 * 320 + 96], rgb(0, 0, 0x80));  // top-left corner of the K
    EXPECT_EQ(letter_at(100, 163), '.');
    EXPECT_EQ(letter_at(100, 195), 'K');
    EXPECT_EQ(letter_at(100, 196), '.');

    fill_buffer(frame_buffer, 0);
    music_row = 27;  // "BOMMEL" from x = 64
    draw_words_a(frame_buffer);
    EXPECT_EQ(text_from(64, 6), "BOMMEL");
    EXPECT_EQ(letter_at(63, 180), '.');

    fill_buffer(frame_buffer, 0);
    draw_words_b(frame_buffer);  // row 27 + 64: "O" at x = 144
    EXPECT_EQ(text_from(144, 1), "O");
    EXPECT_EQ(letter_at(143, 180), '.');
    EXPECT_EQ(letter_at(176, 180), '.');

    fill_buffer(frame_buffer, 0);
    music_row = 43;
    draw_words_b(frame_buffer);  // "EEN" from x = 112
    EXPECT_EQ(text_from(112, 3), "EEN");

    // Rows past the tables draw nothing.
    fill_buffer(frame_buffer, 0);
    music_row = 64;
    draw_words_b(frame_buffer);
    music_row = 128;
    draw_words_a(frame_buffer);
    music_row = 0xFFFFFFC0u;  // would wrap to 0 if 64 were added
    draw_words_b(frame_buffer);
    EXPECT_TRUE(frame_black());
}

TEST_F(Words, ClosingWordsBeforeAndAfterRow4)
{
    for (uint32_t row = 0; row < 4; ++row) {
        fill_buffer(frame_buffer, 0);
        music_row = row;
        draw_closing_words(frame_buffer);
        EXPECT_EQ(text_from(112, 3), "NOU") << row;
    }
    fill_buffer(frame_buffer, 0);
    music_row = 4;
    draw_closing_words(frame_buffer);
    EXPECT_EQ(closing_row4_seen, 1);
    EXPECT_EQ(text_from(96, 4), "KNUL");
    for (uint32_t row = 0; row < 3; ++row) {
        fill_buffer(frame_buffer, 0);
        music_row = row;
        draw_closing_words(frame_buffer);
        EXPECT_TRUE(frame_black()) << row;
    }
    music_row = 3;  // row 3 still shows the first word
    draw_closing_words(frame_buffer);
    EXPECT_EQ(text_from(112, 3), "NOU");

    fill_buffer(frame_buffer, 0);
    music_row = 14;
    draw_closing_words(frame_buffer);
    EXPECT_EQ(text_from(80, 5), "TEERD");
    fill_buffer(frame_buffer, 0);
    for (uint32_t row : {18u, 61u, 64u, 1000u}) {
        music_row = row;  // six blanks, then past the table
        draw_closing_words(frame_buffer);
    }
    EXPECT_TRUE(frame_black());
    music_row = 62;
    draw_closing_words(frame_buffer);
    EXPECT_EQ(text_from(112, 3), "NOU");
}

}  // namespace
