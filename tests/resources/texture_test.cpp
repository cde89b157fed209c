// Textures on the real GL context: lazy decoding and upload, the end-of-frame release, the
// pack-wide free, refused images and their messages, and entries that only look like textures.
#include "resources/texture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "resources/image.h"
#include "resources/pack.h"
#include "resources/writer.h"
#include "support/support.h"

// Picture bytes, made in image_test.cpp.
std::string Png_bytes(uint32_t width, uint32_t height, int colour_type,
                      const std::vector<unsigned char>& pixels, int bit_depth = 8,
                      bool interlaced = false);
std::string Jpeg_bytes(uint32_t width, uint32_t height, int components,
                       const std::vector<unsigned char>& pixels, bool progressive = false);
std::string Red_over_blue_jpeg(uint32_t width, uint32_t height);

namespace {

const std::vector<unsigned char> Rgba_2x2 = {255, 0, 0,   255, 0,   255, 0,   128,
                                             0,   0, 255, 64,  250, 250, 250, 0};

std::string Rgba_png() { return Png_bytes(2, 2, PNG_COLOR_TYPE_RGBA, Rgba_2x2); }

class Textures : public ::testing::Test {
 protected:
  void SetUp() override {
    Ensure_video();
    Forget_all();
    Resource_dir = Make_temp_folder() + "/";
  }
  void TearDown() override { Forget_all(); }
  static void Forget_all() {
    testing::internal::CaptureStdout();
    Free_all_gl_tex_data();
    testing::internal::GetCapturedStdout();
    Global_data.clear();
  }
  static void Load_pack(const std::string& name, const std::string& records) {
    Write_file(Resource_dir + name, records);
    Load_pack_from_file_data_store(name);
  }
  static Raw_data* Entry(const std::string& pack, const std::string& name) {
    auto found = Global_data[pack].find(name);
    return found == Global_data[pack].end() ? nullptr : &found->second;
  }
  // An entry's bytes, or "(missing)".
  static std::string Bytes_of(const std::string& pack, const std::string& name) {
    Raw_data* entry = Entry(pack, name);
    if (entry == nullptr) return "(missing)";
    return std::string(reinterpret_cast<const char*>(entry->pos), entry->size);
  }
  // The texture's level 0 read back from GL, rows packed tightly.
  static std::vector<unsigned char> Texture_bytes(GLuint name, GLenum format) {
    glBindTexture(GL_TEXTURE_2D, name);
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    size_t channels = format == GL_RGBA ? 4 : 3;
    std::vector<unsigned char> bytes(static_cast<size_t>(width) * height * channels);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, bytes.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return bytes;
  }
  // Output of one call, captured from standard output.
  template <typename Call>
  static std::string Printed(Call call) {
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
  }
};

TEST_F(Textures, FetchedEveryFrameIsUploadedOnceAndNeverReleased) {
  Load_pack("p.pak", Pack_record("PIC.PNG", Rgba_png()));
  GLuint first = 0;
  ASSERT_EQ(Get_gl_tex_from_data_store("p.pak", "PIC.PNG", first), 1);
  ASSERT_TRUE(glIsTexture(first));
  // Mark the texture's content: a second upload would overwrite the mark.
  const unsigned char mark[4] = {1, 2, 3, 4};
  glBindTexture(GL_TEXTURE_2D, first);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, mark);
  Release_idle_gl_tex();
  for (int frame = 0; frame < 5; ++frame) {
    GLuint name = 0;
    ASSERT_EQ(Get_gl_tex_from_data_store("p.pak", "PIC.PNG", name), 1);
    EXPECT_EQ(name, first);
    Release_idle_gl_tex();
    EXPECT_TRUE(glIsTexture(first));
  }
  std::vector<unsigned char> bytes = Texture_bytes(first, GL_RGBA);
  ASSERT_EQ(bytes.size(), Rgba_2x2.size());
  EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 4),
            std::vector<unsigned char>(mark, mark + 4));
  Raw_data* tex = Entry("p.pak", "PIC.PNG_tex");
  ASSERT_NE(tex, nullptr);
  EXPECT_EQ(tex->size, 4u);
}

