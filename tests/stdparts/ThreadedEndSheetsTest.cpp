// The threaded ends of the locating sleeve and the shank: a diameter whose value does not fit between its
// arrows runs its line on past them, so it stands where no other dimension's line or extension line lies
// in its way; the sleeve's end chamfer's angle and length keep clear of them too.
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

namespace te = stdtest::sheetlines;

class ThreadedEndSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  ThreadedEndSheets() { stdtest::LoadShipped(); }

  // The part's only sheet at size s, checked for dimensions across one another or out of reach.
  txhost::SvgLayout ClearSheet(const char* name, int s)
  {
    const std::vector<txhost::SvgLayout> sheets = stdtest::MouldSheetLayouts(H, Dir.path(), name, s);
    if (sheets.size() != 1u) {
      ADD_FAILURE() << name << " " << s << ": " << sheets.size() << " sheets";
      return {};
    }
    std::string found;
    std::vector<std::string> faults = te::DimensionLinesCrossing(sheets.front());
    for (const std::string& f : te::DimensionsOutOfReach(sheets.front()))
      faults.push_back(f);
    for (const std::string& f : faults)
      found += "\n  " + f;
    EXPECT_TRUE(found.empty()) << name << " " << s << ":" << found;
    return sheets.front();
  }
};

double MiddleX(const txhost::SvgLabel& l)
{
  return (l.X[0] + l.X[1] + l.X[2] + l.X[3]) / 4;
}

std::vector<const txhost::SvgLabel*> LabelsWith(const txhost::SvgLayout& l, const std::string& a,
                                                const std::string& b)
{
  std::vector<const txhost::SvgLabel*> found;
  for (const txhost::SvgLabel& t : l.Labels)
    if (t.Text.find(a) != std::string::npos && t.Text.find(b) != std::string::npos) found.push_back(&t);
  return found;
}

// Rows 1 to 9 have a thread too narrow for "M..-7H" between its arrows; on rows 6 and 9 the relief behind it
// is too. Beyond the end face the thread's run-on crossed the relief's extension lines (6, 9) or the end
// chamfer's angle turned there (1): both now stand across the section, each at its feature, and the face
// is the angle's.
TEST_F(ThreadedEndSheets, TheSleevesThreadAndReliefStandAtTheirFeatures)
{
  for (int row : {1, 6, 9}) {
    const txhost::SvgLayout l = ClearSheet("locating_sleeve", row);
    double face = 1e300;
    for (const te::TSeg& g : te::OutlineSegments(l))
      face = std::min({face, g.A.first, g.B.first});
    const std::vector<const txhost::SvgLabel*> thread = LabelsWith(l, "M", "-7H");
    ASSERT_EQ(thread.size(), 1u) << row;
    EXPECT_GT(MiddleX(*thread.front()), face) << "row " << row << ": the thread's size beyond the end face";
    const std::vector<const txhost::SvgLabel*> angles = LabelsWith(l, "30", "\u00B0");
    ASSERT_EQ(angles.size(), 1u) << row;
    for (const txhost::SvgLabel* angle : angles)
      EXPECT_LT(MiddleX(*angle), face) << "row " << row << ": the chamfer's angle under the part";
  }
  // A thread whose value fits stays beyond the end face; the sheet stays clear.
  ClearSheet("locating_sleeve", 12);
}

// At twice the sizes the mouth's value fits between its arrows, the narrower bore's does not: the bore
// alone goes on the threaded end's view, each bore sized once.
TEST_F(ThreadedEndSheets, TheShanksNarrowBoreAloneStandsOnTheEndsView)
{
  for (int s : {1, 2, 4}) {
    const txhost::SvgLayout l = ClearSheet("shank", s);
    EXPECT_EQ(LabelsWith(l, "\u2300", "H14").size(), 2u) << s;
  }
}

} // namespace
