// Image decoding: exact pixels and row order, colour types, and damaged, truncated and
// oversized input, which must be refused without reading outside the given bytes.
// Also makes the PNG and JPEG bytes that the texture tests use.
#include "resources/image.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// After <cstdio>: jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "support/support.h"

// PNG bytes of an 8- or 16-bit image; `pixels` are the rows as the file stores them. A palette
// image gets a palette of four colours.
std::string Png_bytes(uint32_t width, uint32_t height, int colour_type,
                      const std::vector<unsigned char>& pixels, int bit_depth = 8,
                      bool interlaced = false) {
  std::string out;
  std::vector<png_bytep> rows(height);  // made before the long-jump point, like `out`
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    ADD_FAILURE() << "test PNG could not be written";
    return "";
  }
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, png_size_t count) {
        static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<char*>(data), count);
      },
      [](png_structp) {});
  png_set_IHDR(png, info, width, height, bit_depth, colour_type,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color palette[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  if (colour_type == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette, 4);
  png_set_compression_level(png, 1);
  png_set_filter(png, 0, PNG_FILTER_NONE);
  png_write_info(png, info);
  size_t row_bytes = png_get_rowbytes(png, info);
  for (uint32_t row = 0; row < height; ++row)
    rows[row] = const_cast<unsigned char*>(pixels.data()) + row * row_bytes;
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// JPEG bytes of an RGB (3 components) or greyscale (1 component) image.
std::string Jpeg_bytes(uint32_t width, uint32_t height, int components,
                       const std::vector<unsigned char>& pixels, bool progressive = false) {
  jpeg_compress_struct jpeg;
  jpeg_error_mgr error;
  jpeg.err = jpeg_std_error(&error);
  jpeg_create_compress(&jpeg);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&jpeg, &buffer, &size);
  jpeg.image_width = width;
  jpeg.image_height = height;
  jpeg.input_components = components;
  jpeg.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&jpeg);
  jpeg_set_quality(&jpeg, 95, TRUE);
  if (progressive) jpeg_simple_progression(&jpeg);
  jpeg_start_compress(&jpeg, TRUE);
  while (jpeg.next_scanline < height) {
    JSAMPROW row = const_cast<unsigned char*>(pixels.data()) +
                   static_cast<size_t>(jpeg.next_scanline) * width * components;
    jpeg_write_scanlines(&jpeg, &row, 1);
  }
  jpeg_finish_compress(&jpeg);
  jpeg_destroy_compress(&jpeg);
  std::string out(reinterpret_cast<char*>(buffer), size);
  std::free(buffer);
  return out;
}

// An RGB picture whose top half is red and bottom half blue.
std::string Red_over_blue_jpeg(uint32_t width, uint32_t height) {
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      unsigned char* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
      p[0] = y < height / 2 ? 230 : 10;
      p[1] = 20;
      p[2] = y < height / 2 ? 10 : 230;
    }
  return Jpeg_bytes(width, height, 3, pixels);
}

