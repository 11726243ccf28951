// A guide plug whose bore is too narrow for its value between its arrows: its outside and collar
// diameters stand across the section where each is, so the bore's value, slid past the rear end, runs
// on across no other diameter's extension line.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldSheetLayout.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"
#include "txhost/lib/SvgWriter.h"

namespace {

namespace nb = stdtest::sheetlines;

class NestedBoreSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  NestedBoreSheets() { stdtest::LoadShipped(); }
};

// The diameters' values and where each stands against the main view's length.
struct TDiameterAt
{
  std::string Text;
  double X;
};

std::vector<TDiameterAt> DiametersOf(const txhost::SvgLayout& l, double& left, double& right)
{
  double top = -1e300;
  for (const nb::TSeg& g : nb::OutlineSegments(l))
    top = std::max({top, g.A.second, g.B.second});
  left = 1e300, right = -1e300;
  for (const nb::TSeg& g : nb::OutlineSegments(l))
    if (g.A.second > top - 40 && g.B.second > top - 40)
      left = std::min({left, g.A.first, g.B.first}), right = std::max({right, g.A.first, g.B.first});
  std::vector<TDiameterAt> at;
  for (const txhost::SvgLabel& t : l.Labels)
    if (t.Text.find("⌀") != std::string::npos)
      at.push_back({t.Text, (t.X[0] + t.X[1] + t.X[2] + t.X[3]) / 4});
  return at;
}

// At half the sizes (the bore 8 across) the bore's value does not fit between its arrows.
TEST_F(NestedBoreSheets, AGuidePlugsNarrowBoreAloneStandsPastTheRearEnd)
{
  const txhost::SvgLayout l = stdtest::MouldSheetLayout(H, Dir.path(), "guide_plug", 1);
  ASSERT_FALSE(l.Lines.empty());
  double left = 0, right = 0;
  const std::vector<TDiameterAt> at = DiametersOf(l, left, right);
  ASSERT_GE(at.size(), 4u);
  std::vector<std::string> past;
  for (const TDiameterAt& d : at) {
    if (d.X > right + 1) past.push_back(d.Text);
    // The front diameter stands before the front end; every other stands on the part or past its rear.
    if (d.Text.find("h9") == std::string::npos) {
      EXPECT_GT(d.X, left) << d.Text;
    }
  }
  ASSERT_EQ(past.size(), 1u) << "diameters past the rear end: " << past.size();
  EXPECT_NE(past[0].find("H7"), std::string::npos) << past[0];
}

} // namespace
