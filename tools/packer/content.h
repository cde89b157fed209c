// Every pack of the game and what goes into it, made from the source art under assets/.
#pragma once
#include <map>
#include <string>

#include "cuts.h"
#include "resources/piece_sets.h"

// Pack name -> ordered list of (entry name, bytes). Entries keep the order they were added.
struct Pack_contents {
  std::string name;
  std::vector<std::pair<std::string, std::string>> entries;
  void Add(const std::string& entry, const std::string& bytes) { entries.emplace_back(entry, bytes); }
  std::string Bytes() const;
};

// The cut of a piece set in one of the three patterns (one per board pack; puzzle N uses
// pattern N mod 3).
const Board_cut& Cut_of(int pattern, const Piece_set& set);

// Builds every pack from the art in assets_dir.
std::vector<Pack_contents> Make_all_packs(const std::string& assets_dir);
// A contact sheet of the pictures with their cuts and the screen art, as PNG bytes.
std::string Make_contact_sheet(const std::string& assets_dir);
