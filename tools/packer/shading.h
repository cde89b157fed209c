// Pictures made from the cut: the bevel baked into a puzzle picture along its cuts, the soft
// shadow map of the pieces, and the map of which piece covers each pixel.
#pragma once
#include <vector>

#include "cuts.h"
#include "raster.h"
#include "resources/names.h"

// For each pixel of a picture of the whole board (width x height), the index of the piece
// covering it (-1 outside every piece).
std::vector<int> Piece_map(const Board_cut& cut, int width, int height);
// Distance in pixels from each pixel to the nearest pixel of another piece (or the picture's
// border), measured inside its own piece.
std::vector<float> Edge_distance(const std::vector<int>& pieces, int width, int height);
// The bevel as a gain on each pixel of a picture of the whole board: 1 inside the pieces,
// more on rims facing the top left, less on the others, and a thin dark line along every cut.
std::vector<float> Bevel_gains(const Board_cut& cut, int width, int height);
// The picture with that bevel.
Image Bevel_picture(const Image& picture, const Board_cut& cut);
// The gains as a grey picture, Bevel_map_unit standing for 1: what the game multiplies a
// parent's photo with.
Image Bevel_map(const Board_cut& cut, int width, int height);
// A dark, soft-edged silhouette of every piece on a transparent board-sized image.
Image Shadow_map(const Board_cut& cut, int width, int height);
// The slot outlines of every piece on a transparent board-sized image: an opaque band of the
// given width (pixels) inside each piece's edge, dark on the cut, white, then gold inwards.
Image Slot_map(const Board_cut& cut, int width, int height, float band);
// The picture with the cut lines drawn over it (for the contact sheet).
Image Cut_lines_over(const Image& picture, const Board_cut& cut, uint8_t r, uint8_t g, uint8_t b);
