// The first scene: the clock, the root object, the sound system, the cursor that follows the
// pointer for the whole run, and the loader with the link buttons whose addresses are set.
#include "scenes/boot.h"

#include "audio/sound.h"
#include "behaviours/buttons.h"
#include "behaviours/fades.h"
#include "behaviours/hold.h"
#include "platform/clock.h"
#include "puzzle/catalogue.h"
#include "render/draw.h"
#include "resources/depths.h"
#include "resources/names.h"
#include "runtime/object.h"
#include "runtime/process.h"
#include "scenes/game_screen.h"
#include "scenes/links.h"
#include "scenes/switches.h"

namespace {

// A blended flat model of the loader, in front of the scene.
Param_map& Loader_picture(Object* loader, const char* fun, Callback callback, const char* model) {
  Param_map& params = Add_flat_drawing(loader, fun, callback, Loader_pack, model);
  params["POS_Z"].value.number = Depth_loader;
  params["BLEND"];
  return params;
}

// A link along the loader's foot, when it is shown.
void Link_button(Object* loader, const char* fun, const char* model, double x, Callback action,
                 const std::string& address) {
  if (!Link_shown(address)) return;
  Param_map& params = Loader_picture(loader, fun, Draw_link, model);
  params["POS_X"].value.number = x;
  params["POS_Y"].value.number = -7.1;
  params["FUN"].value.callback = action;
}

}  // namespace

void Loader_fade_in() {
  Object* loader = Current_object;
  Param_map& params = Current_params(loader);
  double now = Clock_ms();
  double& opacity = params["OPTICALY"].value.number;
  if (opacity > 1.0) return;
  double elapsed = now - params["TIME"].value.number;
  opacity = elapsed * 0.0008;
  if (opacity >= 1.0) {
    opacity = 1.0;
    // Only the first call decodes anything; later ones find every picture in place.
    Preload_puzzle_images();
    if (elapsed <= 5000.0) Wake_by(params["TIME"].value.number + 5000.0);
    if (elapsed > 5000.0) {
      Start_function_before(loader, "long_hide");
      Param_map& hide = Get_function_params(loader, "long_hide");
      hide["OPTICALY"].value.number = 1.0;
      hide["TIME"].value.number = Clock_ms();
      Start_function_after(loader, "long_hide_end");
      Remove_fade_in(loader);
    }
  }
  Show_with_opacity(opacity);
}

void Loader_fade_out() { Fade_out_then(Build_game_screen); }

void Build_boot_scene(Callback shut_down) {
  Shut_down_game = shut_down;
  Start_clock();
  Create_main_object();
  Start_sound_system();

  Object* cursor = new Object("A_Int_store", "cursor");
  Add_fade_in(cursor, Fade_in);
  Add_started_function(cursor, "follow_mouse", Follow_pointer, Before_list);
  Param_map& pointer = Add_started_function(cursor, "cursor_draw", Draw_obj, After_list);
  pointer["MODEL_1"].text = Main_pack;
  pointer["MODEL_1"].text2 = Cursor_model;
  pointer["SCALE_X"].value.number = 0.4;
  pointer["SCALE_Y"].value.number = 0.4;
  pointer["SCALE_Z"].value.number = 0.4;
  Add_started_function(cursor, "follow_mouse_end", Pop_transform, After_list);
  Add_started_function(cursor, "long_view_end", Fade_close, After_list);
  Link_object(Main_object, "A_Int_store", "cursor");

  Object* loader = new Object("z_Int_store", "loader");
  Add_fade_in(loader, Loader_fade_in);
  Add_started_function(loader, "long_hide", Loader_fade_out, No_list);
  Loader_picture(loader, "loader_draw", Draw_obj, Loader_model);
  Link_button(loader, "website_draw", Website_model, -7.0, Open_site, Link_addresses.home);
  Link_button(loader, "twitter_draw", Twitter_model, 5.0, Open_twitter, Link_addresses.twitter);
  Link_button(loader, "fbook_draw", Facebook_model, 7.0, Open_facebook, Link_addresses.facebook);
  Add_started_function(loader, "long_hide_end", Fade_close, No_list);
  Add_started_function(loader, "long_view_end", Fade_close, After_list);
  Link_object(Main_object, "z_Int_store", "loader");
}
