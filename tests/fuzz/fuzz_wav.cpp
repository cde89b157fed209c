// Fuzzes the WAV header reader: whatever the header says, the PCM it hands out must lie
// inside the entry, in whole frames, and be readable as the sound code and its peaks read it.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "audio/loudness.h"
#include "audio/wav.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size > 0xffffffffu) return 0;
  wav_info info;
  if (!Read_wav_header(bytes, static_cast<uint32_t>(size), info)) {
    if (size >= 44) __builtin_trap();
    return 0;
  }
  if (info.pcm < bytes || info.pcm > bytes + size) __builtin_trap();
  if (info.pcm_size > static_cast<size_t>(bytes + size - info.pcm)) __builtin_trap();
  if (info.format != 0) {
    if (info.rate < 1) __builtin_trap();
    const uint32_t frame = (info.format == 0x1103 ? 4 : info.format == 0x1100 ? 1 : 2);
    if (info.pcm_size % frame != 0) __builtin_trap();
  }
  // Hand the PCM over in 16384-byte chunks, as alBufferData would copy them.
  static unsigned char chunk[16384];
  for (uint32_t pos = 0; pos < info.pcm_size;) {
    const uint32_t length = info.pcm_size - pos < 16384 ? info.pcm_size - pos : 16384;
    std::memcpy(chunk, info.pcm + pos, length);
    pos += length;
  }
  Peaks_to_end(info);
  return 0;
}