TEST_F(Textures, UsedInOneFrameIsReleasedAtTheEndOfTheNextAndComesBackWithoutDecoding) {
  Load_pack("p.pak", Pack_record("PIC.PNG", Rgba_png()) + Pack_record("other.3DS", "model"));
  ASSERT_EQ(Extract_tex_from_data_store("p.pak", "PIC.PNG"), 1);
  Raw_data* tex = Entry("p.pak", "PIC.PNG_tex");
  ASSERT_NE(tex, nullptr);
  Tex_image* decoded = tex->image;
  ASSERT_NE(decoded, nullptr);
  EXPECT_EQ(tex->size, 0u);  // decoded, not uploaded
  EXPECT_EQ(tex->idle, 1);
  // Decoded but never drawn: the sweep has nothing to release and keeps the pixels.
  Release_idle_gl_tex();
  EXPECT_EQ(tex->image, decoded);

  GLuint name = 0;
  ASSERT_EQ(Get_gl_tex_from_data_store("p.pak", "PIC.PNG", name), 1);  // frame 1 draws it
  Release_idle_gl_tex();                                               // end of frame 1
  EXPECT_TRUE(glIsTexture(name));
  Release_idle_gl_tex();  // end of frame 2, nobody drew it
  EXPECT_FALSE(glIsTexture(name));
  EXPECT_EQ(tex->size, 0u);
  EXPECT_EQ(tex->pos, nullptr);
  EXPECT_EQ(tex->image, decoded);

  // Spoil the image entry: the next fetch must upload the kept pixels, not decode again.
  Entry("p.pak", "PIC.PNG")->Assign(3, reinterpret_cast<const unsigned char*>("bad"));
  GLuint again = 0;
  std::string printed =
      Printed([&] { EXPECT_EQ(Get_gl_tex_from_data_store("p.pak", "PIC.PNG", again), 1); });
  EXPECT_EQ(printed, "");
  EXPECT_TRUE(glIsTexture(again));
  EXPECT_EQ(tex->image, decoded);
  EXPECT_EQ(Texture_bytes(again, GL_RGBA), Rgba_2x2);
  // Other entries are no textures and are untouched by the sweeps.
  EXPECT_EQ(Bytes_of("p.pak", "other.3DS"), "model");
}

TEST_F(Textures, UploadKeepsChannelsRowsAndOddWidthsAndSetsTheFilters) {
  // RGB 5 x 3: rows of 15 bytes, which are not 4-byte aligned.
  std::vector<unsigned char> rgb(5 * 3 * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<unsigned char>(17 * i + 5);
  Load_pack("p.pak", Pack_record("ODD.PNG", Png_bytes(5, 3, PNG_COLOR_TYPE_RGB, rgb)) +
                         Pack_record("ALPHA.PNG", Rgba_png()));
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  GLuint odd = 0, alpha = 0;
  ASSERT_EQ(Get_gl_tex_from_data_store("p.pak", "ODD.PNG", odd), 1);
  ASSERT_EQ(Get_gl_tex_from_data_store("p.pak", "ALPHA.PNG", alpha), 1);
  EXPECT_NE(odd, alpha);
  EXPECT_EQ(Texture_bytes(odd, GL_RGB), rgb);
  EXPECT_EQ(Texture_bytes(alpha, GL_RGBA), Rgba_2x2);  // first row of the file at t = 0

  GLint value = 0;
  glBindTexture(GL_TEXTURE_2D, odd);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &value);
  EXPECT_EQ(value, 0);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &value);
  EXPECT_EQ(value, 5);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
  EXPECT_EQ(value, GL_LINEAR);
  glBindTexture(GL_TEXTURE_2D, alpha);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &value);
  EXPECT_GT(value, 0);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
  EXPECT_EQ(value, GL_LINEAR);
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
  EXPECT_EQ(value, GL_MODULATE);
  // Other uploads of the game still get the usual alignment.
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
  EXPECT_EQ(value, 4);
}

TEST_F(Textures, JpegPicturesIncludingGreyOnesBecomeRgbTextures) {
  std::vector<unsigned char> grey(9 * 4, 180);
  Load_pack("p.pak", Pack_record("PUZZLE.JPG", Red_over_blue_jpeg(16, 16)) +
                         Pack_record("GREY.JPG", Jpeg_bytes(9, 4, 1, grey)));
  GLuint colour = 0, mono = 0;
  ASSERT_EQ(Get_gl_tex_from_data_store("p.pak", "PUZZLE.JPG", colour), 1);
  ASSERT_EQ(Get_gl_tex_from_data_store("p.pak", "GREY.JPG", mono), 1);
  std::vector<unsigned char> top_and_bottom = Texture_bytes(colour, GL_RGB);
  ASSERT_EQ(top_and_bottom.size(), 16u * 16 * 3);
  EXPECT_GT(top_and_bottom[(1 * 16 + 5) * 3], 200);       // red on top
  EXPECT_GT(top_and_bottom[(14 * 16 + 5) * 3 + 2], 200);  // blue below
  std::vector<unsigned char> light = Texture_bytes(mono, GL_RGB);
  ASSERT_EQ(light.size(), 9u * 4 * 3);
  for (unsigned char byte : light) EXPECT_NEAR(byte, 180, 6);
}

