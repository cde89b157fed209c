// Sound effects and looping music, streamed from the pack bytes through OpenAL: every sound
// is one source fed by a queue of four buffers that Update_sounds keeps full, at a gain that
// keeps what plays together from clipping.
#pragma once
#include <AL/al.h>
#include <AL/alc.h>

#include <cstdint>
#include <string>
#include <vector>

struct Sound_system {
  unsigned char music_on = 1;  // 1 = Play_music may start music
  unsigned char sound_on = 1;  // 1 = Play_sound may start effects
  unsigned char failed = 0;    // 1 = no device or no context: everything stays silent
  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
};

// One playing sound. Its PCM stays in the pack entry; chunks go to OpenAL from there.
struct sample {
  const unsigned char* pcm = nullptr;  // first PCM byte, inside the entry's bytes
  uint32_t pcm_size = 0;
  uint32_t pcm_pos = 0;                // bytes already handed to OpenAL
  ALuint buffers[4] = {0, 0, 0, 0};
  ALuint source = 0;
  const unsigned char* wav = nullptr;  // start of the entry (its header)
  unsigned char looping = 0;           // 1 for music
  ALenum format = 0;                   // read from the header once; 0 = nothing to queue
  ALsizei rate = 0;
  uint64_t serial = 0;                 // the how-manyth sound started in the run, from 1
  float gain = 1;                      // its own, before the factor common to all
  int64_t play_from_ns = -1;           // Mixed_ns() it waits for; -1: playing
  const std::vector<float>* peaks = nullptr;  // highest magnitude from each block to the end
};

// Bytes handed to OpenAL per buffer.
const uint32_t Sound_chunk_bytes = 16384;

// The one audio system of the run: made by Start_sound_system, gone after End_sound_system.
extern Sound_system* Sound_ptr;
// Every playing sound in start order; owns the samples.
extern std::vector<sample*> sample_list;

// Opens the default device and one context at 22050 Hz; on failure sets `failed` and reports.
void Open_sound_system(Sound_system* system);
// Start one effect / one piece of looping music from a WAV entry, unless switched off.
void Play_sound(Sound_system* system, const std::string& pack_name, const std::string& entry_name);
void Play_music(Sound_system* system, const std::string& pack_name, const std::string& entry_name);
// Once per frame: starts what waited, refills the queues, loops music, deletes effects that
// have ended and gives everything its gain.
void Update_sounds();
// How soon Update_sounds must run again so that no queue runs dry and no waiting sound starts
// late: the play time of one chunk of the sound that uses its chunks up fastest, or the wait of
// a sound that waits to start; infinity while nothing plays.
double Sound_refill_ms();
// Nanoseconds of output the device has mixed, by its own clock (0 without one): a sound started
// now is heard from there on.
int64_t Mixed_ns();
// Stop and delete every effect / every piece of music; the others play on.
void Stop_sounds();
void Stop_music();
// Deletes what still plays and closes the context and the device (nothing when `failed`).
void Close_sound_system(Sound_system* system);
// Makes and opens Sound_ptr (the boot scene, once a run).
void Start_sound_system();
// Stops every sound, closes and deletes Sound_ptr (the shutdown); nothing when there is none.
void End_sound_system();
