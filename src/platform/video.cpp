// Window, fixed GL state and camera; the end of the game when the display goes away.
#include "platform/video.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

Video* Video_ptr = nullptr;
Icon_image Window_icon;

// The name and icon that docks and task switchers show; the window class matches the
// desktop entry's StartupWMClass.
static void Set_window_identity() {
  SDL_WM_SetCaption("Shorebound", "Shorebound");
  if (Window_icon.rgba.size() != static_cast<size_t>(Window_icon.width) * Window_icon.height * 4 ||
      Window_icon.rgba.empty())
    return;
  SDL_Surface* icon = SDL_CreateRGBSurfaceFrom(Window_icon.rgba.data(), Window_icon.width,
                                               Window_icon.height, 32, Window_icon.width * 4,
                                               0x000000ff, 0x0000ff00, 0x00ff0000, 0xff000000);
  if (icon == nullptr) return;
  SDL_WM_SetIcon(icon, nullptr);
  SDL_FreeSurface(icon);
}

Video::Video(int32_t w, int32_t h) : corner{0, 0, 0}, width(w), height(h), fullscreen(0) {
  setenv("SDL_VIDEO_X11_WMCLASS", "shorebound", 0);
  if (SDL_Init(SDL_INIT_VIDEO) < 0) {
    std::fprintf(stderr, "Video initialization failed: %s\n", SDL_GetError());
    SDL_Quit();
    std::exit(1);
  }
  const SDL_VideoInfo* info = SDL_GetVideoInfo();
  if (w == 0 && h == 0) {
    width = info->current_w;
    height = info->current_h;
    fullscreen = 1;
  } else if (info != nullptr && info->current_w > 0 && info->current_h > 0) {
    // A window never larger than the screen.
    if (width > info->current_w) width = info->current_w;
    if (height > info->current_h) height = info->current_h;
  }
  Set_window_identity();
  Set_video_mode(this);
  SDL_ShowCursor(fullscreen ? 0 : 1);
}

bool Software_renderer() {
  const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  if (renderer == nullptr) return false;
  for (const char* name : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
    if (std::strstr(renderer, name) != nullptr) return true;
  return false;
}

// Sets the GL window's attributes and mode; false when the mode cannot be set.
static bool Open_window(Video* video, Uint32 flags, bool multisampled) {
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);  // wait for the screen's refresh where offered
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, multisampled ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, multisampled ? 4 : 0);
  SDL_GL_SetAttribute(SDL_GL_ACCELERATED_VISUAL, multisampled ? 1 : 0);
  return SDL_SetVideoMode(video->width, video->height, 32, flags) != nullptr;
}

int Set_video_mode(Video* video) {
  Uint32 flags = SDL_HWSURFACE | SDL_OPENGL | SDL_ASYNCBLIT;
  if (video->fullscreen) flags |= SDL_FULLSCREEN;
  const SDL_VideoInfo* info = SDL_GetVideoInfo();
  if (info != nullptr && info->blit_hw) flags |= SDL_HWACCEL;

  // The plain window first: a software rasteriser pays for every sample with the processor
  // and keeps it. A hardware driver gets the 4x multisampled window, or the plain one again
  // where it has none. SDL keeps the pixel format across modes, so the video system starts
  // anew for it, once, before anything is drawn.
  bool multisampled = false;
  if (Open_window(video, flags, false) && !Software_renderer()) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) < 0) {
      std::fprintf(stderr, "Video initialization failed: %s\n", SDL_GetError());
      SDL_Quit();
      std::exit(1);
    }
    Set_window_identity();
    multisampled = Open_window(video, flags, true);
    if (!multisampled) Open_window(video, flags, false);
  }
  if (SDL_GetVideoSurface() == nullptr) {
    std::fprintf(stderr, "Video mode set failed: %s\n", SDL_GetError());
    SDL_Quit();
    std::exit(1);
  }
  if (multisampled) glEnable(GL_MULTISAMPLE);

  glEnable(GL_TEXTURE_2D);
  glShadeModel(GL_SMOOTH);
  glClearColor(0, 0, 0, 0);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glAlphaFunc(GL_GREATER, 0.9f);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  if (extensions != nullptr && std::strstr(extensions, "GL_EXT_separate_specular_color") != nullptr)
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);

  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnable(GL_TEXTURE_2D);

  Set_projection(video, video->width, video->height);
  return 1;
}

int Set_projection(Video* video, int32_t width, int32_t height) {
  int32_t viewport_height = height == 0 ? 1 : height;
  double divisor = height == 0 ? 1.0 : static_cast<double>(height);
  glViewport(0, 0, width, viewport_height);

  const double top = static_cast<double>(Camera_near_half_height);
  const double near_plane = static_cast<double>(Camera_near);
  const double aspect_half_width = width * top / divisor;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-aspect_half_width, aspect_half_width, -top, top, near_plane, Camera_far);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  GLdouble model[16], projection[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  gluUnProject(0.0, 0.0, -1.0, model, projection, viewport, &video->corner[0], &video->corner[1],
               &video->corner[2]);
  return 1;
}

double View_half_width(const Video* video, double distance) {
  return distance * video->corner[0] / video->corner[2];
}

double View_half_height(const Video* video, double distance) {
  return distance * video->corner[1] / video->corner[2];
}

void View_point(const Video* video, double px, double py, double distance, double& x, double& y) {
  x = 2.0 * (px / video->width - 0.5) * View_half_width(video, distance);
  y = 2.0 * (0.5 - py / video->height) * View_half_height(video, distance);
}

void Open_video(int32_t width, int32_t height) { Video_ptr = new Video(width, height); }

// The window goes with the process: quitting SDL's video here would unload the GL driver
// while its own allocations still stand.
void Close_video() {
  delete Video_ptr;
  Video_ptr = nullptr;
}

static void (*Display_lost_save)() = nullptr;

// Xlib's handler of a broken display connection: it must not return.
static int Display_lost(Display*) {
  if (Display_lost_save != nullptr) Display_lost_save();
  std::fputs("Lost the connection to the display: the game ends.\n", stderr);
  _exit(1);
}

void On_display_lost(void (*save)()) {
  Display_lost_save = save;
  // A write to a server that has gone then fails with EPIPE, which Xlib reports here,
  // instead of ending the process by SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
  XSetIOErrorHandler(Display_lost);
}