TEST_F(Textures, PngSignatureDecidesTheDecoderWhateverTheName) {
  Load_pack("p.pak", Pack_record("PHOTO.JPG", Rgba_png()) +
                         Pack_record("SHADOW.PNG", Red_over_blue_jpeg(8, 8)));
  ASSERT_EQ(Extract_tex_from_data_store("p.pak", "PHOTO.JPG"), 1);
  ASSERT_EQ(Extract_tex_from_data_store("p.pak", "SHADOW.PNG"), 1);
  ASSERT_NE(Entry("p.pak", "PHOTO.JPG_tex"), nullptr);
  ASSERT_NE(Entry("p.pak", "SHADOW.PNG_tex"), nullptr);
  EXPECT_EQ(Entry("p.pak", "PHOTO.JPG_tex")->image->format, static_cast<uint32_t>(GL_RGBA));
  EXPECT_EQ(Entry("p.pak", "SHADOW.PNG_tex")->image->format, static_cast<uint32_t>(GL_RGB));
  EXPECT_EQ(Entry("p.pak", "SHADOW.PNG_tex")->image->width, 8u);
}

TEST_F(Textures, RefusedImagesAreReportedOnEveryFetchAndTheGameCarriesOn) {
  std::string jpeg = Red_over_blue_jpeg(16, 16);
  std::string damaged = jpeg;
  damaged[damaged.find("\xff\xc0") + 1] = static_cast<char>(0xc3);
  Load_pack("p.pak",
            Pack_record("GREY.PNG", Png_bytes(2, 2, PNG_COLOR_TYPE_GRAY, {0, 1, 2, 3})) +
                Pack_record("PAL.PNG", Png_bytes(2, 2, PNG_COLOR_TYPE_PALETTE, {0, 1, 2, 3})) +
                Pack_record("GA.PNG",
                            Png_bytes(2, 2, PNG_COLOR_TYPE_GRAY_ALPHA, {0, 1, 2, 3, 4, 5, 6, 7})) +
                Pack_record("CUT.JPG", jpeg.substr(0, jpeg.size() / 2)) +
                Pack_record("BROKEN.JPG", damaged) + Pack_record("EMPTY.JPG", "") +
                Pack_record("TINY.PNG", "\x89PN"));
  for (const char* name :
       {"GREY.PNG", "PAL.PNG", "GA.PNG", "CUT.JPG", "BROKEN.JPG", "EMPTY.JPG", "TINY.PNG"}) {
    std::string problem = std::string(
                              "(Extract_tex_from_data_store) In Global_data in pack "
                              "<p.pak> texture <") +
                          name + ">  loadeng problem!\n";
    for (int attempt = 0; attempt < 2; ++attempt) {
      GLuint untouched = 777;
      std::string printed = Printed(
          [&] { EXPECT_EQ(Get_gl_tex_from_data_store("p.pak", name, untouched), 0) << name; });
      EXPECT_EQ(printed, problem);
      EXPECT_EQ(untouched, 777u);
    }
    EXPECT_EQ(Entry("p.pak", std::string(name) + "_tex"), nullptr) << name;
  }
  GLuint untouched = 777;
  EXPECT_EQ(Printed([&] { Get_gl_tex_from_data_store("p.pak", "NONE.JPG", untouched); }),
            "(Extract_tex_from_data_store) In Global_data in pack <p.pak> texture <NONE.JPG>  no "
            "found!\n");
  EXPECT_EQ(Printed([&] { Get_gl_tex_from_data_store("absent.pak", "A.JPG", untouched); }),
            "(Extract_tex_from_data_store) In Global_data pack <absent.pak> no found!\n");
  EXPECT_EQ(untouched, 777u);
  // Extraction never loads a pack.
  EXPECT_EQ(Global_data.count("absent.pak"), 0u);
}

