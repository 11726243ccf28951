#pragma once
// A test with a current offscreen context of 256 x 256 pixels, cleared to white, projected so
// that one unit is one pixel with (0, 0) at the bottom left.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "txhost/gl/OffscreenContext.h"

class GLTest : public ::testing::Test
{
protected:
  static constexpr int Size = 256;
  void SetUp() override
  {
    ASSERT_TRUE(GL.Ok()) << GL.Error();
    GL.PixelOrtho();
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  hxgl::TOffscreenContext GL{Size, Size};
};
