// Fuzzes the model walk and the ray test over every triangle of an arbitrary model entry.
#include <cstddef>
#include <cstdint>
#include "render/model.h"
#include "render/ray.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  Raw_data entry;
  entry.size = static_cast<uint32_t>(size);
  entry.pos = const_cast<unsigned char*>(bytes);
  static const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -100, 1};
  Model_walk walk;
  if (Start_model_walk(entry, walk)) {
    Mesh_view mesh;
    while (Next_mesh(walk, mesh)) {
      for (uint32_t t = 0; t < mesh.triangles; ++t) {
        float triangle[9];
        for (int v = 0; v < 3; ++v) Mesh_vertex(mesh, t, v, triangle + 3 * v);
        Ray_triangle_distance(0.001f, -0.002f, 0.1f, identity, triangle);
      }
      // The texture coordinates must lie inside the entry too.
      if (mesh.triangles > 0) {
        volatile unsigned char last = mesh.texcoords[mesh.triangles * 24 - 1];
        (void)last;
      }
    }
  }
  entry.pos = nullptr;  // not owned
  entry.size = 0;
  return 0;
}
