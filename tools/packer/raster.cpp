// SVG rasterising and PNG/JPEG encoding for the packer.
#include "raster.h"

#include <cairo.h>
#include <librsvg/rsvg.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "resources/jpeg_encoder.h"

// Ends the rendering of an SVG that failed, naming the file: the build must not go on with a
// blank picture.
[[noreturn]] static void Art_failed(const std::string& path, const char* what, GError* error) {
  const std::string reason = error != nullptr ? error->message : "unknown error";
  if (error != nullptr) g_error_free(error);
  throw std::runtime_error("cannot " + std::string(what) + " " + path + ": " + reason);
}

Image Render_svg(const std::string& path, int width, int height) {
  Image image;
  GError* error = nullptr;
  RsvgHandle* handle = rsvg_handle_new_from_file(path.c_str(), &error);
  if (handle == nullptr) Art_failed(path, "read", error);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  RsvgRectangle viewport = {0, 0, static_cast<double>(width), static_cast<double>(height)};
  if (!rsvg_handle_render_document(handle, cr, &viewport, &error)) {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    g_object_unref(handle);
    Art_failed(path, "render", error);
  }
  cairo_surface_flush(surface);
  image.width = width;
  image.height = height;
  image.rgba.resize(static_cast<size_t>(width) * height * 4);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint32_t argb;
      std::memcpy(&argb, data + y * stride + x * 4, 4);
      uint8_t a = argb >> 24;
      uint8_t* out = &image.rgba[(static_cast<size_t>(y) * width + x) * 4];
      // cairo stores premultiplied colour; undo it.
      for (int c = 0; c < 3; ++c) {
        uint32_t v = (argb >> (16 - 8 * c)) & 0xFF;
        out[c] = a == 0 ? 0 : static_cast<uint8_t>(std::min<uint32_t>(255, (v * 255 + a / 2) / a));
      }
      out[3] = a;
    }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  g_object_unref(handle);
  return image;
}

Image Resize(const Image& source, int width, int height) {
  Image out;
  out.width = width;
  out.height = height;
  out.rgba.resize(static_cast<size_t>(width) * height * 4);
  double sx = static_cast<double>(source.width) / width, sy = static_cast<double>(source.height) / height;
  // Average over the source footprint of each output pixel (premultiplied, so edges stay clean).
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      int x0 = static_cast<int>(x * sx), x1 = std::max(x0 + 1, static_cast<int>((x + 1) * sx));
      int y0 = static_cast<int>(y * sy), y1 = std::max(y0 + 1, static_cast<int>((y + 1) * sy));
      double sum[4] = {0, 0, 0, 0};
      int count = 0;
      for (int yy = y0; yy < std::min(y1, source.height); ++yy)
        for (int xx = x0; xx < std::min(x1, source.width); ++xx) {
          const uint8_t* p = &source.rgba[(static_cast<size_t>(yy) * source.width + xx) * 4];
          double a = p[3] / 255.0;
          for (int c = 0; c < 3; ++c) sum[c] += p[c] * a;
          sum[3] += a;
          ++count;
        }
      uint8_t* o = &out.rgba[(static_cast<size_t>(y) * width + x) * 4];
      for (int c = 0; c < 3; ++c)
        o[c] = sum[3] > 0 ? static_cast<uint8_t>(std::lround(sum[c] / sum[3])) : 0;
      o[3] = count > 0 ? static_cast<uint8_t>(std::lround(sum[3] / count * 255)) : 0;
    }
  return out;
}

Image Solid_image(int width, int height, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  Image image;
  image.width = width;
  image.height = height;
  image.rgba.resize(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < image.rgba.size(); i += 4) {
    image.rgba[i] = r;
    image.rgba[i + 1] = g;
    image.rgba[i + 2] = b;
    image.rgba[i + 3] = a;
  }
  return image;
}

static void Png_write(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}
static void Png_flush(png_structp) {}

std::string Encode_png(const Image& image, bool alpha) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return "";
  }
  png_set_write_fn(png, &out, Png_write, Png_flush);
  png_set_IHDR(png, info, image.width, image.height, 8,
               alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  int channels = alpha ? 4 : 3;
  std::vector<uint8_t> row(static_cast<size_t>(image.width) * channels);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x)
      for (int c = 0; c < channels; ++c)
        row[x * channels + c] = image.rgba[(static_cast<size_t>(y) * image.width + x) * 4 + c];
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::string Encode_jpeg(const Image& image, int quality) {
  std::vector<uint8_t> rgb(static_cast<size_t>(image.width) * image.height * 3);
  for (size_t pixel = 0; pixel < rgb.size() / 3; ++pixel)
    std::memcpy(&rgb[pixel * 3], &image.rgba[pixel * 4], 3);
  return Encode_jpeg(rgb.data(), image.width, image.height, quality);
}
