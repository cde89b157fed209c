// Helpers for tests that draw and pick.
#include "support/scene.h"

#include <GL/gl.h>
#include <SDL.h>

#include "platform/platform.h"
#include "platform/video.h"
#include "resources/pack.h"
#include "resources/writer.h"
#include "support/support.h"

void Write_test_models() {
  Global_data.clear();
  Resource_dir = Make_temp_folder() + "/";
  Mesh_source quad = Rectangle_mesh("", -1, -1, 1, 1, 0);
  Mesh_source offset = Rectangle_mesh("", 1, 2, 3, 4, 0);
  Mesh_source far_square = Rectangle_mesh("", 4, 4, 6, 6, 0);
  Mesh_source left = Rectangle_mesh("", -7, -1, -5, 1, 0);
  std::string two = Model_bytes({quad, left});
  std::string cut = two.substr(0, two.size() - 10);
  Write_file(Resource_dir + "test.pak",
             Pack_record("quad.3DS", Model_bytes({quad})) +
                 Pack_record("offset.3DS", Model_bytes({offset})) +
                 Pack_record("far.3DS", Model_bytes({far_square})) +
                 Pack_record("two.3DS", two) + Pack_record("cut.3DS", cut) +
                 Pack_record("none.3DS", Model_bytes({})));
}

void Pixel_of(double x, double y, double z, int& px, int& py) {
  double d = 100.0 - z;
  double half_w = View_half_width(Video_ptr, d), half_h = View_half_height(Video_ptr, d);
  px = static_cast<int>(Video_ptr->width / 2.0 * (1.0 + x / half_w));
  py = static_cast<int>(Video_ptr->height / 2.0 * (1.0 - y / half_h));
}

void Rgb_at(int px, int py, int rgb[3]) {
  unsigned char rgba[4] = {0, 0, 0, 0};
  glReadPixels(px, Video_ptr->height - 1 - py, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  for (int i = 0; i < 3; ++i) rgb[i] = rgba[i];
}

int Red_at(int px, int py) {
  int rgb[3];
  Rgb_at(px, py, rgb);
  return rgb[0];
}

int Red_at_world(double x, double y, double z) {
  int px, py;
  Pixel_of(x, y, z, px, py);
  return Red_at(px, py);
}

Object* Drawn_object(const std::string& store, const std::string& name, const std::string& fun,
                     Callback callback, const std::string& model) {
  Object* object = new Object(store, name);
  Add_function(object, fun, callback);
  Start_function_after(object, fun);
  Data& model_param = Get_function_params(object, fun)["MODEL_1"];
  model_param.text = "test.pak";
  model_param.text2 = model;
  return object;
}

void Push_motion(int px, int py) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.x = static_cast<Uint16>(px);
  event.motion.y = static_cast<Uint16>(py);
  SDL_PushEvent(&event);
}

static int pressed_px = 0, pressed_py = 0;

void Push_button(bool down, int px, int py, int button) {
  SDL_Event event{};
  event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.button = static_cast<Uint8>(button);
  event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.button.x = static_cast<Uint16>(px);
  event.button.y = static_cast<Uint16>(py);
  SDL_PushEvent(&event);
}

void Push_press(double x, double y, double z) {
  Pixel_of(x, y, z, pressed_px, pressed_py);
  Push_motion(pressed_px, pressed_py);
  Push_button(true, pressed_px, pressed_py);
}

void Push_release() { Push_button(false, pressed_px, pressed_py); }

void Push_click(double x, double y, double z) {
  Push_press(x, y, z);
  Push_release();
}
