// Start-up, event loop, frame driver and shutdown.
#include "app/frame.h"

#include <GL/gl.h>
#include <SDL.h>

#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <limits>

#include "app/options.h"
#include "app/picture_commands.h"
#include "audio/sound.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/video.h"
#include "render/backdrop.h"
#include "render/draw.h"
#include "resources/image.h"
#include "resources/names.h"
#include "resources/pack.h"
#include "resources/texture.h"
#include "runtime/process.h"
#include "scenes/boot.h"
#include "scenes/focus.h"
#include "state/progress.h"
#include "state/settings.h"

void Frame_work() {
  Update_sounds();
  Draw_tree(Main_object);
  Focus_frame();
  Sweep_global_store();
  Release_idle_gl_tex();
}

void Run_frame() {
  Begin_frame();
  Frame_work();
  Input_frame_done();
}

// Everything the child has done, on disk: the settings and the half-built pictures.
static void Save_everything() {
  Save_settings();
  Save_progress();
  Finish_progress_saves();
}

void Shut_down() {
  Save_everything();
  Destroy_all_objects();
  Free_backdrop();
  Free_all_gl_tex_data();
  End_sound_system();
}

double Frame_interval_ms = 1000.0 / 60.0;

// The rest: a frame that followed no input and left every object as it was shows the same
// picture as the one before, so nothing is drawn again until input comes (an uncovered window
// sends some too), the moment a behaviour asked to be woken by comes (Wake_by), or the objects
// change outside a frame. Meanwhile the loop wakes only to keep the sounds streaming.
static bool resting = false;
static uint64_t shown_signature = 0;
// The earliest Clock_ms reading a behaviour asked to be woken by since the last frame drawn.
static double rest_until = std::numeric_limits<double>::infinity();

// When the wait for the next frame ended (the steady clock).
static double frame_start = 0.0;

double Next_frame_delay_ms(bool still) {
  rest_until = std::min(rest_until, Take_wake_time());
  const double pace = still ? Sound_refill_ms() : frame_start + Frame_interval_ms - Monotonic_ms();
  // A millisecond past the moment asked for: behaviours wait for the clock to pass it.
  const double wake = rest_until - Clock_ms() + 1.0;
  return std::max(0.0, std::min(pace, wake));
}

// Sleeps for `ms` (the steady clock), or until an input event is waiting.
static void Wait_for_frame(double ms) {
  const double until = Monotonic_ms() + ms;
  for (double now = Monotonic_ms(); now < until; now = Monotonic_ms()) {
    SDL_PumpEvents();
    SDL_Event event;
    if (SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) > 0) return;
    const double slice = std::min(until - now, 4.0);
    timespec pause{0, static_cast<long>(slice * 1e6)};
    nanosleep(&pause, nullptr);
  }
}

bool Run_loop_step() {
  bool input = false;
  const bool quit = Handle_pending_events(input);
  if (!resting || quit || input || Clock_ms() >= rest_until || Store_signature() != shown_signature) {
    Run_frame();
    SDL_GL_SwapBuffers();
    const uint64_t signature = Store_signature();
    resting = !input && signature == shown_signature;
    shown_signature = signature;
    rest_until = std::numeric_limits<double>::infinity();  // what still waits asked again
  } else {
    Update_sounds();
  }
  rest_until = std::min(rest_until, Take_wake_time());
  // Pacing: where the swap returned at once (no vertical sync, as under a virtual display),
  // the rest of a 60 Hz frame is slept out instead of drawing again. The clock times every
  // animation, so only smoothness changes.
  if (Frame_interval_ms > 0.0) {
    Wait_for_frame(Next_frame_delay_ms(resting));
    frame_start = Monotonic_ms();
  }
  return quit;
}

void Run_event_loop() {
  while (!Run_loop_step()) {
  }
}

// The icon picture from the packs, for the window.
static void Load_window_icon() {
  Raw_data& entry = Get_data_from_data_store(Main_pack, Icon_picture);
  Tex_image* icon = Decode_png(entry.pos, entry.size);
  if (icon == nullptr) return;
  if (icon->format == GL_RGBA) {
    Window_icon.width = static_cast<int>(icon->width);
    Window_icon.height = static_cast<int>(icon->height);
    Window_icon.rgba.assign(icon->pixels, icon->pixels + static_cast<size_t>(icon->width) * icon->height * 4);
  }
  Free_tex_image(icon);
}

int Main_routine(int argc, char** argv) {
  bool windowed = false;
  int status = Read_options(argc, argv, windowed);
  if (status < 0) status = Run_picture_commands();  // before any window: they need no display
  if (status >= 0) return status;
  Resource_dir = Resource_directory();
  Load_window_icon();
  if (windowed)
    Open_video(1280, 800);
  else
    Open_video(0, 0);
  On_display_lost(Save_everything);  // a display that goes away must not take the progress along
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  Build_boot_scene(Shut_down);
  Run_event_loop();
  Shut_down();
  Close_video();
  return 0;
}
