// A puzzle on the real packs, driven frame by frame with the test clock and real clicks.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "platform/input.h"
#include "puzzle/catalogue.h"
#include "puzzle/show.h"
#include "runtime/object.h"
#include "runtime/params.h"
#include "state/session.h"
#include "state/settings.h"

class Puzzle_test : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Advances the clock by ms and runs one frame.
  void Frame(double ms = 16);
  // Runs frames of `step` ms until ms have passed.
  void Run_for(double ms);
  // Presses the left button (without motion) at the world point and runs two frames: the
  // pick pass takes the press, the next frame calls the clicked callback.
  void Click_at(double x, double y, double z);
  // Clicks where a drawing function draws its model (its POS_X, POS_Y, POS_Z): a button.
  void Click_drawing(const std::string& store, const std::string& object, const char* fun);
  // Pushes a press (with the pointer's move) there and keeps the button down; no frame runs.
  void Press_drawing(const std::string& store, const std::string& object, const char* fun);
  // The piece's drawn centre and its home.
  double Piece_x(const std::string& shape);
  double Piece_y(const std::string& shape);
  double Home_x(const std::string& shape);
  double Home_y(const std::string& shape);
  void Move_piece(const std::string& shape, double x, double y);
  bool Piece_home(const std::string& shape);
  std::string Pack() { return Puzzle_pack(puzzle_index); }
  double now = 0;
  double step = 16;
};

// Pieces of any set that exist in the puzzle pack.
int Board_pieces(const std::string& pack);
// Default settings of a first start, as loaded.
void Use_default_settings();
