// The game's windows, all of one pattern: a fade-in, the blocking plate, the window picture,
// the buttons, the closer.
#include "scenes/windows.h"

#include <vector>

#include "behaviours/buttons.h"
#include "behaviours/fades.h"
#include "behaviours/hold.h"
#include "puzzle/rebuild.h"
#include "puzzle/show.h"
#include "render/draw.h"
#include "runtime/object.h"
#include "scenes/links.h"
#include "scenes/settings.h"
#include "scenes/switches.h"
#include "shell/frame.h"

namespace {

struct Button_spec {
  const char* fun;
  const char* pack;
  std::string model;
  double x, y, z;
  Callback action;
  Callback draw = Draw_button;  // Draw_link for a link
};

struct Picture_spec {
  const char* fun;  // "m_fon_draw", or "m_please_draw" for the piece-count window
  const char* pack;
  const char* model;
  double y, z;
};

// A blended flat model drawn by the window.
Param_map& Blended(Object* window, const char* fun, Callback callback, const char* pack,
                   const std::string& model) {
  Param_map& params = Add_flat_drawing(window, fun, callback, pack, model);
  params["BLEND"];
  return params;
}

void Build_window(const char* name, Callback fade_in, double plate_z, const Picture_spec& picture,
                  const std::vector<Button_spec>& buttons) {
  Object* window = new Object("z_Int_store", name);
  Add_fade_in(window, fade_in);
  Param_map& plate = Blended(window, "m_block_draw", Draw_obj, "menu_int.pak", "block.3DS");
  plate["POS_Z"].value.number = plate_z;
  plate["FUN"].value.callback = Ignore_click;

  Param_map& image = Blended(window, picture.fun, Draw_obj, picture.pack, picture.model);
  if (picture.y != 0.0) image["POS_Y"].value.number = picture.y;
  image["POS_Z"].value.number = picture.z;

  for (const Button_spec& button : buttons) {
    Param_map& params = Blended(window, button.fun, button.draw, button.pack, button.model);
    params["POS_X"].value.number = button.x;
    params["POS_Y"].value.number = button.y;
    params["POS_Z"].value.number = button.z;
    params["FUN"].value.callback = button.action;
  }
  Add_function(window, "long_view_end", Fade_close);
  Start_function_after(window, "long_view_end");
  Link_object(Main_object, "z_Int_store", name);
}

void Build_help_window(Callback fade_in) {
  Build_window("m_help", fade_in, 10.0, {"m_fon_draw", "help_menu.pak", "help_fon.3DS", 0, 10.0},
               {{"bclose_draw", "help_menu.pak", "close.3DS", 6.711, -4.145, 75.05, Start_hide_click}});
}

// Two-button confirmation windows share their layout.
void Build_confirmation(const char* name, const char* picture, const char* pack,
                        const char* first_fun, const char* first_model, Callback first_action,
                        Callback fade_in) {
  Build_window(name, fade_in, 3.0, {"m_fon_draw", "menu_int.pak", picture, 0, 3.0},
               {{first_fun, pack, first_model, 3.232, -1.443, 68.05, first_action},
                {"bcancel_draw", pack, "cancel.3DS", -3.372, -1.443, 68.05, Start_hide_click}});
}

}  // namespace

void Ignore_click() {}

void Open_select_window() {
  Build_window("m_select", Fade_in, 3.0, {"m_please_draw", "select.pak", "please.3DS", 6.0, 68.05},
               {{"m_low_draw", "select.pak", "low.3DS", -8.0, -2.0, 68.05, Set_piece_count_20},
                {"m_heigh_draw", "select.pak", "heigh.3DS", 8.0, -2.0, 68.05, Set_piece_count_48}});
}

void Open_help_window() { Build_help_window(Fade_in); }
void Open_help_window_delayed() { Build_help_window(Fade_in_delayed); }

void Open_exit_window() {
  Build_confirmation("m_exit", "exit_menu.3DS", "exit_menu.pak", "bok_draw", "ok.3DS",
                     Quit_program, Fade_in);
}

void Open_break_window() {
  Build_confirmation("m_break", "break_puz_menu.3DS", "break_menu.pak", "bbreak_draw",
                     "break.3DS", Rebuild_this_puzzle, Fade_in);
}

void Open_main_menu() {
  const char* pack = "main_menu.pak";
  std::vector<Button_spec> buttons = {
      {"bclose_draw", pack, "close.3DS", 8.091, 4.205, 68.05, Start_hide_click}};
  if (!Link_addresses.home.empty())
    buttons.push_back({"bvisit_draw", pack, "visit.3DS", -3.99, -3.328, 68.05, Open_site, Draw_link});
  buttons.insert(
      buttons.end(),
      {{"babout_draw", pack, "about.3DS", 3.13, -3.328, 68.05, Open_about_window},
       {"bbreak_draw", pack, "break.3DS", -5.261, -0.684, 68.05, Open_break_all_window},
       {"bsound_draw", pack, Settings.sound_flag ? "sound.3DS" : "clean.3DS", -6.648, 3.314, 68.05,
        Toggle_sound},
       {"bmusic_draw", pack, Settings.music_flag ? "sound.3DS" : "clean.3DS", -6.648, 1.704, 68.05,
        Toggle_music},
       {"b20pc_draw", pack, Settings.piece_mode == 1 ? "diff.3DS" : "clean.3DS", 0.51, 3.22, 68.05,
        Choose_20_pieces},
       {"b48pc_draw", pack, Settings.piece_mode == 2 ? "diff.3DS" : "clean.3DS", 0.51, 1.62, 68.05,
        Choose_48_pieces}});
  Build_window("m_menu", Fade_in, 3.0, {"m_fon_draw", "menu_int.pak", "main_menu.3DS", 0, 3.0},
               buttons);
}

void Open_break_all_window() {
  if (!Start_hide()) return;
  Build_confirmation("m_breaks", "break_pzls_menu.3DS", "break_menu.pak", "bbreak_draw",
                     "break.3DS", Rebuild_all_puzzles, Fade_in_delayed);
}

void Open_about_window() {
  if (!Start_hide()) return;
  Build_window("m_about", Fade_in_delayed, 3.0,
               {"m_fon_draw", "about_menu.pak", "about.3DS", 0, 3.0},
               {{"bok_draw", "about_menu.pak", "ok.3DS", 0.0, -4.21, 68.05, Start_hide_click}});
}
