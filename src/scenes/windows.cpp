// The game's windows, all of one pattern: a fade-in, the blocking plate, the window picture,
// the buttons, the closer.
#include "scenes/windows.h"

#include <vector>

#include "behaviours/buttons.h"
#include "behaviours/fades.h"
#include "behaviours/hold.h"
#include "platform/config.h"
#include "runtime/params.h"
#include "puzzle/rebuild.h"
#include "puzzle/show.h"
#include "render/draw.h"
#include "resources/depths.h"
#include "resources/names.h"
#include "resources/piece_sets.h"
#include "runtime/object.h"
#include "runtime/process.h"
#include "scenes/links.h"
#include "scenes/switches.h"
#include "state/settings.h"

namespace {

struct Button_spec {
  const char* fun;
  const char* pack;
  std::string model;
  double x, y, z;
  Callback action;
  Callback draw = Draw_button;  // Draw_link for a link
  const char* label = nullptr;  // a second model of the pack drawn with it (a switch's label)
  uint32_t piece_mode = 0;      // the piece count a card or switch stands for
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
  Param_map& plate = Blended(window, "m_block_draw", Draw_obj, Menu_pack, "block.3DS");
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
    if (button.label != nullptr) params["MODEL_2"].text = button.pack, params["MODEL_2"].text2 = button.label;
    if (button.piece_mode != 0) params[Piece_mode_param].value.number = button.piece_mode;
  }
  Add_started_function(window, "long_view_end", Fade_close, After_list);
  Link_object(Main_object, "z_Int_store", name);
}

void Build_help_window(Callback fade_in) {
  Build_window("m_help", fade_in, Help_lift, {"m_fon_draw", Help_pack, "help_fon.3DS", 0, Help_lift},
               {{"bclose_draw", Help_pack, "close.3DS", 6.711, -4.145, Depth_help, Start_hide_click}});
}

// Two-button confirmation windows share their layout.
void Build_confirmation(const char* name, const char* picture, const char* pack,
                        const char* first_fun, const char* first_model, Callback first_action,
                        Callback fade_in) {
  Build_window(name, fade_in, Window_lift, {"m_fon_draw", Menu_pack, picture, 0, Window_lift},
               {{first_fun, pack, first_model, 3.232, -1.443, Depth_window, first_action},
                {"bcancel_draw", pack, "cancel.3DS", -3.372, -1.443, Depth_window, Start_hide_click}});
}

}  // namespace

void Ignore_click() {}

// Where the piece-count window's cards stand, the fewest pieces first: two to a row.
const double Card_column_x[2] = {-5.6, 5.6};
const double Card_first_row_y = -0.1, Card_row_step = 8.1;

void Set_piece_count() {
  if (!Start_hide()) return;
  Settings.piece_mode = static_cast<uint32_t>(Current_params(Current_object)[Piece_mode_param].value.number);
  if (Settings.first_start) Open_help_window_delayed();
  Show_current_puzzle();
}

void Open_select_window() {
  std::vector<Button_spec> cards;
  for (const Piece_set* set : Piece_sets_by_size()) {
    const int i = static_cast<int>(cards.size());
    cards.push_back({set->card_fun, Select_pack, set->card_model, Card_column_x[i % 2],
                     Card_first_row_y - Card_row_step * (i / 2), Depth_window, Set_piece_count});
    cards.back().piece_mode = set->mode;
  }
  Build_window("m_select", Fade_in, Window_lift, {"m_please_draw", Select_pack, "please.3DS", 6.0, Depth_window}, cards);
}

void Open_help_window() { Build_help_window(Fade_in); }
void Open_help_window_delayed() { Build_help_window(Fade_in_delayed); }

void Open_exit_window() {
  Build_confirmation("m_exit", "exit_menu.3DS", Exit_pack, "bok_draw", "ok.3DS",
                     Quit_program, Fade_in);
}

void Open_break_window() {
  Build_confirmation("m_break", "break_puz_menu.3DS", Break_pack, "bbreak_draw",
                     "break.3DS", Rebuild_this_puzzle, Fade_in);
}

// The main menu's piece-count switches stand in a column, the fewest pieces at the top; the
// switch that hides the slot outlines stands under the sound and music switches.
const double Count_switch_x = 0.51, Count_switch_top_y = 3.314, Count_switch_step = 1.61;
const double Outline_switch_x = -6.648, Outline_switch_y = 0.094;

void Open_main_menu() {
  const char* pack = Main_menu_pack;
  std::vector<Button_spec> buttons = {
      {"bclose_draw", pack, "close.3DS", 8.091, 4.205, Depth_window, Start_hide_click}};
  if (Link_shown(Link_addresses.home))
    buttons.push_back({"bvisit_draw", pack, "visit.3DS", -3.99, -4.35, Depth_window, Open_site, Draw_link});
  buttons.push_back({"babout_draw", pack, "about.3DS", 3.13, -4.35, Depth_window, Open_about_window});
  // In a classroom one child must not break up every other child's pictures.
  if (!Config.classroom)
    buttons.push_back({"bbreak_draw", pack, "break.3DS", -5.261, -2.05, Depth_window, Open_break_all_window});
  buttons.insert(
      buttons.end(),
      {{"bsound_draw", pack, Settings.sound_flag ? "sound.3DS" : "clean.3DS", -6.648, 3.314, Depth_window,
        Toggle_sound},
       {"bmusic_draw", pack, Settings.music_flag ? "sound.3DS" : "clean.3DS", -6.648, 1.704, Depth_window,
        Toggle_music},
       {Outline_switch_fun, pack, Settings.outline_hidden ? "clean.3DS" : "sound.3DS", Outline_switch_x,
        Outline_switch_y, Depth_window, Toggle_outline, Draw_button, Outline_switch_label}});
  double y = Count_switch_top_y;
  for (const Piece_set* set : Piece_sets_by_size()) {
    buttons.push_back({set->switch_fun, pack, Settings.piece_mode == set->mode ? "diff.3DS" : "clean.3DS", Count_switch_x, y, Depth_window,
                       Choose_piece_count, Draw_button, set->switch_label, set->mode});
    y -= Count_switch_step;
  }
  Build_window("m_menu", Fade_in, Window_lift, {"m_fon_draw", Menu_pack, "main_menu.3DS", 0, Window_lift},
               buttons);
}

void Open_break_all_window() {
  if (!Start_hide()) return;
  Build_confirmation("m_breaks", "break_pzls_menu.3DS", Break_pack, "bbreak_draw",
                     "break.3DS", Rebuild_all_puzzles, Fade_in_delayed);
}

void Open_about_window() {
  if (!Start_hide()) return;
  Build_window("m_about", Fade_in_delayed, Window_lift, {"m_fon_draw", About_pack, "about.3DS", 0, Window_lift},
               {{"bok_draw", About_pack, "ok.3DS", 0.0, -4.21, Depth_window, Start_hide_click}});
}
