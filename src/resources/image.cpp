// Decoding PNG and JPEG entries from memory into RGB or RGBA pixel images, and a parent's photos
// into RGB. Every decoder stays inside the bytes it was given, and a bad image is refused, never
// fatal.
#include "resources/image.h"

#include <algorithm>

#include <GL/gl.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

// After <cstdio>: jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "resources/exif.h"

// Largest pixel buffer accepted for a pack's picture: far above any picture of the game, far
// below what a damaged header could ask for. A photo's is bounded by its pixels (RGBA or CMYK as
// decoded, before it is made RGB).
static const uint64_t Max_pixel_bytes = 64ull << 20;
static const uint64_t Max_photo_pixel_bytes = 4 * Max_photo_pixels;

static bool Pixel_bytes_fit(uint64_t width, uint64_t height, uint64_t row_bytes, uint64_t limit) {
  return width != 0 && height != 0 && row_bytes != 0 && row_bytes <= limit &&
         height <= limit / row_bytes;
}

// The refusals a photo's header decides: too many pixels, or too many for the file's bytes.
static Photo_trouble Header_trouble(uint64_t width, uint64_t height, uint64_t bits_per_pixel, size_t size) {
  if (width * height > Max_photo_pixels) return Photo_too_many_pixels;
  if (width * height * bits_per_pixel / 8 > Max_photo_expansion * size) return Photo_bomb;
  return Photo_fine;
}

void Free_tex_image(Tex_image* image) {
  if (image == nullptr) return;
  std::free(image->pixels);
  delete image;
}

Tex_image* Decode_image(const unsigned char* bytes, size_t size) {
  if (bytes == nullptr || size == 0) return nullptr;
  if (size >= 8 && png_sig_cmp(bytes, 0, 8) == 0) return Decode_png(bytes, size);
  return Decode_jpeg(bytes, size);
}

// ---- PNG ----

struct Png_source {
  const unsigned char* bytes;
  size_t size;
  size_t offset;
  bool ran_out;
};

static void Read_png_bytes(png_structp png, png_bytep out, png_size_t count) {
  Png_source* source = static_cast<Png_source*>(png_get_io_ptr(png));
  if (count > source->size - source->offset) {
    source->ran_out = true;
    png_error(png, "PNG data end before the image");
  }
  std::memcpy(out, source->bytes + source->offset, count);
  source->offset += count;
}

// libpng's messages are not shown: a refused picture is told by its caller, in its own words.
static void Png_failed(png_structp png, png_const_charp) { png_longjmp(png, 1); }
static void Png_warned(png_structp, png_const_charp) {}

// A photo's pixels as RGB, rows packed, and those with alpha shown over white.
static void Pack_rgb(Tex_image* image, size_t row_bytes, size_t channels) {
  unsigned char* out = image->pixels;
  for (uint32_t y = 0; y < image->height; ++y)
    for (const unsigned char* in = image->pixels + y * row_bytes; in < image->pixels + y * row_bytes + image->width * channels; in += channels) {
      const unsigned alpha = channels == 4 ? in[3] : 255;
      for (int c = 0; c < 3; ++c) *out++ = static_cast<unsigned char>((in[c] * alpha + 255 * (255 - alpha) + 127) / 255);
    }
}

