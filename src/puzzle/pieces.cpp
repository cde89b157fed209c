// Selecting and placing pieces.
#include "puzzle/pieces.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>

#include "audio/sound.h"
#include "behaviours/buttons.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/video.h"
#include "puzzle/board.h"
#include "puzzle/catalogue.h"
#include "puzzle/completion.h"
#include "render/draw.h"
#include "render/pick.h"
#include "resources/depths.h"
#include "runtime/params.h"
#include "runtime/process.h"
#include "state/progress.h"
#include "state/session.h"
#include "state/settings.h"

// The point under the pointer in the plane of the loose pieces.
static void Pointer_on_board(double& x, double& y) {
  View_point(Video_ptr, Mouse_state.x, Mouse_state.y, Camera_distance - Depth_piece, x, y);
}

// The button is still down after the press that lifted the piece: it follows the pointer,
// keeping the grip, until the button comes up.
static void Start_drag(Object* piece) {
  Param_map& drawn = Get_function_params(piece, "puzzle");
  if (drawn.count("DRAG") != 0 || piece->functions.count("drag") == 0) return;
  drawn["DRAG"];
  Param_map& place = Get_function_params(piece, "puzz_draw");
  Param_map& drag = Get_function_params(piece, "drag");
  drag.erase("released");
  double x, y;
  Pointer_on_board(x, y);
  drag["FROM_X"].value.number = place["POS_X"].value.number;
  drag["FROM_Y"].value.number = place["POS_Y"].value.number;
  drag["GRIP_X"].value.number = place["POS_X"].value.number - x;
  drag["GRIP_Y"].value.number = place["POS_Y"].value.number - y;
  Start_function_before(piece, "drag");
}

void Draw_piece() {
  Param_map& params = Current_params(Current_object);
  Apply_transform(params);
  double now = Clock_ms();
  if (params.count("SCALE_X") == 0) {
    Set_scale_xy(params, 1.0);
    params["SCALE_Z"].value.number = 1.0;
  }
  if (params.count("TIME") == 0) params["TIME"].value.number = now;
  // A click is taken once. A piece that is not queued for picking (dragged, or home) would
  // otherwise keep its click flag and be clicked again in every frame.
  const bool clicked = Pick_flag(params, "MOUSE_CL");
  if (clicked) params["MOUSE_CL"].value.flag = 0;
  // While a puzzle slides in or out its pieces are drawn but neither picked nor animated.
  if (transition_lock == 0) {
    if (clicked) params["cl_time"].value.number = now;
    if (clicked || params["SCALE_X"].value.number > 1.0)
      Set_scale_xy(params, std::max(Pulse_scale(now - Param_number(params, "cl_time", 0.0)), 1.0));
    if (params.count("FUN") != 0) {
      if (clicked) Click(Pick_up_sound);
      // A piece being dragged lies under the pointer: the drop must reach what is below it.
      if (params.count("DRAG") == 0) Queue_mause_obj();
    }
    params["TIME"].value.number = now;
  }
  Draw_models(params);
  glPopMatrix();
}

void Select_piece() {
  Deselect_piece(Current_object->store);
  selected_piece = Current_object->name;
  Param_map& slot = Return_fun_data(Board_pack(puzzle_index), selected_piece, "puzz_draw");
  slot["FUN"].value.callback = Send_piece_home;
  slot["DROP"];  // the dragged piece let go over its outline goes home too
  Data model = slot["model_1"];
  slot["MODEL_1"].text = model.text;
  slot["MODEL_1"].text2 = model.text2;
  if (Settings.outline_hidden) slot["UNSEEN"];  // the child finds the place alone
  Current_params(Current_object)["POS_Z"].value.number = 0.1;
  Start_function_before(Current_object, "shadow");
  if (Mouse_state.held) Start_drag(Current_object);
}

void Drag_piece() {
  Object* piece = Current_object;
  Param_map& drag = Current_params(piece);
  Param_map& place = Get_function_params(piece, "puzz_draw");
  Param_map& drawn = Get_function_params(piece, "puzzle");
  const bool loose = drawn.count("FUN") != 0;
  if (Mouse_state.held && loose && drag.count("released") == 0) {
    double x, y;
    Pointer_on_board(x, y);
    place["POS_X"].value.number = x + drag["GRIP_X"].value.number;
    place["POS_Y"].value.number = y + drag["GRIP_Y"].value.number;
    return;
  }
  // Let go: this frame's pick pass takes the drop, and a drop on the outline sends the piece
  // home in the next frame (the slots are processed before the pieces). Only then does a
  // piece that is still loose go back to where it lay.
  if (drag.count("released") == 0) {
    drag["released"];
    return;
  }
  if (loose) {
    place["POS_X"].value.number = drag["FROM_X"].value.number;
    place["POS_Y"].value.number = drag["FROM_Y"].value.number;
  }
  drawn.erase("DRAG");
  Queue_stop_function_before(piece, "drag");
}

