// The main menu's switches for sound, music and the piece count, and the exit window's OK.
#include "scenes/switches.h"

#include <cstdint>
#include <cstdlib>

#include "audio/sound.h"
#include "puzzle/rebuild.h"
#include "resources/names.h"
#include "resources/piece_sets.h"
#include "runtime/params.h"
#include "runtime/process.h"
#include "state/settings.h"

Callback Shut_down_game = nullptr;

namespace {

// Shows a switch's mark: its own picture ("main_menu.pak" stays).
void Mark(Param_map& button, const char* model) { button["MODEL_1"].text2 = model; }

// The running switch's function.
Param_map& This_switch() { return Current_params(Current_object); }

// Goes from piece mode `from` to `to`: marks the running switch, clears `other` and rebuilds
// the current puzzle. Nothing while a rebuild runs or when the mode is not `from`.
void Choose_pieces(uint32_t from, uint32_t to, const char* other) {
  if (Rebuild_running() || Settings.piece_mode != from) return;
  Settings.piece_mode = to;
  Mark(This_switch(), "diff.3DS");
  Mark(Get_function_params(Current_object, other), "clean.3DS");
  Start_rebuild();
}

// Turns a sound or music switch over: the settings, the audio system and the running switch's
// mark follow. True when it is now on.
bool Flip(uint8_t& flag, unsigned char Sound_system::*on) {
  flag = flag == 0 ? 1 : 0;
  if (Sound_ptr != nullptr) Sound_ptr->*on = flag;
  Mark(This_switch(), flag ? "sound.3DS" : "clean.3DS");
  return flag != 0;
}

}  // namespace

void Toggle_sound() {
  // Switched on, this is the one click heard: the button's own was refused while off.
  if (Flip(Settings.sound_flag, &Sound_system::sound_on))
    Play_sound(Sound_ptr, Sound_pack, Button_sound);
  else
    Stop_sounds();
}

void Toggle_music() {
  if (Flip(Settings.music_flag, &Sound_system::music_on))
    Play_music(Sound_ptr, Sound_pack, Music_sound);  // from its beginning
  else
    Stop_music();
}

void Choose_20_pieces() { Choose_pieces(Piece_sets[1].mode, Piece_sets[0].mode, "b48pc_draw"); }
void Choose_48_pieces() { Choose_pieces(Piece_sets[0].mode, Piece_sets[1].mode, "b20pc_draw"); }

void Quit_program() {
  if (Shut_down_game != nullptr) Shut_down_game();
  std::exit(1);
}
