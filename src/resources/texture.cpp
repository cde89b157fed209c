// Textures: lazy decoding of image entries, lazy upload to GL, and the end-of-frame sweep
// that lets go of the GL textures nobody drew.
#include "resources/texture.h"

#include <GL/gl.h>

#include <cstring>

#include "resources/image.h"
#include "resources/pack.h"
#include "runtime/report.h"

static const char Tex_suffix[] = "_tex";
static const size_t Tex_suffix_length = sizeof Tex_suffix - 1;

// A texture entry is one the texture code made under a name ending in "_tex"; pack records
// that happen to carry such a name are left alone.
static bool Is_texture_entry(const std::string& name, const Raw_data& entry) {
  return entry.texture != 0 && name.size() >= Tex_suffix_length &&
         name.compare(name.size() - Tex_suffix_length, Tex_suffix_length, Tex_suffix) == 0;
}

static void Delete_gl_name(Raw_data& entry) {
  if (entry.size == 0) return;
  GLuint name = 0;
  if (entry.size >= sizeof name && entry.pos != nullptr) {
    std::memcpy(&name, entry.pos, sizeof name);
    glDeleteTextures(1, &name);
  }
  entry.Clear_bytes();
}

int Extract_tex_from_data_store(const std::string& pack_name, const std::string& entry_name) {
  auto pack = Global_data.find(pack_name);
  if (pack == Global_data.end()) {
    Report("(Extract_tex_from_data_store) In Global_data pack <" + pack_name + "> no found!");
    return 0;
  }
  Pack_map& entries = pack->second;
  const std::string tex_name = entry_name + Tex_suffix;
  auto tex = entries.find(tex_name);
  if (tex != entries.end() && Is_texture_entry(tex_name, tex->second)) return 1;
  auto source = entries.find(entry_name);
  if (source == entries.end()) {
    Report("(Extract_tex_from_data_store) In Global_data in pack <" + pack_name + "> texture <" +
           entry_name + ">  no found!");
    return 0;
  }
  Tex_image* image = Decode_image(source->second.pos, source->second.size);
  if (image == nullptr) {
    Report("(Extract_tex_from_data_store) In Global_data in pack <" + pack_name + "> texture <" +
           entry_name + ">  loadeng problem!");
    return 0;
  }
  // The pixels stay for the run: the file's bytes are not needed again.
  source->second.Clear_bytes();
  // A plain record of that name in the way becomes the texture entry.
  Raw_data& entry = entries[tex_name];
  entry.Clear_bytes();
  if (entry.image != nullptr) Free_tex_image(entry.image);
  entry.image = image;
  entry.idle = 1;
  entry.texture = 1;
  return 1;
}

unsigned int Make_gl_tex(const Tex_image* image) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  // Decoded rows are packed tightly: an RGB row of odd width is not a multiple of 4 bytes.
  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(image->format),
               static_cast<GLsizei>(image->width), static_cast<GLsizei>(image->height), 0,
               image->format, GL_UNSIGNED_BYTE, image->pixels);
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  return name;
}

int Get_gl_tex_from_data_store(const std::string& pack_name, const std::string& entry_name,
                               unsigned int& texture_name) {
  if (Extract_tex_from_data_store(pack_name, entry_name) == 0) return 0;
  Raw_data& entry = Global_data[pack_name][entry_name + Tex_suffix];
  GLuint name = 0;
  if (entry.size != 0) {
    std::memcpy(&name, entry.pos, sizeof name);
  } else {
    name = Make_gl_tex(entry.image);
    unsigned char bytes[sizeof name];
    std::memcpy(bytes, &name, sizeof name);
    entry.Assign(sizeof name, bytes);
  }
  entry.idle = 0;
  texture_name = name;
  return 1;
}

void Release_idle_gl_tex() {
  for (auto& pack : Global_data) {
    for (auto& named : pack.second) {
      Raw_data& entry = named.second;
      if (!Is_texture_entry(named.first, entry)) continue;
      if (entry.idle == 0)
        entry.idle = 1;
      else
        Delete_gl_name(entry);
    }
  }
}

void Free_gl_tex_data(const std::string& pack_name) {
  auto pack = Global_data.find(pack_name);
  if (pack == Global_data.end()) {
    Report("(Free_gl_tex_data) In Global_data pack <" + pack_name + "> no found!");
    return;
  }
  Pack_map& entries = pack->second;
  for (auto named = entries.begin(); named != entries.end();) {
    if (!Is_texture_entry(named->first, named->second)) {
      ++named;
      continue;
    }
    Delete_gl_name(named->second);
    Report(named->first + " deleted");
    named = entries.erase(named);  // frees the image with the entry
  }
}

void Put_tex_image(const std::string& pack_name, const std::string& entry_name, Tex_image* image) {
  Raw_data& entry = Global_data[pack_name][entry_name + Tex_suffix];
  Delete_gl_name(entry);
  if (entry.image != nullptr) Free_tex_image(entry.image);
  entry.image = image;
  entry.idle = 1;
  entry.texture = 1;
}

void Forget_pack(const std::string& pack_name) {
  auto pack = Global_data.find(pack_name);
  if (pack == Global_data.end()) return;
  for (auto& named : pack->second)
    if (Is_texture_entry(named.first, named.second)) Delete_gl_name(named.second);
  Global_data.erase(pack);  // frees the entries' bytes and images
}

void Free_all_gl_tex_data() {
  for (auto& pack : Global_data) Free_gl_tex_data(pack.first);
}
