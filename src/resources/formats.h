// Byte layouts of the pack, model and WAV formats, shared by the game's readers and the
// packer that writes them. All numbers are little-endian; floats are IEEE single precision.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

// Pack file: records one after another, each a 64-byte NUL-terminated name, a 32-bit size
// and that many bytes of data.
const size_t Pack_name_bytes = 64;
const size_t Pack_record_header_bytes = 68;

// Model entry: a reserved byte, a 32-bit mesh count, then the meshes. A mesh of n triangles
// is a 64-byte texture name, a pivot (3 floats), n (32 bits), a reserved byte, then
// 9n floats of positions, 9n floats not read by the game, and 6n floats of texture
// coordinates: 81 + 96n bytes in all.
const size_t Model_header_bytes = 5;
const size_t Mesh_texture_name_bytes = 64;
const size_t Mesh_pivot_offset = 64;
const size_t Mesh_count_offset = 76;
const size_t Mesh_header_bytes = 81;
const size_t Mesh_bytes_per_triangle = 96;
const size_t Mesh_position_bytes_per_triangle = 36;
const size_t Mesh_texcoord_bytes_per_triangle = 24;
inline uint64_t Mesh_bytes(uint64_t triangles) {
  return Mesh_header_bytes + Mesh_bytes_per_triangle * triangles;
}
inline uint64_t Mesh_texcoord_offset(uint64_t triangles) {
  return Mesh_header_bytes + 2 * Mesh_position_bytes_per_triangle * triangles;
}

// WAV entry, read at the fixed offsets of the canonical 44-byte header. The PCM starts at
// 28 + format chunk size and is RIFF size - format chunk size - 20 bytes long.
const size_t Wav_riff_size_offset = 4;
const size_t Wav_format_size_offset = 16;
const size_t Wav_channels_offset = 22;
const size_t Wav_rate_offset = 24;
const size_t Wav_bits_offset = 34;
const size_t Wav_header_bytes = 44;
const size_t Wav_pcm_start_base = 28;
const size_t Wav_pcm_size_base = 20;

inline uint32_t Read_u32(const unsigned char* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}
inline uint16_t Read_u16(const unsigned char* bytes) {
  return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}
inline float Read_f32(const unsigned char* bytes) {
  uint32_t bits = Read_u32(bytes);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}
inline void Write_u32(unsigned char* bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}
inline void Write_u16(unsigned char* bytes, uint16_t value) {
  bytes[0] = static_cast<unsigned char>(value);
  bytes[1] = static_cast<unsigned char>(value >> 8);
}
inline void Write_f32(unsigned char* bytes, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  Write_u32(bytes, bits);
}
