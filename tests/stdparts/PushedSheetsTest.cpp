// The sheets of parts made with one size pushed past another (a seat longer than the guide, a head as
// wide as the pin is long, a spring seat longer than the channel): each dimension still stands at the
// feature it sizes, so no extension line runs along the part farther than the view is across. Set
// HXCAD_KEEP_SHEETS to a folder to keep the sheets' pictures there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldPartList.h"
#include "PushedSizes.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "txhost/lib/SvgWriter.h"

namespace pushedsheets {

using stdtest::mouldparts::TMade;
using stdtest::mouldparts::TPart;

class PushedSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  PushedSheets() { stdtest::LoadShipped(); }

  // The layouts of every sheet the part named draws at row `row` (or its sizes by k) with its size `size`
  // set to `value`.
  std::vector<txhost::SvgLayout> Sheets(const std::string& name, int row, double k, const std::string& size,
                                        double value)
  {
    stdtest::TMouldDocuments link(adaptertest::T(Dir.path()) + TString("/"));
    const auto& parts = stdtest::mouldparts::Parts;
    const auto part =
        std::find_if(std::begin(parts), std::end(parts), [&name](const TPart& p) { return p.Name == name; });
    std::vector<txhost::SvgLayout> sheets;
    if (part == std::end(parts)) {
      ADD_FAILURE() << "no part " << name;
      return sheets;
    }
    TMade made;
    part->Make(made, &drApi::MA, row, k);
    bool found = false;
    for (const auto& [field, at] : stdtest::pushed::SizesOf(*made.Parts.back()))
      if (field == size) *at = value, found = true;
    EXPECT_TRUE(found) << name << " has no size " << size;
    made.Part().dr2D();
    for (const TString& file : link.AllSheets) {
      txhost::Object* doc = H.OpenDocument(std::filesystem::path(file.toWideChar()), false);
      if (doc == nullptr) continue;
      if (const char* keep = std::getenv("HXCAD_KEEP_SHEETS"))
        txhost::SaveSvg(*doc, std::filesystem::path(keep) /
                                  ("pushed-" + name + "-" + size + "-" + std::to_string(++Kept) + ".svg"));
      sheets.push_back(txhost::LayOut(*doc));
      H.CloseDocument(*doc);
    }
    return sheets;
  }

  // The extension lines of those sheets that run along their views farther than the views are across.
  std::vector<std::string> RunningAlong(const std::string& name, int row, double k, const std::string& size,
                                        double value)
  {
    std::vector<std::string> faults;
    for (const txhost::SvgLayout& l : Sheets(name, row, k, size, value))
      for (const std::string& f : stdtest::sheetlines::ExtensionLinesAlongTheirViews(l))
        faults.push_back(f);
    return faults;
  }

  int Kept = 0;
};

const std::vector<std::string> None;

// The seat's diameter stands on the seat: a seat lengthened from its row's to past the guide (as the sweep
// of pushed sizes takes it), on rows whose collar is narrower than the seat grows long, keeps its extension
// lines short of the part's width.
TEST_F(PushedSheets, APillarsSeatDiameterStandsOnTheSeatAtAnyLength)
{
  for (const int row : {2, 3, 18}) {
    const double seat = stdtest::mouldparts::RowValue(5, row, 7) - stdtest::mouldparts::RowValue(5, row, 4);
    const double past = stdtest::mouldparts::RowValue(5, row, 8) * 1.01 + 0.01;
    for (const double v : {seat, (seat + past) / 2.0, past})
      EXPECT_EQ(RunningAlong("guide_pillar", row, 1, "OFLen", v), None) << "row " << row << ", seat " << v;
  }
}

// The stop pin's groove detail keeps its sizes beside it whatever the head's width, up to a head as wide
// as the pin is long.
TEST_F(PushedSheets, AStopPinsSizesStandAtTheirFeaturesWhateverItsHead)
{
  for (const double k : {0.5, 1.0, 2.0})
    for (const double head : {12.0, 40.41})
      EXPECT_EQ(RunningAlong("stop_pin", 0, k, "CollarRadius", head * k), None)
          << "x" << k << ", head " << head;
}

// A stop pin shorter than its head is wide (its length pushed under the head's radius): the collar face's
// sign, asked where the groove's letter stands, keeps it, and the letter gives way off the sign's strokes,
// its leader to the groove clear of the collar's corner, which it would read as running into.
TEST_F(PushedSheets, AShortStopPinsLetterGivesWayClearOfTheCollarsCorner)
{
  namespace sl = stdtest::sheetlines;
  constexpr double Clear = 0.3, End = 0.5;
  for (const double k : {1.0, 1.194, 1.28, 1.346, 1.5, 1.596, 1.8})
    for (const txhost::SvgLayout& l : Sheets("stop_pin", 0, k, "Len", 0.9 * 12.0 * k)) {
      EXPECT_EQ(sl::TextsCrossed(l), None) << "x" << k;
      const std::vector<sl::TSeg> outline = sl::OutlineSegments(l);
      for (const txhost::SvgPolyline& leader : l.Lines) {
        if (leader.Kind != "leader" || leader.Points.size() != 2) continue;
        const sl::TSeg s{leader.Points[0], leader.Points[1]};
        const auto nearEnd = [&s](sl::TPoint p) {
          return std::hypot(p.first - s.A.first, p.second - s.A.second) < End ||
                 std::hypot(p.first - s.B.first, p.second - s.B.second) < End;
        };
        for (const sl::TSeg& o : outline)
          for (const sl::TPoint& corner : {o.A, o.B})
            EXPECT_TRUE(nearEnd(corner) || sl::Distance(corner, s) > Clear)
                << "x" << k << ": the leader from " << sl::At(s.A) << " by the corner " << sl::At(corner);
      }
    }
}

// The ejector channel's collar keeps its diameter at the collar at every size when the spring seat is
// longer than the collar is across.
TEST_F(PushedSheets, AnEjectorChannelsCollarDiameterStandsAtTheCollar)
{
  for (const double k : {0.5, 1.0, 2.0})
    for (const double seat : {20.0, 30.31})
      EXPECT_EQ(RunningAlong("ejector_channel", 0, k, "SpringLen", seat * k), None)
          << "x" << k << ", seat " << seat;
}

} // namespace pushedsheets
