// The picture preview: a small framed picture of the whole puzzle in the upper left corner,
// opened and faded out again by the preview button.
#include "puzzle/preview.h"

#include <string>

#include "behaviours/fades.h"
#include "platform/video.h"
#include "puzzle/catalogue.h"
#include "render/draw.h"
#include "resources/names.h"
#include "runtime/params.h"
#include "runtime/process.h"
#include "state/session.h"

namespace {

// One flat model of the preview, 16.8 units from the left and 20.85 below the top edge of
// the view in the scene's z = 0 plane.
void Add_picture(Object* preview, const char* fun, const std::string& pack, const char* model,
                 double z) {
  Param_map& params = Add_flat_drawing(preview, fun, Draw_obj, pack, model);
  params["POS_X"].value.number = 16.8 - View_half_width(Video_ptr, Camera_distance);
  params["POS_Y"].value.number = View_half_height(Video_ptr, Camera_distance) - 20.85;
  params["POS_Z"].value.number = z;
  params["BLEND"];
}

void Open_preview() {
  Object* preview = new Object("Int_store", "help_im");
  Add_fade_in(preview, Fade_in);
  Add_picture(preview, "help_im_draw", Main_pack, Preview_frame_model, 0.6);
  Add_picture(preview, "prev_im_draw", Picture_pack(puzzle_index), Preview_model, 0.7);
  Add_started_function(preview, "long_view_end", Fade_close, After_list);
  Link_object(Main_object, "Int_store", "help_im");
}

// The standard fade-out of the preview object, which then ends.
void Close_preview() {
  Object* preview = Get_object_from_global_store("Int_store", "help_im");
  if (preview == nullptr) return;
  Object* button = Current_object;
  Current_object = preview;  // Start_hide fades out the object it finds running
  Start_hide();
  Current_object = button;
}

}  // namespace

// The toggle state is the parameter "created" on the button's own function.
void Toggle_picture_preview() {
  if (!Has_param(Current_object, "created")) {
    Current_params(Current_object)["created"];
    Open_preview();
  } else {
    Remove_eval_function_param(Current_object, "created");
    Close_preview();
  }
}
