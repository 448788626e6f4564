// The millisecond clock and sleep behind the timer and the music's stop
// sequence. Live runs read a steady wall clock; headless and capture runs use a
// virtual clock that only moves when presentation or a sleep moves it.
#pragma once
#include <cstdint>

// Milliseconds since an arbitrary base, wrapping in 32 bits like the system tick count.
uint32_t clock_milliseconds();
// Pauses for ms milliseconds; on the virtual clock, advances it by that much.
void clock_sleep(uint32_t ms);
// Nanoseconds of the steady wall clock, in every mode: for measuring how long
// work takes (the bench, the capture's progress line), never for the production's time.
uint64_t clock_real_ns();

// Switches to the virtual clock, whose millisecond reading starts at start_ms.
void clock_use_virtual(uint32_t start_ms);
bool clock_is_virtual();
// Virtual time in nanoseconds since clock_use_virtual.
uint64_t clock_virtual_ns();
// Sets the virtual time (never moves it backwards).
void clock_virtual_set_ns(uint64_t ns);
// Called on every virtual advance (sleep or set) with the new time; the
// offline sound backend renders up to it. nullptr removes the listener.
void clock_set_virtual_listener(void (*listener)(uint64_t ns));
// Back to the live wall clock (tests).
void clock_use_live();
