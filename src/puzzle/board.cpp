// Board set-up and piece scatter.
#include "puzzle/board.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "behaviours/buttons.h"
#include "puzzle/catalogue.h"
#include "puzzle/own_pictures.h"
#include "puzzle/pieces.h"
#include "render/draw.h"
#include "render/model.h"
#include "resources/depths.h"
#include "resources/names.h"
#include "runtime/object.h"
#include "state/progress.h"
#include "state/session.h"

void Pick_scatter_position(int32_t& x, int32_t& y) {
  const Piece_set& set = Current_piece_set();
  const Scatter_band& band = set.bands[std::rand() % set.band_count];
  x = band.x + std::rand() % band.x_count;
  y = band.y + std::rand() % band.y_count;
}

bool Scatter_position_free(int32_t x, int32_t y, int count) {
  const Piece_set& set = Current_piece_set();
  for (int j = set.first_shape; j < count; ++j) {
    int32_t dx = scatter_x[j] - x, dy = scatter_y[j] - y;
    int32_t square = dx * dx + dy * dy;
    double distance = std::sqrt(static_cast<double>(static_cast<float>(square)));
    if (set.min_distance > distance) return false;
  }
  return true;
}

void Scatter_pieces() {
  const Piece_set& set = Current_piece_set();
  // Bigger pieces each take a spot of their own, drawn at random from those still free.
  std::vector<Spot> free_spots(set.spots, set.spots + set.spot_count);
  for (int i = set.first_shape; i < set.first_shape + set.pieces; ++i) {
    int32_t x, y;
    if (set.spots != nullptr) {
      const auto spot = free_spots.begin() + std::rand() % static_cast<int>(free_spots.size());
      x = spot->x, y = spot->y;
      free_spots.erase(spot);
    } else {
      do {
        Pick_scatter_position(x, y);
      } while (!Scatter_position_free(x, y, i));
    }
    scatter_x[i] = x;
    scatter_y[i] = y;
  }
}

static void Set_model(Data& model, const std::string& pack, const std::string& entry) {
  model.text = pack;
  model.text2 = entry;
}

void Add_board_frame(Object* object, double scale) {
  Param_map& frame = Add_started_function(object, "fon_draw", Draw_obj, Before_list);
  Set_model(frame["MODEL_1"], Main_pack, Frame_model);
  frame["POS_Z"].value.number = Depth_board;
  frame["BLEND"];
  if (scale != 1.0) Set_scale_xy(frame, scale);
}

// A piece that was home: in its slot (its model's pivot), settled, taking no taps.
static void Lay_home(Param_map& place, const std::string& puzzle_pack, const std::string& shape) {
  Model_walk walk;
  Mesh_view mesh;
  if (Start_model_walk(Get_data_from_data_store(puzzle_pack, shape), walk) && Next_mesh(walk, mesh)) {
    place["POS_X"].value.number = mesh.pivot[0];
    place["POS_Y"].value.number = mesh.pivot[1];
  }
  place["POS_Z"].value.number = Depth_landed;
}

void Keep_home(const std::string& puzzle_pack, const std::string& shape) {
  const Piece_set& set = Current_piece_set();
  Board_state& kept = Progress.boards[Picture_key(Puzzle_of_pack(puzzle_pack))][set.mode];
  const int index = std::stoi(shape.substr(5)) - 1 - set.first_shape;
  if (index >= 0 && index < static_cast<int>(kept.home.size())) kept.home[index] = 1;
  Save_progress();
}

void Build_board(const std::string& puzzle_pack, const std::string& board_pack,
                 const std::string& shadow_pack) {
  const Piece_set& set = Current_piece_set();
  Object* board = new Object(puzzle_pack, "puzz_plase");
  Param_map& surface = Add_started_function(board, "puzz_f_draw", Draw_obj, Before_list);
  Set_model(surface["MODEL_1"], board_pack, set.board_model);
  surface["POS_Z"].value.number = Depth_board;
  Add_board_frame(board, set.board_scale);
  Add_started_function(board, "enable_blend", Blend_on, Before_list);

  // The board as the child left it, or a fresh scatter that is kept from now on.
  const int first = set.first_shape, end = set.first_shape + set.pieces;
  Prepare_own_set_picture(puzzle_index, set);  // an own picture's pieces are cut now
  Board_state& kept = Progress.boards[Picture_key(puzzle_index)][set.mode];
  if (static_cast<int>(kept.home.size()) != set.pieces) {
    Scatter_pieces();
    kept.home.assign(set.pieces, 0);
    kept.x.assign(scatter_x + first, scatter_x + end);
    kept.y.assign(scatter_y + first, scatter_y + end);
  }
  std::copy(kept.x.begin(), kept.x.end(), scatter_x + first);
  std::copy(kept.y.begin(), kept.y.end(), scatter_y + first);
  stars_target[puzzle_index] = static_cast<int32_t>(std::count(kept.home.begin(), kept.home.end(), 0)) * Stars_per_piece;

  for (int i = first; i < end; ++i) {
    const std::string shape = Shape_name(i);
    Object* piece = new Object(puzzle_pack, shape);
    Param_map& place = Add_started_function(piece, "puzz_draw", Push_transform, Before_list);
    place["POS_Z"].value.number = Depth_piece;
    place["POS_X"].value.number = scatter_x[i];
    place["POS_Y"].value.number = scatter_y[i];
    const bool home = kept.home[i - first] != 0;
    if (home) Lay_home(place, puzzle_pack, shape);
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
    Param_map& drawn = Add_started_function(piece, "puzzle", Draw_piece, After_list);
    Set_model(drawn["MODEL_1"], puzzle_pack, shape);
    drawn["CENTER"];
    if (!home) drawn["FUN"].value.callback = Select_piece;
    Add_started_function(piece, "puzz_draw_end", Pop_transform, After_list);
    Link_object(board, puzzle_pack, shape);
  }
  for (int i = first; i < end; ++i) {
    const std::string shape = Shape_name(i);
    Object* slot = new Object(board_pack, shape);
    Param_map& outline = Add_started_function(slot, "puzz_draw", Draw_obj, After_list);
    Set_model(outline["model_1"], board_pack, shape);
    outline["POS_Z"].value.number = Depth_piece;
    outline["ALPHA"];
    Link_object(board, board_pack, shape);
  }
  Object* view = Get_object_from_global_store(puzzle_pack, "plase");
  if (view != nullptr) Link_object(view, puzzle_pack, "puzz_plase");
}
