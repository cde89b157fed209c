// Mouse picking against the models drawn in the frame.
#include "render/pick.h"

#include <GL/gl.h>

#include "platform/input.h"
#include "platform/video.h"
#include "render/drawing.h"
#include "render/model.h"
#include "render/ray.h"
#include "resources/pack.h"
#include "runtime/params.h"
#include "runtime/process.h"

std::vector<mause_obj> pick_list;
std::vector<mause_obj> frame_pickables;

void Queue_mause_obj() {
  mause_obj queued = Running_drawing();
  pick_list.push_back(queued);
  Return_fun_data(queued.store, queued.object, queued.fun)["MOUSE_CL"].value.flag = 0;
}

// The pointer on the near plane, in eye space.
static void Pointer_on_near(float& rx, float& ry) {
  float width = static_cast<float>(Video_ptr->width);
  float height = static_cast<float>(Video_ptr->height);
  float half_width = width * Camera_near_half_height / height;
  rx = 2 * half_width * (static_cast<float>(Mouse_state.x) / width - 0.5f);
  ry = (0.5f - static_cast<float>(Mouse_state.y) / height) * 2 * Camera_near_half_height;
}

float Ray_model_distance(const std::string& pack_name, const std::string& model_name, bool center) {
  Raw_data& entry = Get_data_from_data_store(pack_name, model_name);
  Model_walk walk;
  if (!Start_model_walk(entry, walk)) return 0.0f;
  float rx, ry;
  Pointer_on_near(rx, ry);
  Mesh_view mesh;
  while (Next_mesh(walk, mesh)) {
    if (center) {
      glPushMatrix();
      glTranslatef(-mesh.pivot[0], -mesh.pivot[1], -mesh.pivot[2]);
    }
    float matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    for (uint32_t t = 0; t < mesh.triangles; ++t) {
      float triangle[9];
      for (int v = 0; v < 3; ++v) Mesh_vertex(mesh, t, v, triangle + 3 * v);
      float distance = Ray_triangle_distance(rx, ry, Camera_near, matrix, triangle);
      if (distance > 0) {
        if (center) glPopMatrix();
        return distance;
      }
    }
    if (center) glPopMatrix();
  }
  return 0.0f;
}

bool Pointer_over_models(const Param_map& params) {
  bool center = params.count("CENTER") != 0;
  return For_each_model(params, [center](const Data& model) {
    return Ray_model_distance(model.text, model.text2, center) > 0;
  });
}

void Pick_mause_objs() {
  frame_pickables.swap(pick_list);
  pick_list.clear();
  if (!Mouse_state.pressed && !Mouse_state.moved && !Mouse_state.dropped) return;
  if (frame_pickables.empty()) {
    Mouse_state.dropped = 0;
    return;
  }
  float best = 1000.0f;
  Param_map* winner = nullptr;
  for (const mause_obj& candidate : frame_pickables) {
    if (!Has_fun_var_data(candidate.store, candidate.object, candidate.fun, "MOUSE_CL")) continue;
    glLoadMatrixf(candidate.matrix);
    Param_map& params = Global_env[candidate.store][candidate.object]->functions[candidate.fun].params;
    bool center = params.count("CENTER") != 0;
    For_each_model(params, [&](const Data& model) {
      params["MOUSE_CL"].value.flag = 0;
      params["MOUSE_HT"].value.flag = 0;
      float distance = Ray_model_distance(model.text, model.text2, center);
      if (distance <= 0 || distance >= best) return false;
      best = distance;
      winner = &params;
      return true;
    });
  }
  if (winner != nullptr) {
    // A release over a drop target ("DROP") acts as a click on it; over anything else it does
    // nothing.
    if (Mouse_state.pressed || (Mouse_state.dropped && winner->count("DROP") != 0))
      (*winner)["MOUSE_CL"].value.flag = 1;
    if (Mouse_state.moved) (*winner)["MOUSE_HT"].value.flag = 1;
  }
  Mouse_state.pressed = 0;
  Mouse_state.moved = 0;
  Mouse_state.dropped = 0;
}