// A pack's PNG as stored (RGB or RGBA, 8 or 16 bits) or, given `photo`, any PNG as RGB with its
// orientation and, when refused, why. No C++ objects with destructors live in this function:
// libpng leaves it by long jump.
static Tex_image* Read_png(const unsigned char* bytes, size_t size, Photo* photo) {
  if (bytes == nullptr || size < 8 || png_sig_cmp(bytes, 0, 8) != 0) return nullptr;
  // A photo's header chunk comes first: its size is judged there, before libpng reads on to the
  // pixels (a cut-off file may stop before them).
  if (photo != nullptr && size >= 26 && std::memcmp(bytes + 12, "IHDR", 4) == 0) {
    const int type = bytes[25];
    const int samples = type == PNG_COLOR_TYPE_PALETTE ? 1 : (type & PNG_COLOR_MASK_COLOR ? 3 : 1) + (type & PNG_COLOR_MASK_ALPHA ? 1 : 0);
    photo->trouble = Header_trouble(png_get_uint_32(bytes + 16), png_get_uint_32(bytes + 20), samples * bytes[24], size);
    if (photo->trouble != Photo_fine) return nullptr;
  }
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Png_failed, Png_warned);
  if (png == nullptr) return nullptr;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return nullptr;
  }
  Png_source source = {bytes, size, 8, false};
  Tex_image* volatile image = nullptr;
  png_bytep* volatile rows = nullptr;
  if (setjmp(png_jmpbuf(png))) {
    if (photo != nullptr && photo->trouble == Photo_fine) photo->trouble = source.ran_out ? Photo_cut_off : Photo_damaged;
    std::free(rows);
    Free_tex_image(image);
    png_destroy_read_struct(&png, &info, nullptr);
    return nullptr;
  }
  png_set_read_fn(png, &source, Read_png_bytes);
  png_set_sig_bytes(png, 8);
  png_read_info(png, info);

  png_uint_32 width = png_get_image_width(png, info);
  png_uint_32 height = png_get_image_height(png, info);
  int colour_type = png_get_color_type(png, info);
  if (photo != nullptr) {
    png_set_expand(png);  // a palette to RGB, grey of 1, 2 or 4 bits to 8, transparency to alpha
    png_set_gray_to_rgb(png);
  } else if (colour_type != PNG_COLOR_TYPE_RGB && colour_type != PNG_COLOR_TYPE_RGB_ALPHA) {
    png_error(png, "PNG colour type is neither RGB nor RGBA");
  }
  // 16-bit channels are cut to 8, so that a pixel is always 3 or 4 bytes.
  if (png_get_bit_depth(png, info) == 16) png_set_strip_16(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  size_t row_bytes = png_get_rowbytes(png, info);
  size_t channels = png_get_channels(png, info);
  if (row_bytes < static_cast<size_t>(width) * channels ||
      !Pixel_bytes_fit(width, height, row_bytes, photo != nullptr ? Max_photo_pixel_bytes : Max_pixel_bytes))
    png_error(png, "PNG image too large");

  image = new (std::nothrow) Tex_image;
  if (image == nullptr) png_error(png, "out of memory");
  image->width = width;
  image->height = height;
  image->format = channels == 4 && photo == nullptr ? GL_RGBA : GL_RGB;
  image->pixels = static_cast<unsigned char*>(std::malloc(row_bytes * height));
  if (image->pixels == nullptr) png_error(png, "out of memory");
  rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
  if (rows == nullptr) png_error(png, "out of memory");
  for (png_uint_32 row = 0; row < height; ++row) rows[row] = image->pixels + row * row_bytes;
  png_read_image(png, rows);
  if (photo != nullptr) {
    png_read_end(png, info);  // an eXIf chunk may follow the pixels
    png_bytep exif = nullptr;
    png_uint_32 exif_size = 0;
    if (png_get_eXIf_1(png, info, &exif_size, &exif) != 0) photo->orientation = Exif_orientation(exif, exif_size);
    Pack_rgb(image, row_bytes, channels);
  }

  std::free(rows);
  png_destroy_read_struct(&png, &info, nullptr);
  return image;
}

Tex_image* Decode_png(const unsigned char* bytes, size_t size) { return Read_png(bytes, size, nullptr); }

// ---- JPEG ----

// libjpeg's error manager, which returns here by long jump instead of ending the program.
struct Jpeg_error {
  jpeg_error_mgr manager;
  jmp_buf back;
};

static void Jpeg_error_exit(j_common_ptr jpeg) {
  longjmp(reinterpret_cast<Jpeg_error*>(jpeg->err)->back, 1);
}

static void Jpeg_silent_message(j_common_ptr) {}

// The memory source: the whole entry at once; when it runs dry, an end-of-image marker.
struct Jpeg_source {
  jpeg_source_mgr manager;
  const unsigned char* bytes;
  size_t size;
  bool given;
  bool ran_out;
};

static const JOCTET Fake_end_of_image[2] = {0xFF, JPEG_EOI};

static void Jpeg_source_nothing(j_decompress_ptr) {}

static boolean Jpeg_fill_input(j_decompress_ptr jpeg) {
  Jpeg_source* source = reinterpret_cast<Jpeg_source*>(jpeg->src);
  if (!source->given) {
    source->given = true;
    source->manager.next_input_byte = source->bytes;
    source->manager.bytes_in_buffer = source->size;
  } else {
    WARNMS(jpeg, JWRN_JPEG_EOF);
    source->ran_out = true;
    source->manager.next_input_byte = Fake_end_of_image;
    source->manager.bytes_in_buffer = sizeof Fake_end_of_image;
  }
  return TRUE;
}

static void Jpeg_skip_input(j_decompress_ptr jpeg, long count) {
  if (count <= 0) return;
  jpeg_source_mgr* source = jpeg->src;
  if (static_cast<unsigned long>(count) > source->bytes_in_buffer) {
    // Skipping past the end: the next read finds the buffer empty and gets the end marker.
    if (!reinterpret_cast<Jpeg_source*>(source)->given) Jpeg_fill_input(jpeg);
    if (static_cast<unsigned long>(count) > source->bytes_in_buffer) {
      source->next_input_byte += source->bytes_in_buffer;
      source->bytes_in_buffer = 0;
      return;
    }
  }
  source->next_input_byte += count;
  source->bytes_in_buffer -= static_cast<size_t>(count);
}

