// The window with its OpenGL context, the fixed GL state, the one perspective camera, and the
// end of the game when the display goes away.
#pragma once
#include <cstdint>
#include <vector>

// The one camera: the eye looks down -z; the near plane is Camera_near in front of it and
// half Camera_near_half_height high (a 45-degree view); the scene's plane z = 0 lies
// Camera_distance in front of the eye.
const float Camera_near = 0.1f;
const float Camera_near_half_height = 0.04142f;
const double Camera_far = 250.0;
const double Camera_distance = 100.0;

struct Video {
  double corner[3];  // window pixel (0, 0) unprojected at depth -1, in eye coordinates
  int32_t width;
  int32_t height;
  unsigned char fullscreen;

  // Width and height 0: full screen at the desktop's size. Ends the process on failure.
  Video(int32_t width, int32_t height);
};

// The window of the run: made by Open_video, gone after Close_video.
extern Video* Video_ptr;
// Opens the window (width and height 0: full screen); ends the process on failure.
void Open_video(int32_t width, int32_t height);
// Forgets the window record (the window itself closes with the process).
void Close_video();
// Where the connection to the display breaks under the running game (the X server ended or
// crashed), `save` runs and the process ends with status 1, saying so on stderr: nothing of
// the window can be used any more. Given after Open_video, whose start of SDL's video puts
// SDL's own handler (which ends the process at once) in place.
void On_display_lost(void (*save)());

// The window's icon, given before the window opens: RGBA rows, top row first (none when
// empty). The caption is always "Shorebound".
struct Icon_image {
  std::vector<unsigned char> rgba;
  int width = 0;
  int height = 0;
};
extern Icon_image Window_icon;

// Opens the GL window: 4x multisampled, or plain where the driver cannot or where the
// renderer is a software rasteriser.
int Set_video_mode(Video* video);
// Whether the current GL context is drawn by a software rasteriser (Mesa's llvmpipe and
// its kin).
bool Software_renderer();
int Set_projection(Video* video, int32_t width, int32_t height);
// Half extents of the visible area in the plane at this distance in front of the eye.
double View_half_width(const Video* video, double distance);
double View_half_height(const Video* video, double distance);
// The point under a window pixel (origin top left) in the plane at this distance in front of
// the eye: x to the right, y up, from the middle of the view.
void View_point(const Video* video, double px, double py, double distance, double& x, double& y);
