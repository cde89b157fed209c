// Test packs written with the game's own writer into a fresh resource folder, and small flat
// models to draw and pick.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "resources/pack.h"
#include "resources/writer.h"
#include "support/files.h"

// A new empty resource folder; every loaded pack is forgotten.
inline void Use_temp_resources() {
  Global_data.clear();
  Resource_dir = Make_temp_folder() + "/";
}

inline void Write_pack(const std::string& pack,
                       const std::vector<std::pair<std::string, std::string>>& records) {
  std::string bytes;
  for (const auto& record : records) bytes += Pack_record(record.first, record.second);
  Write_file(Resource_dir + pack, bytes);
}

// "test.pak" of one untextured flat model: "quad.3DS", a 2 x 2 square around the origin.
inline void Write_test_models() {
  Write_pack("test.pak", {{"quad.3DS", Model_bytes({Rectangle_mesh("", -1, -1, 1, 1, 0)})}});
}
