// Mouse picking: the nearest model under the pointer gets the hover and click flags.
#pragma once
#include <string>
#include <vector>

#include "render/drawing.h"
#include "runtime/object.h"

// A pickable drawing of this frame, with the matrix it was drawn under.
typedef queued_drawing mause_obj;

extern std::vector<mause_obj> pick_list;
// What the last pick pass could choose from: the pickable drawings of the frame just drawn.
extern std::vector<mause_obj> frame_pickables;

// Queues the running function for this frame's pick pass and clears its MOUSE_CL.
void Queue_mause_obj();
// The pick pass: sets MOUSE_HT / MOUSE_CL on the nearest hit, consumes the mouse flags.
void Pick_mause_objs();
// Distance along the pointer ray to the first triangle of the model that it meets, under the
// current model-view matrix; 0 when none.
float Ray_model_distance(const std::string& pack_name, const std::string& model_name, bool center);
// True when the pointer ray meets one of the function's models (its "MODEL_" parameters,
// CENTER respected) under the current model-view matrix; nothing in front is considered.
bool Pointer_over_models(const Param_map& params);
