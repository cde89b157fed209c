// The window, the fixed GL state and the camera, on the real display.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "platform/video.h"
#include "support/support.h"

namespace {

TEST(Video, FullScreenAtDesktopSizeWithTheCameraNumbers) {
  Ensure_video();
  EXPECT_EQ(Video_ptr->width, 1440);
  EXPECT_EQ(Video_ptr->height, 900);
  EXPECT_EQ(Video_ptr->fullscreen, 1);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 1440);
  EXPECT_EQ(viewport[3], 900);
  GLdouble projection[16];
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  // m0 = 2n / (right - left) = n / a, so the frustum half width a = n / m0.
  double near_plane = static_cast<double>(0.1f);
  EXPECT_NEAR(near_plane / projection[0], 0.066272, 1e-6);
  EXPECT_NEAR(near_plane / projection[5], 0.04142, 1e-7);
  EXPECT_NEAR(View_half_width(Video_ptr, 15.0), 9.9408, 1e-4);
  EXPECT_NEAR(View_half_height(Video_ptr, 15.0), 6.213, 1e-4);
  EXPECT_NEAR(View_half_height(Video_ptr, 37.0), 15.3254, 1e-3);
}

TEST(Video, FixedStateThatEveryDrawingAssumes) {
  Ensure_video();
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
  EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
  GLint value = 0;
  glGetIntegerv(GL_DEPTH_FUNC, &value);
  EXPECT_EQ(value, GL_LEQUAL);
  glGetIntegerv(GL_ALPHA_TEST_FUNC, &value);
  EXPECT_EQ(value, GL_GREATER);
  GLfloat reference = 0;
  glGetFloatv(GL_ALPHA_TEST_REF, &reference);
  EXPECT_FLOAT_EQ(reference, 0.9f);
  glGetIntegerv(GL_SHADE_MODEL, &value);
  EXPECT_EQ(value, GL_SMOOTH);
  GLint depth_bits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depth_bits);
  EXPECT_GE(depth_bits, 24);
  // A hardware driver keeps 4x multisampling; a software rasteriser (Mesa's llvmpipe under
  // Xvfb) gets the plain window, as a driver without multisampling does.
  const bool software = Software_renderer();
  GLint sample_buffers = -1;
  glGetIntegerv(GL_SAMPLE_BUFFERS, &sample_buffers);
  EXPECT_EQ(sample_buffers, software ? 0 : 1);
}

TEST(Video, ZeroHeightGivesAOnePixelViewportAndWidthTimesTopAsHalfWidth) {
  Ensure_video();
  Set_projection(Video_ptr, 800, 0);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[3], 1);
  GLdouble projection[16];
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  EXPECT_NEAR(static_cast<double>(0.1f) / projection[0], 0.04142 * 800, 1e-3);
  Set_projection(Video_ptr, 1440, 900);
  EXPECT_NEAR(View_half_width(Video_ptr, 100.0), 100 * 0.4142 * 1.6, 1e-3);
}

}  // namespace
