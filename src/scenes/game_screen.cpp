// The game screen: background, menu bar and the seven buttons, placed from the visible area
// so that they keep to the corners and the top edge on any screen shape.
#include "scenes/game_screen.h"

#include "audio/sound.h"
#include "behaviours/buttons.h"
#include "puzzle/preview.h"
#include "puzzle/show.h"
#include "render/draw.h"
#include "runtime/object.h"
#include "scenes/settings.h"
#include "scenes/windows.h"
#include "shell/frame.h"
#include "shell/video.h"

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
  if (Sound_ptr != nullptr) {
    Sound_ptr->music_on = Settings.music_flag;
    Sound_ptr->sound_on = Settings.sound_flag;
  }
  Play_music(Sound_ptr, "music.pak", "music.wav");

  // Half extents of the view at the background (z 0) and at the corner buttons (z 0.3).
  const double w = View_half_width(Video_ptr, 100), h = View_half_height(Video_ptr, 100);
  const double w3 = View_half_width(Video_ptr, 99.7), h3 = View_half_height(Video_ptr, 99.7);

  Screen_object("A_Int_store", "fon", "fon_draw", Draw_obj, "main_int.pak", "fon_cl.3DS");
  Param_map& bar = Screen_object("A_Int_store", "menu_f", "menu_f_draw", Draw_obj, "main_int.pak",
                                 "menu_clean.3DS");
  Place(bar, 16.85 - w, h - 5.85, 0.6);
  bar["BLEND"];

  const Screen_button buttons[] = {
      {"bclose", "bclose_draw", "close.3DS", w3 - 4.0, h3 - 4.0, 0.3, Open_exit_window},
      {"bmenu", "bmenu_draw", "menu.3DS", 7.5 - w, h - 5.8, 0.6, Open_main_menu},
      {"bhimg", "bhimg_draw", "view.3DS", 16.5 - w, h - 5.8, 0.6, Toggle_picture_preview},
      {"bhelp", "bhelp_draw", "help.3DS", 22.746 - w, h - 5.8, 0.6, Open_help_window},
      {"bbreak", "bbreak_draw", "crash.3DS", 28.992 - w, h - 5.8, 0.6, Open_break_window},
      {"prev_pz", "prev_draw", "but_lft.3DS", 4.0 - w3, 5.0 - h3, 0.3, Show_previous_puzzle},
      {"next_pz", "next_draw", "but_rgh.3DS", w3 - 4.0, 5.0 - h3, 0.3, Show_next_puzzle}};
  for (const Screen_button& b : buttons) {
    Param_map& params = Screen_object("Int_butt", b.name, b.fun, Draw_button, "buttons_int.pak", b.model);
    Place(params, b.x, b.y, b.z);
    params["FUN"].value.callback = b.action;
    params["BLEND"];
  }
  Open_select_window();
}
