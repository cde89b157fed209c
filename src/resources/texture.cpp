// Textures. Placeholder: no texture is made yet, so there is nothing to release.
#include "resources/texture.h"

void Release_idle_gl_tex() {}
void Free_all_gl_tex_data() {}
