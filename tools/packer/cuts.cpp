// Jigsaw cuts: tab and blank curves along the grid lines, shared by the two pieces that meet
// there so that the pieces tile the board exactly.
#include "cuts.h"

#include <GL/glu.h>

#include <cmath>

namespace {

// A small deterministic generator, so the same pattern always gives the same cut.
struct Cut_random {
  uint32_t state;
  double Next() {  // 0..1
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return (state % 100000) / 100000.0;
  }
};

// The tab drawn along an edge from (0, 0) to (1, 0), bulging towards +y, as points that a
// Catmull-Rom curve passes through: a narrow neck and a round head.
const Point tab_shape[] = {{0.30, 0.00}, {0.40, 0.03}, {0.38, 0.11}, {0.33, 0.19},
                           {0.38, 0.27}, {0.50, 0.30}, {0.62, 0.27}, {0.67, 0.19},
                           {0.62, 0.11}, {0.60, 0.03}, {0.70, 0.00}};
const int tab_points = sizeof tab_shape / sizeof tab_shape[0];
const int samples_per_span = 6;

Point Catmull_rom(Point a, Point b, Point c, Point d, double t) {
  double t2 = t * t, t3 = t2 * t;
  auto blend = [&](double p0, double p1, double p2, double p3) {
    return 0.5 * (2 * p1 + (-p0 + p2) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t2 +
                  (-p0 + 3 * p1 - 3 * p2 + p3) * t3);
  };
  return {blend(a.x, b.x, c.x, d.x), blend(a.y, b.y, c.y, d.y)};
}

// Points of an interior edge from start to end (excluding start, including end). The tab
// sits near the middle, sized by the smaller cell side, and bulges to the left of the
// direction of travel when side is +1, to the right when -1.
std::vector<Point> Tab_edge(Point start, Point end, double size, int side, double shift,
                            double scale) {
  double dx = end.x - start.x, dy = end.y - start.y;
  double length = std::sqrt(dx * dx + dy * dy);
  double ux = dx / length, uy = dy / length;  // along the edge
  double nx = -uy * side, ny = ux * side;     // towards the bulge
  double s = size * scale;
  double middle = length * (0.5 + shift);
  auto place = [&](Point p) {
    double along = middle + (p.x - 0.5) * s, across = p.y * s;
    return Point{start.x + ux * along + nx * across, start.y + uy * along + ny * across};
  };
  std::vector<Point> points;
  std::vector<Point> placed;
  for (const Point& p : tab_shape) placed.push_back(place(p));
  for (int i = 0; i + 1 < tab_points; ++i) {
    Point a = placed[i > 0 ? i - 1 : 0], b = placed[i], c = placed[i + 1];
    Point d = placed[i + 2 < tab_points ? i + 2 : tab_points - 1];
    for (int k = 0; k < samples_per_span; ++k)
      points.push_back(Catmull_rom(a, b, c, d, static_cast<double>(k) / samples_per_span));
  }
  points.push_back(placed[tab_points - 1]);
  points.push_back(end);
  return points;
}

std::vector<Point> Straight_edge(Point, Point end) { return {end}; }

std::vector<Point> Reversed(const std::vector<Point>& edge, Point start) {
  // The edge runs from start; walked backwards it ends at start.
  std::vector<Point> out(edge.rbegin() + 1, edge.rend());
  out.push_back(start);
  return out;
}

}  // namespace

