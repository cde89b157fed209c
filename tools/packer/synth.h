// The game's sounds, made from nothing but arithmetic: the click and piece effects, the
// fanfare and the background music loop, each as raw PCM ready for a WAV header.
#pragma once
#include <string>
#include <vector>

// Sample rate of every synthesised sound, in Hz.
constexpr int Synth_rate = 22050;

// PCM (mono, 16-bit little-endian, 22050 Hz) of one of the game's sounds, by entry name:
// "button.wav", "puzzle_up.wav", "puzzle_move.wav", "insert.wav", "final.wav", "music.wav".
// Empty for an unknown name.
std::string Synthesize_sound(const std::string& entry_name);

// The entry names Synthesize_sound knows: the effects first, "music.wav" last.
const std::vector<std::string>& Synthesized_sound_names();
