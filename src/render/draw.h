// Drawing of models with the parameters of the running function, and the late pass that
// draws blended models after everything else.
#pragma once
#include <string>
#include <vector>

#include "runtime/object.h"

// A drawing function queued during the frame (for the late pass or for picking), with the
// model-view matrix it was queued under.
struct queued_drawing {
  std::string object;
  std::string store;
  std::string fun;
  float matrix[16];
};
typedef queued_drawing blend_obj;

// The running function of Current_object with the current matrix.
queued_drawing Running_drawing();

extern std::vector<blend_obj> blend_list;

// Registers a drawing function on an object, starts it on the after-list and gives it one
// flat model facing the camera (ROT_X -90); returns its parameters.
Param_map& Add_flat_drawing(Object* object, const std::string& fun, Callback callback,
                            const std::string& pack, const std::string& model);
// A number parameter, or the fallback when the map does not hold it.
double Param_number(const Param_map& params, const char* name, double fallback);
// True for the parameters that name a model to draw (names containing "MODEL_").
bool Is_model_param(const std::string& name);
// Pushes the matrix, then translates, scales and rotates by the parameters (identities are
// skipped; rotations about x, then y, then z, each only when present).
void Apply_transform(const Param_map& params);

// The drawing function: transform, optional click callback and picking, models.
void Draw_obj();
// Draws one model under the running function's parameters (CENTER).
void Draw_model(const std::string& pack_name, const std::string& model_name);
// The same with the centre flag given, used by the late pass.
void Draw_model_late(const std::string& pack_name, const std::string& model_name, bool center);
// Queues the running function for the late pass with the current matrix.
void Queue_blend_obj();
// The late pass: draws the blended models queued during the frame.
void Draw_blend_objs();
