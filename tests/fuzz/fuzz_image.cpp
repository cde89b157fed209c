// libFuzzer target for the PNG and JPEG decoders: any bytes must decode or be refused without
// reading outside them, leaking or crashing.
#include <cstddef>
#include <cstdint>
#include "resources/image.h"

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
  return 0;
}
