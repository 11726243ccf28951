#pragma once

// The camera of a document's view window in the stand-in: an orthographic projection, so that a test can
// say where a model point appears. The view looks along Right x Up; the model point Target shows at the
// centre of the viewport, Scale pixels to the model unit. Window pixels count y up from the bottom, as
// OpenGL's window coordinates do.

#include <array>

namespace txhost {

class Object;

struct FrameView
{
  int X0 = 0;
  int Y0 = 0;
  int Width = 800;
  int Height = 600;
  double Scale = 1;
  std::array<double, 3> Target{0, 0, 0};
  std::array<double, 3> Right{1, 0, 0}; // the model direction of the window's x, a unit vector
  std::array<double, 3> Up{0, 1, 0};    // and of its y, orthogonal to Right
};

// The view of a document's frame object (DocumentFrame), with the defaults until a test changes it.
FrameView& ViewOf(Object& frame);

// The window pixel of a model point, rounded to the nearest; false for a point that is not given in
// document space (kind 1), or whose pixel is not finite or lies beyond the int range.
bool ProjectPoint(const FrameView& view, int kind, double x, double y, double z, int& px, int& py);

} // namespace txhost
