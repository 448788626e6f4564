// The rendering core shared by the three sound devices: one libopenmpt module
// played looped, at an emulated playback rate, with a volume slide. Used only
// inside the platform's sound service.
#pragma once
#include <cstddef>
#include <cstdint>

#include <libopenmpt/libopenmpt.h>

struct SoundPlayer {
    openmpt_module* module;    // the loaded module; nullptr when none
    uint32_t output_rate;      // frames per second handed to the device
    uint32_t playback_rate;    // emulated playback rate of the 44100 Hz module
    bool playing;              // true after sound_music_play
    bool restart;              // play was asked for: go to order 0, row 0 first
    bool exhausted;            // the module gave no more audio (keeps its last position)
    uint32_t slide_frames;     // length of the volume slide in output frames
    uint32_t slide_left;       // frames of the slide still to render; 0 when none runs
    bool muted;                // the slide has reached silence
    uint32_t position;         // order | row << 16 at the end of the last render
    double song_seconds;       // length of one pass through the song; 0 when unknown
    uint32_t passes;           // times the song has passed its end since play began
};

// Puts player in its opening state for output_rate frames per second (no module).
void sound_player_reset(SoundPlayer& player, uint32_t output_rate);
// Makes a looped module from data without dither; nullptr when libopenmpt refuses it.
openmpt_module* sound_player_create(const uint8_t* data, size_t size);
// Renders count frames of interleaved 16-bit stereo into out (silence while
// nothing plays) and updates the position.
void sound_player_render(SoundPlayer& player, int16_t* out, size_t count);
// Starts the one-second volume slide to silence.
void sound_player_slide(SoundPlayer& player);
// Destroys the module (nullptr is fine) and resets player.
void sound_player_release(SoundPlayer& player);
