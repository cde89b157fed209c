// Helpers of the audio tests: WAV and pack bytes made here from the canonical layout, the
// OpenAL driver choice, polling the sound update, and reading what the wave driver wrote.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "audio/sound.h"
#include "platform/platform.h"
#include "resources/pack.h"
#include "support/support.h"

inline void Put_u32(std::string& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}
inline void Put_u16(std::string& bytes, size_t at, uint16_t value) {
  bytes[at] = static_cast<char>(value);
  bytes[at + 1] = static_cast<char>(value >> 8);
}

// A canonical WAV file: RIFF header, 16-byte format chunk, data chunk holding `pcm`.
inline std::string Wav(const std::string& pcm, uint16_t channels = 1, uint32_t rate = 22050,
                       uint16_t bits = 16) {
  std::string bytes(44, '\0');
  bytes.replace(0, 4, "RIFF");
  bytes.replace(8, 8, "WAVEfmt ");
  bytes.replace(36, 4, "data");
  Put_u32(bytes, 4, static_cast<uint32_t>(36 + pcm.size()));
  Put_u32(bytes, 16, 16);
  Put_u16(bytes, 20, 1);
  Put_u16(bytes, 22, channels);
  Put_u32(bytes, 24, rate);
  Put_u32(bytes, 28, rate * channels * bits / 8);
  Put_u16(bytes, 32, static_cast<uint16_t>(channels * bits / 8));
  Put_u16(bytes, 34, bits);
  Put_u32(bytes, 40, static_cast<uint32_t>(pcm.size()));
  return bytes + pcm;
}

// 16-bit PCM bytes of the given samples.
inline std::string Pcm16(const std::vector<int16_t>& samples) {
  std::string bytes(samples.size() * 2, '\0');
  for (size_t i = 0; i < samples.size(); ++i) Put_u16(bytes, 2 * i, static_cast<uint16_t>(samples[i]));
  return bytes;
}

// Noise that is never silent (|value| 500..8000) and far from clipping, so every sample
// can be recognised in the mixed output.
inline std::vector<int16_t> Noise(size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> magnitude(500, 8000);
  std::vector<int16_t> samples(count);
  for (auto& value : samples)
    value = static_cast<int16_t>((random() & 1 ? 1 : -1) * magnitude(random));
  return samples;
}

// Writes a pack of the given (name, bytes) records into the resource folder.
inline void Write_pack(const std::string& pack_name,
                       const std::vector<std::pair<std::string, std::string>>& records) {
  std::string bytes;
  for (const auto& record : records) {
    std::string header(68, '\0');
    header.replace(0, record.first.size(), record.first);
    Put_u32(header, 64, static_cast<uint32_t>(record.second.size()));
    bytes += header + record.second;
  }
  Write_file(Resource_dir + pack_name, bytes);
}

// OpenAL Soft reads its driver list and configuration once per process, at its first use.
inline bool& Openal_used() {
  static bool used = false;
  return used;
}

// Creates and opens the global sound system with the given driver list.
inline void Open_sound(const char* drivers) {
  setenv("ALSOFT_DRIVERS", drivers, 1);
  Openal_used() = true;
  Sound_ptr = new Sound_system;
  Open_sound_system(Sound_ptr);
}

// Runs the per-frame sound update every 2 ms until `done` holds; false after `seconds`.
template <typename Condition>
bool Update_until(Condition done, double seconds = 5.0) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Update_sounds();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

inline ALint Source_int(ALuint source, ALenum what) {
  ALint value = -1;
  alGetSourcei(source, what, &value);
  return value;
}
inline ALint Buffer_int(ALuint buffer, ALenum what) {
  ALint value = -1;
  alGetBufferi(buffer, what, &value);
  return value;
}

// Every test gets its own resource folder and an empty data store; whatever still plays is
// closed afterwards.
class Audio : public ::testing::Test {
 protected:
  void SetUp() override {
    Resource_dir = Make_temp_folder() + "/";
    Global_data.clear();
  }
  void TearDown() override {
    if (Sound_ptr != nullptr) {
      Stop_music();
      Stop_sounds();
      Close_sound_system(Sound_ptr);
      delete Sound_ptr;
      Sound_ptr = nullptr;
    }
    Global_data.clear();
  }
};
