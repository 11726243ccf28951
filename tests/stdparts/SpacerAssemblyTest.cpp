// The assembled spacer read as a fitter reads it: its sheet numbers the cap screw, the washer and the bush,
// each number's leader ending in the part of that number in the evaluated assembly; the washer's and the
// bush's bores take the screw with the clearance of the medium series, at every thread the table has.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <BRepAdaptor_Surface.hxx>
#include <BRepBndLib.hxx>
#include <Bnd_Box.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>

#include "../adapter/AdapterSupport.h"
#include "MouldPartList.h"
#include "RecordingModeler.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "txhost/solid/Evaluator.h"
#include "txhost/solid/Shape.h"

namespace spacerassembly {

using stdtest::mouldparts::TMade;

// The medium series of clearance holes, by the screw's nominal diameter.
const std::map<double, double> ClearanceHoles = {{6, 6.6}, {8, 9}, {10, 11}, {12, 14}, {16, 18}};

class SpacerAssembly : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  SpacerAssembly() { stdtest::LoadShipped(); }

  // The assembled spacer of a row, built on the host: its assembly evaluated (screw, washer, bush).
  txhost::solid::TDocumentResult Built(int row)
  {
    stdtest::TMouldDocuments link(adaptertest::T(Dir.path()) + TString("/"));
    TMade made;
    stdtest::mouldparts::Spacer(made, &drApi::MA, row, 1);
    made.Part().dr3D(1);
    txhost::solid::TDocumentResult r;
    if (link.AllParts.empty()) return r;
    txhost::Object* doc = H.OpenDocument(std::filesystem::path(link.AllParts.back().toWideChar()), false);
    EXPECT_NE(doc, nullptr);
    if (doc == nullptr) return r;
    txhost::solid::TEvaluator evaluator(H);
    std::string error;
    EXPECT_TRUE(evaluator.Evaluate(*doc, r, error, true)) << error;
    H.CloseDocument(*doc);
    return r;
  }

  static const TDistanceScrew& Spacer(const TMade& m) { return static_cast<const TDistanceScrew&>(m.Part()); }
};

double SmallestCylinder(const txhost::solid::TPlaced& p)
{
  double r = HUGE_VAL;
  const TopoDS_Shape shape = txhost::solid::PlacedShape(p);
  for (TopExp_Explorer e(shape, TopAbs_FACE); e.More(); e.Next()) {
    const BRepAdaptor_Surface s(TopoDS::Face(e.Current()));
    if (s.GetType() == GeomAbs_Cylinder) r = std::min(r, s.Cylinder().Radius());
  }
  return r;
}

TEST_F(SpacerAssembly, TheWasherAndTheBushTakeTheScrewWithItsClearance)
{
  // A row of each thread.
  for (int row : {1, 7, 14, 22, 30, 37}) {
    SCOPED_TRACE("row " + std::to_string(row));
    TMade sizes;
    stdtest::mouldparts::Spacer(sizes, nullptr, row, 1);
    const double d = 2 * Spacer(sizes).ThreadRadius;
    ASSERT_TRUE(ClearanceHoles.count(d)) << d;
    const txhost::solid::TDocumentResult r = Built(row);
    ASSERT_EQ(r.Placed.size(), 3u);
    for (std::size_t part : {1u, 2u}) {
      const double bore = 2 * SmallestCylinder(r.Placed[part]);
      EXPECT_GE(bore, ClearanceHoles.at(d) - 1e-9) << (part == 1 ? "the washer" : "the bush") << " on M" << d;
    }
  }
}

// Every number on the sheet names one part: its leader ends inside that part of the evaluated assembly
// and in no other. The sheet's x runs along the axis from the head's free face, its y across the axis.
TEST_F(SpacerAssembly, TheSheetNumbersEachPartWhereItIs)
{
  for (int row : {1, 13, 22, 37}) {
    SCOPED_TRACE("row " + std::to_string(row));
    TRecordingModeler rec;
    rec.LeafStampAnswer = true;
    TMade drawn;
    stdtest::mouldparts::Spacer(drawn, &rec, row, 1);
    drawn.Part().dr2D();
    std::map<std::string, std::pair<double, double>> ends;
    for (std::size_t i = 0; i + 1 < rec.Calls.size(); ++i)
      if (rec.Calls[i].Op == "drShelf" && rec.Calls[i + 1].Op == "drPoint")
        ends[rec.Calls[i].S[0].Utf8Text()] = {rec.Calls[i + 1].A[0], rec.Calls[i + 1].A[1]};
    ASSERT_EQ(ends.size(), 3u) << "three numbered parts";

    const txhost::solid::TDocumentResult r = Built(row);
    ASSERT_EQ(r.Placed.size(), 3u);
    // The axis: the assembly's longest extent; the head's end: the one the washer lies nearer.
    Bnd_Box whole, washer;
    for (const auto& p : r.Placed)
      BRepBndLib::Add(txhost::solid::PlacedShape(p), whole);
    BRepBndLib::Add(txhost::solid::PlacedShape(r.Placed[1]), washer);
    const gp_XYZ lo = whole.CornerMin().XYZ(), hi = whole.CornerMax().XYZ();
    int axis = 0;
    for (int k = 1; k < 3; ++k)
      if (hi.Coord(k + 1) - lo.Coord(k + 1) > hi.Coord(axis + 1) - lo.Coord(axis + 1)) axis = k;
    const double from = lo.Coord(axis + 1), to = hi.Coord(axis + 1);
    const bool headAtLow =
        washer.CornerMin().Coord(axis + 1) - from < to - washer.CornerMax().Coord(axis + 1);
    const int across = (axis + 1) % 3;
    for (const auto& [number, at] : ends) {
      SCOPED_TRACE("position " + number);
      txhost::solid::TVec3 p{};
      for (int k = 0; k < 3; ++k)
        p[std::size_t(k)] = (lo.Coord(k + 1) + hi.Coord(k + 1)) / 2;
      p[std::size_t(axis)] = headAtLow ? from + at.first : to - at.first;
      p[std::size_t(across)] += at.second;
      for (std::size_t part = 0; part < 3; ++part)
        EXPECT_EQ(txhost::solid::Contains(r.Placed[part], p), number == std::to_string(part + 1))
            << "part " << part + 1 << " at " << at.first << ", " << at.second;
    }
  }
}

} // namespace spacerassembly
