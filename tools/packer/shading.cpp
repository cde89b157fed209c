// Bevel, shadow and piece maps drawn from a board cut.
#include "shading.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Traces a piece outline as a cairo path in the pixel space of a picture of the cut's board.
void Trace(cairo_t* cr, const Board_cut& cut, const std::vector<Point>& outline, int width,
           int height) {
  for (size_t i = 0; i < outline.size(); ++i) {
    double x = (outline[i].x + cut.half_width) / (2 * cut.half_width) * width;
    double y = (cut.half_height - outline[i].y) / (2 * cut.half_height) * height;
    if (i == 0)
      cairo_move_to(cr, x, y);
    else
      cairo_line_to(cr, x, y);
  }
  cairo_close_path(cr);
}

// The cut's board against the full board: pictures of a smaller board have fewer pixels for
// the same pixels per unit.
float Scale_of(const Board_cut& cut) {
  return static_cast<float>(cut.half_width / Full_board_half_width);
}

}  // namespace

std::vector<int> Piece_map(const Board_cut& cut, int width, int height) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  for (size_t i = 0; i < cut.pieces.size(); ++i) {
    uint32_t id = static_cast<uint32_t>(i + 1);
    cairo_set_source_rgb(cr, ((id >> 16) & 0xFF) / 255.0, ((id >> 8) & 0xFF) / 255.0,
                         (id & 0xFF) / 255.0);
    Trace(cr, cut, cut.pieces[i].outline, width, height);
    cairo_fill(cr);
  }
  cairo_surface_flush(surface);
  std::vector<int> map(static_cast<size_t>(width) * height);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint32_t pixel;
      std::memcpy(&pixel, data + y * stride + x * 4, 4);
      map[static_cast<size_t>(y) * width + x] = static_cast<int>(pixel & 0xFFFFFF) - 1;
    }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return map;
}

std::vector<float> Edge_distance(const std::vector<int>& pieces, int width, int height) {
  const float far_away = 1e9f;
  std::vector<float> d(pieces.size(), far_away);
  auto at = [&](int x, int y) { return pieces[static_cast<size_t>(y) * width + x]; };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      int id = at(x, y);
      bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1 || at(x - 1, y) != id ||
                  at(x + 1, y) != id || at(x, y - 1) != id || at(x, y + 1) != id;
      if (edge) d[static_cast<size_t>(y) * width + x] = 0.5f;
    }
  // Two chamfer passes (3-4 weights scaled to pixels) spread the distance inside each piece.
  const float straight = 1.0f, diagonal = 1.4142f;
  auto relax = [&](int x, int y, int nx, int ny, float step) {
    if (nx < 0 || ny < 0 || nx >= width || ny >= height) return;
    if (at(nx, ny) != at(x, y)) return;
    float& here = d[static_cast<size_t>(y) * width + x];
    here = std::min(here, d[static_cast<size_t>(ny) * width + nx] + step);
  };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      relax(x, y, x - 1, y, straight);
      relax(x, y, x, y - 1, straight);
      relax(x, y, x - 1, y - 1, diagonal);
      relax(x, y, x + 1, y - 1, diagonal);
    }
  for (int y = height - 1; y >= 0; --y)
    for (int x = width - 1; x >= 0; --x) {
      relax(x, y, x + 1, y, straight);
      relax(x, y, x, y + 1, straight);
      relax(x, y, x + 1, y + 1, diagonal);
      relax(x, y, x - 1, y + 1, diagonal);
    }
  return d;
}

