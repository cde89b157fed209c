// The queued drawing record and the reading of drawing parameters.
#include "render/drawing.h"

#include <GL/gl.h>

#include "runtime/process.h"

queued_drawing Running_drawing() {
  queued_drawing queued;
  queued.object = Current_object->name;
  queued.store = Current_object->store;
  queued.fun = Current_object->fun_name;
  glGetFloatv(GL_MODELVIEW_MATRIX, queued.matrix);
  return queued;
}

double Param_number(const Param_map& params, const char* name, double fallback) {
  auto found = params.find(name);
  return found == params.end() ? fallback : found->second.value.number;
}

bool Is_model_param(const std::string& name) { return name.find("MODEL_") != std::string::npos; }
