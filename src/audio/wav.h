// Reads the header of a WAV entry: where its PCM lies inside the entry's bytes and how OpenAL
// is to play it. Needs no OpenAL, so the fuzz target can drive it alone.
#pragma once
#include <cstdint>

// OpenAL's format numbers (AL_FORMAT_MONO8, AL_FORMAT_MONO16, AL_FORMAT_STEREO8,
// AL_FORMAT_STEREO16); 0 means the sample cannot be played.
const int Wav_format_mono8 = 0x1100;
const int Wav_format_mono16 = 0x1101;
const int Wav_format_stereo8 = 0x1102;
const int Wav_format_stereo16 = 0x1103;

struct wav_info {
  const unsigned char* pcm = nullptr;  // first PCM byte, inside the entry (never past its end)
  uint32_t pcm_size = 0;               // PCM bytes that the entry really holds
  int format = 0;                      // one of the formats above, or 0
  int rate = 0;                        // sample rate in Hz, 1 .. 2^31-1 when format is not 0
};

// Reads the fixed offsets of the 44-byte header. False when the entry is too short to hold
// it. The PCM (28 + F onwards, R - F - 20 bytes long) is clamped to the entry's bytes and,
// when the sample is playable, to whole frames.
bool Read_wav_header(const unsigned char* bytes, uint32_t size, wav_info& info);
