// The half-built pictures' file: written and read within its bounds.
#include "state/progress_file.h"

#include "resources/formats.h"
#include "resources/piece_sets.h"

namespace {

const char Magic[4] = {'S', 'B', 'H', 'B'};
const uint32_t Version = 1;
const int32_t Farthest = 1000;  // no piece lies further from the board's middle

uint32_t Crc32(const unsigned char* bytes, size_t size) {
  uint32_t crc = 0xffffffffu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void Put_u32(std::string& out, uint32_t value) {
  unsigned char b[4];
  Write_u32(b, value);
  out.append(reinterpret_cast<char*>(b), 4);
}

void Put_key(std::string& out, const std::string& key) {
  out += static_cast<char>(key.size() & 0xff);
  out += static_cast<char>(key.size() >> 8 & 0xff);
  out += key;
}

// Reads forward within [at, end); every read fails once the bytes run out.
struct Reader {
  const unsigned char* at;
  const unsigned char* end;
  bool ok = true;
  bool Has(size_t n) { return ok = ok && static_cast<size_t>(end - at) >= n; }
  uint32_t U32() {
    if (!Has(4)) return 0;
    at += 4;
    return Read_u32(at - 4);
  }
  std::string Key() {
    if (!Has(2)) return "";
    const size_t length = at[0] | at[1] << 8;
    at += 2;
    if (!Has(length)) return "";
    at += length;
    return std::string(reinterpret_cast<const char*>(at - length), length);
  }
};

// A board of this many pieces fits the set of this mode.
bool Fits_its_set(uint32_t mode, size_t pieces) {
  const Piece_set& set = Piece_set_of(mode);
  return set.mode == mode && pieces == static_cast<size_t>(set.pieces);
}

}  // namespace

std::string Progress_bytes(const Progress_record& progress) {
  std::string out(Magic, 4);
  Put_u32(out, Version);
  Put_key(out, progress.last_picture);
  uint32_t boards = 0;
  for (const auto& picture : progress.boards)
    for (const auto& [mode, board] : picture.second) boards += Fits_its_set(mode, board.home.size());
  Put_u32(out, boards);
  for (const auto& [key, sets] : progress.boards)
    for (const auto& [mode, board] : sets) {
      if (!Fits_its_set(mode, board.home.size())) continue;
      const size_t start = out.size();
      Put_key(out, key);
      Put_u32(out, mode);
      Put_u32(out, static_cast<uint32_t>(board.home.size()));
      for (size_t i = 0; i < board.home.size(); ++i) {
        out += static_cast<char>(board.home[i]);
        Put_u32(out, static_cast<uint32_t>(board.x[i]));
        Put_u32(out, static_cast<uint32_t>(board.y[i]));
      }
      Put_u32(out, Crc32(reinterpret_cast<const unsigned char*>(out.data()) + start, out.size() - start));
    }
  Put_u32(out, static_cast<uint32_t>(progress.done.size()));
  for (const std::string& key : progress.done) Put_key(out, key);
  return out;
}

Progress_record Read_progress(const unsigned char* bytes, size_t size) {
  Progress_record progress;
  Reader in{bytes, bytes + size};
  if (!in.Has(4) || std::string(reinterpret_cast<const char*>(bytes), 4) != std::string(Magic, 4)) return progress;
  in.at += 4;
  if (in.U32() != Version) return progress;  // foreign or newer: nothing of it is read
  const std::string last = in.Key();
  const uint32_t boards = in.U32();
  if (!in.ok) return progress;
  progress.last_picture = last;
  for (uint32_t n = 0; n < boards && in.ok; ++n) {
    const unsigned char* start = in.at;
    const std::string key = in.Key();
    const uint32_t mode = in.U32(), pieces = in.U32();
    Board_state board;
    bool fits = true;
    for (uint32_t i = 0; i < pieces && in.Has(9); ++i) {
      board.home.push_back(in.at[0]);
      in.at += 1;
      board.x.push_back(static_cast<int32_t>(in.U32()));
      board.y.push_back(static_cast<int32_t>(in.U32()));
      fits = fits && board.home.back() <= 1 && board.x.back() >= -Farthest && board.x.back() <= Farthest &&
             board.y.back() >= -Farthest && board.y.back() <= Farthest;
    }
    const uint32_t crc = Crc32(start, static_cast<size_t>(in.at - start));
    // A board that does not fit the piece set it names is left out; the next one follows it.
    if (in.U32() == crc && in.ok && fits && !key.empty() && Fits_its_set(mode, pieces)) progress.boards[key][mode] = board;
  }
  const uint32_t done = in.U32();
  for (uint32_t n = 0; n < done && in.ok; ++n) {
    const std::string key = in.Key();
    if (in.ok && !key.empty()) progress.done.insert(key);
  }
  return progress;
}
