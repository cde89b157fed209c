// Reading, checking and storing a parent's photo.
#include "library/import.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <vector>

#include "library/library.h"
#include "library/picture.h"
#include "resources/image.h"
#include "resources/jpeg_encoder.h"
#include "resources/names.h"
#include "resources/picture_size.h"
#include "state/kept_file.h"

namespace {

// No photo of at most 100 megapixels comes near this.
const off_t Max_photo_file_bytes = off_t(1) << 30;

// Why a photo was refused, by its trouble (resources/image.h).
const char* const Trouble_words[] = {"", "not a JPEG or PNG picture", "cut off", "damaged", "over 100 megapixels",
                                     "too much picture for so few bytes (a decompression bomb)"};

// The photo's file whole; false with the reason when it cannot be read.
bool Read_photo_file(const std::string& path, std::string& bytes, std::string& reason) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);  // never waits on a FIFO
  struct stat info;
  std::string why;
  if (fd < 0 || fstat(fd, &info) != 0)
    why = std::strerror(errno);
  else if (S_ISDIR(info.st_mode) || info.st_size > Max_photo_file_bytes)
    why = std::strerror(S_ISDIR(info.st_mode) ? EISDIR : EFBIG);
  else if (!S_ISREG(info.st_mode))
    why = "not a regular file";
  if (why.empty()) {
    bytes.resize(static_cast<size_t>(info.st_size));
    size_t done = 0;
    for (ssize_t got = 1; got != 0 && done < bytes.size();) {
      got = read(fd, &bytes[done], bytes.size() - done);
      if (got < 0 && errno != EINTR) {
        why = std::strerror(errno);
        break;
      }
      done += got > 0 ? static_cast<size_t>(got) : 0;
    }
    bytes.resize(done);
  }
  if (fd >= 0) close(fd);
  reason = "cannot be read: " + why;
  return why.empty();
}

// 16 hex digits of the 64-bit FNV-1a hash of the bytes.
std::string Key_of(const std::string& bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
  char key[17];
  std::snprintf(key, sizeof key, "%016" PRIx64, hash);
  return key;
}

// The file's full path, on one line.
std::string Full_path(const std::string& path) {
  std::error_code error;
  std::string full = std::filesystem::absolute(path, error).lexically_normal().string();
  if (error) full = path;
  for (char& c : full)
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  return full;
}

Add_result Refused(const std::string& path, const std::string& reason) {
  std::fprintf(stderr, "shorebound: %s: %s\n", path.c_str(), reason.c_str());
  return Picture_refused;
}

}  // namespace

Add_result Add_own_picture(const std::string& path, std::string& key) {
  key.clear();
  const std::string folder = Own_pictures_folder();
  if (folder.empty()) return Picture_refused;  // said there
  std::string bytes, reason;
  if (!Read_photo_file(path, bytes, reason)) return Refused(path, reason);
  const Photo photo = Decode_photo(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                                   Picture_width, Picture_height);
  std::string().swap(bytes);
  if (photo.trouble != Photo_fine) return Refused(path, Trouble_words[photo.trouble]);
  const std::vector<unsigned char> rgb = Upright_picture(*photo.image, photo.orientation);
  Free_tex_image(photo.image);
  const std::string jpeg = Encode_jpeg(rgb.data(), Picture_width, Picture_height, 90);
  if (jpeg.empty()) return Refused(path, "cannot be stored: out of memory");

  key = Key_of(jpeg);
  std::vector<Own_picture> pictures = Own_pictures();
  for (size_t i = 0; i < pictures.size(); ++i)
    if (pictures[i].key == key) {
      std::printf("shorebound: %s is picture %zu already: kept once\n", path.c_str(), i + 1);
      return Picture_already_there;
    }
  if (pictures.size() >= static_cast<size_t>(Own_picture_limit))
    return key.clear(), Refused(path, "not added: there are 100 pictures already (--remove-picture N makes room)");
  mkdir(folder.c_str(), 0755);
  pictures.push_back({key, Full_path(path), static_cast<int64_t>(std::time(nullptr))});
  const std::string file = Own_picture_file(key);
  std::string error;
  const bool stored = Write_kept_file(file, jpeg, error);
  if (!stored || !Save_own_pictures(pictures, error)) {
    if (stored) unlink(file.c_str());
    return key.clear(), Refused(path, "cannot be stored: " + error);
  }
  std::printf("shorebound: added %s as picture %zu\n", path.c_str(), pictures.size());
  return Picture_added;
}
