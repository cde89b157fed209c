// The depths of the scene's layers, in one table for the game and the packer. The scene's
// z grows towards the viewer; its plane z = 0 (the background) lies Camera_distance in front
// of the eye. Flat models are turned to face the camera (ROT_X -90), so a model's own y depth
// d lands at the object's z minus d.
#pragma once

const double Depth_board = 62.9;    // the board's surface and frame, and the finished picture
const double Depth_landed = 62.95;  // a piece in its slot: just behind the loose pieces
const double Depth_piece = 63.0;    // loose pieces, the slot outlines and the stars
const double Depth_window = 68.05;  // a window's picture and buttons, over everything above
const double Depth_help = 75.05;    // the help window's picture and close button
const double Depth_loader = 80.0;   // the loader and its links
const double Depth_cursor = 85.0;   // the pointer, nearest of all

// A window object stands this far forward; its plate and picture models sit at these model
// depths within it (the help window stands further forward, over the other windows).
const double Window_lift = 3.0;
const double Help_lift = 10.0;
const double Window_plate_model_depth = -62.0;      // the plate at 65 (help: 72)
const double Window_picture_model_depth = -65.05;   // the picture at Depth_window (help: Depth_help)
