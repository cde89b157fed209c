// The first scene: the clock, the root object, the sound system, the cursor that follows the
// pointer for the whole run, and the loader with the link buttons whose addresses are set.
#include "scenes/boot.h"

#include "audio/sound.h"
#include "behaviours/buttons.h"
#include "behaviours/fades.h"
#include "behaviours/hold.h"
#include "render/draw.h"
#include "runtime/object.h"
#include "scenes/links.h"
#include "shell/clock.h"
#include "shell/frame.h"

namespace {

Param_map& Add(Object* object, const char* fun, Callback callback, int list) {
  Add_function(object, fun, callback);
  if (list < 0) Start_function_before(object, fun);
  if (list > 0) Start_function_after(object, fun);
  return Get_function_params(object, fun);
}
const int before = -1, registered = 0, after = 1;

// A blended flat model of the loader, 80 units forward.
Param_map& Loader_picture(Object* loader, const char* fun, Callback callback, const char* model) {
  Param_map& params = Add_flat_drawing(loader, fun, callback, "loader.pak", model);
  params["POS_Z"].value.number = 80.0;
  params["BLEND"];
  return params;
}

// A link along the loader's foot; none when its address is empty.
void Link_button(Object* loader, const char* fun, const char* model, double x, Callback action,
                 const std::string& address) {
  if (address.empty()) return;
  Param_map& params = Loader_picture(loader, fun, Draw_link, model);
  params["POS_X"].value.number = x;
  params["POS_Y"].value.number = -7.1;
  params["FUN"].value.callback = action;
}

}  // namespace

void Build_boot_scene() {
  Start_clock();
  Main_object = new Object("Main_store", "main");
  Sound_ptr = new Sound_system();
  Open_sound_system(Sound_ptr);

  Object* cursor = new Object("A_Int_store", "cursor");
  Add_fade_in(cursor, Fade_in);
  Add(cursor, "follow_mouse", Follow_pointer, before);
  Param_map& pointer = Add(cursor, "cursor_draw", Draw_obj, after);
  pointer["MODEL_1"].text = "main_int.pak";
  pointer["MODEL_1"].text2 = "cursor.3DS";
  pointer["SCALE_X"].value.number = 0.4;
  pointer["SCALE_Y"].value.number = 0.4;
  pointer["SCALE_Z"].value.number = 0.4;
  Add(cursor, "follow_mouse_end", Pop_transform, after);
  Add(cursor, "long_view_end", Fade_close, after);
  Link_object(Main_object, "A_Int_store", "cursor");

  Object* loader = new Object("z_Int_store", "loader");
  Add_fade_in(loader, Loader_fade_in);
  Add(loader, "long_hide", Loader_fade_out, registered);
  Loader_picture(loader, "loader_draw", Draw_obj, "loader.3DS");
  Link_button(loader, "website_draw", "website.3DS", -7.0, Open_site, Link_addresses.home);
  Link_button(loader, "twitter_draw", "twitter.3DS", 5.0, Open_twitter, Link_addresses.twitter);
  Link_button(loader, "fbook_draw", "fbook.3DS", 7.0, Open_facebook, Link_addresses.facebook);
  Add(loader, "long_hide_end", Fade_close, registered);
  Add(loader, "long_view_end", Fade_close, after);
  Link_object(Main_object, "z_Int_store", "loader");
}
