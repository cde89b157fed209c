// The half-built pictures in memory and as the bytes of their file: for every picture and piece
// set, which pieces are home and where each loose one lies, and the picture seen last.
//
// File, little-endian: "SBHB", version 1 (32 bits); the last picture's key; the number of
// boards (32 bits); then each board: its picture's key, its piece mode (32 bits), its number
// of pieces (32 bits), for each piece a home byte and x, y (32 bits, signed), and a CRC-32 of
// the board's bytes; then the number of the parent's own pictures that are done (32 bits) and
// their keys. A key is 16 bits of length and that many bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

// One board as it lies: per piece of its set, in shape order.
struct Board_state {
  std::vector<uint8_t> home;  // 1 = home (or flying there)
  std::vector<int32_t> x, y;  // where it lies loose
};

struct Progress_record {
  std::string last_picture;  // the key of the picture seen last
  std::map<std::string, std::map<uint32_t, Board_state>> boards;  // picture key -> piece mode ->
  std::set<std::string> done;  // the parent's own pictures that are finished (the ten: Settings)
};

// The bytes of the file.
std::string Progress_bytes(const Progress_record& progress);
// Reads the bytes within their bounds. A foreign, newer or damaged start gives nothing; a board
// that is damaged or cut off, or does not fit the piece set it names, is left out and the rest
// kept.
Progress_record Read_progress(const unsigned char* bytes, size_t size);
