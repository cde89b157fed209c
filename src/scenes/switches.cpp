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

}  // namespace

void Choose_piece_count() {
  const uint32_t mode = static_cast<uint32_t>(This_switch()[Piece_mode_param].value.number);
  if (Rebuild_running() || Settings.piece_mode == mode) return;
  Settings.piece_mode = mode;
  for (const Piece_set& set : Piece_sets) Mark(Get_function_params(Current_object, set.switch_fun), "clean.3DS");
  Mark(This_switch(), "diff.3DS");
  Start_rebuild();
}

namespace {

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

void Toggle_outline() {
  // The switch shows the outlines shown: marked while they are not hidden.
  Settings.outline_hidden = Settings.outline_hidden == 0 ? 1 : 0;
  Mark(This_switch(), Settings.outline_hidden ? "clean.3DS" : "sound.3DS");
}

void Quit_program() {
  if (Shut_down_game != nullptr) Shut_down_game();
  std::exit(1);
}