std::vector<float> Bevel_gains(const Board_cut& cut, int w, int h) {
  std::vector<int> pieces = Piece_map(cut, w, h);
  std::vector<float> d = Edge_distance(pieces, w, h);
  std::vector<float> gains(static_cast<size_t>(w) * h, 1.0f);
  const float bevel = std::max(3.0f, w / (220.0f * Scale_of(cut)));  // the lit rim in pixels
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      size_t i = static_cast<size_t>(y) * w + x;
      if (d[i] >= bevel) continue;
      // The distance grows inwards; its gradient points into the piece. Light comes from the
      // top left, so rims facing up and left brighten and the others darken.
      auto dist = [&](int xx, int yy) {
        xx = std::clamp(xx, 0, w - 1);
        yy = std::clamp(yy, 0, h - 1);
        size_t j = static_cast<size_t>(yy) * w + xx;
        return pieces[j] == pieces[i] ? d[j] : d[i];
      };
      float gx = dist(x + 1, y) - dist(x - 1, y), gy = dist(x, y + 1) - dist(x, y - 1);
      float length = std::hypot(gx, gy);
      float light = length > 0 ? (gx * 0.7071f + gy * 0.7071f) / length : 0.0f;
      float fade = 1.0f - d[i] / bevel;
      gains[i] = 1.0f + 0.45f * light * fade;
      if (d[i] < 1.0f) gains[i] *= 0.55f;  // the cut itself
    }
  return gains;
}

Image Bevel_picture(const Image& picture, const Board_cut& cut) {
  const std::vector<float> gains = Bevel_gains(cut, picture.width, picture.height);
  Image out = picture;
  for (size_t i = 0; i < gains.size(); ++i)
    for (int c = 0; c < 3; ++c)
      out.rgba[i * 4 + c] = static_cast<uint8_t>(std::clamp(out.rgba[i * 4 + c] * gains[i], 0.0f, 255.0f));
  return out;
}

Image Bevel_map(const Board_cut& cut, int width, int height) {
  const std::vector<float> gains = Bevel_gains(cut, width, height);
  Image map = Solid_image(width, height, 0, 0, 0, 255);
  for (size_t i = 0; i < gains.size(); ++i)
    for (int c = 0; c < 3; ++c)
      map.rgba[i * 4 + c] = static_cast<uint8_t>(std::lround(std::clamp(gains[i] * Bevel_map_unit, 0.0f, 255.0f)));
  return map;
}

Image Shadow_map(const Board_cut& cut, int width, int height) {
  std::vector<int> pieces = Piece_map(cut, width, height);
  std::vector<float> d = Edge_distance(pieces, width, height);
  Image out = Solid_image(width, height, 18, 22, 48, 0);
  const float soft = width / (60.0f * Scale_of(cut));  // soft edge, about a third of a unit
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (pieces[i] < 0) continue;
    float a = std::min(1.0f, d[i] / soft);
    out.rgba[i * 4 + 3] = static_cast<uint8_t>(std::lround(150 * a * a * (3 - 2 * a)));
  }
  return out;
}

Image Slot_map(const Board_cut& cut, int width, int height, float band) {
  std::vector<int> pieces = Piece_map(cut, width, height);
  std::vector<float> d = Edge_distance(pieces, width, height);
  Image out = Solid_image(width, height, 255, 255, 255, 0);
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (pieces[i] < 0 || d[i] > band) continue;
    uint8_t* p = &out.rgba[i * 4];
    if (d[i] < band * 0.3f) {
      p[0] = 30; p[1] = 50; p[2] = 120;    // deep blue on the cut
    } else if (d[i] < band * 0.7f) {
      p[0] = 255; p[1] = 255; p[2] = 255;  // white glow
    } else {
      p[0] = 255; p[1] = 205; p[2] = 60;   // golden inner edge
    }
    p[3] = 255;
  }
  return out;
}

Image Cut_lines_over(const Image& picture, const Board_cut& cut, uint8_t r, uint8_t g, uint8_t b) {
  std::vector<int> pieces = Piece_map(cut, picture.width, picture.height);
  std::vector<float> d = Edge_distance(pieces, picture.width, picture.height);
  Image out = picture;
  for (size_t i = 0; i < d.size(); ++i)
    if (d[i] < 1.5f) {
      out.rgba[i * 4] = r;
      out.rgba[i * 4 + 1] = g;
      out.rgba[i * 4 + 2] = b;
    }
  return out;
}
