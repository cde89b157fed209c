// Start-up, event loop, frame driver and shutdown.
#include "shell/frame.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>
#include <ctime>

#include "audio/sound.h"
#include "render/draw.h"
#include "render/pick.h"
#include "resources/texture.h"
#include "runtime/process.h"
#include "scenes/boot.h"
#include "scenes/settings.h"
#include "shell/input.h"
#include "shell/platform.h"
#include "shell/video.h"

Object* Main_object = nullptr;

void Begin_frame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -100.0f);
}

void Frame_work() {
  Update_sounds();
  if (Main_object != nullptr) Process_obj(Main_object);
  Draw_blend_objs();
  Pick_mause_objs();
  Sweep_global_store();
  Release_idle_gl_tex();
}

void Run_frame() {
  Begin_frame();
  Frame_work();
  Input_frame_done();
}

void Shut_down() {
  Save_settings();
  Sweep_global_store();
  Sweep_global_store();
  Main_object = nullptr;
  Free_all_gl_tex_data();
  Stop_music();
  Stop_sounds();
  if (Sound_ptr != nullptr) {
    Close_sound_system(Sound_ptr);
    delete Sound_ptr;
    Sound_ptr = nullptr;
  }
}

bool Run_loop_step() {
  bool quit = false;
  SDL_Event event;
  while (SDL_PollEvent(&event))
    if (Handle_event(event)) quit = true;
  Run_frame();
  SDL_GL_SwapBuffers();
  return quit;
}

void Run_event_loop() {
  while (!Run_loop_step()) {
  }
}

int Main_routine(int, char**) {
  Video_ptr = new Video(0, 0);
  Resource_dir = Resource_directory();
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  Build_boot_scene();
  Run_event_loop();
  Shut_down();
  return 0;
}