// A progressive picture is read scan by scan over the whole image; ours have about ten scans,
// while a damaged file of a few kilobytes can hold thousands and take seconds.
static const int Max_jpeg_scans = 100;

static void Jpeg_limit_scans(j_common_ptr common) {
  j_decompress_ptr jpeg = reinterpret_cast<j_decompress_ptr>(common);
  if (jpeg->input_scan_number > Max_jpeg_scans) ERREXIT(jpeg, JERR_NOTIMPL);
}

// CMYK to RGB. Adobe's files (those with its marker) keep the inks inverted: 255 is no ink.
static void Cmyk_to_rgb(const unsigned char* cmyk, unsigned char* rgb, size_t pixels, bool inverted) {
  for (size_t pixel = 0; pixel < pixels; ++pixel, cmyk += 4, rgb += 3) {
    const unsigned white = inverted ? cmyk[3] : 255 - cmyk[3];
    for (int c = 0; c < 3; ++c)
      rgb[c] = static_cast<unsigned char>(((inverted ? cmyk[c] : 255 - cmyk[c]) * white + 127) / 255);
  }
}

// A photo's header read: its refusals, its orientation, and how far it shrinks while decoded.
static void Fit_photo(j_decompress_ptr jpeg, Photo* photo, size_t size, uint32_t cover_width, uint32_t cover_height) {
  photo->trouble = Header_trouble(jpeg->image_width, jpeg->image_height, 8 * jpeg->num_components, size);
  if (photo->trouble != Photo_fine) ERREXIT(jpeg, JERR_IMAGE_TOO_BIG);
  for (jpeg_saved_marker_ptr marker = jpeg->marker_list; marker != nullptr; marker = marker->next)
    if (marker->data_length > 6 && std::memcmp(marker->data, "Exif\0\0", 6) == 0) {
      photo->orientation = Exif_orientation(marker->data + 6, marker->data_length - 6);
      break;
    }
  const bool turned = photo->orientation >= 5;  // its rows stand upright as columns
  const uint32_t upright_width = turned ? jpeg->image_height : jpeg->image_width;
  const uint32_t upright_height = turned ? jpeg->image_width : jpeg->image_height;
  jpeg->scale_num = 1;
  jpeg->scale_denom = 8;
  while (jpeg->scale_denom > 1 && (upright_width / jpeg->scale_denom < cover_width ||
                                   upright_height / jpeg->scale_denom < cover_height))
    jpeg->scale_denom /= 2;
}

