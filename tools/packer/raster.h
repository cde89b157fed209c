// Pictures for the packs: SVG rasterised with librsvg and cairo into RGBA pixels, drawing on
// them, and encoding them as PNG or JPEG bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // straight (not premultiplied) alpha, first row first
};

// Renders an SVG file at the given pixel size; throws std::runtime_error naming the file when
// it cannot be read or rendered.
Image Render_svg(const std::string& path, int width, int height);
// The image resized (bilinear, area-averaged when shrinking a lot) to the given size.
Image Resize(const Image& image, int width, int height);
// PNG bytes, RGB (alpha dropped) or RGBA.
std::string Encode_png(const Image& image, bool alpha);
// Baseline JPEG bytes at the given quality.
std::string Encode_jpeg(const Image& image, int quality);
// A solid image.
Image Solid_image(int width, int height, uint8_t r, uint8_t g, uint8_t b, uint8_t a);
