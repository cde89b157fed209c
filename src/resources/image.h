// Decoding PNG and JPEG entries into pixel images.
#pragma once
#include <cstddef>
#include <cstdint>

struct Tex_image {
  uint32_t height = 0;
  uint32_t width = 0;
  unsigned char* pixels = nullptr;  // rows, first row of the file first
  uint32_t format = 0;              // GL_RGB or GL_RGBA
};

// A new image, or none when the bytes are not an image the game can show. PNG is chosen by
// its signature, whatever the entry's name; everything else is tried as JPEG.
Tex_image* Decode_image(const unsigned char* bytes, size_t size);
Tex_image* Decode_png(const unsigned char* bytes, size_t size);
Tex_image* Decode_jpeg(const unsigned char* bytes, size_t size);
// Frees the pixels, then the record.
void Free_tex_image(Tex_image* image);

// A new image of the given size, each pixel the mean of the pixels it covers (no aliasing when
// shrinking); the same channels. None when either image has no pixels.
Tex_image* Scaled_image(const Tex_image& image, uint32_t width, uint32_t height);
