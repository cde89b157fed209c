// What a frame shows, read back and compared with the pictures it is drawn from, tolerant of
// the software rasteriser's rounding: means over small patches, differences per channel.
#pragma once
#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/image.h"
#include "resources/pack.h"
#include "support/window.h"

// The frame drawn so far (the back buffer, before any swap): rows from the bottom, RGBA.
inline std::vector<unsigned char> Read_frame() {
  std::vector<unsigned char> rgba(static_cast<size_t>(Video_ptr->width) * Video_ptr->height * 4);
  glReadPixels(0, 0, Video_ptr->width, Video_ptr->height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  return rgba;
}

// Red, green and blue of a looked-at frame around where the world point shows (the mean of
// 7 x 7 pixels, which a rasteriser's rounding barely moves).
inline std::array<int, 3> Colour(const std::vector<unsigned char>& frame, double x, double y, double z) {
  int at_x, at_y;
  Pixel_of(x, y, z, at_x, at_y);
  std::array<int, 3> sum = {0, 0, 0};
  for (int dy = -3; dy <= 3; ++dy)
    for (int dx = -3; dx <= 3; ++dx) {
      const size_t row = static_cast<size_t>(Video_ptr->height - 1 - at_y + dy);
      const unsigned char* p = &frame[(row * Video_ptr->width + at_x + dx) * 4];
      for (int c = 0; c < 3; ++c) sum[c] += p[c];
    }
  return {sum[0] / 49, sum[1] / 49, sum[2] / 49};
}
// The same for a decoded picture laid over the board at this scale (the finished picture
// grows to 1.4): the mean of its texels under those pixels around the world point (x, y).
inline std::array<int, 3> Picture_colour(const std::string& pack, const std::string& picture, double x, double y,
                                         double z, double scale = 1.0) {
  const Tex_image* image = Global_data[pack][picture + "_tex"].image;
  if (image == nullptr) return {-999, -999, -999};
  const int channels = image->format == GL_RGBA ? 4 : 3;
  const double pixel = 2 * View_half_height(Video_ptr, Camera_distance - z) / Video_ptr->height;
  const double texels = image->width / 20.0;  // per unit of the board
  const int half = static_cast<int>(3.5 * pixel / scale * texels);
  const int column = static_cast<int>((x / scale + 10) * texels), row = static_cast<int>((7 - y / scale) * texels);
  std::array<long, 3> sum = {0, 0, 0};
  long count = 0;
  for (int r = std::max(0, row - half); r <= std::min<int>(image->height - 1, row + half); ++r)
    for (int c = std::max(0, column - half); c <= std::min<int>(image->width - 1, column + half); ++c, ++count)
      for (int k = 0; k < 3; ++k) sum[k] += image->pixels[(static_cast<size_t>(r) * image->width + c) * channels + k];
  return {static_cast<int>(sum[0] / count), static_cast<int>(sum[1] / count), static_cast<int>(sum[2] / count)};
}
// The largest difference of one channel.
inline int Difference(const std::array<int, 3>& a, const std::array<int, 3>& b) {
  return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
}
