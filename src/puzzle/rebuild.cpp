// Breaking puzzles up again: "rebuilt_puzzle" on the root object slides the puzzle it was
// started for out, waits until its objects are gone and, if it is still the one on screen,
// shows it anew with a fresh scatter.
#include "puzzle/rebuild.h"

#include <cstring>

#include "behaviours/fades.h"
#include "puzzle/catalogue.h"
#include "puzzle/show.h"
#include "runtime/params.h"
#include "runtime/process.h"
#include "state/progress.h"
#include "state/session.h"
#include "state/settings.h"

namespace {

// Closes the break window and starts the rebuild, unless the window is already closing or a
// rebuild runs. `forget` clears the done flags, which are saved at once.
void Break_up(void (*forget)()) {
  if (!Start_hide()) return;
  if (Rebuild_running()) return;
  forget();
  Save_settings();
  Save_progress();
  Start_rebuild();
}

void Forget_current() {
  Set_picture_done(puzzle_index, false);
  Progress.boards[Picture_key(puzzle_index)].erase(Current_piece_set().mode);
}
void Forget_all() {
  Forget_all_done();
  Progress.boards.clear();
  // Stars still burning on a puzzle that slides away complete nothing now.
  std::memset(stars_target, 0, sizeof stars_target);
}

}  // namespace

void Rebuild_this_puzzle() { Break_up(Forget_current); }
void Rebuild_all_puzzles() { Break_up(Forget_all); }

bool Rebuild_running() { return Has_fun_param(Main_object, "rebuilt_puzzle", "puzzle_del"); }

void Start_rebuild() {
  // The board goes: the stars its pieces released complete nothing any more.
  stars_target[puzzle_index] = 0;
  Param_map& params = Add_started_function(Main_object, "rebuilt_puzzle", Rebuild_step, After_list);
  params["puzzle_del"].value.flag = 0;
  params["pack"].text = Picture_pack(puzzle_index);
}

// The flag "puzzle_del": 1 once the slide-out has been started, back to 0 in the first frame
// without the view object; the frame after that shows the puzzle. The rebuild follows the
// puzzle it was started for ("pack"): when the player switches to another one meanwhile, that
// switch has shown the puzzle on screen, and the rebuilt one comes back as a fresh board
// whenever it is shown again.
void Rebuild_step() {
  Param_map& params = Current_params(Current_object);
  const std::string pack = params["pack"].text;  // set by Start_rebuild
  unsigned char& hidden = params["puzzle_del"].value.flag;
  if (Is_object_in_global_store(pack, "plase")) {
    if (hidden == 0) {
      Hide_puzzle(pack);
      hidden = 1;
    } else if (!Sliding_out(pack)) {
      // Shown anew by a switch while it slid out: that showing built it afresh.
      Queue_remove_function(Main_object, "rebuilt_puzzle");
    }
    return;
  }
  if (hidden == 0) {
    Queue_remove_function(Main_object, "rebuilt_puzzle");
    if (pack == Picture_pack(puzzle_index)) Show_current_puzzle();
  } else {
    hidden = 0;
  }
}
