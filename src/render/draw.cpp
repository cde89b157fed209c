// Model drawing, the drawing parameters and the late blended pass.
#include "render/draw.h"

#include <GL/gl.h>

#include "platform/video.h"
#include "render/model.h"
#include "render/pick.h"
#include "resources/pack.h"
#include "resources/texture.h"
#include "runtime/params.h"
#include "runtime/process.h"

std::vector<blend_obj> blend_list;

Param_map& Add_flat_drawing(Object* object, const std::string& fun, Callback callback,
                            const std::string& pack, const std::string& model) {
  Param_map& params = Add_started_function(object, fun, callback, After_list);
  params["MODEL_1"].text = pack;
  params["MODEL_1"].text2 = model;
  params["ROT_X"].value.number = -90.0;
  return params;
}

void Apply_transform(const Param_map& params) {
  glPushMatrix();
  double x = Param_number(params, "POS_X", 0.0);
  double y = Param_number(params, "POS_Y", 0.0);
  double z = Param_number(params, "POS_Z", 0.0);
  if (x != 0.0 || y != 0.0 || z != 0.0)
    glTranslatef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
  double sx = Param_number(params, "SCALE_X", 1.0);
  double sy = Param_number(params, "SCALE_Y", 1.0);
  double sz = Param_number(params, "SCALE_Z", 1.0);
  if (sx != 1.0 || sy != 1.0 || sz != 1.0)
    glScalef(static_cast<float>(sx), static_cast<float>(sy), static_cast<float>(sz));
  auto rotation = params.find("ROT_X");
  if (rotation != params.end()) glRotatef(static_cast<float>(rotation->second.value.number), 1, 0, 0);
  rotation = params.find("ROT_Y");
  if (rotation != params.end()) glRotatef(static_cast<float>(rotation->second.value.number), 0, 1, 0);
  rotation = params.find("ROT_Z");
  if (rotation != params.end()) glRotatef(static_cast<float>(rotation->second.value.number), 0, 0, 1);
}

void Draw_obj() {
  Param_map& params = Current_params(Current_object);
  Apply_transform(params);
  if (params.count("FUN") != 0) {
    if (params["MOUSE_CL"].value.flag) {
      Callback fun = params["FUN"].value.callback;
      if (fun != nullptr) fun();
    }
    Queue_mause_obj();
  }
  // Unseen: it takes taps where it lies but is not drawn.
  if (params.count("UNSEEN") != 0) {
    glPopMatrix();
    return;
  }
  if (params.count("BLEND_END") != 0) {
    Queue_blend_obj();
    glPopMatrix();
    return;
  }
  bool alpha = params.count("ALPHA") != 0;
  bool blend = params.count("BLEND") != 0;
  if (alpha) glEnable(GL_ALPHA_TEST);
  if (blend) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  }
  Draw_models(params);
  if (blend) glDisable(GL_BLEND);
  if (alpha) glDisable(GL_ALPHA_TEST);
  glPopMatrix();
}

// Draws the meshes of a model; with a centre parameter map, each mesh is moved by minus its
// pivot, and the first pivot drawn is recorded there.
static void Draw_meshes(const std::string& pack_name, const std::string& model_name, bool center,
                        Param_map* record) {
  static const GLfloat white[4] = {1, 1, 1, 1};
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
  Raw_data& entry = Get_data_from_data_store(pack_name, model_name);
  Model_walk walk;
  if (!Start_model_walk(entry, walk)) return;
  Mesh_view mesh;
  while (Next_mesh(walk, mesh)) {
    GLuint texture = 0;
    Get_gl_tex_from_data_store(pack_name, mesh.texture, texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (center) {
      glPushMatrix();
      if (record != nullptr && record->count("CENTER_SET") == 0) {
        (*record)["CENTER_SET"];
        (*record)["CENTER_X"].value.number = mesh.pivot[0];
        (*record)["CENTER_Y"].value.number = mesh.pivot[1];
        (*record)["CENTER_Z"].value.number = mesh.pivot[2];
      }
      glTranslatef(-mesh.pivot[0], -mesh.pivot[1], -mesh.pivot[2]);
    }
    glVertexPointer(3, GL_FLOAT, 0, mesh.positions);
    glTexCoordPointer(2, GL_FLOAT, 0, mesh.texcoords);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(mesh.triangles * 3));
    if (center) glPopMatrix();
  }
}

void Draw_model(const std::string& pack_name, const std::string& model_name) {
  Param_map* params = Current_object != nullptr ? Current_object->cur_params : nullptr;
  bool center = params != nullptr && params->count("CENTER") != 0;
  Draw_meshes(pack_name, model_name, center, params);
}

void Draw_models(const Param_map& params) {
  For_each_model(params, [](const Data& model) {
    Draw_model(model.text, model.text2);
    return false;
  });
}

void Draw_model_late(const std::string& pack_name, const std::string& model_name, bool center) {
  Draw_meshes(pack_name, model_name, center, nullptr);
}

void Queue_blend_obj() { blend_list.push_back(Running_drawing()); }

void Draw_blend_objs() {
  if (blend_list.empty()) return;
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthMask(GL_FALSE);
  for (const blend_obj& queued : blend_list) {
    if (!Has_fun_var_data(queued.store, queued.object, queued.fun, "BLEND_END")) continue;
    glLoadMatrixf(queued.matrix);
    Param_map& params = Global_env[queued.store][queued.object]->functions[queued.fun].params;
    bool center = params.count("CENTER") != 0;
    For_each_model(params, [center](const Data& model) {
      Draw_model_late(model.text, model.text2, center);
      return false;
    });
  }
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
  blend_list.clear();
}

void Begin_frame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, static_cast<float>(-Camera_distance));
}

void Draw_tree(Object* root) {
  if (root != nullptr) Process_obj(root);
  Draw_blend_objs();
  Pick_mause_objs();
}
