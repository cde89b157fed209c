// The jigsaw cuts: pieces tile the board exactly, tabs stay where they belong, each cut is
// its own, and the triangulation fills every outline.
#include <gtest/gtest.h>

#include <cmath>

#include "cuts.h"

namespace {

double Outline_area(const std::vector<Point>& o) {
  double sum = 0;
  for (size_t i = 0, j = o.size() - 1; i < o.size(); j = i++) sum += (o[j].x - o[i].x) * (o[j].y + o[i].y);
  return std::fabs(sum) / 2;
}

bool Segments_cross(Point a, Point b, Point c, Point d) {
  auto side = [](Point p, Point q, Point r) { return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x); };
  double d1 = side(c, d, a), d2 = side(c, d, b), d3 = side(a, b, c), d4 = side(a, b, d);
  return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

class Cuts : public ::testing::TestWithParam<std::tuple<int, int, int>> {};

TEST_P(Cuts, EveryPointOfTheBoardBelongsToExactlyOnePiece) {
  auto [columns, rows, pattern] = GetParam();
  Board_cut cut = Make_board_cut(columns, rows, pattern);
  ASSERT_EQ(cut.pieces.size(), static_cast<size_t>(columns * rows));
  int uncovered = 0, doubled = 0;
  for (double y = -6.97; y < 7; y += 0.0731)
    for (double x = -9.97; x < 10; x += 0.0713) {
      int owners = 0;
      for (const Piece_cut& piece : cut.pieces) owners += Inside_outline(piece.outline, {x, y});
      uncovered += owners == 0;
      doubled += owners > 1;
    }
  EXPECT_EQ(uncovered, 0);
  EXPECT_EQ(doubled, 0);
  double area = 0;
  for (const Piece_cut& piece : cut.pieces) area += Outline_area(piece.outline);
  EXPECT_NEAR(area, 280.0, 1e-6);
}

TEST_P(Cuts, TrianglesFillEachOutlineAndStayOnTheBoard) {
  auto [columns, rows, pattern] = GetParam();
  Board_cut cut = Make_board_cut(columns, rows, pattern);
  for (const Piece_cut& piece : cut.pieces) {
    ASSERT_EQ(piece.triangles.size() % 9, 0u);
    EXPECT_NEAR(Triangles_area(piece.triangles), Outline_area(piece.outline), 1e-3);
    for (size_t i = 0; i < piece.triangles.size(); i += 3) {
      EXPECT_LE(std::fabs(piece.triangles[i]), Board_half_width + 1e-5);
      EXPECT_LE(std::fabs(piece.triangles[i + 1]), Board_half_height + 1e-5);
    }
  }
}

TEST_P(Cuts, OutlinesAreSimpleAndTabsStayNearTheirCell) {
  auto [columns, rows, pattern] = GetParam();
  Board_cut cut = Make_board_cut(columns, rows, pattern);
  double cell_w = 20.0 / columns, cell_h = 14.0 / rows;
  for (const Piece_cut& piece : cut.pieces) {
    const auto& o = piece.outline;
    EXPECT_TRUE(Inside_outline(o, piece.center)) << "piece " << piece.column << "," << piece.row;
    for (const Point& p : o) {
      EXPECT_LE(std::fabs(p.x - piece.center.x), cell_w / 2 + 0.35 * std::min(cell_w, cell_h));
      EXPECT_LE(std::fabs(p.y - piece.center.y), cell_h / 2 + 0.35 * std::min(cell_w, cell_h));
    }
    size_t n = o.size();
    for (size_t i = 0; i < n; ++i)
      for (size_t j = i + 2; j < n; ++j) {
        if (i == 0 && j == n - 1) continue;
        ASSERT_FALSE(Segments_cross(o[i], o[(i + 1) % n], o[j], o[(j + 1) % n]))
            << "piece " << piece.column << "," << piece.row << " crosses itself";
      }
  }
}

INSTANTIATE_TEST_SUITE_P(AllSets, Cuts,
                         ::testing::Values(std::make_tuple(5, 4, 0), std::make_tuple(5, 4, 1),
                                           std::make_tuple(5, 4, 2), std::make_tuple(8, 6, 0),
                                           std::make_tuple(8, 6, 1), std::make_tuple(8, 6, 2)));

TEST(Cut_patterns, EachBoardHasItsOwnCutAndTheSameCutEveryTime) {
  Board_cut a = Make_board_cut(8, 6, 0), b = Make_board_cut(8, 6, 1), again = Make_board_cut(8, 6, 0);
  int different = 0;
  for (size_t i = 0; i < a.pieces.size(); ++i) {
    ASSERT_EQ(a.pieces[i].outline.size(), again.pieces[i].outline.size());
    for (size_t k = 0; k < a.pieces[i].outline.size(); ++k) {
      EXPECT_EQ(a.pieces[i].outline[k].x, again.pieces[i].outline[k].x);
      EXPECT_EQ(a.pieces[i].outline[k].y, again.pieces[i].outline[k].y);
    }
    if (a.pieces[i].outline.size() != b.pieces[i].outline.size() ||
        std::fabs(a.pieces[i].outline[10].x - b.pieces[i].outline[10].x) > 1e-9 ||
        std::fabs(a.pieces[i].outline[10].y - b.pieces[i].outline[10].y) > 1e-9)
      ++different;
  }
  EXPECT_GT(different, 24);
}

}  // namespace
