// Projecting a drawing's models to the window, and drawing the focus ring over the frame.
#include "render/screen_box.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

#include "platform/video.h"
#include "render/drawing.h"
#include "render/model.h"
#include "runtime/object.h"

void Drawing_point_on_screen(const mause_obj& drawing, const float at[3], double& x, double& y) {
  double projection[16], model_view[16], z = 0;
  GLint viewport[4];
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  for (int i = 0; i < 16; ++i) model_view[i] = drawing.matrix[i];
  gluProject(at[0], at[1], at[2], model_view, projection, viewport, &x, &y, &z);
  y = Video_ptr->height - y;
}

bool Drawing_screen_box(const mause_obj& drawing, Screen_box& box) {
  const Object* object = Get_object_from_global_store(drawing.store, drawing.object);
  if (object == nullptr || object->functions.count(drawing.fun) == 0) return false;
  const Param_map& params = object->functions.at(drawing.fun).params;
  const bool center = params.count("CENTER") != 0;
  box = {1e9, 1e9, -1e9, -1e9};
  For_each_model(params, [&](const Data& model) {
    Model_walk walk;
    Mesh_view mesh;
    if (!Start_model_walk(Get_data_from_data_store(model.text, model.text2), walk)) return false;
    while (Next_mesh(walk, mesh))
      for (uint32_t t = 0; t < mesh.triangles; ++t)
        for (int v = 0; v < 3; ++v) {
          float at[3];
          Mesh_vertex(mesh, t, v, at);
          if (center)
            for (int k = 0; k < 3; ++k) at[k] -= mesh.pivot[k];
          double x, y;
          Drawing_point_on_screen(drawing, at, x, y);
          box.left = std::min(box.left, x), box.right = std::max(box.right, x);
          box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
        }
    return false;
  });
  return box.left <= box.right;
}

// A band of the given width just outside the box, in window pixels.
static void Band(const Screen_box& box, double out, double width) {
  const double l = box.left - out - width, t = box.top - out - width, r = box.right + out + width,
               b = box.bottom + out + width;
  const double il = l + width, it = t + width, ir = r - width, ib = b - width;
  glBegin(GL_QUAD_STRIP);
  const double corners[5][4] = {{l, t, il, it}, {r, t, ir, it}, {r, b, ir, ib}, {l, b, il, ib}, {l, t, il, it}};
  for (const auto& c : corners) glVertex2d(c[0], c[1]), glVertex2d(c[2], c[3]);
  glEnd();
}

void Draw_focus_ring(const Screen_box& box) {
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
  glDisable(GL_TEXTURE_2D), glDisable(GL_DEPTH_TEST), glDisable(GL_BLEND), glDisable(GL_ALPHA_TEST);
  glDisable(GL_LIGHTING);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, Video_ptr->width, Video_ptr->height, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  const double width = std::max(3.0, Video_ptr->height / 300.0);
  glColor3f(0, 0, 0);
  Band(box, 2, width);
  glColor3f(1, 1, 1);
  Band(box, 2 + width, width);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopAttrib();
}