Board_cut Make_board_cut(int columns, int rows, double scale, uint32_t pattern) {
  Board_cut cut;
  cut.columns = columns;
  cut.rows = rows;
  const double half_w = cut.half_width = Full_board_half_width * scale;
  const double half_h = cut.half_height = Full_board_half_height * scale;
  const double cell_w = 2 * half_w / columns, cell_h = 2 * half_h / rows;
  const double size = std::min(cell_w, cell_h);
  Cut_random random{0x9E3779B9u ^ (pattern * 2654435761u) ^ static_cast<uint32_t>(columns * 977)};
  for (int i = 0; i < 5; ++i) random.Next();
  auto corner = [&](int column, int row) {
    return Point{-half_w + column * cell_w, half_h - row * cell_h};
  };
  auto make_edge = [&](Point a, Point b) {
    int side = random.Next() < 0.5 ? 1 : -1;
    double shift = (random.Next() - 0.5) * 0.08;
    double scale = 0.92 + random.Next() * 0.12;
    return Tab_edge(a, b, size, side, shift, scale);
  };
  // horizontal[r][c]: the line under row r - 1 (r = 0 top border), left to right over column c.
  std::vector<std::vector<std::vector<Point>>> horizontal(rows + 1), vertical(columns + 1);
  for (int r = 0; r <= rows; ++r)
    for (int c = 0; c < columns; ++c) {
      Point a = corner(c, r), b = corner(c + 1, r);
      horizontal[r].push_back(r == 0 || r == rows ? Straight_edge(a, b) : make_edge(a, b));
    }
  // vertical[c][r]: the line left of column c, top to bottom over row r.
  for (int c = 0; c <= columns; ++c)
    for (int r = 0; r < rows; ++r) {
      Point a = corner(c, r), b = corner(c, r + 1);
      vertical[c].push_back(c == 0 || c == columns ? Straight_edge(a, b) : make_edge(a, b));
    }
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      Piece_cut piece;
      piece.column = c;
      piece.row = r;
      piece.center = {-half_w + (c + 0.5) * cell_w, half_h - (r + 0.5) * cell_h};
      Point top_left = corner(c, r);
      std::vector<Point>& o = piece.outline;
      o.push_back(top_left);
      for (const Point& p : horizontal[r][c]) o.push_back(p);          // top, left to right
      for (const Point& p : vertical[c + 1][r]) o.push_back(p);        // right, downwards
      for (const Point& p : Reversed(horizontal[r + 1][c], corner(c, r + 1)))
        o.push_back(p);                                                 // bottom, leftwards
      for (const Point& p : Reversed(vertical[c][r], top_left)) o.push_back(p);  // left, up
      o.pop_back();  // back at the first point
      piece.triangles = Triangulate(o);
      cut.pieces.push_back(piece);
    }
  return cut;
}

namespace {

struct Tess_state {
  std::vector<float>* out;
  std::vector<double*> made;  // vertices created for crossings
};

void GLAPIENTRY On_vertex(void* vertex, void* user) {
  auto* state = static_cast<Tess_state*>(user);
  const double* v = static_cast<const double*>(vertex);
  state->out->push_back(static_cast<float>(v[0]));
  state->out->push_back(static_cast<float>(v[1]));
  state->out->push_back(0.0f);
}
void GLAPIENTRY On_edge_flag(GLboolean) {}  // present so that only triangles are produced
void GLAPIENTRY On_combine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* user) {
  auto* state = static_cast<Tess_state*>(user);
  double* v = new double[3]{coords[0], coords[1], coords[2]};
  state->made.push_back(v);
  *out = v;
}

}  // namespace

std::vector<float> Triangulate(const std::vector<Point>& outline) {
  std::vector<float> triangles;
  std::vector<double> coords;
  coords.reserve(outline.size() * 3);
  for (const Point& p : outline) {
    coords.push_back(p.x);
    coords.push_back(p.y);
    coords.push_back(0.0);
  }
  Tess_state state{&triangles, {}};
  GLUtesselator* tess = gluNewTess();
  gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<void(GLAPIENTRY*)()>(On_vertex));
  gluTessCallback(tess, GLU_TESS_EDGE_FLAG, reinterpret_cast<void(GLAPIENTRY*)()>(On_edge_flag));
  gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<void(GLAPIENTRY*)()>(On_combine));
  gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
  gluTessNormal(tess, 0, 0, 1);
  gluTessBeginPolygon(tess, &state);
  gluTessBeginContour(tess);
  for (size_t i = 0; i < outline.size(); ++i) gluTessVertex(tess, &coords[3 * i], &coords[3 * i]);
  gluTessEndContour(tess);
  gluTessEndPolygon(tess);
  gluDeleteTess(tess);
  for (double* v : state.made) delete[] v;
  return triangles;
}

bool Inside_outline(const std::vector<Point>& outline, Point p) {
  bool inside = false;
  size_t n = outline.size();
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    const Point &a = outline[i], &b = outline[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
      inside = !inside;
  }
  return inside;
}

double Triangles_area(const std::vector<float>& t) {
  double area = 0;
  for (size_t i = 0; i + 8 < t.size(); i += 9)
    area += std::fabs((t[i + 3] - t[i]) * (t[i + 7] - t[i + 1]) -
                      (t[i + 6] - t[i]) * (t[i + 4] - t[i + 1])) / 2;
  return area;
}
