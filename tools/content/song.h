// The production's module "wuntje.s3m": synthesised instruments and 17 composed
// patterns whose sections follow the timeline, with the lead singing the word
// rows and the drums hitting the scenes' beat rows. Used by content_generate and
// the content tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/timeline_steps.h"
#include "s3m_writer.h"

// Channels of the module.
enum SongChannel {
    SONG_KICK,       // bass drum
    SONG_SNARE,      // snare and clap
    SONG_HAT,        // closed hat
    SONG_CYMBAL,     // open hat and crash
    SONG_BASS,       // bass line
    SONG_CHORD,      // first of three chord voices (pad or stab)
    SONG_LEAD = SONG_CHORD + 3,  // the singing lead
    SONG_ARP,        // arpeggio, and the closing chord's fourth voice
    SONG_ECHO,       // the lead again, three rows later and softer
    SONG_CHANNELS,   // number of channels
};

// Instrument numbers (1-based, as in the pattern cells).
enum SongInstrument {
    SONG_I_KICK = 1,
    SONG_I_SNARE,
    SONG_I_CLOSED_HAT,
    SONG_I_OPEN_HAT,
    SONG_I_CLAP,
    SONG_I_CRASH,
    SONG_I_BASS,
    SONG_I_PAD,
    SONG_I_STAB,
    SONG_I_LEAD,
    SONG_I_PLUCK,
};

// Number of orders (one pattern each): up to the one the timeline's last step
// starts in, where the production ends on that step's row mark.
constexpr int song_order_count = static_cast<int>(timeline_first_order(timeline_step_count)) + 1;

// Builds the whole module record. Called by song_bytes and the tests.
S3mModule song_compose();

// The module as S3M bytes; false with a message when the writer refuses it.
bool song_bytes(std::vector<uint8_t>& out, std::string& error);
