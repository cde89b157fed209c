// Listening to what OpenAL Soft really plays: its wave driver writes the mixed output into a
// file that the test reads back and measures (Mixed_ns tells where a sound started lies in it).
// Listen() must come before the first OpenAL call of the process, as in a ctest of its own.
#pragma once
#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/wav.h"
#include "resources/formats.h"
#include "support/files.h"

// Points OpenAL Soft at its wave driver, writing 32-bit floats, with these lines in its [general]
// section ("channels = mono", "output-limiter = false"); returns the file it will write.
inline std::string Listen(const std::string& general) {
  const std::string folder = Make_temp_folder();
  Write_file(folder + "/alsoft.conf", "[general]\ndrivers = wave\nsample-type = float32\n" + general +
                                          "\n[wave]\nfile = " + folder + "/heard.wav\n");
  setenv("ALSOFT_CONF", (folder + "/alsoft.conf").c_str(), 1);
  setenv("ALSOFT_DRIVERS", "wave", 1);
  return folder + "/heard.wav";
}

// The written samples, the channels of each frame in turn, full scale 1.
struct heard {
  double rate = 0;  // samples a second, of all channels
  std::vector<float> samples;
};

// Reads the wave driver's file through the game's own WAV reader.
inline heard Read_heard(const std::string& path) {
  const std::string file = Read_file(path);
  const auto* b = reinterpret_cast<const unsigned char*>(file.data());
  heard out;
  wav_info info;
  if (!Read_wav_header(b, static_cast<uint32_t>(file.size()), info)) return out;
  out.rate = Read_u32(b + Wav_rate_offset) * Read_u16(b + Wav_channels_offset);
  for (const unsigned char* at = info.pcm; at + 4 <= info.pcm + info.pcm_size; at += 4) out.samples.push_back(Read_f32(at));
  return out;
}

// Peak and root mean square, in dBFS, of the samples between two times (seconds into the file).
inline std::pair<double, double> Peak_and_rms_db(const heard& h, double from = 0, double to = 1e9) {
  const size_t end = std::min(h.samples.size(), static_cast<size_t>(to * h.rate));
  double top = 0, sum = 0, count = 0;
  for (size_t i = std::min(end, static_cast<size_t>(from * h.rate)); i < end; ++i) {
    top = std::max(top, std::fabs(static_cast<double>(h.samples[i])));
    sum += static_cast<double>(h.samples[i]) * h.samples[i], ++count;
  }
  return {20 * std::log10(top), 10 * std::log10(sum / std::max(count, 1.0))};
}
