// The packer: writes every pack file of the game, and optionally a contact sheet of the art.
//   packer <assets folder> <output folder> [contact-sheet.png]
#include <cstdio>
#include <string>

#include "content.h"

static bool Write_bytes(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: packer <assets folder> <output folder> [contact-sheet.png]\n");
    return 2;
  }
  std::string assets = argv[1], out = argv[2];
  for (const Pack_contents& pack : Make_all_packs(assets)) {
    // Written beside and renamed, so an interrupted build never leaves half a pack.
    std::string path = out + "/" + pack.name;
    if (!Write_bytes(path + ".part", pack.Bytes()) || std::rename((path + ".part").c_str(), path.c_str()) != 0) {
      std::fprintf(stderr, "packer: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  if (argc > 3 && !Write_bytes(argv[3], Make_contact_sheet(assets))) {
    std::fprintf(stderr, "packer: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
