// The game screen: background, menu bar and the seven buttons, placed from the visible area
// so that they keep to the corners and the top edge on any screen shape.
#include "scenes/game_screen.h"

#include "audio/sound.h"
#include "behaviours/buttons.h"
#include "library/library.h"
#include "platform/config.h"
#include "platform/video.h"
#include "puzzle/catalogue.h"
#include "puzzle/preview.h"
#include "puzzle/show.h"
#include "render/backdrop.h"
#include "render/draw.h"
#include "resources/names.h"
#include "runtime/object.h"
#include "runtime/process.h"
#include "scenes/windows.h"
#include "state/progress.h"
#include "state/session.h"
#include "state/settings.h"

namespace {

// One object with one drawing function of a flat model, linked below the root.
Param_map& Screen_object(const char* store, const char* name, const char* fun, Callback callback,
                         const char* pack, const char* model) {
  Param_map& params = Add_flat_drawing(new Object(store, name), fun, callback, pack, model);
  Link_object(Main_object, store, name);
  return params;
}

void Place(Param_map& params, double x, double y, double z) {
  params["POS_X"].value.number = x;
  params["POS_Y"].value.number = y;
  params["POS_Z"].value.number = z;
}

struct Screen_button {
  const char* name;
  const char* fun;
  const char* model;
  double x, y, z;
  Callback action;
};

}  // namespace

void Build_game_screen() {
  Load_settings();
  Load_progress();
  Set_own_pictures(Own_pictures());
  // The game starts on the picture the child saw last.
  if (const int last = Picture_of_key(Progress.last_picture); last >= 0) puzzle_index = last;
  if (Sound_ptr != nullptr) {
    Sound_ptr->music_on = Settings.music_flag;
    Sound_ptr->sound_on = Settings.sound_flag;
  }
  Play_music(Sound_ptr, Sound_pack, Music_sound);

  // Half extents of the view at the background (z 0) and at the corner buttons (z 0.3).
  const double half_w = View_half_width(Video_ptr, Camera_distance);
  const double half_h = View_half_height(Video_ptr, Camera_distance);
  const double corner_w = View_half_width(Video_ptr, Camera_distance - 0.3);
  const double corner_h = View_half_height(Video_ptr, Camera_distance - 0.3);

  Screen_object("A_Int_store", "fon", "fon_draw", Draw_backdrop, Main_pack, Background_model);
  Param_map& bar = Screen_object("A_Int_store", "menu_f", "menu_f_draw", Draw_obj, Main_pack,
                                 Menu_bar_model);
  Place(bar, 16.85 - half_w, half_h - 5.85, 0.6);
  bar["BLEND"];

  const Screen_button buttons[] = {
      {"bclose", "bclose_draw", Close_button_model, corner_w - 4.0, corner_h - 4.0, 0.3, Open_exit_window},
      {"bmenu", "bmenu_draw", Menu_button_model, 7.5 - half_w, half_h - 5.8, 0.6, Open_main_menu},
      {"bhimg", "bhimg_draw", View_button_model, 16.5 - half_w, half_h - 5.8, 0.6, Toggle_picture_preview},
      {"bhelp", "bhelp_draw", Help_button_model, 22.746 - half_w, half_h - 5.8, 0.6, Open_help_window},
      {"bbreak", "bbreak_draw", Break_button_model, 28.992 - half_w, half_h - 5.8, 0.6, Open_break_window},
      {"prev_pz", "prev_draw", Previous_button_model, 4.0 - corner_w, 5.0 - corner_h, 0.3, Show_previous_puzzle},
      {"next_pz", "next_draw", Next_button_model, corner_w - 4.0, 5.0 - corner_h, 0.3, Show_next_puzzle}};
  for (const Screen_button& button : buttons) {
    // In classroom mode only a grown-up's chord leaves the game (platform/input.h).
    if (Config.classroom && button.action == Open_exit_window) continue;
    Param_map& params = Screen_object("Int_butt", button.name, button.fun, Draw_button, Buttons_pack, button.model);
    Place(params, button.x, button.y, button.z);
    params["FUN"].value.callback = button.action;
    params["BLEND"];
  }
  Open_select_window();
}
