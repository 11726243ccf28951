// The guide pillar's sheets as they lay out on the stand-in host: the groove's detail sizes its radius
// with a leader that keeps off the groove depth's extension line, plain and threaded, first, middle and
// last rows.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldPartList.h"
#include "SheetLinesCheck.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "txhost/lib/SvgWriter.h"

namespace {

namespace sl = stdtest::sheetlines;
namespace mp = stdtest::mouldparts;

class PillarSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  PillarSheets() { stdtest::LoadShipped(); }

  // The sheet of the pillar at row, threaded or not, as it lays out.
  txhost::SvgLayout Sheet(int row, bool threaded)
  {
    stdtest::TMouldDocuments link(adaptertest::T(Dir.path()) + TString("/"));
    mp::TMade made;
    TSocketLeaderPin& p = mp::Pillar(made, &drApi::MA, row);
    if (threaded) mp::Thread(p);
    p.dr2D();
    if (link.AllSheets.empty()) return {};
    txhost::Object* doc = H.OpenDocument(std::filesystem::path(link.AllSheets.back().toWideChar()), false);
    if (doc == nullptr) return {};
    txhost::SvgLayout layout = txhost::LayOut(*doc);
    H.CloseDocument(*doc);
    return layout;
  }
};

// Where a leader of the dimension valued text crosses another dimension's extension line, away from
// either's ends.
std::vector<std::string> LeaderAcrossExtensions(const txhost::SvgLayout& layout, const std::string& text)
{
  const std::vector<sl::TDimensionLines> dims = sl::DimensionLinesOf(layout);
  std::vector<std::string> faults;
  for (const txhost::SvgLabel& label : layout.Labels) {
    if (label.Role != "dimension" || label.Text != text) continue;
    // The leader the value stands on: the one passing nearest the value's corner.
    int own = -1;
    double nearest = 1e300;
    for (const txhost::SvgPolyline& l : layout.Lines)
      if (l.Kind == "leader" && l.Symbol >= 0)
        for (const sl::TSeg& s : sl::Segments(l))
          if (const double d = sl::Distance({label.X[0], label.Y[0]}, s); d < nearest) nearest = d, own = l.Symbol;
    if (own < 0) {
      faults.push_back("no leader for " + text);
      continue;
    }
    for (const txhost::SvgPolyline& l : layout.Lines) {
      if (l.Kind != "leader" || l.Symbol != own) continue;
      for (const sl::TSeg& s : sl::Segments(l))
        for (std::size_t j = 0; j < dims.size(); ++j) {
          if (int(j) == own) continue;
          for (const sl::TSeg& e : dims[j].Extensions) {
            sl::TPoint at;
            if (sl::CrossAcross(s, e, dims[std::size_t(own)].Ends, at) && sl::CrossAcross(s, e, dims[j].Ends, at))
              faults.push_back(text + "'s leader across an extension line at " + sl::At(at));
          }
        }
    }
  }
  return faults;
}

TEST_F(PillarSheets, GrooveRadiusLeaderKeepsOffTheDepthsExtensionLine)
{
  const int last = ABaseDetail.SocketCount(5) - 1;
  for (const bool threaded : {false, true})
    for (const int row : {1, (1 + last) / 2, last}) {
      SCOPED_TRACE((threaded ? "threaded row " : "row ") + std::to_string(row));
      const txhost::SvgLayout layout = Sheet(row, threaded);
      ASSERT_FALSE(layout.Lines.empty());
      bool sized = false;
      for (const txhost::SvgLabel& l : layout.Labels)
        sized = sized || (l.Role == "dimension" && l.Text == "R2");
      EXPECT_TRUE(sized) << "the groove's radius is sized";
      for (const std::string& fault : LeaderAcrossExtensions(layout, "R2"))
        ADD_FAILURE() << fault;
    }
}

} // namespace
