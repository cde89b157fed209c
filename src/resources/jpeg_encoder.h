// Encoding RGB pixels as a baseline JPEG: the packer's pictures and a parent's photos.
#pragma once
#include <string>

// The JPEG bytes of `width` x `height` RGB pixels (rows first to last, 3 bytes a pixel) at the
// given quality; empty when libjpeg fails (it never ends the program).
std::string Encode_jpeg(const unsigned char* rgb, int width, int height, int quality);
