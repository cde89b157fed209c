// Showing and switching puzzles.
#include "puzzle/show.h"

#include <GL/gl.h>

#include <algorithm>

#include "platform/clock.h"
#include "puzzle/board.h"
#include "puzzle/catalogue.h"
#include "puzzle/completion.h"
#include "puzzle/own_pictures.h"
#include "puzzle/pieces.h"
#include "runtime/params.h"
#include "runtime/process.h"
#include "state/progress.h"
#include "state/session.h"
#include "state/settings.h"

// The starting parameters of a slide: transparent, now, no offset.
static void Slide_params(Param_map& params) {
  params["OPTICALY"].value.number = 0;
  params["TIME"].value.number = Clock_ms();
  params["POS_X"].value.number = 0;
  params["POS_Y"].value.number = 0;
}

void Show_puzzle(const std::string& puzzle_pack, const std::string& board_pack,
                 const std::string& shadow_pack) {
  if (Has_fun_var_data("Int_store", "help_im", "prev_im_draw", "MODEL_1"))
    Return_fun_var_data("Int_store", "help_im", "prev_im_draw", "MODEL_1").text = puzzle_pack;
  // The puzzle may still be sliding out with its board: the new view replaces that one now,
  // so the stars still burning there count first (they may complete it).
  Burn_out_stars(puzzle_pack);
  transition_lock = 1;
  selected_piece.clear();
  stars_done[puzzle_index] = 0;
  stars_target[puzzle_index] = Current_piece_set().star_target;
  Object* view = new Object(puzzle_pack, "plase");
  Slide_params(Add_started_function(view, "obj_view_start", Slide_in, Before_list));
  Slide_params(Add_started_function(view, "obj_hide_start", Slide_out, No_list));
  Add_started_function(view, "obj_view_end", Slide_close, After_list);
  Add_started_function(view, "obj_hide_end", Slide_close, No_list);
  // A view replaced while it slid out is still linked: one link is enough.
  if (!Has_link(Main_object, puzzle_pack, "plase")) Link_object(Main_object, puzzle_pack, "plase");
  // A board whose every piece is home (its last stars never burnt out: the game was ended) is
  // a finished picture.
  const std::vector<uint8_t>* home = nullptr;
  if (auto picture = Progress.boards.find(Picture_key(puzzle_index)); picture != Progress.boards.end())
    if (auto board = picture->second.find(Current_piece_set().mode); board != picture->second.end()) home = &board->second.home;
  if (home != nullptr && !home->empty() && std::count(home->begin(), home->end(), 0) == 0) {
    Set_picture_done(puzzle_index, true);
    Save_settings();
    Progress.boards.erase(Picture_key(puzzle_index));
  }
  if (Picture_done(puzzle_index))
    Show_finished_picture(puzzle_pack);
  else
    Build_board(puzzle_pack, board_pack, shadow_pack);
  Progress.last_picture = Picture_key(puzzle_index);  // the game starts here next time
  Save_progress();
}

// A sliding puzzle writes no depth: the puzzles and the board's layers draw in their order,
// and the pointer, drawn earlier but nearer, stays in front of it.
static void Slide_depth() { glDepthMask(GL_FALSE); }

void Show_current_puzzle() {
  // An own picture whose stored photo cannot be read leaves the catalogue: the next is shown.
  while (!Prepare_own_picture(puzzle_index))
    if (puzzle_index >= Picture_count()) puzzle_index = 0;
  Show_puzzle(Picture_pack(puzzle_index), Board_pack(puzzle_index), Shadow_pack(puzzle_index));
}

void Slide_in() {
  Param_map& slide = Current_params(Current_object);
  glPushMatrix();
  Slide_depth();
  double elapsed = Clock_ms() - slide["TIME"].value.number;
  double& opacity = slide["OPTICALY"].value.number;
  double& z = slide["POS_Z"].value.number;
  opacity = elapsed * 0.0008;
  z = elapsed * 30 * 0.0008 - 30;
  transition_lock = 1;
  float x = static_cast<float>(slide["POS_X"].value.number);
  float y = static_cast<float>(slide["POS_Y"].value.number);
  if (opacity < 1) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, static_cast<float>(opacity));
    glTranslatef(x, y, static_cast<float>(z));
    return;
  }
  z = 0;
  opacity = 1;
  Queue_remove_function(Current_object, Current_object->fun_name);
  Queue_remove_function(Current_object, "obj_view_end");
  transition_lock = 0;
  // From now on the board draws opaque: its own blending switch goes.
  for (const char* child : {"puzz_plase", "puzz_final"}) {
    if (!Has_fun_var_data(Current_object->store, child, "puzz_f_draw", "MODEL_1")) continue;
    Object* object = Get_object_from_global_store(Current_object->store, child);
    if (object != nullptr) Queue_stop_function_before(object, "enable_blend");
  }
  glTranslatef(x, y, 0);
}