// A pack's JPEG (YCbCr or grey) as RGB or, given `photo`, any JPEG as RGB, scaled down to cover
// the size given, with its orientation and, when refused, why. No C++ objects with destructors
// live in this function: libjpeg leaves it by long jump.
static Tex_image* Read_jpeg(const unsigned char* bytes, size_t size, Photo* photo, uint32_t cover_width,
                            uint32_t cover_height) {
  if (bytes == nullptr || size == 0) return nullptr;
  jpeg_decompress_struct jpeg;
  jpeg.mem = nullptr;  // destroying before creation is harmless
  Jpeg_error error;
  Jpeg_source source;
  jpeg_progress_mgr progress;
  Tex_image* volatile image = nullptr;
  jpeg.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = Jpeg_error_exit;
  error.manager.output_message = Jpeg_silent_message;
  if (setjmp(error.back)) {
    if (photo != nullptr && photo->trouble == Photo_fine) photo->trouble = source.ran_out ? Photo_cut_off : Photo_damaged;
    Free_tex_image(image);
    jpeg_destroy_decompress(&jpeg);
    return nullptr;
  }
  source.ran_out = false;
  jpeg_create_decompress(&jpeg);
  // Bounds libjpeg's own working memory (a progressive image keeps all its coefficients).
  const uint64_t pixel_limit = photo != nullptr ? Max_photo_pixel_bytes : Max_pixel_bytes;
  jpeg.mem->max_memory_to_use = static_cast<long>(4 * pixel_limit);
  progress.progress_monitor = Jpeg_limit_scans;
  jpeg.progress = &progress;

  source.manager.init_source = Jpeg_source_nothing;
  source.manager.fill_input_buffer = Jpeg_fill_input;
  source.manager.skip_input_data = Jpeg_skip_input;
  source.manager.resync_to_restart = jpeg_resync_to_restart;
  source.manager.term_source = Jpeg_source_nothing;
  source.manager.next_input_byte = nullptr;
  source.manager.bytes_in_buffer = 0;
  source.bytes = bytes;
  source.size = size;
  source.given = false;
  jpeg.src = &source.manager;

  if (photo != nullptr) jpeg_save_markers(&jpeg, JPEG_APP0 + 1, 0xFFFF);  // EXIF
  jpeg_read_header(&jpeg, TRUE);
  // Greyscale pictures are widened to RGB, so every JPEG is shown as GL_RGB; a photo's CMYK is
  // made RGB here.
  const bool cmyk = photo != nullptr && (jpeg.jpeg_color_space == JCS_CMYK || jpeg.jpeg_color_space == JCS_YCCK);
  jpeg.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  if (photo != nullptr) Fit_photo(&jpeg, photo, size, cover_width, cover_height);
  jpeg_calc_output_dimensions(&jpeg);
  if (jpeg.output_components != (cmyk ? 4 : 3) ||
      !Pixel_bytes_fit(jpeg.output_width, jpeg.output_height,
                       static_cast<uint64_t>(jpeg.output_width) * jpeg.output_components, pixel_limit))
    ERREXIT(&jpeg, JERR_IMAGE_TOO_BIG);
  jpeg_start_decompress(&jpeg);

  size_t row_bytes = static_cast<size_t>(jpeg.output_width) * 3;
  image = new (std::nothrow) Tex_image;
  if (image == nullptr) ERREXIT1(&jpeg, JERR_OUT_OF_MEMORY, 0);
  image->format = GL_RGB;
  image->width = jpeg.output_width;
  image->height = jpeg.output_height;
  image->pixels = static_cast<unsigned char*>(std::malloc(row_bytes * jpeg.output_height));
  if (image->pixels == nullptr) ERREXIT1(&jpeg, JERR_OUT_OF_MEMORY, 1);
  JSAMPARRAY row = (*jpeg.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&jpeg), JPOOL_IMAGE,
                                             jpeg.output_width * jpeg.output_components, 1);
  while (jpeg.output_scanline < jpeg.output_height) {
    unsigned char* out = image->pixels + jpeg.output_scanline * row_bytes;
    if (jpeg_read_scanlines(&jpeg, row, 1) != 1) ERREXIT(&jpeg, JERR_INPUT_EOF);
    if (cmyk)
      Cmyk_to_rgb(row[0], out, jpeg.output_width, jpeg.saw_Adobe_marker);
    else
      std::memcpy(out, row[0], row_bytes);
  }
  // A stream that ran out before the last row was decoded is a damaged picture (libjpeg would
  // show the rest grey); with the decoder's read-ahead this includes a missing end marker.
  if (source.ran_out) ERREXIT(&jpeg, JERR_INPUT_EOF);
  jpeg_finish_decompress(&jpeg);
  jpeg_destroy_decompress(&jpeg);
  return image;
}

Tex_image* Scaled_image(const Tex_image& image, uint32_t width, uint32_t height) {
  if (image.pixels == nullptr || image.width == 0 || image.height == 0 || width == 0 || height == 0) return nullptr;
  const int channels = image.format == GL_RGBA ? 4 : 3;
  auto* out = new Tex_image;
  out->width = width;
  out->height = height;
  out->format = image.format;
  out->pixels = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(width) * height * channels));
  // Each output pixel covers a box of the source; the box's pixels are averaged.
  for (uint32_t y = 0; y < height; ++y) {
    const uint32_t top = static_cast<uint32_t>(uint64_t(y) * image.height / height);
    const uint32_t bottom = std::max(top + 1, static_cast<uint32_t>(uint64_t(y + 1) * image.height / height));
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t left = static_cast<uint32_t>(uint64_t(x) * image.width / width);
      const uint32_t right = std::max(left + 1, static_cast<uint32_t>(uint64_t(x + 1) * image.width / width));
      uint32_t sum[4] = {0, 0, 0, 0};
      for (uint32_t sy = top; sy < bottom; ++sy)
        for (uint32_t sx = left; sx < right; ++sx)
          for (int c = 0; c < channels; ++c) sum[c] += image.pixels[(size_t(sy) * image.width + sx) * channels + c];
      const uint32_t count = (bottom - top) * (right - left);
      for (int c = 0; c < channels; ++c)
        out->pixels[(size_t(y) * width + x) * channels + c] = static_cast<unsigned char>((sum[c] + count / 2) / count);
    }
  }
  return out;
}

Tex_image* Decode_jpeg(const unsigned char* bytes, size_t size) { return Read_jpeg(bytes, size, nullptr, 0, 0); }

Photo Decode_photo(const unsigned char* bytes, size_t size, uint32_t cover_width, uint32_t cover_height) {
  Photo photo;
  if (bytes != nullptr && size >= 8 && png_sig_cmp(bytes, 0, 8) == 0)
    photo.image = Read_png(bytes, size, &photo);
  else if (bytes != nullptr && size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
    photo.image = Read_jpeg(bytes, size, &photo, cover_width, cover_height);
  else
    photo.trouble = Photo_not_picture;
  if (photo.image == nullptr && photo.trouble == Photo_fine) photo.trouble = Photo_damaged;
  return photo;
}
