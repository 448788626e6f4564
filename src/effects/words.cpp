// Beat-synchronised words: glyphs from the font picture added onto the frame.
#include "effects/words.h"

#include <cstring>

#include "core/frame.h"
#include "effects/blend.h"
#include "effects/scene_tables.h"
#include "resources/jpeg.h"
#include "core/music_position.h"

uint32_t* words_font = nullptr;
char main_words[main_word_count][word_buffer_size];
char closing_words[closing_word_count][word_buffer_size];
uint8_t closing_row4_seen = 0;

namespace {

constexpr int32_t glyph_size = 32;     // glyphs are 32 x 32 pixels
constexpr int32_t glyph_count = 26;    // A..Z, one below the other
constexpr int32_t word_top = 164;      // letters cover rows 164..195
constexpr int32_t word_centre = 160;   // words are centred on this column

// Copies text into a word buffer, cut to fit with its terminating zero.
void words_copy(char* buffer, const char* text)
{
    std::strncpy(buffer, text, word_buffer_size - 1);
    buffer[word_buffer_size - 1] = 0;
}

// Draws one word centred on column 160, letters on rows 164..195.
void draw_word(const char* word, uint32_t* frame)
{
    int32_t n = static_cast<int32_t>(std::strlen(word));
    int32_t x = word_centre - (n * glyph_size) / 2;
    for (int32_t i = 0; i < n; ++i) {
        draw_glyph(x, word_top, word[i], frame);
        x += glyph_size;
    }
}

}  // namespace

void init_words()
{
    for (int i = 0; i < main_word_count; ++i)
        words_copy(main_words[i], MainWordList[i]);
    // The loader stops with a message naming the file if the font is not
    // 32 pixels wide or holds fewer than the 26 glyphs.
    words_font = load_jpeg("font.jpg", glyph_size, glyph_size * glyph_count);
}

void init_closing_words()
{
    for (int i = 0; i < closing_word_count; ++i)
        words_copy(closing_words[i], ClosingWordList[i]);
}

void draw_glyph(int32_t x, int32_t y, char letter, uint32_t* frame)
{
    // Only A..Z have glyphs: a blank or any other byte draws nothing, so no
    // character can make the loop read outside the font.
    if (letter < 'A' || letter > 'Z' || words_font == nullptr)
        return;
    const uint32_t* glyph = words_font + (letter - 'A') * glyph_size * glyph_size;
    for (int32_t row = 0; row < glyph_size; ++row) {
        int32_t fy = y + row;
        if (fy < 0 || fy >= frame_height)
            continue;
        uint32_t* out = frame + row_offset[fy];
        const uint32_t* in = glyph + row * glyph_size;
        for (int32_t column = 0; column < glyph_size; ++column) {
            int32_t fx = x + column;
            if (fx < 0 || fx >= frame_width)
                continue;
            out[fx] = blend_add_pixel(out[fx], in[column]) & 0x00FFFFFFu;
        }
    }
}

void draw_words_a(uint32_t* frame)
{
    if (music_row < 128)
        draw_word(main_words[MainWordTable[music_row]], frame);
}

void draw_words_b(uint32_t* frame)
{
    if (music_row < 64)
        draw_word(main_words[MainWordTable[music_row + 64]], frame);
}

void draw_closing_words(uint32_t* frame)
{
    uint32_t r = music_row;  // unsigned: a negative row cannot occur
    if (r == 4)
        closing_row4_seen = 1;
    if (r >= 64 || (r < 3 && closing_row4_seen))
        return;
    draw_word(closing_words[ClosingWordTable[r]], frame);
}
