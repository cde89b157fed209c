// Board set-up and piece scatter.
#include "puzzle/board.h"

#include <cmath>
#include <cstdlib>

#include "behaviours/buttons.h"
#include "puzzle/catalogue.h"
#include "puzzle/pieces.h"
#include "render/draw.h"
#include "runtime/object.h"
#include "scenes/settings.h"

static int32_t candidate_x = 0, candidate_y = 0;

int First_shape() { return Settings.piece_mode == 1 ? 0 : 20; }
int Shape_total() { return Settings.piece_mode == 1 ? 20 : 48; }

void Pick_scatter_position(int32_t& x, int32_t& y) {
  // The four bands around the board: left, right, below, above.
  switch (std::rand() % 4) {
    case 0:
      x = std::rand() % 7 - 17;
      y = std::rand() % 13 - 10;
      break;
    case 1:
      x = std::rand() % 7 + 11;
      y = std::rand() % 21 - 10;
      break;
    case 2:
      x = std::rand() % 19 - 9;
      y = std::rand() % 5 - 12;
      break;
    default:
      x = std::rand() % 12 - 2;
      y = std::rand() % 5 + 8;
      break;
  }
  candidate_x = x;
  candidate_y = y;
}

bool Scatter_position_free(int count) {
  const double threshold = Settings.piece_mode == 1 ? 3.1 : 2.0;
  for (int j = First_shape(); j < count; ++j) {
    int32_t dx = scatter_x[j] - candidate_x, dy = scatter_y[j] - candidate_y;
    int32_t s = dx * dx + dy * dy;
    double d = std::sqrt(static_cast<double>(static_cast<float>(s)));
    if (threshold > d) return false;
  }
  return true;
}

void Scatter_pieces() {
  int first = First_shape(), end = first + Shape_total();
  for (int i = first; i < end; ++i) {
    int32_t x, y;
    do {
      Pick_scatter_position(x, y);
    } while (!Scatter_position_free(i));
    scatter_x[i] = x;
    scatter_y[i] = y;
  }
}

// Registers a function, starts it on a list, and returns its parameters.
static Param_map& Start(Object* object, const char* name, Callback callback, bool before) {
  Add_function(object, name, callback);
  if (before)
    Start_function_before(object, name);
  else
    Start_function_after(object, name);
  return Get_function_params(object, name);
}

static void Set_model(Data& model, const std::string& pack, const std::string& entry) {
  model.text = pack;
  model.text2 = entry;
}

void Build_board(const std::string& puzzle_pack, const std::string& board_pack,
                 const std::string& shadow_pack) {
  Object* board = new Object(puzzle_pack, "puzz_plase");
  Param_map& surface = Start(board, "puzz_f_draw", Draw_obj, true);
  Set_model(surface["MODEL_1"], board_pack, Settings.piece_mode == 1 ? "fon.3DS" : "fon_v2.3DS");
  surface["POS_Z"].value.number = 62.9;
  Param_map& frame = Start(board, "fon_draw", Draw_obj, true);
  Set_model(frame["MODEL_1"], "main_int.pak", "obvodka.3DS");
  frame["POS_Z"].value.number = 62.9;
  frame["BLEND"];
  Start(board, "enable_blend", Blend_on, true);

  Scatter_pieces();

  int first = First_shape(), end = first + Shape_total();
  for (int i = first; i < end; ++i) {
    const std::string& shape = Shape_name(i);
    Object* piece = new Object(puzzle_pack, shape);
    Param_map& place = Start(piece, "puzz_draw", Push_transform, true);
    place["POS_Z"].value.number = 63.0;
    place["POS_X"].value.number = scatter_x[i];
    place["POS_Y"].value.number = scatter_y[i];
    Add_function(piece, "move_puzzle", Fly_piece_home);
    Add_function(piece, "drag", Drag_piece);
    Add_function(piece, "shadow", Draw_obj);
    Param_map& shadow = Get_function_params(piece, "shadow");
    Set_model(shadow["MODEL_1"], shadow_pack, shape);
    shadow["POS_Z"].value.number = -0.05;
    shadow["POS_X"].value.number = 0.3;
    shadow["POS_Y"].value.number = 0.3;
    shadow["BLEND_END"];
    shadow["CENTER"];
    Param_map& drawn = Start(piece, "puzzle", Draw_piece, false);
    Set_model(drawn["MODEL_1"], puzzle_pack, shape);
    drawn["CENTER"];
    drawn["FUN"].value.callback = Select_piece;
    Start(piece, "puzz_draw_end", Pop_transform, false);
    Link_object(board, puzzle_pack, shape);
  }
  for (int i = first; i < end; ++i) {
    const std::string& shape = Shape_name(i);
    Object* slot = new Object(board_pack, shape);
    Param_map& outline = Start(slot, "puzz_draw", Draw_obj, false);
    Set_model(outline["model_1"], board_pack, shape);
    outline["POS_Z"].value.number = 63.0;
    outline["ALPHA"];
    Link_object(board, board_pack, shape);
  }
  Object* view = Get_object_from_global_store(puzzle_pack, "plase");
  if (view != nullptr) Link_object(view, puzzle_pack, "puzz_plase");
}
