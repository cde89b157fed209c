// The size of every puzzle picture: the ten built-in ones that the packer draws, and the photos
// a parent adds, which are cut and scaled to it. No larger than a full-HD screen shows the board
// (20 units at about 35 pixels each): larger pictures only cost memory and texture bandwidth.
#pragma once

const int Picture_width = 800;
const int Picture_height = 560;
