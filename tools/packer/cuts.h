// Jigsaw cuts of a piece set's board (20 x 14 units, or smaller at the set's scale): piece
// outlines with classic tabs and blanks, their triangulation and area, and whether a point
// lies inside an outline. (The pictures made from a cut, the slot outlines among them, are in
// shading.h.)
#pragma once
#include <cstdint>
#include <vector>

struct Point {
  double x;
  double y;
};

struct Piece_cut {
  int column;
  int row;                        // 0 is the top row
  Point center;                   // the cell centre: the piece's pivot
  std::vector<Point> outline;     // closed, clockwise in y-up coordinates, no repeated end
  std::vector<float> triangles;   // 9 floats (x, y, 0) per triangle
};

struct Board_cut {
  int columns;
  int rows;
  double half_width;              // the board, centred on the origin
  double half_height;
  std::vector<Piece_cut> pieces;  // row by row from the top left
};

// The full board: 20 x 14 units.
const double Full_board_half_width = 10.0;
const double Full_board_half_height = 7.0;

// The cut of one piece set, columns x rows cells on the full board drawn at `scale`; pattern
// picks one of the different cuts.
Board_cut Make_board_cut(int columns, int rows, double scale, uint32_t pattern);
// Triangles (9 floats each, z 0) filling a simple closed outline (GLU tessellator).
std::vector<float> Triangulate(const std::vector<Point>& outline);
// Even-odd test of a point against a closed outline.
bool Inside_outline(const std::vector<Point>& outline, Point p);
// Area of the triangles (9 floats each).
double Triangles_area(const std::vector<float>& triangles);
