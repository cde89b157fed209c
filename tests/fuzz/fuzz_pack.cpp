// Fuzzes the pack reader: the input is written as a pack file and loaded.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include "resources/pack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static bool ready = false;
  if (!ready) {
    Resource_dir = "/tmp/shorebound-fuzz-pack-" + std::to_string(getpid()) + "-";
    std::freopen("/dev/null", "w", stdout);  // the reader reports damage on every input
    ready = true;
  }
  FILE* file = std::fopen((Resource_dir + "in.pak").c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(bytes, 1, size, file);
  std::fclose(file);
  Global_data.clear();
  Load_pack_from_file_data_store("in.pak");
  for (auto& entry : Global_data["in.pak"]) {
    // Every entry's bytes must be readable in full.
    unsigned sum = 0;
    for (uint32_t i = 0; i < entry.second.size; ++i) sum += entry.second.pos[i];
    volatile unsigned keep = sum;
    (void)keep;
  }
  Get_data_from_data_store("in.pak", "music.wav");
  Global_data.clear();
  return 0;
}
