// The row tables of the scenes: the words spelt over the warp, blur and closing
// pictures, and the beat tables of the pulse, flicker and blur scenes, all indexed
// by the music's row. Used by those scenes and by the content generator, which
// places the music's accents on the same rows.
#pragma once
#include <cstdint>

// Number of words in the main list and in the closing list.
constexpr int main_word_count = 20;
constexpr int closing_word_count = 8;

// The main list of words, shown over the warp and blur scenes; index 10 is one blank.
extern const char* const MainWordList[main_word_count];
// The closing list of words, shown over the closing picture; index 7 is six blanks.
extern const char* const ClosingWordList[closing_word_count];

// Main-list word index per row: entries 0..63 for the first variant (`music_row`),
// 64..127 for the second (`music_row` + 64).
extern const int32_t MainWordTable[128];
// Closing-list word index per row of the closing pattern.
extern const int32_t ClosingWordTable[64];

// Pulse scene beat tables, indexed by `music_row` & 63: first variant restarts on 1 or 2,
// second only on 1.
extern const int32_t pulse_rows_a[64];
extern const int32_t pulse_rows_b[64];
// Flicker scene background per row: 0 the first picture, 1 the second.
extern const int32_t flicker_rows[64];
// Blur scene beat tables, indexed by `music_row` & 63; 1 or 2 restarts the beat.
extern const int32_t blur_rows_a[64];
extern const int32_t blur_rows_b[64];
