// Finding the orientation tag in EXIF data, in either byte order.
#include "resources/exif.h"

#include <cstdint>

int Exif_orientation(const unsigned char* tiff, size_t size) {
  if (tiff == nullptr || size < 8 || tiff[0] != tiff[1] || (tiff[0] != 'I' && tiff[0] != 'M')) return 1;
  const bool intel = tiff[0] == 'I';  // least significant byte first
  auto u16 = [&](uint64_t at) -> uint32_t {
    return intel ? tiff[at] | tiff[at + 1] << 8 : tiff[at] << 8 | tiff[at + 1];
  };
  auto u32 = [&](uint64_t at) -> uint64_t {
    return intel ? u16(at) | static_cast<uint64_t>(u16(at + 2)) << 16 : static_cast<uint64_t>(u16(at)) << 16 | u16(at + 2);
  };
  const uint64_t directory = u32(4);
  if (u16(2) != 42 || directory + 2 > size) return 1;
  const uint32_t entries = u16(directory);
  for (uint64_t entry = directory + 2; entry < directory + 2 + 12ull * entries && entry + 12 <= size; entry += 12) {
    if (u16(entry) != 0x0112) continue;  // the orientation, a SHORT held in the entry itself
    const uint32_t orientation = u16(entry + 2) == 3 ? u16(entry + 8) : 1;
    return orientation >= 1 && orientation <= 8 ? static_cast<int>(orientation) : 1;
  }
  return 1;
}
