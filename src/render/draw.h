// Drawing of models with the parameters of the running function, and the late pass that
// draws blended models after everything else.
#pragma once
#include <string>
#include <vector>

#include "render/drawing.h"
#include "runtime/object.h"

typedef queued_drawing blend_obj;

extern std::vector<blend_obj> blend_list;

// Registers a drawing function on an object, starts it on the after-list and gives it one
// flat model facing the camera (ROT_X -90); returns its parameters.
Param_map& Add_flat_drawing(Object* object, const std::string& fun, Callback callback,
                            const std::string& pack, const std::string& model);
// Pushes the matrix, then translates, scales and rotates by the parameters (identities are
// skipped; rotations about x, then y, then z, each only when present).
void Apply_transform(const Param_map& params);

// The drawing function: transform, optional click callback and picking, models (none drawn
// while the function has UNSEEN: it still takes taps).
void Draw_obj();
// Draws one model under the running function's parameters (CENTER).
void Draw_model(const std::string& pack_name, const std::string& model_name);
// Draws every model that the parameters name, under the running function's parameters.
void Draw_models(const Param_map& params);
// The same with the centre flag given, used by the late pass.
void Draw_model_late(const std::string& pack_name, const std::string& model_name, bool center);
// Queues the running function for the late pass with the current matrix.
void Queue_blend_obj();
// The late pass: draws the blended models queued during the frame.
void Draw_blend_objs();

// The drawing of a frame: Begin_frame clears the buffers and sets the camera; Draw_tree
// processes the object tree from its root (none: nothing), then runs the late pass and the
// pick pass.
void Begin_frame();
void Draw_tree(Object* root);
