// Stars and the completion sequence.
#include "puzzle/completion.h"

#include <GL/gl.h>

#include "audio/sound.h"
#include "behaviours/buttons.h"
#include "puzzle/catalogue.h"
#include "render/draw.h"
#include "runtime/process.h"
#include "scenes/settings.h"
#include "shell/clock.h"

int Completion_target() { return Settings.piece_mode == 1 ? 200 : 480; }

// A star of this puzzle pack's board has burnt out. The last star of a whole board completes
// its puzzle, also one that is sliding away; only the puzzle on screen plays the fanfare and
// shows its finished picture.
static void Count_burnt_star(const std::string& puzzle_pack) {
  int index = Puzzle_of_pack(puzzle_pack);
  if (index < 0 || ++stars_done[index] != stars_target[index]) return;
  Settings.puzzle_done[index] = 1;
  Save_settings();  // a power cut must not lose a finished picture
  if (index != puzzle_index) return;
  Play_sound(Sound_ptr, "music.pak", "final.wav");
  Finish_puzzle();
}

void Draw_star() {
  Param_map& star = Current_params(Current_object);
  glPushMatrix();
  glTranslatef(static_cast<float>(Param_number(star, "POS_X", 0)),
               static_cast<float>(Param_number(star, "POS_Y", 0)),
               static_cast<float>(Param_number(star, "POS_Z", 0)));
  glScalef(static_cast<float>(Param_number(star, "SCALE_X", 1)),
           static_cast<float>(Param_number(star, "SCALE_Y", 1)),
           static_cast<float>(Param_number(star, "SCALE_Z", 1)));
  if (star.count("ROT_X")) glRotatef(static_cast<float>(star["ROT_X"].value.number), 1, 0, 0);
  if (star.count("ROT_Y")) glRotatef(static_cast<float>(star["ROT_Y"].value.number), 0, 1, 0);
  if (star.count("ROT_Z")) glRotatef(static_cast<float>(star["ROT_Z"].value.number), 0, 0, 1);

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
  for (auto& param : star)
    if (Is_model_param(param.first)) Draw_model(param.second.text, param.second.text2);
  glColor4f(1, 1, 1, 1);
  glDisable(GL_BLEND);
  glPopMatrix();
}

void Burn_out_stars(const std::string& puzzle_pack) {
  if (!Is_object_in_global_store(puzzle_pack, "puzz_plase")) return;
  for (auto& function : Get_object_from_global_store(puzzle_pack, "puzz_plase")->functions)
    if (function.second.fun == Draw_star) Count_burnt_star(puzzle_pack);
}

void Finish_puzzle() {
  const std::string pack = Puzzle_pack(puzzle_index);
  Object* board = Get_object_from_global_store(pack, "puzz_plase");
  if (board != nullptr) End_object(board);
  Show_finished_picture(pack);
}

void Show_finished_picture(const std::string& puzzle_pack) {
  Object* final_picture = new Object(puzzle_pack, "puzz_final");
  Add_function(final_picture, "move_forward", Grow_forward);
  Start_function_before(final_picture, "move_forward");
  Get_function_params(final_picture, "move_forward")["TIME"].value.number = Clock_ms();
  Add_function(final_picture, "puzz_f_draw", Draw_obj);
  Start_function_before(final_picture, "puzz_f_draw");
  Param_map& picture = Get_function_params(final_picture, "puzz_f_draw");
  picture["MODEL_1"].text = puzzle_pack;
  picture["MODEL_1"].text2 = "final.3DS";
  picture["POS_Z"].value.number = 62.9;
  Add_function(final_picture, "fon_draw", Draw_obj);
  Start_function_before(final_picture, "fon_draw");
  Param_map& frame = Get_function_params(final_picture, "fon_draw");
  frame["MODEL_1"].text = "main_int.pak";
  frame["MODEL_1"].text2 = "obvodka.3DS";
  frame["POS_Z"].value.number = 62.9;
  frame["BLEND"];
  Add_function(final_picture, "enable_blend", Blend_on);
  Start_function_before(final_picture, "enable_blend");
  Add_function(final_picture, "move_forward_end", Pop_transform);
  Start_function_after(final_picture, "move_forward_end");
  Object* view = Get_object_from_global_store(puzzle_pack, "plase");
  if (view != nullptr) Link_object(view, puzzle_pack, "puzz_final");
}
