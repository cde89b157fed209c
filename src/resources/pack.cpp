// Pack files and the data store.
#include "resources/pack.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "resources/formats.h"
#include "resources/image.h"
#include "runtime/report.h"

std::string Resource_dir;
std::map<std::string, Pack_map> Global_data;

Raw_data::Raw_data(uint32_t byte_count, const unsigned char* source) { Assign(byte_count, source); }

Raw_data::~Raw_data() {
  Clear_bytes();
  if (image != nullptr) Free_tex_image(image);
}

void Raw_data::Clear_bytes() {
  owner.reset();
  pos = nullptr;
  size = 0;
}

void Raw_data::Assign(uint32_t byte_count, const unsigned char* source) {
  Clear_bytes();
  size = byte_count;
  if (byte_count != 0) {
    owner.reset(new unsigned char[byte_count]);
    pos = static_cast<unsigned char*>(std::memcpy(owner.get(), source, byte_count));
  }
}

void Raw_data::Share(const Raw_data& other) {
  owner = other.owner;
  pos = other.pos;
  size = other.size;
}

// A pack record of that name and those bytes loaded before, or none. (Packs cut to the same
// pattern carry the same models.)
static const Raw_data* Loaded_record(const std::string& name, const unsigned char* bytes, uint32_t size) {
  for (const auto& [pack_name, pack] : Global_data) {
    const auto entry = pack.find(name);
    if (entry != pack.end() && entry->second.texture == 0 && entry->second.owner != nullptr && entry->second.size == size &&
        std::memcmp(entry->second.pos, bytes, size) == 0)
      return &entry->second;
  }
  return nullptr;
}

// Reads a whole file; false when it cannot be opened or read.
static bool Read_whole_file(const std::string& path, std::vector<unsigned char>& bytes) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  long length = ok ? std::ftell(file) : -1;
  ok = ok && length >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    bytes.resize(static_cast<size_t>(length));
    ok = bytes.empty() || std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  }
  std::fclose(file);
  return ok;
}

void Load_pack_from_file_data_store(const std::string& pack_name) {
  if (Global_data.count(pack_name) != 0) return;
  std::vector<unsigned char> file;
  if (!Read_whole_file(Resource_dir + pack_name, file)) {
    Report("(Load_pack_from_file_data_store) Pack file <" + pack_name + "> no found!");
    return;
  }
  if (file.empty()) return;
  Pack_map& pack = Global_data[pack_name];
  size_t offset = 0;
  while (offset < file.size()) {
    // A record must hold its whole header, a NUL inside the name field, and its data.
    size_t left = file.size() - offset;
    const unsigned char* record = file.data() + offset;
    const void* nul = left >= Pack_record_header_bytes ? std::memchr(record, 0, Pack_name_bytes)
                                                       : nullptr;
    uint32_t size = nul != nullptr ? Read_u32(record + Pack_name_bytes) : 0;
    if (nul == nullptr || size > left - Pack_record_header_bytes) {
      Report("(Load_pack_from_file_data_store) Pack file <" + pack_name + "> damaged at byte <" +
             std::to_string(offset) + ">!");
      break;
    }
    std::string name(reinterpret_cast<const char*>(record));
    if (const Raw_data* same = Loaded_record(name, record + Pack_record_header_bytes, size))
      pack[name].Share(*same);
    else
      pack[name].Assign(size, record + Pack_record_header_bytes);
    offset += Pack_record_header_bytes + size;
  }
}

Raw_data& Get_data_from_data_store(const std::string& pack_name, const std::string& entry_name) {
  if (Global_data.count(pack_name) == 0) Load_pack_from_file_data_store(pack_name);
  Pack_map& pack = Global_data[pack_name];
  auto entry = pack.find(entry_name);
  if (entry != pack.end()) return entry->second;
  Report("(Get_data_from_data_store)) In pack <" + pack_name + ">" + " data <" + entry_name +
         "> no found!");
  return pack[entry_name];
}
