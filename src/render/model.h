// Walking the meshes of a model entry, checking each mesh against the entry's size.
#pragma once
#include <cstdint>
#include <string>

#include "resources/pack.h"

struct Mesh_view {
  char texture[65];  // the mesh's texture entry name, always NUL-terminated
  float pivot[3];
  uint32_t triangles;
  const unsigned char* positions;  // 9 floats per triangle (unaligned, little-endian)
  const unsigned char* texcoords;  // 6 floats per triangle
};

struct Model_walk {
  const unsigned char* bytes = nullptr;
  uint64_t size = 0;
  uint64_t offset = 0;
  uint32_t meshes_left = 0;
};

// Starts a walk over a model entry; false when there is nothing to draw.
bool Start_model_walk(const Raw_data& entry, Model_walk& walk);
// The next mesh; false at the end or at a mesh that runs past the entry's bytes.
bool Next_mesh(Model_walk& walk, Mesh_view& mesh);
// Vertex v (0..2) of triangle t of a mesh.
void Mesh_vertex(const Mesh_view& mesh, uint32_t triangle, int vertex, float out[3]);
