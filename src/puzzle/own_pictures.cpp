// A parent's own pictures made playable at run time, from the stored photo and what the packer
// prepared for the ten: the pieces of a cut pattern and each piece set's bevel.
#include "puzzle/own_pictures.h"

#include <GL/gl.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>

#include "puzzle/catalogue.h"
#include "resources/image.h"
#include "resources/names.h"
#include "resources/pack.h"
#include "resources/texture.h"

namespace {

std::set<std::string> unreadable;  // stored photos that could not be read (said once)

bool Is_picture_entry(const std::string& name) {
  return name.size() > 4 && (name.compare(name.size() - 4, 4, ".JPG") == 0 || name.compare(name.size() - 4, 4, ".PNG") == 0 ||
                             name.compare(name.size() - 4, 4, "_tex") == 0);
}

// The stored photo, decoded; none when it cannot be read.
Tex_image* Decode_file(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return bytes.empty() ? nullptr : Decode_image(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

// Makes one own picture's pack: the models of a built-in puzzle of its cut pattern (their bytes
// shared with it), its photo as the finished picture and its preview.
bool Make_pack(int index) {
  const std::string pack = Picture_pack(index);
  const std::string file = Own_picture_file_of(index);
  const auto made = Global_data.find(pack);  // made before, and still whole
  if (made != Global_data.end() && made->second.count(std::string(Final_picture) + "_tex") != 0) return true;
  if (unreadable.count(file) != 0) return false;
  Tex_image* photo = Decode_file(file);
  if (photo == nullptr) {
    std::fprintf(stderr, "shorebound: %s cannot be read: that picture is left out\n", file.c_str());
    unreadable.insert(file);
    return false;
  }
  const std::string models = Puzzle_pack(index % Pattern_count);  // loaded by the preload
  Load_pack_from_file_data_store(models);
  Pack_map& entries = Global_data[pack];
  for (const auto& [name, entry] : Global_data[models])
    if (!Is_picture_entry(name) && entry.size != 0) entries[name].Share(entry);
  Put_tex_image(pack, Preview_picture, Scaled_image(*photo, 400, 280));
  Put_tex_image(pack, Final_picture, photo);
  return true;
}

}  // namespace

bool Prepare_own_picture(int index) {
  if (index < Puzzle_count) return true;
  if (!Make_pack(index)) {
    Drop_own_picture(index);
    return false;
  }
  // Its neighbours are made too (a child steps through them), the others let go.
  const int count = Picture_count();
  std::set<std::string> near = {Picture_pack(index)};
  for (int step : {-1, 1}) {
    const int neighbour = (index + step + count) % count;
    if (neighbour >= Puzzle_count && Make_pack(neighbour)) near.insert(Picture_pack(neighbour));
  }
  for (int other = Puzzle_count; other < count; ++other)
    if (near.count(Picture_pack(other)) == 0) Forget_pack(Picture_pack(other));
  return true;
}

void Prepare_own_set_picture(int index, const Piece_set& set) {
  const std::string pack = Picture_pack(index);
  if (index < Puzzle_count || Global_data[pack].count(std::string(set.puzzle_picture) + "_tex") != 0) return;
  const Raw_data& gains_entry = Get_data_from_data_store(Board_pack(index), set.bevel_picture);
  Tex_image* gains = Decode_image(gains_entry.pos, gains_entry.size);
  const Tex_image* photo = Global_data[pack][std::string(Final_picture) + "_tex"].image;
  if (gains == nullptr || photo == nullptr) {
    Free_tex_image(gains);
    return;
  }
  // The photo at the size of the set's pictures, each pixel times the bevel's gain there.
  Tex_image* picture = Scaled_image(*photo, gains->width, gains->height);
  const int channels = picture->format == GL_RGBA ? 4 : 3, gain_channels = gains->format == GL_RGBA ? 4 : 3;
  for (size_t i = 0; i < static_cast<size_t>(picture->width) * picture->height; ++i)
    for (int c = 0; c < 3; ++c) {
      const float value = picture->pixels[i * channels + c] * (gains->pixels[i * gain_channels] / Bevel_map_unit);
      picture->pixels[i * channels + c] = static_cast<unsigned char>(value > 255.0f ? 255.0f : value);
    }
  Free_tex_image(gains);
  Put_tex_image(pack, set.puzzle_picture, picture);
}
