// A whole game played with the pointer: every piece clicked, then its outline, through real
// frames and picking, until the finished picture shows and the puzzle is recorded as done.
#include <chrono>
#include <cstdio>

#include "puzzle_fixture.h"
#include "runtime/process.h"

namespace {

class Play : public Puzzle_test {
 protected:
  // Plays the shown puzzle to the end; returns the frames it took.
  int Play_to_the_end(int pieces) {
    Run_for(1300);
    int frames = 0, placed = 0;
    auto started = std::chrono::steady_clock::now();
    for (int attempt = 0; attempt < pieces * 4 && placed < pieces; ++attempt) {
      // The first loose piece in shape order; the click may pick a piece lying on top of it.
      std::string target;
      for (auto& [name, object] : Global_env[Pack()])
        if (name.rfind("Shape", 0) == 0 && object->functions["puzzle"].params.count("FUN")) {
          target = name;
          break;
        }
      if (target.empty()) break;
      Click_at(Piece_x(target), Piece_y(target), 63);
      frames += 2;
      std::string chosen = selected_piece;
      EXPECT_FALSE(chosen.empty()) << "clicking " << target << " selected nothing";
      if (chosen.empty()) continue;
      Click_at(Home_x(chosen), Home_y(chosen), 63);
      frames += 2;
      // Frames of 40 ms keep the test short; the flight is timed by the clock, not by frames.
      for (int f = 0; f < 200 && !Piece_home(chosen); ++f, ++frames) Frame(40);
      EXPECT_TRUE(Piece_home(chosen)) << chosen;
      ++placed;
    }
    EXPECT_EQ(placed, pieces);
    for (int f = 0; f < 200 && !Settings.puzzle_done[puzzle_index]; ++f, ++frames) Frame(40);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    std::printf("played %d pieces in %d frames, %.2f ms per frame\n", pieces, frames, ms / frames);
    return frames;
  }
};

TEST_F(Play, FortyEightPiecePuzzleFromScatterToFinishedPicture) {
  Settings.piece_mode = 2;
  puzzle_index = 8;
  Show_current_puzzle();
  Play_to_the_end(48);
  EXPECT_EQ(Settings.puzzle_done[8], 1u);
  EXPECT_TRUE(Is_object_in_global_store(Pack(), "puzz_final"));
  Run_for(900);
  EXPECT_EQ(Global_env[Pack()]["puzz_final"]->functions["move_forward"].params["SCALE_X"].value.number, 1.4);
}

}  // namespace
