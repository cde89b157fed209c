// libFuzzer target for the PNG and JPEG decoders, the packs' and the import's of photos (turned,
// cut, scaled): any bytes must decode or be refused without reading outside them, leaking or crashing.
#include <cstddef>
#include <cstdint>
#include "library/picture.h"
#include "resources/picture_size.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Tex_image* image = Decode_image(data, size);
  if (image != nullptr) {
    // Touch the last pixel byte so that a buffer shorter than the image is caught.
    size_t channels = image->format == 0x1908 ? 4 : 3;
    volatile unsigned char last =
        image->pixels[static_cast<size_t>(image->width) * image->height * channels - 1];
    (void)last;
  }
  Free_tex_image(image);
  const Photo photo = Decode_photo(data, size, Picture_width, Picture_height);
  if ((photo.image == nullptr) != (photo.trouble != Photo_fine)) __builtin_trap();  // a picture, or why not
  if (photo.image != nullptr) Upright_picture(*photo.image, photo.orientation);
  Free_tex_image(photo.image);
  return 0;
}
