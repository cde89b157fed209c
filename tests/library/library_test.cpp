// The parent's own pictures: photos of every kind stored upright, cropped and area-averaged;
// refused files named, leaving nothing behind; duplicates, the limit, list and remove.
#include <gtest/gtest.h>
#include <png.h>
#include <cstdio>  // before jpeglib.h, which needs FILE
#include <jpeglib.h>
#include <set>

#include "library/import.h"
#include "library/library.h"
#include "library/picture.h"
#include "resources/names.h"
#include "state/progress.h"
#include "support/files.h"

namespace {
// The test photo, 64 x 64: its quarters (top left, top right, bottom left, bottom right) in
// these colours, or greys.
const int Side = 64;
const unsigned char Colours[4][3] = {{230, 30, 30}, {30, 200, 30}, {40, 40, 220}, {250, 250, 250}};
const unsigned char Greys[4] = {20, 100, 170, 250};
int Quarter(int x, int y) { return (y >= Side / 2) * 2 + (x >= Side / 2); }

// EXIF data holding an orientation, in Intel's byte order or Motorola's.
std::string Exif(int orientation, bool intel) {
  std::string tiff = intel ? "II" : "MM";  // then 42, the first directory's place, its one entry
  for (const auto& [value, bytes] : std::vector<std::pair<uint64_t, int>>{{42, 2}, {8, 4}, {1, 2}, {0x112, 2}, {3, 2}, {1, 4}, {orientation, 2}, {0, 6}})
    for (int i = 0; i < bytes; ++i) tiff += static_cast<char>(value >> 8 * (intel ? i : bytes - 1 - i));
  return tiff;
}

// The test photo as a PNG (the bottom right quarter of an RGBA one transparent black); of
// another size, its header alone.
std::string Png(int type, int depth, bool interlaced = false, std::string exif = "", uint32_t side = Side) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, [](png_structp p, png_bytep data, size_t size) {
    static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<char*>(data), size); }, nullptr);
  png_set_IHDR(png, info, side, side, depth, type, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, 0, 0);
  png_color palette[4];
  for (int q = 0; q < 4; ++q) palette[q] = {Colours[q][0], Colours[q][1], Colours[q][2]};
  if (type == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette, 4);
  if (!exif.empty()) png_set_eXIf_1(png, info, exif.size(), reinterpret_cast<png_bytep>(&exif[0]));
  png_write_info(png, info), png_set_packing(png);  // a byte a palette index
  for (int pass = png_set_interlace_handling(png); pass > 0 && side == Side; --pass)
    for (int y = 0; y < Side; ++y) {
      std::vector<png_byte> row;
      for (int x = 0, q = Quarter(x, y); x < Side; q = Quarter(++x, y)) {
        std::vector<png_byte> samples = {type == PNG_COLOR_TYPE_PALETTE ? png_byte(q) : Greys[q]};
        if (type == PNG_COLOR_TYPE_RGB || type == PNG_COLOR_TYPE_RGBA) samples.assign(Colours[q], Colours[q] + 3);
        if (type & PNG_COLOR_MASK_ALPHA) samples.push_back(255);
        if (type == PNG_COLOR_TYPE_RGBA && q == 3) samples = {0, 0, 0, 0};
        for (png_byte sample : samples) row.insert(row.end(), depth / 8 == 2 ? 2 : 1, sample);
      }
      png_write_row(png, row.data());
    }
  if (side == Side) png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

// The test photo as a JPEG: RGB, grey, or CMYK, with Adobe's marker (its inks inverted) or plain.
std::string Jpeg(J_COLOR_SPACE space, bool adobe = false, bool progressive = false, const std::string& exif = "") {
  jpeg_compress_struct jpeg;
  jpeg_error_mgr error;
  jpeg.err = jpeg_std_error(&error);
  jpeg_create_compress(&jpeg);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&jpeg, &buffer, &size);
  jpeg.image_width = jpeg.image_height = Side, jpeg.in_color_space = space;
  jpeg.input_components = space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
  jpeg_set_defaults(&jpeg);
  jpeg.write_Adobe_marker = adobe;
  if (progressive) jpeg_simple_progression(&jpeg);
  jpeg_start_compress(&jpeg, TRUE);
  const std::string app1 = std::string("Exif\0\0", 6) + exif;  // EXIF's marker
  if (!exif.empty()) jpeg_write_marker(&jpeg, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(app1.data()), app1.size());
  for (std::vector<JSAMPLE> row; jpeg.next_scanline < jpeg.image_height; row.clear()) {
    for (int x = 0, q = Quarter(x, jpeg.next_scanline); x < Side; q = Quarter(++x, jpeg.next_scanline)) {
      const unsigned char* c = Colours[q];
      const JSAMPLE flip = adobe ? 0 : 255;  // plain inks are the colours' complements
      if (space == JCS_GRAYSCALE) row.push_back(Greys[q]);
      if (space == JCS_RGB) row.insert(row.end(), c, c + 3);
      if (space == JCS_CMYK) row.insert(row.end(), {JSAMPLE(flip ^ c[0]), JSAMPLE(flip ^ c[1]), JSAMPLE(flip ^ c[2]), JSAMPLE(~flip)});
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&jpeg, rows, 1);
  }
  jpeg_finish_compress(&jpeg), jpeg_destroy_compress(&jpeg);
  const std::string bytes(reinterpret_cast<char*>(buffer), size);
  return free(buffer), bytes;
}

