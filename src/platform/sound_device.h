// Inside the platform layer only: the live output device under the sound
// service. Natively SDL's audio thread asks for buffers (sound_sdl.cpp); the
// browser build has Web Audio ask for them. Both render with the service's
// player and note positions in the service's SoundLive record.
#pragma once
#include <cstdint>

#include "platform/sound_player.h"
#include "platform/sound_track.h"

extern SoundPlayer sound_live_player;  // the player, shared with the device's renderer
extern SoundLive sound_live_state;     // checkpoints and the heard-frame estimate
extern int sound_latency_offset_ms;    // --audio-offset

// Opens the device paused at about rate frames per second; resets the
// player to the rate the device runs at and the live record to its buffer
// size. False when no device opens.
bool sound_device_open(uint32_t rate);
// Lets the device play (it renders silence until the module plays).
void sound_device_start();
// Called before the program thread touches the player at steady time now_ns.
// True when the device renders on a thread of its own: the caller then holds
// it off until sound_device_unlock. False when nothing else renders (the
// device renders on this thread, or has stopped and is followed here).
bool sound_device_lock(uint64_t now_ns);
void sound_device_unlock();
// The frame of the player's output being heard at steady time now_ns, with
// --audio-offset applied; called with the device held off.
int64_t sound_device_heard_frame(uint64_t now_ns);
// Stops the device and frees it.
void sound_device_close();
