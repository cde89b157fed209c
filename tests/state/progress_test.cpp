// The half-built pictures' file: every board read back as written, and whatever a damaged,
// cut-off, foreign or newer file spoils, or a board that does not fit its set, left out.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "state/progress_file.h"

namespace {

Progress_record Read(const std::string& bytes) {
  return Read_progress(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}
// The boards a record holds, as "key/mode".
std::vector<std::string> Boards(const Progress_record& record) {
  std::vector<std::string> boards;
  for (const auto& [key, sets] : record.boards)
    for (const auto& set : sets) boards.push_back(key + "/" + std::to_string(set.first));
  return boards;
}

TEST(Progress, BoardsComeBackAsWrittenAndWhatIsSpoiltIsLeftOut) {
  Progress_record written;
  written.last_picture = "puzzle3.pak";
  written.boards["puzzle3.pak"][3] = {{1, 0, 0, 1}, {-14, 0, 14, -12}, {7, 2, -2, -11}};
  written.boards["puzzle5.pak"][1] = {std::vector<uint8_t>(20, 1), std::vector<int32_t>(20, -17), std::vector<int32_t>(20, 9)};
  written.done = {"00c0ffee00c0ffee"};
  const std::string bytes = Progress_bytes(written);
  EXPECT_EQ(Progress_bytes(Read(bytes)), bytes);  // every byte comes back
  // Where the boards begin: after the head and its last picture's key, a key of their own.
  const size_t first = bytes.find("puzzle3.pak", 12) - 2, second = bytes.find("puzzle5.pak") - 2;
  // The first board naming the 48-piece set, its checksum made good: it does not fit that set.
  std::string misfit = bytes;
  misfit[first + 2 + 11] = 2;
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(misfit.data() + first), static_cast<uInt>(second - 4 - first));
  for (int i = 0; i < 4; ++i) misfit[second - 4 + i] = static_cast<char>(crc >> (8 * i));
  std::string flipped = bytes, newer = bytes;
  flipped[first + 30] ^= 4;  // a place of its second piece
  newer[4] = 2;
  const struct { const char* what; std::string bytes; std::vector<std::string> kept; } cases[] = {
      {"foreign", "XXXX" + bytes.substr(4), {}},
      {"newer", newer, {}},
      {"cut in its head", bytes.substr(0, 12), {}},
      {"cut in the second board", bytes.substr(0, second + 30), {"puzzle3.pak/3"}},
      {"a byte of the first board changed", flipped, {"puzzle5.pak/1"}},
      {"a board that does not fit its set", misfit, {"puzzle5.pak/1"}},
  };
  for (const auto& spoilt : cases) EXPECT_EQ(Boards(Read(spoilt.bytes)), spoilt.kept) << spoilt.what;
  for (size_t length = 0; length < bytes.size(); ++length) {  // wherever it is cut: no board it did not hold
    const std::vector<std::string> kept = Boards(Read(bytes.substr(0, length)));
    const std::vector<std::string> all = {"puzzle3.pak/3", "puzzle5.pak/1"};
    EXPECT_TRUE(kept.size() <= 2 && std::equal(kept.begin(), kept.end(), all.begin())) << length;
  }
}

}  // namespace
