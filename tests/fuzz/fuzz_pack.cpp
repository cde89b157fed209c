// Fuzzes the pack reader: the input is written as a pack file and loaded.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include "resources/pack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static const int file = memfd_create("in.pak", 0);  // read through /proc: nothing on disk
  static const std::string name = std::to_string(file);
  if (Resource_dir.empty()) {
    Resource_dir = "/proc/self/fd/";
    std::freopen("/dev/null", "w", stdout);  // the reader reports damage on every input
  }
  if (file < 0 || ftruncate(file, 0) != 0 || pwrite(file, bytes, size, 0) != static_cast<ssize_t>(size))
    return 0;
  Global_data.clear();
  Load_pack_from_file_data_store(name);
  for (auto& entry : Global_data[name]) {
    // Every entry's bytes must be readable in full.
    unsigned sum = 0;
    for (uint32_t i = 0; i < entry.second.size; ++i) sum += entry.second.pos[i];
    volatile unsigned keep = sum;
    (void)keep;
  }
  Get_data_from_data_store(name, "music.wav");
  Global_data.clear();
  return 0;
}
