// A hollow section whose halves meet only across the bore, where a seat's edge is drawn across its mouth:
// a diameter asked across the bore still stands across the section, its value past a wall, as it does
// where the halves are apart.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "AskedLength.h"
#include "hxcadkit/adapter/drModelerAPI.h"

namespace {

using TEdgedLayout = drApi::TSheetLayout;

// The hollow section of AskedLength.h (x 100..160, bore y 146..154, outside 130..170), hatched, with its
// right end's edge drawn across the bore through the given points.
void EdgedSection(TEdgedLayout& layout, const std::vector<std::array<double, 2>>& edge)
{
  layout.BeginArea();
  stdtest::HollowSection(layout);
  layout.EndArea();
  for (std::size_t i = 0; i + 1 < edge.size(); ++i)
    layout.Outline(edge[i][0], edge[i][1], edge[i + 1][0], edge[i + 1][1]);
}

TEST(BoreEdgeSheets, ADiameterAcrossABoreEdgedAtItsMouthStaysAcrossTheSection)
{
  // Straight across the mouth, and bulging into the bore as a seat's sphere does.
  const std::vector<std::vector<std::array<double, 2>>> edges = {
      {{160, 146}, {160, 154}}, {{160, 146}, {157.5, 148}, {156.5, 150}, {157.5, 152}, {160, 154}}};
  for (const auto& edge : edges)
    for (const int side : {1, -1}) {
      SCOPED_TRACE(testing::Message() << edge.size() << "-point edge, asked side " << side);
      TEdgedLayout layout;
      layout.Begin(420, 297, 0, 0, 0, 1);
      EdgedSection(layout, edge);
      stdtest::TAskedLength bore{146, 154, 130.5, side, 4};
      stdtest::AskLength(layout, bore, 130);
      layout.Settle();
      EXPECT_NEAR(bore.Line, 130.5, 0.01) << "carried off its feature";
      // Its value (4 characters) wholly past one wall, off the section.
      const double value = 4 * 0.6 * 3.5, at = 150 + bore.Slide;
      EXPECT_TRUE(at + value / 2 <= 130 || at - value / 2 >= 170) << "value at " << at;
    }
}

} // namespace
