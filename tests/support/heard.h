// Listening to what OpenAL Soft really plays: its wave driver writes the mixed output into a
// file that the test reads back and measures (Mixed_ns tells where a sound started lies in it).
// Listen() must come before the first OpenAL call of the process, as in a ctest of its own.
#pragma once
#include <algorithm>
#include <cmath>
#include <vector>

#include "resources/formats.h"
#include "support/files.h"

// Points OpenAL Soft at its wave driver, with these lines in its [general] section
// ("channels = mono", "output-limiter = false"); returns the file it will write.
inline std::string Listen(const std::string& general) {
  const std::string folder = Make_temp_folder();
  Write_file(folder + "/alsoft.conf", "[general]\ndrivers = wave\n" + general +
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

// Reads the wave driver's file in whichever sample format it wrote (8, 16, 32 bits or float).
inline heard Read_heard(const std::string& path) {
  const std::string file = Read_file(path);
  const auto* b = reinterpret_cast<const unsigned char*>(file.data());
  heard out;
  int format = 0, bytes = 0;
  for (size_t at = 12, size = 0; at + 8 <= file.size(); at += 8 + size + (size & 1)) {
    size = std::min<size_t>(Read_u32(b + at + 4), file.size() - at - 8);
    if (file.compare(at, 4, "fmt ") == 0 && size >= 16) {
      format = Read_u16(b + at + (Read_u16(b + at + 8) == 0xfffe ? 32 : 8));  // or its sub-format
      out.rate = Read_u32(b + at + 12) * Read_u16(b + at + 10);
      bytes = Read_u16(b + at + 22) / 8;
    }
    for (size_t i = at + 8;
         file.compare(at, 4, "data") == 0 && bytes > 0 && i + bytes <= at + 8 + size; i += bytes)
      out.samples.push_back(format == 3  ? Read_f32(b + i)
                            : bytes == 4 ? static_cast<int32_t>(Read_u32(b + i)) / 2147483648.0f
                            : bytes == 2 ? static_cast<int16_t>(Read_u16(b + i)) / 32768.0f
                                         : (b[i] - 128) / 128.0f);
  }
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