TEST(Import, EveryKindOfPhotoIsStoredUpright) {
  const std::string photo_file = Use_temp_home() + "/photo";
  // Which stored quarter stands in each quarter of the upright picture, by orientation.
  const char* const upright[9] = {"", "0123", "1032", "3210", "2301", "0213", "2031", "3120", "1302"};
  struct Case { std::string what, bytes; bool grey = false; std::string quarters = "0123"; };
  std::vector<Case> cases = {
      {"PNG RGB", Png(PNG_COLOR_TYPE_RGB, 8)}, {"PNG RGBA, over white", Png(PNG_COLOR_TYPE_RGBA, 8)},
      {"PNG grey", Png(PNG_COLOR_TYPE_GRAY, 8), true}, {"PNG grey and alpha", Png(PNG_COLOR_TYPE_GRAY_ALPHA, 8), true},
      {"PNG palette of 2 bits", Png(PNG_COLOR_TYPE_PALETTE, 2)}, {"PNG 16-bit", Png(PNG_COLOR_TYPE_RGB, 16)},
      {"PNG interlaced", Png(PNG_COLOR_TYPE_RGB, 8, true)},
      {"PNG turned by eXIf", Png(PNG_COLOR_TYPE_RGB, 8, false, Exif(6, false)), false, upright[6]},
      {"JPEG grey", Jpeg(JCS_GRAYSCALE), true}, {"JPEG CMYK", Jpeg(JCS_CMYK)},
      {"JPEG inverted CMYK", Jpeg(JCS_CMYK, true)}, {"JPEG progressive", Jpeg(JCS_RGB, false, true)}};
  for (int o = 1; o <= 8; ++o) cases.push_back({"JPEG of orientation " + std::to_string(o), Jpeg(JCS_RGB, false, false, Exif(o, o % 2)), false, upright[o]});
  std::set<std::string> keys;
  std::string key;
  for (const Case& photo : cases) {
    Write_file(photo_file, photo.bytes);
    ASSERT_NE(Add_own_picture(photo_file, key), Picture_refused) << photo.what;
    const std::string stored = Read_file(Own_picture_file(key));
    Tex_image* picture = Decode_image(reinterpret_cast<const unsigned char*>(stored.data()), stored.size());
    ASSERT_TRUE(picture != nullptr && picture->width == 800 && picture->height == 560) << photo.what;
    for (int i = 0; i < 12; ++i) {  // the middle of each quarter, its three channels
      const int q = i / 3, c = i % 3, from = photo.quarters[q] - '0';
      EXPECT_NEAR(picture->pixels[((140 + 280 * (q / 2)) * 800 + 200 + 400 * (q % 2)) * 3 + c],
                  photo.grey ? Greys[from] : Colours[from][c], 12) << photo.what << ", quarter " << q;
    }
    keys.insert(key), Free_tex_image(picture);
  }
  Write_file(photo_file, cases[0].bytes);  // a photo that makes the same picture is kept once
  EXPECT_EQ(Add_own_picture(photo_file, key), Picture_already_there);
  EXPECT_EQ(Own_pictures().size(), keys.size());
}

// A wide and a tall photo whose middle 10:7, 2400 x 1680, has one lit pixel in every 3 x 3, in
// a white frame: each pixel of the picture is the average of the 3 x 3 it covers.
TEST(Import, TheMiddleOfAPhotoIsScaledByAveragingAreas) {
  for (const uint32_t width : {3000, 2400}) {
    const uint32_t height = width == 3000 ? 1680 : 4000, left = (width - 2400) / 2, top = (height - 1680) / 2;
    std::vector<unsigned char> pixels(width * height * 3, 255);
    for (uint32_t y = top; y < top + 1680; ++y)
      for (uint32_t x = left; x < left + 2400; ++x) std::fill_n(&pixels[(y * width + x) * 3], 3, (x - left) % 3 || (y - top) % 3 ? 0 : 255);
    const Tex_image photo = {height, width, pixels.data(), 0};
    const std::vector<unsigned char> picture = Upright_picture(photo, 1);
    EXPECT_EQ(std::count(picture.begin(), picture.end(), 28), 800 * 560 * 3) << width << " x " << height;
  }
}

