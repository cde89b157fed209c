// Helpers for tests that draw and pick: a pack of simple models, screen positions of world
// points, pixels read back from the frame.
#pragma once
#include <SDL.h>

#include <string>

#include "runtime/object.h"

// Writes "test.pak" into a fresh resource folder with flat models (untextured):
//   "quad.3DS"     2 x 2 square centred on the origin at z 0
//   "offset.3DS"   2 x 2 square centred on (2, 3) at z 0 (pivot (2, 3, 0))
//   "far.3DS"      2 x 2 square centred on (5, 5) at z 0 (pivot (5, 5, 0))
//   "two.3DS"      the quad, then a second square around (-6, 0)
//   "cut.3DS"      like "two.3DS" with the second mesh cut short
//   "none.3DS"     a model with no meshes
void Write_test_models();
// Pushes a pointer motion to the window pixel into SDL's event queue.
void Push_motion(int px, int py);
// Pushes a press (down) or release of a mouse button at the window pixel.
void Push_button(bool down, int px, int py, int button = SDL_BUTTON_LEFT);
// Pushes a whole left click into SDL's event queue, as one burst: the pointer moves to the
// window pixel showing the world point, the button goes down and up there.
void Push_click(double x, double y, double z);
// Pushes the pointer's move to the window pixel showing the world point and a left press there.
void Push_press(double x, double y, double z);
// Pushes the release of the left button where the last press was.
void Push_release();
// Window pixel (from the top-left corner) where the world point (x, y, z) appears.
void Pixel_of(double x, double y, double z, int& px, int& py);
// Red channel (0..255) of the frame's pixel at the window position (origin top left).
int Red_at(int px, int py);
// Red, green and blue of the same.
void Rgb_at(int px, int py, int rgb[3]);
// Red channel at the pixel showing the world point.
int Red_at_world(double x, double y, double z);
// Starts an object's drawing function on its after-list with one model of "test.pak".
Object* Drawn_object(const std::string& store, const std::string& name, const std::string& fun,
                     Callback callback, const std::string& model);
