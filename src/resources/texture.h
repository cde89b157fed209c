// Textures decoded from the PNG and JPEG entries of the packs.
#pragma once

// End-of-frame sweep: releases the GL textures not drawn in this frame.
void Release_idle_gl_tex();
// Frees every texture of every pack (shutdown).
void Free_all_gl_tex_data();