TEST_F(Textures, FreeingAPackDeletesItsTexturesOnlyAndTheyCanBeMadeAgain) {
  Load_pack("a.pak", Pack_record("B.JPG", Red_over_blue_jpeg(8, 8)) +
                         Pack_record("A.PNG", Rgba_png()) + Pack_record("fon.3DS", "mesh"));
  Load_pack("b.pak", Pack_record("C.PNG", Rgba_png()));
  GLuint drawn = 0, elsewhere = 0;
  ASSERT_EQ(Get_gl_tex_from_data_store("a.pak", "A.PNG", drawn), 1);
  ASSERT_EQ(Extract_tex_from_data_store("a.pak", "B.JPG"), 1);  // decoded, never drawn
  ASSERT_EQ(Get_gl_tex_from_data_store("b.pak", "C.PNG", elsewhere), 1);

  EXPECT_EQ(Printed([] { Free_gl_tex_data("a.pak"); }), "A.PNG_tex deleted\nB.JPG_tex deleted\n");
  EXPECT_FALSE(glIsTexture(drawn));
  EXPECT_EQ(Global_data["a.pak"].size(), 3u);
  EXPECT_EQ(Entry("a.pak", "A.PNG_tex"), nullptr);
  EXPECT_EQ(Bytes_of("a.pak", "fon.3DS"), "mesh");
  EXPECT_TRUE(glIsTexture(elsewhere));
  EXPECT_EQ(Printed([] { Free_gl_tex_data("a.pak"); }), "");
  EXPECT_EQ(Printed([] { Free_gl_tex_data("gone.pak"); }),
            "(Free_gl_tex_data) In Global_data pack <gone.pak> no found!\n");

  // Back to undecoded: the next fetch decodes and uploads again.
  GLuint again = 0;
  ASSERT_EQ(Get_gl_tex_from_data_store("a.pak", "A.PNG", again), 1);
  EXPECT_EQ(Texture_bytes(again, GL_RGBA), Rgba_2x2);

  // Shutdown frees every pack in name order.
  EXPECT_EQ(Printed([] { Free_all_gl_tex_data(); }), "A.PNG_tex deleted\nC.PNG_tex deleted\n");
  EXPECT_FALSE(glIsTexture(again));
  EXPECT_FALSE(glIsTexture(elsewhere));
}

TEST_F(Textures, PackEntriesThatOnlyLookLikeTexturesAreLeftAlone) {
  // A GL texture the game did not make, whose name a pack entry happens to hold.
  GLuint foreign = 0;
  glGenTextures(1, &foreign);
  glBindTexture(GL_TEXTURE_2D, foreign);
  unsigned char name_bytes[4];
  std::memcpy(name_bytes, &foreign, 4);
  std::string as_bytes(reinterpret_cast<char*>(name_bytes), 4);
  Load_pack("p.pak", Pack_record("FOO_tex", as_bytes) + Pack_record("sea_texture.3DS", as_bytes) +
                         Pack_record("PIC.PNG", Rgba_png()) + Pack_record("PIC.PNG_tex", as_bytes));
  for (int frame = 0; frame < 3; ++frame) Release_idle_gl_tex();
  EXPECT_TRUE(glIsTexture(foreign));
  EXPECT_EQ(Bytes_of("p.pak", "FOO_tex"), as_bytes);
  EXPECT_EQ(Bytes_of("p.pak", "sea_texture.3DS"), as_bytes);
  EXPECT_EQ(Printed([] { Free_gl_tex_data("p.pak"); }), "");
  EXPECT_EQ(Global_data["p.pak"].size(), 4u);

  // A record in the way of a texture entry does not count as the decoded picture: it is
  // replaced by the real texture entry.
  GLuint name = 0;
  ASSERT_EQ(Get_gl_tex_from_data_store("p.pak", "PIC.PNG", name), 1);
  EXPECT_NE(name, foreign);
  EXPECT_EQ(Texture_bytes(name, GL_RGBA), Rgba_2x2);
  Raw_data* tex = Entry("p.pak", "PIC.PNG_tex");
  ASSERT_NE(tex, nullptr);
  ASSERT_NE(tex->image, nullptr);
  EXPECT_EQ(tex->image->width, 2u);
  Release_idle_gl_tex();
  Release_idle_gl_tex();
  EXPECT_FALSE(glIsTexture(name));
  EXPECT_TRUE(glIsTexture(foreign));
  EXPECT_EQ(Printed([] { Free_gl_tex_data("p.pak"); }), "PIC.PNG_tex deleted\n");
  EXPECT_EQ(Bytes_of("p.pak", "FOO_tex"), as_bytes);
  glDeleteTextures(1, &foreign);
}

}  // namespace
