// Mould sheets as they lay out on the stand-in host. The guide pillar's groove detail sizes its radius
// with a leader that keeps off the groove depth's extension line, plain and threaded, first, middle and
// last rows; no length stands outside a longer parallel one that spans it where the sheet's lengths
// nest (the stop pin's, the ejector channel's, the guide pillar's fixed end and thread); and the pillar
// sheets' crossing and out-of-reach dimensions stay at or under what they are now.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
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

// The findings of the pillar's first, middle and last rows today.
constexpr std::size_t CeilingPlain = 0, CeilingThreaded = 0;

class PillarSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  PillarSheets() { stdtest::LoadShipped(); }

  // The first sheet drawn by make, as it lays out.
  txhost::SvgLayout Sheet(const std::function<const TDetail&(mp::TMade&)>& make)
  {
    stdtest::TMouldDocuments link(adaptertest::T(Dir.path()) + TString("/"));
    mp::TMade made;
    make(made).dr2D();
    if (link.AllSheets.empty()) return {};
    txhost::Object* doc = H.OpenDocument(std::filesystem::path(link.AllSheets.front().toWideChar()), false);
    if (doc == nullptr) return {};
    txhost::SvgLayout layout = txhost::LayOut(*doc);
    H.CloseDocument(*doc);
    return layout;
  }

  // The pillar at row, threaded or not.
  txhost::SvgLayout Sheet(int row, bool threaded)
  {
    return Sheet([&](mp::TMade& made) -> const TDetail& {
      TSocketLeaderPin& p = mp::Pillar(made, &drApi::MA, row);
      if (threaded) mp::Thread(p);
      return p;
    });
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
          if (const double d = sl::Distance({label.X[0], label.Y[0]}, s); d < nearest)
            nearest = d, own = l.Symbol;
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
            if (sl::CrossAcross(s, e, dims[std::size_t(own)].Ends, at) &&
                sl::CrossAcross(s, e, dims[j].Ends, at))
              faults.push_back(text + "'s leader across an extension line at " + sl::At(at));
          }
        }
    }
  }
  return faults;
}

// Each length (a dimension line with two extension lines) standing farther out than a longer parallel one
// on the same side that spans all it measures: its extension lines then run across that line.
std::vector<std::string> NestedOutside(const txhost::SvgLayout& layout)
{
  struct TLength
  {
    sl::TSeg Line;
    sl::TPoint P1, P2;
  };
  const std::vector<sl::TDimensionLines> dims = sl::DimensionLinesOf(layout);
  std::vector<TLength> lengths;
  for (std::size_t i = 0; i < dims.size(); ++i) {
    if (dims[i].Angle || dims[i].Extensions.size() != 2) continue;
    for (const txhost::SvgPolyline& l : layout.Lines)
      if (l.Symbol == int(i) && l.Kind == "dimension-line" && l.Points.size() == 2)
        lengths.push_back({{l.Points[0], l.Points[1]}, dims[i].Extensions[0].A, dims[i].Extensions[1].A});
  }
  std::vector<std::string> faults;
  for (const TLength& a : lengths)
    for (const TLength& b : lengths) {
      const double dx = a.Line.B.first - a.Line.A.first, dy = a.Line.B.second - a.Line.A.second;
      const double len = std::hypot(dx, dy);
      if (&a == &b || !(len > 0) ||
          sl::Sine(dx, dy, b.Line.B.first - b.Line.A.first, b.Line.B.second - b.Line.A.second) > 1e-6)
        continue;
      // Along the lines (u), and across them from a's measured points towards its line (n).
      const double ux = dx / len, uy = dy / len;
      const auto u = [&](sl::TPoint p) { return p.first * ux + p.second * uy; };
      double nx = -uy, ny = ux;
      if ((a.Line.A.first - a.P1.first) * nx + (a.Line.A.second - a.P1.second) * ny < 0) nx = -nx, ny = -ny;
      const auto n = [&](sl::TPoint p) { return p.first * nx + p.second * ny; };
      const double near = std::max(n(a.P1), n(a.P2));
      if (std::min(u(b.Line.A), u(b.Line.B)) > std::min(u(a.P1), u(a.P2)) + 0.01 ||
          std::max(u(b.Line.A), u(b.Line.B)) < std::max(u(a.P1), u(a.P2)) - 0.01)
        continue;
      if (n(b.Line.A) > near + 0.5 && n(b.Line.A) < n(a.Line.A) - 0.5)
        faults.push_back("a length from " + sl::At(a.P1) + " to " + sl::At(a.P2) +
                         " stands outside one from " + sl::At(b.Line.A) + " to " + sl::At(b.Line.B));
    }
  return faults;
}

TEST_F(PillarSheets, NoLengthStandsOutsideALongerOneSpanningIt)
{
  for (const mp::TPart& part : mp::Parts) {
    const std::string name = part.Name;
    if (name != "stop_pin" && name != "ejector_channel") continue;
    const int last = part.Table != 0 ? ABaseDetail.SocketCount(part.Table) - 1 : 4;
    for (const int at :
         part.Table != 0 ? std::vector<int>{1, (1 + last) / 2, last} : std::vector<int>{1, 2, 4}) {
      SCOPED_TRACE(name + " at " + std::to_string(at));
      const txhost::SvgLayout layout = Sheet([&](mp::TMade& made) -> const TDetail& {
        part.Make(made, &drApi::MA, at, at / 2.0);
        return made.Part();
      });
      ASSERT_FALSE(layout.Lines.empty());
      for (const std::string& fault : NestedOutside(layout))
        ADD_FAILURE() << fault;
    }
  }
}

// The groove detail's radius leader keeps off the depth's extension line; and the fixed end's length,
// its chamfer and the thread's depth nest inside the overall length, none standing outside it.
TEST_F(PillarSheets, GrooveRadiusLeaderAndNestedLengths)
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
      for (const std::string& fault : NestedOutside(layout))
        ADD_FAILURE() << fault;
    }
}

// Dimensions across another's lines or out of reach on the pillar's first, middle and last rows, plain
// and threaded, never more than now: a change that brings one back fails here even while the sweep
// only counts them.
TEST_F(PillarSheets, CrossingsAndOutOfReachDoNotGrow)
{
  const int last = ABaseDetail.SocketCount(5) - 1;
  for (const bool threaded : {false, true}) {
    std::size_t findings = 0;
    std::string seen;
    for (const int row : {1, (1 + last) / 2, last}) {
      const txhost::SvgLayout layout = Sheet(row, threaded);
      ASSERT_FALSE(layout.Lines.empty());
      std::vector<std::string> all = sl::DimensionLinesCrossing(layout);
      for (std::string& f : sl::DimensionsOutOfReach(layout))
        all.push_back(std::move(f));
      findings += all.size();
      for (const std::string& f : all)
        seen += "\n  row " + std::to_string(row) + ": " + f;
    }
    EXPECT_LE(findings, threaded ? CeilingThreaded : CeilingPlain)
        << (threaded ? "threaded" : "plain") << seen;
  }
}

} // namespace
