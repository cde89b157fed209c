// Packs read back as written, damaged packs, the image decoders and the texture life cycle.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/mman.h>
#include <unistd.h>
#include <numeric>

#include "resources/formats.h"
#include "resources/image.h"
#include "resources/jpeg_encoder.h"
#include "resources/texture.h"
#include "support/packs.h"
#include <GL/glx.h>  // after gtest: Xlib's macros None and Bool would break its headers
namespace {
typedef std::map<std::string, std::string> Entries;

// The pack loaded from the resource folder, as entry name -> bytes.
Entries Loaded(const std::string& pack) {
  Load_pack_from_file_data_store(pack);
  Entries entries;
  for (const auto& entry : Global_data[pack])
    entries[entry.first] = entry.second.size == 0 ? "" : std::string(reinterpret_cast<const char*>(entry.second.pos), entry.second.size);
  return entries;
}
TEST(Packs, ARecordOfTheSameNameAndBytesAsAnotherPacksIsHeldOnceAndOutlivesThatPack) {
  Use_temp_resources();
  const std::string model(64, 'm'), other(64, 'o');
  Write_pack("a.pak", {{"Shape1", model}, {"Shape2", model}, {"Shape3", model}});
  const Entries second = {{"Shape1", model}, {"Shape2", other}, {"Shape3", model + "x"}};
  Write_pack("b.pak", {second.begin(), second.end()});
  Load_pack_from_file_data_store("a.pak");
  Load_pack_from_file_data_store("b.pak");
  for (const char* shape : {"Shape1", "Shape2", "Shape3"})
    EXPECT_EQ(Global_data["a.pak"][shape].pos == Global_data["b.pak"][shape].pos, shape == std::string("Shape1")) << shape;
  Forget_pack("a.pak");
  EXPECT_EQ(Loaded("b.pak"), second);
}

TEST(Packs, RecordsComeBackWholeAndExactAndDamagedPacksKeepTheRecordsBeforeTheDamage) {
  const std::string good = Pack_record("first", "xyz"), next = Pack_record("next", "12345");
  const std::string unnamed = std::string(Pack_name_bytes, 'N') + next.substr(Pack_name_bytes);
  const struct { const char* what; std::string bytes; Entries kept; } cases[] = {
      {"sizes 0, 5 and 1", Pack_record("empty", "") + Pack_record("five", std::string("ab\0de", 5)) + Pack_record("one.PNG", "x"),
       {{"empty", ""}, {"five", std::string("ab\0de", 5)}, {"one.PNG", "x"}}},
      {"size past the end", good + next.substr(0, next.size() - 1), {{"first", "xyz"}}},
      {"name without NUL", good + unnamed + good, {{"first", "xyz"}}},
      {"cut-off header", good + next.substr(0, Pack_record_header_bytes - 1), {{"first", "xyz"}}},
  };
  for (const auto& damaged : cases) {
    Use_temp_resources();
    Write_file(Resource_dir + "d.pak", damaged.bytes);
    EXPECT_EQ(Loaded("d.pak"), damaged.kept) << damaged.what;
  }
}

// An RGBA PNG whose bytes count up from 0, which it leaves in `rgba`.
std::string Png_of(unsigned width, unsigned height, std::vector<unsigned char>& rgba) {
  rgba.resize(width * height * 4);
  std::iota(rgba.begin(), rgba.end(), 0);
  png_image image{};
  image.version = PNG_IMAGE_VERSION, image.width = width, image.height = height, image.format = PNG_FORMAT_RGBA;
  std::string bytes(1024, '\0');
  png_alloc_size_t size = bytes.size();
  png_image_write_to_memory(&image, &bytes[0], &size, 0, rgba.data(), 0, nullptr);
  return bytes.substr(0, size);
}
// Decodes bytes that end right where an unreadable page begins: a read past the end crashes.
Tex_image* Decode_guarded(const std::string& bytes) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE)), pages = bytes.size() / page + 2;
  auto* base = static_cast<unsigned char*>(mmap(nullptr, pages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  mprotect(base + (pages - 1) * page, page, PROT_NONE);
  unsigned char* start = static_cast<unsigned char*>(std::memcpy(base + (pages - 1) * page - bytes.size(), bytes.data(), bytes.size()));
  Tex_image* image = Decode_image(start, bytes.size());
  munmap(base, pages * page);
  return image;
}

TEST(Images, GoodPicturesDecodeAndCutOffOrDamagedOnesAreRefused) {
  std::vector<unsigned char> rgba;
  const std::string png = Png_of(3, 2, rgba), jpeg = Encode_jpeg(std::vector<unsigned char>(16 * 8 * 3, 200).data(), 16, 8, 75);
  Tex_image *image = Decode_guarded(png), *photo = Decode_guarded(jpeg);
  ASSERT_TRUE(image != nullptr && photo != nullptr);
  EXPECT_EQ(std::vector<unsigned char>(image->pixels, image->pixels + rgba.size()), rgba);
  EXPECT_TRUE(image->width == 3 && image->height == 2 && image->format == GL_RGBA);
  EXPECT_TRUE(photo->width == 16 && photo->height == 8 && photo->format == GL_RGB);
  EXPECT_NEAR(photo->pixels[16 * 8 * 3 - 1], 200, 4);
  for (Tex_image* decoded : {image, photo}) Free_tex_image(decoded);
  // Only the PNG's closing chunk (12 bytes) may be missing; a JPEG needs every byte.
  for (size_t length = 0; length + 12 < png.size(); ++length)
    EXPECT_EQ(Decode_guarded(png.substr(0, length)), nullptr) << "PNG of " << length << " bytes";
  for (size_t length = 0; length < jpeg.size(); ++length)
    EXPECT_EQ(Decode_guarded(jpeg.substr(0, length)), nullptr) << "JPEG of " << length << " bytes";
  std::string bad_png = png, bad_jpeg = jpeg;
  bad_png[bad_png.find("IDAT") + 6] ^= 0x10;                   // its checksum fails
  bad_jpeg.replace(bad_jpeg.find("\xff\xc0") + 5, 4, 4, '\0');  // no rows, no columns
  EXPECT_TRUE(Decode_guarded(bad_png) == nullptr && Decode_guarded(bad_jpeg) == nullptr);
}

// A GL context of the test's own, drawing off screen: this layer has no window, nor Xlib linked.
void Make_gl_context() {
  Display* display = reinterpret_cast<Display* (*)(const char*)>(dlsym(dlopen("libX11.so.6", RTLD_LAZY), "XOpenDisplay"))(nullptr);
  const int wanted[] = {GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT, 0}, size[] = {GLX_PBUFFER_WIDTH, 4, GLX_PBUFFER_HEIGHT, 4, 0};
  int count = 0;
  GLXFBConfig* configs = glXChooseFBConfig(display, 0, wanted, &count);
  ASSERT_GT(count, 0);
  const GLXPbuffer buffer = glXCreatePbuffer(display, configs[0], size);
  glXMakeContextCurrent(display, buffer, buffer, glXCreateNewContext(display, configs[0], GLX_RGBA_TYPE, nullptr, 1));
}
std::vector<unsigned char> First_pixel(GLuint texture) {
  std::vector<unsigned char> rgba(2 * 2 * 4);
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  return std::vector<unsigned char>(rgba.begin(), rgba.begin() + 4);
}

TEST(Textures, UploadedOnceWhileUsedReleasedWhenIdleDeletedWithTheirPack) {
  Make_gl_context();
  Use_temp_resources();
  std::vector<unsigned char> rgba;  // the picture's bytes
  Write_pack("p.pak", {{"PIC.PNG", Png_of(2, 2, rgba)}});
  Load_pack_from_file_data_store("p.pak");
  GLuint first = 0, name = 0;
  ASSERT_EQ(Get_gl_tex_from_data_store("p.pak", "PIC.PNG", first), 1);
  EXPECT_EQ(Global_data["p.pak"]["PIC.PNG"].pos, nullptr);  // the file's bytes go, the pixels stay
  const unsigned char mark[4] = {1, 2, 3, 4};  // a second upload would paint over it
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, mark);
  for (int frame = 0; frame < 3; ++frame, Release_idle_gl_tex())
    EXPECT_TRUE(Get_gl_tex_from_data_store("p.pak", "PIC.PNG", name) == 1 && name == first);
  EXPECT_EQ(First_pixel(first), std::vector<unsigned char>(mark, mark + 4));
  Release_idle_gl_tex();  // a frame without it
  EXPECT_FALSE(glIsTexture(first));
  Global_data["p.pak"]["PIC.PNG"].Assign(3, mark);  // the kept pixels come back, no decoding
  ASSERT_EQ(Get_gl_tex_from_data_store("p.pak", "PIC.PNG", name), 1);
  EXPECT_EQ(First_pixel(name), std::vector<unsigned char>(rgba.begin(), rgba.begin() + 4));
  Free_gl_tex_data("p.pak");
  EXPECT_FALSE(glIsTexture(name));
}
}  // namespace
