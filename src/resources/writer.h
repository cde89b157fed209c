// Writing packs, models and WAV sounds in the game's formats: used by the packer that makes
// the game's content and by tests that need made-up entries.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Mesh_source {
  std::string texture;              // image entry in the same pack, at most 63 bytes
  float pivot[3] = {0, 0, 0};
  std::vector<float> positions;     // 9 floats per triangle
  std::vector<float> texcoords;     // 6 floats per triangle
};

// One pack record: 64-byte name field, size, bytes.
std::string Pack_record(const std::string& name, const std::string& bytes);
// A model entry with the given meshes.
std::string Model_bytes(const std::vector<Mesh_source>& meshes);
// A canonical 44-byte-header WAV file around the PCM bytes.
std::string Wav_bytes(const std::string& pcm, uint16_t channels, uint32_t rate, uint16_t bits);
// An axis-aligned rectangle of two triangles in the x-y plane at depth z, texture s 0..1 from
// left to right and t 0..1 from top to bottom.
Mesh_source Rectangle_mesh(const std::string& texture, float left, float bottom, float right,
                           float top, float z);