void Slide_out() {
  Param_map& slide = Current_params(Current_object);
  glPushMatrix();
  Slide_depth();
  if (Has_fun_param(Current_object, "obj_view_start", "OPTICALY")) {
    // The slide-in has not finished: the slide-out waits, and its clock starts later.
    slide["TIME"].value.number = Clock_ms();
    return;
  }
  double elapsed = Clock_ms() - slide["TIME"].value.number;
  double opacity = slide["OPTICALY"].value.number = 1 - elapsed * 0.0008;
  double z = slide["POS_Z"].value.number = elapsed * 20 * 0.0008;
  transition_lock = 1;
  // Done: the view ends; its closer, after the board, counts the board's stars and lets the
  // next puzzle take taps (the pieces going away never do, not even in this last frame).
  if (opacity <= 0) End_object(Current_object);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glTranslatef(static_cast<float>(slide["POS_X"].value.number),
               static_cast<float>(slide["POS_Y"].value.number), static_cast<float>(z));
  glColor4f(1, 1, 1, static_cast<float>(opacity));
}

void Slide_close() {
  // The last frame of a view that slid out: its board has run, its stars still burning (a
  // piece that landed in this very frame included) count as burnt out.
  if (Current_object->ended) {
    transition_lock = 0;
    Burn_out_stars(Current_object->store);
  }
  glDepthMask(GL_TRUE);
  glColor4f(1, 1, 1, 1);
  glDisable(GL_BLEND);
  glPopMatrix();
}

// The view object of a puzzle pack, or none (quietly: it is often gone).
static Object* View_of(const std::string& puzzle_pack) {
  return Is_object_in_global_store(puzzle_pack, "plase") ? Get_object_from_global_store(puzzle_pack, "plase")
                                                          : nullptr;
}

bool Sliding_out(const std::string& puzzle_pack) {
  const Object* view = View_of(puzzle_pack);
  if (view == nullptr) return false;
  for (const auto* list : {&view->before_list, &view->start_before_queue})
    for (const std::string& name : *list)
      if (name == "obj_hide_start") return true;
  return false;
}

void Hide_puzzle(const std::string& puzzle_pack) {
  Deselect_piece(puzzle_pack);
  // A slide-out already under way keeps its course (a second one would run beside it).
  if (Sliding_out(puzzle_pack)) return;
  Object* view = Get_object_from_global_store(puzzle_pack, "plase");
  if (view == nullptr) return;
  Start_function_before(view, "obj_hide_start");
  Get_function_params(view, "obj_hide_start")["TIME"].value.number = Clock_ms();
  Start_function_after(view, "obj_hide_end");
  for (const char* child : {"puzz_plase", "puzz_final"}) {
    if (!Has_fun_var_data(puzzle_pack, child, "puzz_f_draw", "MODEL_1")) continue;
    Object* object = Get_object_from_global_store(puzzle_pack, child);
    if (object != nullptr) Start_function_before(object, "enable_blend");
  }
}

// The arrows take the shown puzzle away: a puzzle still sliding in (the arrow clicked again
// quickly) goes at once, so that quick clicks never stack pictures; one that stands slides out.
static void Switch_to(int index) {
  const std::string pack = Picture_pack(puzzle_index);
  Object* view = View_of(pack);
  if (view != nullptr && Has_fun_param(view, "obj_view_start", "OPTICALY") && !Sliding_out(pack))
    End_object(view);
  else
    Hide_puzzle(pack);
  puzzle_index = index;
  Show_current_puzzle();
}

void Show_previous_puzzle() { Switch_to(puzzle_index == 0 ? Picture_count() - 1 : puzzle_index - 1); }
void Show_next_puzzle() { Switch_to(puzzle_index == Picture_count() - 1 ? 0 : puzzle_index + 1); }
