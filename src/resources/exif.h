// The orientation a camera records in a photo's EXIF data: how the stored rows must be turned
// or mirrored to stand upright.
#pragma once
#include <cstddef>

// The orientation tag (1 to 8) of the first image directory of EXIF data, given from its TIFF
// header on ("II" or "MM"); 1, upright as stored, when there is none or the data is damaged.
// Reads only inside the bytes given.
int Exif_orientation(const unsigned char* tiff, size_t size);
