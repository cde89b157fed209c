// The pointer ray against one triangle, in single precision as the pick pass needs it.
#pragma once

// Distance to one triangle (9 floats, model space) under the matrix; 0 when missed or when
// the triangle cannot be measured (a vertex at eye depth 0, seen edge-on).
float Ray_triangle_distance(float rx, float ry, float near_plane, const float matrix[16],
                            const float triangle[9]);
// Projects three eye-space vertices onto the near plane.
void Project_to_near(float near_plane, const float eye[3][3], float out[3][2]);