// The slot's outline neither drawn nor taken any more.
static void Put_out_outline(const std::string& board_pack, const std::string& shape) {
  Param_map& slot = Return_fun_data(board_pack, shape, "puzz_draw");
  for (const char* param : {"FUN", "DROP", "MODEL_1", "UNSEEN"}) slot.erase(param);
}

void Deselect_piece(const std::string& puzzle_pack) {
  if (selected_piece.empty()) return;
  Object* piece = Get_object_from_global_store(puzzle_pack, selected_piece);
  if (piece != nullptr) Queue_stop_function_before(piece, "shadow");
  Return_fun_var_data(puzzle_pack, selected_piece, "puzzle", "POS_Z").value.number = 0.0;
  Put_out_outline(Board_pack(puzzle_index), selected_piece);
}

void Send_piece_home() {
  if (selected_piece != Current_object->name) return;
  const std::string name = Current_object->name;
  const std::string puzzle_pack = Picture_pack(puzzle_index);
  Object* piece = Get_object_from_global_store(puzzle_pack, name);
  if (piece != nullptr) Start_function_after(piece, "move_puzzle");
  selected_piece.clear();
  Put_out_outline(Current_object->store, name);
  Delete_fun_param(puzzle_pack, name, "puzzle", "FUN");
  Play_sound(Sound_ptr, Sound_pack, Send_home_sound);
  Keep_home(puzzle_pack, name);  // a piece in flight counts as home
}

// Moves `position` towards `home` by `step` and clears `arrived` when it had to move. False
// only when it had to move down (it was above home); a move up still returns true.
static bool Approach(double& position, double home, double step, bool& arrived) {
  if (position < home) {
    position += step;
    arrived = false;
    if (position >= home) position = home;
  }
  if (position > home) {
    position -= step;
    arrived = false;
    if (position <= home) position = home;
    return false;
  }
  return true;
}

// Ten stars burst from the landed piece, as functions of the board object.
static void Release_stars(const Object* piece, double home_x, double home_y, double now) {
  // The piece's own board: a piece that lands while its puzzle slides away keeps its stars.
  const std::string& piece_name = piece->name;
  Object* board = Get_object_from_global_store(piece->store, "puzz_plase");
  if (board == nullptr) return;
  for (int k = 0; k < Stars_per_piece; ++k) {
    std::string name = piece_name + std::string(1, static_cast<char>(k));
    Param_map& star = Add_started_function(board, name, Draw_star, After_list);
    star["MODEL_1"].text = Main_pack;
    star["MODEL_1"].text2 = Star_model;
    star["TIME"].value.number = now;
    star["life"].value.number = 0;
    star["SCALE_X"].value.number = 1.0;
    star["SCALE_Y"].value.number = 1.0;
    star["SCALE_Z"].value.number = 1.0;
    star["POS_X"].value.number = home_x + (std::rand() % 20 - 10) / 10.0;
    star["POS_Y"].value.number = home_y + (std::rand() % 20 - 10) / 10.0;
    star["POS_Z"].value.number = Depth_piece;
    star["R_POS_X"].value.number = (std::rand() % 60 - 30) / 10000.0;
    star["R_POS_Y"].value.number = (std::rand() % 60 - 30) / 10000.0;
    star["R_POS_Z"].value.number = (std::rand() % 20) / 5000.0;
    star["R_SCALE_X"].value.number = (std::rand() % 60 - 30) / 40000.0;
    star["R_SCALE_Y"].value.number = (std::rand() % 60 - 30) / 40000.0;
    star["R_SCALE_Z"].value.number = (std::rand() % 60 - 30) / 40000.0;
  }
}

void Fly_piece_home() {
  double now = Clock_ms();
  Param_map& flight = Current_params(Current_object);
  if (flight.count("TIME") == 0) flight["TIME"].value.number = now;
  double step = (now - flight["TIME"].value.number) * 0.01;
  Param_map& place = Get_function_params(Current_object, "puzz_draw");
  Param_map& drawn = Get_function_params(Current_object, "puzzle");
  double home_x = drawn["CENTER_X"].value.number, home_y = drawn["CENTER_Y"].value.number;
  bool arrived = true;
  double& x = place["POS_X"].value.number;
  double& y = place["POS_Y"].value.number;
  Approach(x, home_x, step, arrived);
  bool y_not_above = Approach(y, home_y, step, arrived);
  if (y_not_above && arrived) {
    Queue_remove_function(Current_object, Current_object->fun_name);
    Queue_remove_function(Current_object, "shadow");
    place["POS_Z"].value.number = Depth_landed;
    drawn["POS_Z"].value.number = 0;
    Play_sound(Sound_ptr, Sound_pack, Land_sound);
    Release_stars(Current_object, home_x, home_y, now);
    Save_progress();
  }
  flight["TIME"].value.number = now;
}
