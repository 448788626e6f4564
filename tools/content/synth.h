// Synthesised instruments of the module: drums from swept sines and filtered
// noise, bass, pad, stab, lead and pluck from summed harmonics, all as 8-bit
// samples tuned so that note C-4 sounds at middle C (261.63 Hz).
// Used by the song composer (song.cpp).
#pragma once
#include "s3m_writer.h"

S3mSample synth_kick();
S3mSample synth_snare();
S3mSample synth_closed_hat();
S3mSample synth_open_hat();
S3mSample synth_clap();
S3mSample synth_crash();
// Warm saw bass whose brightness falls after the attack and then sustains (looped).
S3mSample synth_bass();
// Three detuned saws, looped seamlessly over about two seconds.
S3mSample synth_pad();
// The pad's sound with a short decay, for chord stabs.
S3mSample synth_stab();
// A bright, slightly hollow square (looped); vibrato comes from pattern effects.
S3mSample synth_lead();
// A soft bell-like pluck for arpeggios.
S3mSample synth_pluck();
