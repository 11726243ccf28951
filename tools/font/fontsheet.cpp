// Draws all 256 glyphs of the built-in font through the drawing surface into a PNG sheet:
// sixteen rows of sixteen codes, code 16 * row + column, row 0 at the top.
#include <GL/gl.h>

#include <cstdio>

#include "hxcadkit/geometry/GImage.h"
#include "txhost/gl/OffscreenContext.h"

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: fontsheet OUTPUT.png\n");
    return 2;
  }
  constexpr int Cell = 64;
  hxgl::TOffscreenContext gl(16 * Cell, 16 * Cell);
  if (!gl.Ok()) {
    std::fprintf(stderr, "fontsheet: %s\n", gl.Error().c_str());
    return 1;
  }
  gl.PixelOrtho();
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  TGImage image;
  image.InitFont();
  glColor3ub(200, 200, 200);
  for (int k = 0; k <= 16; ++k) {
    image.giLine(0, k * Cell, 16 * Cell, k * Cell);
    image.giLine(k * Cell, 0, k * Cell, 16 * Cell);
  }
  glColor3ub(0, 0, 0);
  for (int code = 0; code < 256; ++code) {
    const char text[2] = {char(code), 0};
    TString s;
    s.Set(reinterpret_cast<const unsigned char*>(text), 1);
    const double x = (code % 16) * Cell + 12, y = (15 - code / 16) * Cell + 16;
    image.giTextOut(x, y, 0, 60, s);
  }
  if (!hxgl::WritePng(argv[1], gl.Read())) {
    std::fprintf(stderr, "fontsheet: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
