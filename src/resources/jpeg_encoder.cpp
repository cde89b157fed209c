// Baseline JPEG encoding with libjpeg, whose errors come back here instead of ending the program.
#include "resources/jpeg_encoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// After <cstdio>: jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace {
struct Encoder_error {
  jpeg_error_mgr manager;
  jmp_buf back;
};
void Encoder_error_exit(j_common_ptr jpeg) { longjmp(reinterpret_cast<Encoder_error*>(jpeg->err)->back, 1); }
}  // namespace

// No C++ objects with destructors live across the long jump.
std::string Encode_jpeg(const unsigned char* rgb, int width, int height, int quality) {
  jpeg_compress_struct jpeg;
  Encoder_error error;
  unsigned char* volatile buffer = nullptr;
  unsigned long size = 0;
  jpeg.mem = nullptr;  // destroying before creation is harmless
  jpeg.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = Encoder_error_exit;
  if (setjmp(error.back)) {
    jpeg_destroy_compress(&jpeg);
    std::free(buffer);
    return std::string();
  }
  jpeg_create_compress(&jpeg);
  jpeg_mem_dest(&jpeg, const_cast<unsigned char**>(&buffer), &size);
  jpeg.image_width = static_cast<JDIMENSION>(width);
  jpeg.image_height = static_cast<JDIMENSION>(height);
  jpeg.input_components = 3;
  jpeg.in_color_space = JCS_RGB;
  jpeg_set_defaults(&jpeg);
  jpeg_set_quality(&jpeg, quality, TRUE);
  jpeg_start_compress(&jpeg, TRUE);
  while (jpeg.next_scanline < jpeg.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb + static_cast<size_t>(jpeg.next_scanline) * width * 3);
    jpeg_write_scanlines(&jpeg, &row, 1);
  }
  jpeg_finish_compress(&jpeg);
  jpeg_destroy_compress(&jpeg);
  std::string bytes(reinterpret_cast<char*>(buffer), size);
  std::free(buffer);
  return bytes;
}