namespace {

// The decoders' fuzz target starts from the small valid pictures of these tests: libpng and
// libjpeg are not instrumented, so the fuzzer alone could hardly find their formats.
const std::string& Seeded(const std::string& name, const std::string& bytes) {
  std::string folder = std::string(SHOREBOUND_BINARY_DIR) + "/fuzz/fuzz_image-corpus/";
  struct stat info;
  if (stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) Write_file(folder + name, bytes);
  return bytes;
}

// Bytes placed so that they end exactly at an inaccessible page: a decoder that reads one byte
// too far crashes the test instead of passing by luck.
class Guarded_bytes {
 public:
  explicit Guarded_bytes(const std::string& bytes) {
    page_ = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    data_pages_ = (bytes.size() + page_ - 1) / page_ + 1;
    length_ = (data_pages_ + 1) * page_;
    void* map = mmap(nullptr, length_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    base_ = static_cast<unsigned char*>(map);
    mprotect(base_ + data_pages_ * page_, page_, PROT_NONE);
    start_ = base_ + data_pages_ * page_ - bytes.size();
    std::memcpy(start_, bytes.data(), bytes.size());
  }
  ~Guarded_bytes() { munmap(base_, length_); }
  const unsigned char* data() const { return start_; }

 private:
  size_t page_, data_pages_, length_;
  unsigned char* base_;
  unsigned char* start_;
};

struct Decoded {
  Tex_image* image;
  explicit Decoded(const std::string& bytes)
      : image(Decode_image(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size())) {}
  ~Decoded() { Free_tex_image(image); }
  std::vector<unsigned char> Pixels(size_t channels) const {
    return std::vector<unsigned char>(
        image->pixels,
        image->pixels + static_cast<size_t>(image->width) * image->height * channels);
  }
};

Tex_image* Decode_guarded(const std::string& bytes, size_t length) {
  Guarded_bytes guarded(bytes.substr(0, length));
  return Decode_image(guarded.data(), length);
}

std::vector<unsigned char> Counting_pixels(size_t count) {
  std::vector<unsigned char> pixels(count);
  for (size_t i = 0; i < count; ++i) pixels[i] = static_cast<unsigned char>(i * 7 + 3);
  return pixels;
}

TEST(Png, RgbaRgbAndSixteenBitKeepEveryByteInFileOrderWithTightRows) {
  // RGBA 3 x 2: every byte different, so a swapped row or channel shows.
  std::vector<unsigned char> rgba = Counting_pixels(3 * 2 * 4);
  Decoded a(Seeded("rgba.png", Png_bytes(3, 2, PNG_COLOR_TYPE_RGBA, rgba)));
  ASSERT_NE(a.image, nullptr);
  EXPECT_EQ(a.image->width, 3u);
  EXPECT_EQ(a.image->height, 2u);
  EXPECT_EQ(a.image->format, static_cast<uint32_t>(GL_RGBA));
  EXPECT_EQ(a.Pixels(4), rgba);
  // RGB of odd width: rows of 15 bytes one after another, no padding.
  std::vector<unsigned char> rgb = Counting_pixels(5 * 3 * 3);
  Decoded b(Seeded("rgb.png", Png_bytes(5, 3, PNG_COLOR_TYPE_RGB, rgb)));
  ASSERT_NE(b.image, nullptr);
  EXPECT_EQ(b.image->format, static_cast<uint32_t>(GL_RGB));
  EXPECT_EQ(b.Pixels(3), rgb);
  // The same picture interlaced decodes to the same rows.
  Decoded c(Seeded("interlaced.png", Png_bytes(5, 3, PNG_COLOR_TYPE_RGB, rgb, 8, true)));
  ASSERT_NE(c.image, nullptr);
  EXPECT_EQ(c.Pixels(3), rgb);
  // 16-bit samples are big-endian; the high byte is what remains.
  std::vector<unsigned char> wide = {0x12, 0xff, 0x34, 0x00, 0x56, 0x80,
                                     0xab, 0x01, 0xcd, 0x02, 0xef, 0x03};
  Decoded d(Seeded("wide.png", Png_bytes(2, 1, PNG_COLOR_TYPE_RGB, wide, 16)));
  ASSERT_NE(d.image, nullptr);
  EXPECT_EQ(d.image->format, static_cast<uint32_t>(GL_RGB));
  EXPECT_EQ(d.Pixels(3), (std::vector<unsigned char>{0x12, 0x34, 0x56, 0xab, 0xcd, 0xef}));
}

TEST(Png, TruncatedOrDamagedStreamsAreRefusedWithoutReadingPastTheEnd) {
  std::string png = Png_bytes(6, 5, PNG_COLOR_TYPE_RGBA, Counting_pixels(6 * 5 * 4));
  // Everything up to the image data is needed; only the closing IEND chunk (12 bytes) is not.
  for (size_t length = 0; length + 12 < png.size(); ++length) {
    Tex_image* image = Decode_guarded(png, length);
    EXPECT_EQ(image, nullptr) << "prefix of " << length << " bytes";
    Free_tex_image(image);
  }
  Tex_image* whole = Decode_guarded(png, png.size());
  EXPECT_NE(whole, nullptr);
  Free_tex_image(whole);
  // A flipped bit in the image data breaks its checksum.
  std::string damaged = png;
  size_t idat = damaged.find("IDAT");
  ASSERT_NE(idat, std::string::npos);
  damaged[idat + 6] ^= 0x10;
  EXPECT_EQ(Decoded(damaged).image, nullptr);
}

TEST(Png, ImageOverTheSizeLimitIsRefusedEvenWhenComplete) {
  // 4200 x 4200 RGBA is about 67 MiB of pixels: a valid file, but over the 64 MiB limit.
  const uint32_t side = 4200;
  std::string big = Png_bytes(side, side, PNG_COLOR_TYPE_RGBA,
                              std::vector<unsigned char>(static_cast<size_t>(side) * side * 4, 9));
  EXPECT_EQ(Decoded(big).image, nullptr);
  // 4000 x 4000 RGBA (61 MiB) is still accepted.
  const uint32_t under = 4000;
  Decoded fits(Png_bytes(under, under, PNG_COLOR_TYPE_RGBA,
                         std::vector<unsigned char>(static_cast<size_t>(under) * under * 4, 9)));
  ASSERT_NE(fits.image, nullptr);
  EXPECT_EQ(fits.image->pixels[static_cast<size_t>(under) * under * 4 - 1], 9);
}

TEST(Jpeg, DecodesToItsSizeWithRoughlyItsColoursFirstRowFirst) {
  Decoded d(Seeded("baseline.jpg", Red_over_blue_jpeg(17, 16)));
  ASSERT_NE(d.image, nullptr);
  EXPECT_EQ(d.image->width, 17u);
  EXPECT_EQ(d.image->height, 16u);
  EXPECT_EQ(d.image->format, static_cast<uint32_t>(GL_RGB));
  std::vector<unsigned char> pixels = d.Pixels(3);
  const unsigned char* top = &pixels[(2 * 17 + 8) * 3];
  const unsigned char* bottom = &pixels[(13 * 17 + 8) * 3];
  EXPECT_NEAR(top[0], 230, 25);
  EXPECT_NEAR(top[2], 10, 25);
  EXPECT_NEAR(bottom[0], 10, 25);
  EXPECT_NEAR(bottom[2], 230, 25);
  // A progressive file gives the same picture.
  std::vector<unsigned char> rgb(17 * 16 * 3);
  std::memcpy(rgb.data(), pixels.data(), rgb.size());
  Decoded p(Seeded("progressive.jpg", Jpeg_bytes(17, 16, 3, rgb, true)));
  ASSERT_NE(p.image, nullptr);
  EXPECT_NEAR(p.image->pixels[(2 * 17 + 8) * 3], 230, 25);
  EXPECT_NEAR(p.image->pixels[(13 * 17 + 8) * 3 + 2], 230, 25);
}

TEST(Jpeg, GreyscaleIsWidenedToRgb) {
  // 7 x 5, a dark left part and a light right part.
  std::vector<unsigned char> grey(7 * 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) grey[y * 7 + x] = x < 3 ? 40 : 200;
  Decoded d(Seeded("grey.jpg", Jpeg_bytes(7, 5, 1, grey)));
  ASSERT_NE(d.image, nullptr);
  EXPECT_EQ(d.image->format, static_cast<uint32_t>(GL_RGB));
  EXPECT_EQ(d.image->width, 7u);
  EXPECT_EQ(d.image->height, 5u);
  std::vector<unsigned char> pixels = d.Pixels(3);  // 105 bytes: three per pixel
  for (int y = 0; y < 5; ++y) {
    const unsigned char* dark = &pixels[(y * 7 + 0) * 3];
    const unsigned char* light = &pixels[(y * 7 + 6) * 3];
    EXPECT_NEAR(dark[0], 40, 20);
    EXPECT_EQ(dark[0], dark[1]);
    EXPECT_EQ(dark[1], dark[2]);
    EXPECT_NEAR(light[0], 200, 20);
    EXPECT_EQ(light[0], light[2]);
  }
}

TEST(Jpeg, TruncatedDamagedAndForeignBytesAreRefusedWithoutReadingPastTheEnd) {
  std::string jpeg = Red_over_blue_jpeg(32, 24);
  std::vector<unsigned char> rgb(32 * 24 * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<unsigned char>(i * 5);
  // Every prefix is refused, of a baseline and of a progressive file (read whole at the start).
  for (const std::string& whole_file : {jpeg, Jpeg_bytes(32, 24, 3, rgb, true)}) {
    for (size_t length = 0; length < whole_file.size(); ++length) {
      Tex_image* image = Decode_guarded(whole_file, length);
      EXPECT_EQ(image, nullptr) << "prefix of " << length << " bytes";
      Free_tex_image(image);
    }
    Tex_image* whole = Decode_guarded(whole_file, whole_file.size());
    EXPECT_NE(whole, nullptr);
    Free_tex_image(whole);
  }
  // A start-of-frame marker turned into an unknown one, plain text, and a lone PNG prefix.
  std::string damaged = jpeg;
  size_t frame = damaged.find("\xff\xc0");
  ASSERT_NE(frame, std::string::npos);
  damaged[frame + 1] = static_cast<char>(0xc3);  // lossless coding, which is not supported
  EXPECT_EQ(Decoded(damaged).image, nullptr);
  EXPECT_EQ(Decoded("just some words, not a picture").image, nullptr);
  std::string png_start = Png_bytes(1, 1, PNG_COLOR_TYPE_RGB, {1, 2, 3}).substr(0, 7);
  Tex_image* partial = Decode_guarded(png_start, png_start.size());
  EXPECT_EQ(partial, nullptr);
  Free_tex_image(partial);
}

TEST(Jpeg, HugeDeclaredSizeIsRefusedBeforeAnyPixelIsMade) {
  // A small file whose frame header claims 30000 x 30000 pixels (2.5 GiB of RGB). Decoding it
  // anyway would fill every row with grey from a made-up end of data.
  std::string jpeg = Red_over_blue_jpeg(16, 16);
  size_t frame = jpeg.find("\xff\xc0");
  ASSERT_NE(frame, std::string::npos);
  jpeg[frame + 5] = static_cast<char>(30000 >> 8);
  jpeg[frame + 6] = static_cast<char>(30000 & 0xff);
  jpeg[frame + 7] = static_cast<char>(30000 >> 8);
  jpeg[frame + 8] = static_cast<char>(30000 & 0xff);
  rusage before, after;
  getrusage(RUSAGE_SELF, &before);
  EXPECT_EQ(Decoded(jpeg).image, nullptr);
  getrusage(RUSAGE_SELF, &after);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 256 * 1024) << "kilobytes of peak memory";
}

TEST(Jpeg, ProgressiveFileWithThousandsOfScansIsRefused) {
  // Each repeated scan makes the decoder pass over the whole picture again: a few kilobytes
  // could keep it busy for seconds on a large frame. The picture itself is fine.
  std::vector<unsigned char> rgb(16 * 16 * 3, 100);
  std::string jpeg = Jpeg_bytes(16, 16, 3, rgb, true);
  size_t last_scan = jpeg.rfind("\xff\xda");
  ASSERT_NE(last_scan, std::string::npos);
  std::string scan = jpeg.substr(last_scan, jpeg.size() - 2 - last_scan);
  std::string many = jpeg.substr(0, jpeg.size() - 2);
  for (int copy = 0; copy < 1000; ++copy) many += scan;
  many += "\xff\xd9";
  EXPECT_EQ(Decoded(many).image, nullptr);
  EXPECT_NE(Decoded(jpeg).image, nullptr);
}

TEST(Decode, EmptyInputIsNoImage) {
  unsigned char byte = 0xff;
  EXPECT_EQ(Decode_image(&byte, 0), nullptr);
  EXPECT_EQ(Decode_image(nullptr, 0), nullptr);
  EXPECT_EQ(Decode_png(&byte, 1), nullptr);
  EXPECT_EQ(Decode_jpeg(&byte, 1), nullptr);
  Free_tex_image(nullptr);
}

}  // namespace
