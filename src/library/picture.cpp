// Turning, cropping and area-averaged scaling of a photo.
#include "library/picture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "resources/picture_size.h"

namespace {

// The source pixels that one picture pixel covers along one axis: from `first` on, how much of
// each.
struct Footprint {
  uint32_t first = 0;
  std::vector<double> shares;
  double total = 0;
};

// `count` picture pixels of `step` source pixels each, from `origin` on, within `limit`.
std::vector<Footprint> Footprints(double origin, double step, int count, uint32_t limit) {
  std::vector<Footprint> footprints(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    Footprint& footprint = footprints[static_cast<size_t>(i)];
    const double start = origin + i * step, end = start + step;
    footprint.first = static_cast<uint32_t>(start);
    for (double at = std::floor(start); at < end && at < limit; ++at) {
      footprint.shares.push_back(std::min(end, at + 1) - std::max(start, at));
      footprint.total += footprint.shares.back();
    }
  }
  return footprints;
}

// Where the upright picture's pixel (u, v) lies in the photo as stored, `width` x `height`.
size_t Stored_at(int orientation, uint32_t u, uint32_t v, uint32_t width, uint32_t height) {
  uint32_t x = u, y = v;
  switch (orientation) {
    case 2: x = width - 1 - u; break;                      // stands up mirrored left to right,
    case 3: x = width - 1 - u, y = height - 1 - v; break;  // turned half round,
    case 4: y = height - 1 - v; break;                     // mirrored top to bottom,
    case 5: x = v, y = u; break;                           // mirrored about its main diagonal,
    case 6: x = v, y = height - 1 - u; break;              // turned a quarter clockwise,
    case 7: x = width - 1 - v, y = height - 1 - u; break;  // mirrored about the other diagonal,
    case 8: x = width - 1 - v, y = u; break;               // turned a quarter anticlockwise
    default: break;
  }
  return (static_cast<size_t>(y) * width + x) * 3;
}

}  // namespace

std::vector<unsigned char> Upright_picture(const Tex_image& photo, int orientation) {
  const bool turned = orientation >= 5 && orientation <= 8;
  const double width = turned ? photo.height : photo.width, height = turned ? photo.width : photo.height;
  // The largest 10:7 part about the centre.
  const double crop_width = std::min(width, height * Picture_width / Picture_height);
  const double step = crop_width / Picture_width;
  const std::vector<Footprint> columns = Footprints((width - crop_width) / 2, step, Picture_width, static_cast<uint32_t>(width));
  const std::vector<Footprint> rows = Footprints((height - step * Picture_height) / 2, step, Picture_height, static_cast<uint32_t>(height));
  std::vector<unsigned char> rgb(static_cast<size_t>(Picture_width) * Picture_height * 3);
  unsigned char* out = rgb.data();
  for (const Footprint& row : rows)
    for (const Footprint& column : columns) {
      double sum[3] = {0, 0, 0};
      for (size_t j = 0; j < row.shares.size(); ++j)
        for (size_t i = 0; i < column.shares.size(); ++i) {
          const unsigned char* pixel = photo.pixels + Stored_at(orientation, column.first + static_cast<uint32_t>(i), row.first + static_cast<uint32_t>(j), photo.width, photo.height);
          const double share = row.shares[j] * column.shares[i];
          for (int c = 0; c < 3; ++c) sum[c] += pixel[c] * share;
        }
      for (int c = 0; c < 3; ++c) *out++ = static_cast<unsigned char>(std::lround(sum[c] / (row.total * column.total)));
    }
  return rgb;
}
