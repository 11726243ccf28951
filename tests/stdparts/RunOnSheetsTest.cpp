// Values that do not fit between their arrows: the sheet layout slides them past an end, and the line
// run on under the value must not cross another dimension's extension line or line.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "hxcadkit/adapter/drModelerAPI.h"

namespace {

using TLayout = drApi::TSheetLayout;

// A linear dimension measured along the sheet's y at the face x = Face, its line asked at x = Asked,
// recording where the layout moved its line and its value.
struct TAskedLength
{
  double Y1, Y2, Asked;
  int Side;
  std::size_t Chars;
  double Line = NAN, Slide = 0;
};

void Ask(TLayout& layout, TAskedLength& a, double face)
{
  TLayout::TDimension m;
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

// Whether the vertical run-on from y = from to y = to at x crosses the horizontal extension line at y
// running from the face to 2 past its dimension's line.
bool Across(double x, double from, double to, double y, double face, double line)
{
  return y > std::min(from, to) + 0.2 && y < std::max(from, to) - 0.2 && x > face + 0.2 && x < line + 2 - 0.2;
}

// A short length nested in a longer one from the same face, its value asked past the end where the
// longer one's extension line stands 1 mm beyond its arrow: the value itself clears that line, its run-on
// does not. The other end is clear, so the value goes there, whichever end is asked first, and the line
// stays by its feature.
TEST(RunOnSheets, AValueSlidPastAnEndTakesTheSideWhereItsRunOnCrossesNoExtensionLine)
{
  for (const int side : {1, -1})
    for (const bool mirrored : {false, true}) {
      TLayout layout;
      layout.Begin(420, 297, 0, 0, 0, 1);
      const double face = 160;
      for (const auto& g : std::vector<std::array<double, 4>>{
               {100, 100, face, 100}, {face, 100, face, 200}, {face, 200, 100, 200}, {100, 200, 100, 100}})
        layout.Outline(g[0], g[1], g[2], g[3]);
      // Mirrored about y = 150 the crowded end is the lower one.
      const auto y = [&](double v) { return mirrored ? 2 * 150 - v : v; };
      TAskedLength longer{y(100), y(125), 185, 0, 6}, shorter{y(120), y(124), 170, side, 5};
      Ask(layout, longer, face);
      Ask(layout, shorter, face);
      layout.Settle();
      SCOPED_TRACE(testing::Message() << "asked side " << side << (mirrored ? ", mirrored" : ""));
      // Still by its feature, inside the longer one.
      EXPECT_LT(shorter.Line, longer.Line);
      ASSERT_NE(shorter.Slide, 0) << "a value 10.5 long between arrows 4 apart";
      // The value's length (5 characters 0.6 of 3.5 high) past the end it went to, 1.5 off the arrow.
      const double from = shorter.Slide > 0 ? std::max(y(120), y(124)) : std::min(y(120), y(124));
      const double to = from + (shorter.Slide > 0 ? 1 : -1) * (1.5 + 5 * 0.6 * 3.5);
      for (const double e : {y(100), y(125)})
        EXPECT_FALSE(Across(shorter.Line, from, to, e, face, longer.Line))
            << "its run-on from " << from << " to " << to << " crosses the extension line at " << e;
    }
}

} // namespace
