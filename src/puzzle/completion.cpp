// Stars and the completion sequence.
#include "puzzle/completion.h"

#include <GL/gl.h>

#include "audio/sound.h"
#include "behaviours/buttons.h"
#include "platform/clock.h"
#include "puzzle/board.h"
#include "puzzle/catalogue.h"
#include "render/draw.h"
#include "resources/depths.h"
#include "runtime/process.h"
#include "state/progress.h"
#include "state/session.h"
#include "state/settings.h"

// A star of this puzzle pack's board has burnt out. The last star of a whole board completes
// its puzzle, also one that is sliding away; only the puzzle on screen plays the fanfare and
// shows its finished picture.
static void Count_burnt_star(const std::string& puzzle_pack) {
  int index = Puzzle_of_pack(puzzle_pack);
  if (index < 0 || ++stars_done[index] != stars_target[index]) return;
  Set_picture_done(index, true);
  Save_settings();  // a power cut must not lose a finished picture
  Progress.boards.erase(Picture_key(index));  // a finished picture keeps no half-built board
  Save_progress();
  if (index != puzzle_index) return;
  Play_sound(Sound_ptr, Sound_pack, Fanfare_sound);
  Finish_puzzle();
}

void Draw_star() {
  Param_map& star = Current_params(Current_object);
  Apply_transform(star);

  double now = Clock_ms();
  double dt = now - star["TIME"].value.number;
  star["TIME"].value.number = now;
  double life = star["life"].value.number += dt;
  glColor4f(1, 1, 1, static_cast<float>(1.0 - life / 2000.0));
  if (life > 2000) {
    Queue_remove_function(Current_object, Current_object->fun_name);
    Count_burnt_star(Current_object->store);
  }
  static const char* rates[][2] = {{"R_POS_X", "POS_X"},     {"R_POS_Y", "POS_Y"},
                                   {"R_POS_Z", "POS_Z"},     {"R_SCALE_X", "SCALE_X"},
                                   {"R_SCALE_Y", "SCALE_Y"}, {"R_SCALE_Z", "SCALE_Z"},
                                   {"R_ROT_X", "ROT_X"},     {"R_ROT_Y", "ROT_Y"},
                                   {"R_ROT_Z", "ROT_Z"}};
  for (auto& rate : rates)
    if (star.count(rate[0])) star[rate[1]].value.number += dt * star[rate[0]].value.number;

  glEnable(GL_BLEND);
  Draw_models(star);
  glColor4f(1, 1, 1, 1);
  glDisable(GL_BLEND);
  glPopMatrix();
}

void Burn_out_stars(const std::string& puzzle_pack) {
  if (!Is_object_in_global_store(puzzle_pack, "puzz_plase")) return;
  // Stars that burnt out in a frame are gone once their board has run it: called then, or
  // before the board runs again, this counts each star once.
  for (auto& function : Get_object_from_global_store(puzzle_pack, "puzz_plase")->functions)
    if (function.second.fun == Draw_star) Count_burnt_star(puzzle_pack);
}

void Finish_puzzle() {
  const std::string pack = Picture_pack(puzzle_index);
  Object* board = Get_object_from_global_store(pack, "puzz_plase");
  if (board != nullptr) End_object(board);
  Show_finished_picture(pack);
}

void Show_finished_picture(const std::string& puzzle_pack) {
  Object* final_picture = new Object(puzzle_pack, "puzz_final");
  Add_started_function(final_picture, "move_forward", Grow_forward, Before_list)["TIME"].value.number = Clock_ms();
  Param_map& picture = Add_started_function(final_picture, "puzz_f_draw", Draw_obj, Before_list);
  picture["MODEL_1"].text = puzzle_pack;
  picture["MODEL_1"].text2 = Final_model;
  picture["POS_Z"].value.number = Depth_board;
  // It takes the place of the board, at the board's size.
  const double scale = Current_piece_set().board_scale;
  if (scale != 1.0) Set_scale_xy(picture, scale);
  Add_board_frame(final_picture, scale);
  Add_started_function(final_picture, "enable_blend", Blend_on, Before_list);
  Add_started_function(final_picture, "move_forward_end", Pop_transform, After_list);
  Object* view = Get_object_from_global_store(puzzle_pack, "plase");
  if (view != nullptr) Link_object(view, puzzle_pack, "puzz_final");
}
