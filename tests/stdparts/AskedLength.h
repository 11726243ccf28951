#pragma once
// A length or diameter handed straight to the sheet layout, measured along the sheet's y at one face,
// recording where the layout moves its line and its value.
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

#include "hxcadkit/adapter/drModelerAPI.h"

namespace stdtest {

// Measured from y = Y1 to Y2, its line asked at x = Asked, its value first past the end Side names; Line
// and Slide are where the layout put its line and how far along it slid its value.
struct TAskedLength
{
  double Y1, Y2, Asked;
  int Side;
  std::size_t Chars;
  double Line = NAN, Slide = 0;
};

// Hands a to the layout as a dimension of the points at x = face; a must outlive the layout's settling.
inline void AskLength(drApi::TSheetLayout& layout, TAskedLength& a, double face)
{
  drApi::TSheetLayout::TDimension m;
  m.X1 = face, m.Y1 = a.Y1, m.X2 = face, m.Y2 = a.Y2;
  m.SX = a.Asked, m.SY = (a.Y1 + a.Y2) / 2;
  m.LX = a.Asked, m.LY = m.SY, m.CNx = 1, m.CNy = 0;
  m.Ux = 0, m.Uy = 1, m.Nx = 1, m.Ny = 0;
  m.Chars = a.Chars, m.Side = a.Side;
  a.Line = a.Asked;
  m.MoveLine = [&a](double x, double) { a.Line = x; };
  m.MoveValue = [&a](double k) { a.Slide = k; };
  layout.Dimension(m);
}

// The section of a hollow part from x 100 to 160 as two halves about a bore: the bore y 146..154, the
// outside y 130..170.
inline void HollowSection(drApi::TSheetLayout& layout)
{
  for (const auto& g : std::vector<std::array<double, 4>>{{100, 154, 160, 154},
                                                          {160, 154, 160, 170},
                                                          {160, 170, 100, 170},
                                                          {100, 170, 100, 154},
                                                          {100, 130, 160, 130},
                                                          {160, 130, 160, 146},
                                                          {160, 146, 100, 146},
                                                          {100, 146, 100, 130}})
    layout.Outline(g[0], g[1], g[2], g[3]);
}

} // namespace stdtest
