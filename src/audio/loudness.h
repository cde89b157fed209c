// How loud the sounds play, alone and together: the gains of effects and music, and each
// sound's peaks, measured once from its PCM, by which the sound code keeps their sum under a
// ceiling. Needs no OpenAL, so the fuzz target can drive it alone.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "audio/wav.h"

// Gains of an effect and of the music: the music stays quieter than the effects, and the
// loudest effect plays over the music at these gains without reaching the ceiling.
const float Effect_gain = 0.8f;
const float Music_gain = 0.7f;
// The grown-ups' volumes, 0 (silent) to 1, scaling the music's and the effects' gains.
extern float Music_volume;
extern float Effect_volume;
// The highest sum of gain x peak of everything that plays: -1.5 dBFS, half a decibel under
// the -1 dBFS the ear may get, for the mixer's resampling, gain ramps and dither. Every source
// may reach an output channel at its full gain (a mono output does), and peaks may coincide.
const float Sum_ceiling = 0.84f;
// PCM bytes per block of a peak table.
const uint32_t Peak_block_bytes = 1024;

// For each block of the PCM, the highest magnitude (the channels of a frame summed, full scale
// 1) from that block to the end: the most the sound can still add to the mix from there on.
// Empty when the sample cannot be played.
std::vector<float> Peaks_to_end(const wav_info& info);
// The peak table of a pack entry, made on first use and again whenever the entry's PCM has
// moved (its pack was loaded again).
const std::vector<float>& Entry_peaks(const std::string& pack_name, const std::string& entry_name,
                                      const wav_info& info);
