// Words spelt one at a time in 32 x 32 glyphs from "font.jpg", centred near the
// bottom of the frame and added with saturation. The timeline draws them over
// the warp and blur scenes (main list) and over the closing picture.
#pragma once
#include <cstdint>

#include "effects/scene_tables.h"

constexpr int word_buffer_size = 30;  // bytes per word buffer, terminating zero included

extern uint32_t* words_font;                     // "font.jpg": 32 pixels wide, glyph k at rows 32k..32k+31
extern char main_words[main_word_count][word_buffer_size];    // the main list, copied by init_words
extern char closing_words[closing_word_count][word_buffer_size];  // the closing list, copied by init_closing_words
extern uint8_t closing_row4_seen;                // set the first time the closing words run on row 4

// Copies the main list into its buffers and loads the font; called once while preparing.
void init_words();
// Copies the closing list into its buffers; called once while preparing.
void init_closing_words();

// Adds glyph `letter` with its top-left corner at (x, y). A blank, or any
// character outside A..Z, draws nothing; pixels outside the frame are skipped.
void draw_glyph(int32_t x, int32_t y, char letter, uint32_t* frame);

// Called by the timeline after the warp and first blur variant: the main-list
// word of MainWordTable[music_row].
void draw_words_a(uint32_t* frame);
// Called after the warp in its last order and the second blur variant: the
// word of MainWordTable[music_row + 64].
void draw_words_b(uint32_t* frame);
// Called after the closing picture is copied: the closing word of the row,
// none for rows 0..2 once row 4 has been seen.
void draw_closing_words(uint32_t* frame);
