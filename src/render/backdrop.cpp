// The backdrop drawn once into a texture of the window's size and copied from there.
#define GL_GLEXT_PROTOTYPES
#include "render/backdrop.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "render/draw.h"
#include "runtime/process.h"

namespace {

// What the copy shows: the models and the state they were drawn with.
struct Backdrop_key {
  std::string models;
  GLfloat matrix[16] = {};
  GLfloat colour[4] = {};
  GLint viewport[4] = {};
  bool operator==(const Backdrop_key& other) const {
    return models == other.models && std::memcmp(matrix, other.matrix, sizeof matrix) == 0 &&
           std::memcmp(colour, other.colour, sizeof colour) == 0 &&
           std::memcmp(viewport, other.viewport, sizeof viewport) == 0;
  }
};

struct Backdrop_copy {
  GLuint texture = 0, framebuffer = 0;
  Backdrop_key key;
};
Backdrop_copy kept;

// Framebuffer objects came with OpenGL 3.0; without them the backdrop is drawn every time.
bool Can_copy() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  return version != nullptr && std::atoi(version) >= 3;
}

// Draws the models into the copy, as they would land in the window.
void Draw_into_copy(const Param_map& params, const Backdrop_key& key) {
  if (kept.texture == 0) {
    glGenTextures(1, &kept.texture);
    glGenFramebuffers(1, &kept.framebuffer);
  }
  glBindTexture(GL_TEXTURE_2D, kept.texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, key.viewport[2], key.viewport[3], 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, kept.framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, kept.texture, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  Draw_models(params);  // no depth buffer there: nothing is tested
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  kept.key = key;
}

// The copy over the window, one texel to a pixel, at the far end of the depth range.
void Show_copy(const Backdrop_key& key) {
  static const GLfloat corners[] = {0, 0, -1, 1, 0, -1, 1, 1, -1, 0, 0, -1, 1, 1, -1, 0, 1, -1};
  static const GLfloat texcoords[] = {0, 0, 1, 0, 1, 1, 0, 0, 1, 1, 0, 1};
  const GLboolean blend = glIsEnabled(GL_BLEND);
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, 1, 0, 1, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glBindTexture(GL_TEXTURE_2D, kept.texture);
  glVertexPointer(3, GL_FLOAT, 0, corners);
  glTexCoordPointer(2, GL_FLOAT, 0, texcoords);
  glDrawArrays(GL_TRIANGLES, 0, 6);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glColor4fv(key.colour);
  if (blend) glEnable(GL_BLEND);
}

}  // namespace

void Draw_backdrop() {
  Param_map& params = Current_params(Current_object);
  Apply_transform(params);
  static const bool can_copy = Can_copy();
  if (!can_copy) {
    Draw_models(params);
    glPopMatrix();
    return;
  }
  Backdrop_key key;
  for (const auto& [name, data] : params)
    if (Is_model_param(name)) key.models += data.text + '/' + data.text2 + '\n';
  glGetFloatv(GL_MODELVIEW_MATRIX, key.matrix);
  glGetFloatv(GL_CURRENT_COLOR, key.colour);
  glGetIntegerv(GL_VIEWPORT, key.viewport);
  if (kept.texture == 0 || !(key == kept.key)) Draw_into_copy(params, key);
  Show_copy(key);
  glPopMatrix();
}

void Free_backdrop() {
  if (kept.texture != 0) {
    glDeleteFramebuffers(1, &kept.framebuffer);
    glDeleteTextures(1, &kept.texture);
  }
  kept = Backdrop_copy();
}
