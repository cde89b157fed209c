// The pointer ray against one triangle.
#include "render/ray.h"

#include <cmath>

void Project_to_near(float near_plane, const float eye[3][3], float out[3][2]) {
  for (int i = 0; i < 3; ++i) {
    out[i][0] = -eye[i][0] * near_plane / eye[i][2];
    out[i][1] = -eye[i][1] * near_plane / eye[i][2];
  }
}

float Ray_triangle_distance(float rx, float ry, float near_plane, const float m[16],
                            const float triangle[9]) {
  float eye[3][3];
  for (int i = 0; i < 3; ++i) {
    float x = triangle[3 * i], y = triangle[3 * i + 1], z = triangle[3 * i + 2];
    eye[i][0] = x * m[0] + y * m[4] + z * m[8] + m[12];
    eye[i][1] = x * m[1] + y * m[5] + z * m[9] + m[13];
    eye[i][2] = x * m[2] + y * m[6] + z * m[10] + m[14];
    if (eye[i][2] == 0.0f) return 0.0f;  // at the eye: no projection
  }
  float p[3][2];
  Project_to_near(near_plane, eye, p);
  const float *a = p[0], *b = p[1], *c = p[2];
  float e1 = (b[1] - c[1]) * rx + (c[0] - b[0]) * ry + (c[1] * b[0] - c[0] * b[1]);
  float e2 = (a[1] - b[1]) * rx + (b[0] - a[0]) * ry + (b[1] * a[0] - b[0] * a[1]);
  float e3 = (c[1] - a[1]) * rx + (a[0] - c[0]) * ry + (a[1] * c[0] - c[1] * a[0]);
  bool t1 = e1 >= 0, t2 = e2 >= 0, t3 = e3 >= 0;
  if (t1 != t2 || t2 != t3) return 0.0f;
  float u[3], v[3], n[3];
  for (int i = 0; i < 3; ++i) {
    u[i] = eye[1][i] - eye[0][i];
    v[i] = eye[2][i] - eye[0][i];
  }
  n[0] = u[1] * v[2] - u[2] * v[1];
  n[1] = u[2] * v[0] - u[0] * v[2];
  n[2] = u[0] * v[1] - u[1] * v[0];
  float denominator = n[0] * rx + n[1] * ry + n[2] * near_plane;
  if (denominator == 0.0f) return 0.0f;  // seen edge-on
  float d = (-n[0] * eye[0][0] - n[1] * eye[0][1] - n[2] * eye[0][2]) * near_plane / denominator;
  return std::isfinite(d) ? d : 0.0f;
}

