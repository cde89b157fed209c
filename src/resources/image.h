// Decoding PNG and JPEG entries into pixel images, and a parent's photos into RGB pictures.
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

// Photos: the most pixels one may have, and the most bytes of pixels (as the file stores them,
// before any expansion) it may hold for each byte of the file. Real photos stay far below that
// rule: a JPEG photo holds about 10 bytes of pixels a byte, a flat JPEG a few hundred, and PNG's
// compression cannot pass 1032; what exceeds it is a decompression bomb.
const uint64_t Max_photo_pixels = 100000000;
const uint64_t Max_photo_expansion = 1500;

enum Photo_trouble { Photo_fine, Photo_not_picture, Photo_cut_off, Photo_damaged, Photo_too_many_pixels, Photo_bomb };
struct Photo {
  Tex_image* image = nullptr;  // RGB, rows packed; none when refused
  int orientation = 1;         // the EXIF orientation, 1 to 8
  Photo_trouble trouble = Photo_fine;
};
// Any PNG (grey, palette, 16-bit, interlaced; transparency shown over white) or JPEG (grey,
// YCbCr, CMYK and Adobe's inverted CMYK, progressive) as RGB, with the orientation of its EXIF
// data (a JPEG's APP1 or a PNG's eXIf). The sizes are checked from the header before any pixel
// is allocated. A JPEG is decoded scaled down by 2, 4 or 8 as far as the upright picture still
// covers `cover_width` x `cover_height`.
Photo Decode_photo(const unsigned char* bytes, size_t size, uint32_t cover_width, uint32_t cover_height);
