// The hold arch: a band along the upper half of a rounded rectangle around a flat model,
// computed here and drawn untextured with client arrays.
#include "behaviours/arch.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/draw.h"
#include "render/model.h"
#include "resources/pack.h"

namespace {

const int Segments = 48;     // of the half turn
const float Gap = 0.1f;      // between the model and the band, model units
const float Width = 0.3f;    // of the band
const float Depth = -0.05f;  // model y: a little in front of the model

struct Extent {
  float min_x = 1e30f, max_x = -1e30f, min_z = 1e30f, max_z = -1e30f;
};

void Add_model(const std::string& pack, const std::string& model, Extent& extent) {
  Model_walk walk;
  if (!Start_model_walk(Get_data_from_data_store(pack, model), walk)) return;
  Mesh_view mesh;
  while (Next_mesh(walk, mesh))
    for (uint32_t t = 0; t < mesh.triangles; ++t)
      for (int v = 0; v < 3; ++v) {
        float p[3];
        Mesh_vertex(mesh, t, v, p);
        extent.min_x = std::min(extent.min_x, p[0]);
        extent.max_x = std::max(extent.max_x, p[0]);
        extent.min_z = std::min(extent.min_z, p[2]);
        extent.max_z = std::max(extent.max_z, p[2]);
      }
}

// Signed square root: it bends an ellipse into the squarish curve |x|^4 + |z|^4 = 1.
float Bend(double v) { return static_cast<float>(v < 0 ? -std::sqrt(-v) : std::sqrt(v)); }

// The band between the curves of half axes (a + inner, b + inner) and (a + outer, b + outer)
// around (cx, cz), from the left end (model x left, model z up) through `fraction` of the
// half turn.
void Draw_band(float cx, float cz, float a, float b, float inner, float outer, double fraction,
               float depth) {
  std::vector<float> strip;
  int steps = static_cast<int>(std::ceil(fraction * Segments));
  for (int i = 0; i <= steps; ++i) {
    double angle = M_PI * (1.0 - std::min(static_cast<double>(i) / Segments, fraction));
    float c = Bend(std::cos(angle)), s = Bend(std::sin(angle));
    for (float grow : {inner, outer}) {
      strip.push_back(cx + (a + grow) * c);
      strip.push_back(depth);
      strip.push_back(cz + (b + grow) * s);
    }
  }
  if (strip.size() < 12) return;
  glVertexPointer(3, GL_FLOAT, 0, strip.data());
  glDrawArrays(GL_TRIANGLE_STRIP, 0, static_cast<GLsizei>(strip.size() / 3));
}

}  // namespace

void Draw_fill_arch(const Param_map& params, double fraction) {
  Extent extent;
  for (const auto& param : params)
    if (Is_model_param(param.first)) Add_model(param.second.text, param.second.text2, extent);
  if (extent.min_x > extent.max_x) return;
  // The squarish curve through the corners of the model's rectangle, then the gap.
  const float corner = std::pow(2.0f, 0.25f);
  float cx = (extent.min_x + extent.max_x) / 2, cz = (extent.min_z + extent.max_z) / 2;
  float a = (extent.max_x - extent.min_x) / 2 * corner + Gap;
  float b = (extent.max_z - extent.min_z) / 2 * corner + Gap;

  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  GLboolean blend = glIsEnabled(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(0.1f, 0.1f, 0.25f, 0.6f * colour[3]);  // the track: dark on light and on dark
  Draw_band(cx, cz, a, b, 0, Width, 1.0, Depth);
  glColor4f(1.0f, 0.55f, 0.05f, colour[3]);  // the filling, inside the track's edges
  Draw_band(cx, cz, a, b, Width * 0.2f, Width * 0.8f, std::clamp(fraction, 0.0, 1.0),
            Depth * 1.2f);
  glColor4fv(colour);
  if (!blend) glDisable(GL_BLEND);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnable(GL_TEXTURE_2D);
}