TEST(Import, RefusedFilesAreNamedWithTheirReasonAndLeaveNothingBehind) {
  const std::string home = Use_temp_home(), png = Png(PNG_COLOR_TYPE_RGB, 8), jpeg = Jpeg(JCS_RGB);
  std::string damaged_png = png, damaged_jpeg = jpeg, bomb_jpeg = jpeg;
  damaged_png[damaged_png.find("IDAT") + 6] ^= 0x10;                         // its checksum fails
  damaged_jpeg.replace(damaged_jpeg.find("\xff\xc0") + 5, 4, 4, '\0');       // no rows, no columns
  bomb_jpeg.replace(bomb_jpeg.find("\xff\xc0") + 5, 4, "\x1f\x40\x1f\x40");  // 8000 x 8000
  std::filesystem::create_directory(home + "/folder.png"), Own_pictures_folder();  // the latter makes the settings' folder
  const struct { std::string file, bytes, reason; } cases[] = {
      {"words.jpg", "a letter, not a picture", "not a JPEG or PNG picture"},
      {"half.png", png.substr(0, png.size() / 2), "cut off"}, {"half.jpg", jpeg.substr(0, jpeg.size() / 2), "cut off"},
      {"damaged.png", damaged_png, "damaged"}, {"damaged.jpg", damaged_jpeg, "damaged"},
      {"missing.jpg", "", "cannot be read: No such file or directory"}, {"folder.png", "", "cannot be read: Is a directory"},
      {"huge.png", Png(PNG_COLOR_TYPE_RGB, 8, false, "", 40000), "over 100 megapixels"},
      // Refused by the header alone: decoded, they would be cut off.
      {"bomb.png", Png(PNG_COLOR_TYPE_RGB, 8, false, "", 9000), "too much picture for so few bytes (a decompression bomb)"},
      {"bomb.jpg", bomb_jpeg, "too much picture for so few bytes (a decompression bomb)"}};
  auto files = [&home] { using Walk = std::filesystem::recursive_directory_iterator; return std::distance(Walk(home), Walk()); };
  for (const auto& refused : cases) {
    if (!refused.bytes.empty()) Write_file(home + "/" + refused.file, refused.bytes);
    const auto before = files();
    std::string key = "unchanged";
    testing::internal::CaptureStderr();
    EXPECT_EQ(Add_own_picture(home + "/" + refused.file, key), Picture_refused) << refused.file;
    EXPECT_TRUE(One_line_naming(testing::internal::GetCapturedStderr(), refused.file + ": " + refused.reason)) << refused.file;
    EXPECT_TRUE(key.empty() && files() == before) << refused.file;
  }
}

TEST(Library, ListedInTheOrderAddedRemovedWithTheirProgressAtMostAHundred) {
  const std::string home = Use_temp_home();
  std::vector<std::string> keys(3), files;
  const int64_t start = time(nullptr);
  for (int type : {PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_RGBA}) {
    files.push_back(home + "/photo" + std::to_string(type));
    Write_file(files.back(), Png(type, 8));
    ASSERT_EQ(Add_own_picture(files.back(), keys[files.size() - 1]), Picture_added);
  }
  const std::vector<Own_picture> listed = Own_pictures();
  ASSERT_EQ(listed.size(), 3u);
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(listed[i].key == keys[i] && listed[i].added_from == files[i] && listed[i].added_at >= start &&
                listed[i].added_at <= time(nullptr)) << i;
  Load_progress();
  for (const std::string& key : keys) Progress.boards[key][1] = {std::vector<uint8_t>(20, 1), std::vector<int32_t>(20), std::vector<int32_t>(20)};
  Progress.last_picture = keys[1], Progress.done = {keys[0], keys[1]};
  Save_progress(), Finish_progress_saves();
  EXPECT_FALSE(Remove_own_picture(4));
  ASSERT_TRUE(Remove_own_picture(2));
  Reset_progress(), Load_progress();
  EXPECT_TRUE(Progress.boards.count(keys[0]) && !Progress.boards.count(keys[1]) && Progress.boards.count(keys[2]));
  EXPECT_TRUE(Progress.last_picture.empty() && Progress.done == std::set<std::string>{keys[0]} &&
              !std::filesystem::exists(Own_picture_file(keys[1])));
  EXPECT_TRUE(Own_pictures().size() == 2 && Own_pictures()[1].key == keys[2]);

  std::string error, key;  // a full library takes no more until one goes
  ASSERT_TRUE(Save_own_pictures(std::vector<Own_picture>(Own_picture_limit, listed[0]), error));
  testing::internal::CaptureStderr();
  EXPECT_EQ(Add_own_picture(files[1], key), Picture_refused);
  EXPECT_TRUE(One_line_naming(testing::internal::GetCapturedStderr(), "there are 100 pictures already"));
  ASSERT_TRUE(Remove_own_picture(100));
  EXPECT_TRUE(Add_own_picture(files[1], key) == Picture_added && Own_pictures().size() == 100);
}
}  // namespace
