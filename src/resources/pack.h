// Pack files and the global data store that holds every loaded entry for the whole run.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>

struct Tex_image;

// One entry: its bytes at pos, held by owner, which every entry of the same bytes shares (the
// bytes go with the last of them). Texture entries (made by the texture code) keep a decoded
// image and, while one exists, the 4-byte GL texture name as their bytes.
struct Raw_data {
  uint32_t size = 0;
  unsigned char* pos = nullptr;
  std::shared_ptr<unsigned char[]> owner;
  unsigned char idle = 1;
  Tex_image* image = nullptr;
  unsigned char texture = 0;  // made by the texture code (never true for pack records)

  Raw_data() = default;
  Raw_data(uint32_t byte_count, const unsigned char* source);
  ~Raw_data();
  Raw_data(const Raw_data&) = delete;
  Raw_data& operator=(const Raw_data&) = delete;
  // Replaces the bytes with a copy of the given ones.
  void Assign(uint32_t byte_count, const unsigned char* source);
  // Replaces the bytes with another entry's, held by both.
  void Share(const Raw_data& other);
  // Frees the bytes (not the image).
  void Clear_bytes();
};

typedef std::map<std::string, Raw_data> Pack_map;

// Pack name -> entry name -> entry.
extern std::map<std::string, Pack_map> Global_data;
// The folder the packs are read from, ending in "/"; set by the program at start-up.
extern std::string Resource_dir;

// Reads a pack file of the resource directory once; a missing file is reported. An entry
// whose name and bytes equal an entry's of a pack loaded before shares its bytes.
void Load_pack_from_file_data_store(const std::string& pack_name);
// The entry, loading its pack on first use; a missing entry is reported and created empty.
Raw_data& Get_data_from_data_store(const std::string& pack_name, const std::string& entry_name);
