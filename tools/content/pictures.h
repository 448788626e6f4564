// The generator's pictures, each painted procedurally on a canvas of its final size.
// Called by content_generate, which encodes them as JPEG.
#pragma once
#include "paint.h"

// "font.jpg": glyphs A..Z, 32 x 32 each, stacked top to bottom (32 x 832).
Canvas picture_font();
// "intro.jpg": the title card, 320 x 200, with fine detail at its centre.
Canvas picture_intro();
// "feli.jpg": the closing card, 320 x 200, rows 164..195 kept dark.
Canvas picture_feli();
// "norm.jpg" (state 0) and "norm2.jpg" (state 1): the party scene with its lights
// in two schemes, identical elsewhere.
Canvas picture_norm(int state);
// "heet.jpg": a candle flame in the right-hand 120 columns on exact black.
Canvas picture_heet();
// "zwart.jpg": the bright chequered texture of the pulsing object, in four
// quarters of light for its facets (256 x 256).
Canvas picture_zwart();
// "mooier.jpg": the calmer texture of the pulsing object's surround (256 x 256).
Canvas picture_mooier();
// "atg7.jpg": a seamless diamond pattern (256 x 256).
Canvas picture_atg7();
// "marb2.jpg": light marble with saturated veins, fine enough to read on the
// blurred sphere, seamless left to right (256 x 256).
Canvas picture_marb2();
// "mulmap.jpg": the warp scene's light map, grey, dark under the words, 320 x 200.
Canvas picture_mulmap();
// "scroll.jpg": the scroller's message, light grey on black, 2000 x 40.
Canvas picture_scroll();

// The scroller's message (a greeting of our own).
extern const char* const scroll_message;
// Left edge of the message in "scroll.jpg", so that it enters from the right.
constexpr int scroll_text_start = 330;
