// Mouse picking. Placeholder: no model is pickable yet.
#include "render/pick.h"

void Pick_mause_objs() {}
