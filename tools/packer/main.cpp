// The packer: writes every pack file of the game, and optionally a contact sheet of the art.
//   packer <assets folder> <output folder> [contact-sheet.png]
//   packer --icons <icon.svg> <output folder>   (hicolor PNGs from 16 to 512 pixels)
#include <sys/stat.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "content.h"
#include "raster.h"

static bool Write_bytes(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

// Writes <out>/<n>x<n>/apps/com.lanternworks.Shorebound.png for every icon size.
static int Write_icons(const std::string& svg, const std::string& out) {
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
    std::string folder = out + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
    std::string made;
    for (size_t slash = folder.find('/', 1); ; slash = folder.find('/', slash + 1)) {
      made = folder.substr(0, slash);
      mkdir(made.c_str(), 0755);
      if (slash == std::string::npos) break;
    }
    Image icon = Render_svg(svg, size, size);
    if (!Write_bytes(folder + "/com.lanternworks.Shorebound.png", Encode_png(icon, true))) {
      std::fprintf(stderr, "packer: cannot make the %d pixel icon\n", size);
      return 1;
    }
  }
  return 0;
}

static int Run(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--icons") return Write_icons(argv[2], argv[3]);
  if (argc < 3) {
    std::fprintf(stderr, "usage: packer <assets folder> <output folder> [contact-sheet.png]\n");
    return 2;
  }
  std::string assets = argv[1], out = argv[2];
  // Every pack is made before the first is written: art that fails leaves no pack behind.
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

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& failure) {  // art that cannot be read or rendered
    std::fprintf(stderr, "packer: %s\n", failure.what());
    return 1;
  }
}
