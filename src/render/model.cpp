// Model entries: meshes of independent textured triangles.
#include "render/model.h"

#include <cstring>

#include "resources/formats.h"

bool Start_model_walk(const Raw_data& entry, Model_walk& walk) {
  walk = Model_walk();
  if (entry.size < Model_header_bytes || entry.pos == nullptr) return false;
  walk.bytes = entry.pos;
  walk.size = entry.size;
  walk.offset = Model_header_bytes;
  walk.meshes_left = Read_u32(entry.pos + 1);
  return walk.meshes_left != 0;
}

bool Next_mesh(Model_walk& walk, Mesh_view& mesh) {
  if (walk.meshes_left == 0) return false;
  if (walk.size - walk.offset < Mesh_header_bytes) {
    walk.meshes_left = 0;
    return false;
  }
  const unsigned char* start = walk.bytes + walk.offset;
  uint32_t triangles = Read_u32(start + Mesh_count_offset);
  if (walk.size - walk.offset < Mesh_bytes(triangles)) {
    walk.meshes_left = 0;
    return false;
  }
  std::memcpy(mesh.texture, start, Mesh_texture_name_bytes);
  mesh.texture[Mesh_texture_name_bytes] = '\0';
  for (int i = 0; i < 3; ++i) mesh.pivot[i] = Read_f32(start + Mesh_pivot_offset + 4 * i);
  mesh.triangles = triangles;
  mesh.positions = start + Mesh_header_bytes;
  mesh.texcoords = start + Mesh_texcoord_offset(triangles);
  walk.offset += Mesh_bytes(triangles);
  --walk.meshes_left;
  return true;
}

void Mesh_vertex(const Mesh_view& mesh, uint32_t triangle, int vertex, float out[3]) {
  const unsigned char* at =
      mesh.positions + static_cast<uint64_t>(triangle) * Mesh_position_bytes_per_triangle +
      static_cast<uint64_t>(vertex) * 12;
  for (int i = 0; i < 3; ++i) out[i] = Read_f32(at + 4 * i);
}
