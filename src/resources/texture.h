// Textures: image entries of the packs decoded once into pixels and uploaded to GL while
// they are drawn. The texture of entry E of pack P lives in P's entry E + "_tex".
#pragma once
#include <string>

struct Tex_image;

// Decodes entry E of the loaded pack P once and lets go of E's bytes (the pixels are kept);
// 1 when its texture entry exists afterwards.
int Extract_tex_from_data_store(const std::string& pack_name, const std::string& entry_name);
// 1 and the GL texture name (uploaded now if it has none), or 0 with the name untouched.
int Get_gl_tex_from_data_store(const std::string& pack_name, const std::string& entry_name,
                               unsigned int& texture_name);
// Uploads the image as a new GL texture and returns its name (left bound to GL_TEXTURE_2D).
unsigned int Make_gl_tex(const Tex_image* image);
// End-of-frame sweep: releases the GL textures not drawn in this frame, keeping the pixels.
void Release_idle_gl_tex();
// Makes a decoded picture the texture of entry E of pack P (no entry E needed), taking the
// image; one that was there goes.
void Put_tex_image(const std::string& pack_name, const std::string& entry_name, Tex_image* image);
// Forgets a whole pack: its textures (GL textures and pixels) and its entries.
void Forget_pack(const std::string& pack_name);
// Deletes every texture entry of one pack (GL texture and pixels): its pictures are gone.
void Free_gl_tex_data(const std::string& pack_name);
// Frees every texture of every pack (shutdown).
void Free_all_gl_tex_data();
