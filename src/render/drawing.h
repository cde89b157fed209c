// What the drawing pass and the pick pass share: a drawing function queued with its matrix,
// and the reading of a function's drawing parameters.
#pragma once
#include <string>

#include "runtime/object.h"

// A drawing function queued during the frame (for the late pass or for picking), with the
// model-view matrix it was queued under.
struct queued_drawing {
  std::string object;
  std::string store;
  std::string fun;
  float matrix[16];
};

// The running function of Current_object with the current matrix.
queued_drawing Running_drawing();

// A number parameter, or the fallback when the map does not hold it.
double Param_number(const Param_map& params, const char* name, double fallback);
// True for the parameters that name a model to draw (names containing "MODEL_").
bool Is_model_param(const std::string& name);

// Calls use(model) for every model parameter in name order (pack in text, entry in text2)
// until it returns true; true when one did.
template <class Map, class Use>
bool For_each_model(Map& params, Use use) {
  for (auto& param : params)
    if (Is_model_param(param.first) && use(param.second)) return true;
  return false;
}
