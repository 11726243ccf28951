// The locating ring's two sheets read against its two evaluated solids: every length and diameter a
// sheet gives is a distance on the part the sheet shows, the outside is the cylinder the sheet draws
// over the length it draws it, the fixing holes start on the face the sheet starts them on; and
// sizes that make no sound ring are refused, with the reason, before any document is opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include <BRepAdaptor_Curve.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRep_Tool.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopoDS.hxx>
#include <gp.hxx>

#include "../adapter/AdapterSupport.h"
#include "MouldPartList.h"
#include "RecordingModeler.h"
#include "StdPartsSupport.h"
#include "hxcadkit/core/Messager.h"
#include "plugin/MouldDocuments.h"
#include "tests/TestNames.h"
#include "txhost/solid/Evaluator.h"
#include "txhost/solid/Shape.h"

namespace locatingring {

using stdtest::mouldparts::TMade;
using TCall = TRecordingModeler::TCall;
using TCurve = TRecordingModeler::TCurve;

const stdtest::mouldparts::TPart& SweptRing()
{
  return stdtest::mouldparts::PartNamed("locating_ring");
}

// The sweep's ring at a size, flat or with a shoulder of radius Base (a factor of the outer radius,
// 1 for none) and length 5 at 1x.
struct TRingCase
{
  std::string Name;
  double k, Base;
  friend void PrintTo(const TRingCase& c, std::ostream* os) { *os << c.Name; }
};

TLocatingRing& MakeRing(TMade& made, TModeler3D* md, const TRingCase& c)
{
  SweptRing().Make(made, md, 0, c.k);
  auto& ring = static_cast<TLocatingRing&>(*made.Parts.back());
  if (c.Base != 1.0) ring.BaseRadius = c.Base * ring.Radius, ring.BaseThickness = 5 * c.k;
  return ring;
}

// A recording modeller that opens every sheet and notes where each sheet's calls and curves begin.
struct TSheets : TRecordingModeler
{
  TSheets() { LeafStampAnswer = NewPartPlaneAnswer = true; }
  bool drLeafStampView1(int d, int s, const double& x, const double& y, bool inv) override
  {
    CallStart.push_back(Calls.size());
    CurveStart.push_back(Curves.size());
    return TRecordingModeler::drLeafStampView1(d, s, x, y, inv);
  }
  std::vector<std::size_t> CallStart, CurveStart;
};

// One sheet: its linear and diameter dimensions and its section's outline in the section's frame.
struct TSheet
{
  std::vector<TCall> Dims, Angles;
  std::vector<TCurve> Lines;
};

std::vector<TSheet> Sheets(const TSheets& m, double thickness)
{
  std::vector<TSheet> v;
  for (std::size_t s = 0; s < m.CallStart.size(); ++s) {
    TSheet sheet;
    const std::size_t c1 = s + 1 < m.CallStart.size() ? m.CallStart[s + 1] : m.Calls.size();
    for (std::size_t i = m.CallStart[s]; i < c1; ++i)
      if (m.Calls[i].Op.rfind("drDimHL", 0) == 0 || m.Calls[i].Op.rfind("drDimVL", 0) == 0)
        sheet.Dims.push_back(m.Calls[i]);
      else if (m.Calls[i].Op == "drDimApc")
        sheet.Angles.push_back(m.Calls[i]);
    // The section's axis (the first centre line, 3 past both faces) gives its frame on the sheet.
    const std::size_t k1 = s + 1 < m.CurveStart.size() ? m.CurveStart[s + 1] : m.Curves.size();
    const TCurve* axis = nullptr;
    for (std::size_t i = m.CurveStart[s]; i < k1 && !axis; ++i)
      if (m.Curves[i].Style == 3 && m.Curves[i].Kind == TCurve::Line) axis = &m.Curves[i];
    EXPECT_NE(axis, nullptr);
    if (!axis) return v;
    const double x0 = std::min(axis->x1, axis->x2) + 3, y0 = axis->y1;
    EXPECT_NEAR(std::fabs(axis->x2 - axis->x1), thickness + 6, 1e-9) << "the section drawn at scale 1";
    for (std::size_t i = m.CurveStart[s]; i < k1; ++i) {
      TCurve c = m.Curves[i];
      if (c.Kind != TCurve::Line || c.Style < 0) continue;
      c.x1 -= x0, c.x2 -= x0, c.y1 -= y0, c.y2 -= y0;
      sheet.Lines.push_back(c);
    }
    v.push_back(sheet);
  }
  return v;
}

// A part's evaluated solid seen in its section through the first fixing hole: x along the axis from
// the face x = 0 (the model's z = 0) to x = T (z = -T), y radial, negative on the opposite side.
class TSection
{
public:
  TSection(txhost::solid::TPlaced solid, double angle) : Solid(std::move(solid)), Angle(angle * M_PI / 180) {}
  std::vector<bool> In(const std::vector<std::pair<double, double>>& p) const
  {
    std::vector<txhost::solid::TVec3> w;
    for (const auto& [x, y] : p)
      w.push_back({y * std::cos(Angle), y * std::sin(Angle), -x});
    return txhost::solid::Contains(Solid, w);
  }
  bool In(double x, double y) const { return In({{x, y}})[0]; }
  // Material on one side of the point and none on another, within d.
  bool OnBoundary(double x, double y, double d = 0.02) const
  {
    std::vector<std::pair<double, double>> p;
    for (int i = 0; i < 16; ++i)
      p.emplace_back(x + d * std::cos(i * M_PI / 8), y + d * std::sin(i * M_PI / 8));
    const auto in = In(p);
    return std::count(in.begin(), in.end(), true) > 0 && std::count(in.begin(), in.end(), false) > 0;
  }
  // A face across the axis at x, met by the extension line drawn from (x, y) towards the axis.
  bool FaceAt(double x, double y) const
  {
    const double d = 0.01, sign = y < 0 ? -1 : 1;
    for (double r0 = std::fabs(y); r0 > 0; r0 -= 5.0) {
      std::vector<std::pair<double, double>> p;
      for (double r = r0; r > std::max(0.0, r0 - 5.0); r -= 0.05)
        p.emplace_back(x - d, sign * r), p.emplace_back(x + d, sign * r);
      const auto in = In(p);
      for (std::size_t i = 0; i + 1 < in.size(); i += 2)
        if (in[i] != in[i + 1]) return true;
    }
    return false;
  }
  // A cylindrical face at radius |y| at x (moved 0.05 into the part from a face it lies on).
  bool SurfaceAt(double x, double y, double T) const
  {
    const double xi = x < T / 2 ? x + 0.05 : x - 0.05, d = y < 0 ? -0.01 : 0.01;
    return In(xi, y - d) != In(xi, y + d);
  }

private:
  txhost::solid::TPlaced Solid;
  double Angle;
};

class LocatingRingModels : public ::testing::TestWithParam<TRingCase>, public adaptertest::HostedModeller
{
protected:
  LocatingRingModels() { stdtest::LoadShipped(); }

  // The two parts' solids, the Id part's first.
  std::vector<txhost::solid::TPlaced> Solids(const TRingCase& c)
  {
    stdtest::TMouldDocuments link(adaptertest::T(Dir.path()) + TString("/"));
    TMade made;
    MakeRing(made, &drApi::MA, c).dr3D(1);
    std::vector<txhost::solid::TPlaced> v;
    EXPECT_EQ(link.AllParts.size(), 2u);
    for (const TString& file : link.AllParts) {
      txhost::Object* doc = H.OpenDocument(std::filesystem::path(file.toWideChar()), false);
      EXPECT_NE(doc, nullptr);
      if (!doc) continue;
      txhost::solid::TEvaluator evaluator(H);
      txhost::solid::TDocumentResult result;
      std::string error;
      EXPECT_TRUE(evaluator.Evaluate(*doc, result, error)) << error;
      H.CloseDocument(*doc);
      EXPECT_EQ(result.Placed.size(), 1u);
      if (result.Placed.size() == 1) v.push_back(result.Placed[0]);
    }
    return v;
  }

  // A case's ring drawn on sheets a recorder keeps, with its two parts' solids.
  struct TDrawn
  {
    TSheets Rec;
    TMade Made;
    const TLocatingRing* Ring = nullptr;
    std::vector<TSheet> Sheets;
    std::vector<txhost::solid::TPlaced> Solids;
  };
  void Draw(const TRingCase& c)
  {
    D.Ring = &MakeRing(D.Made, &D.Rec, c);
    D.Ring->dr2D();
    D.Sheets = Sheets(D.Rec, D.Ring->Thickness);
    D.Solids = Solids(c);
    ASSERT_EQ(D.Sheets.size(), 2u);
    ASSERT_EQ(D.Solids.size(), 2u);
  }
  TDrawn D;
};

TEST_P(LocatingRingModels, EverySheetValueIsADistanceOnTheSolidItShows)
{
  ASSERT_NO_FATAL_FAILURE(Draw(GetParam()));
  const TLocatingRing& ring = *D.Ring;
  const double T = ring.Thickness;
  for (int s = 0; s < 2; ++s) {
    SCOPED_TRACE(s == 0 ? "the part with the bore" : "the part on the column tail");
    const TSection part(D.Solids[s], ring.FixAngle[0]);
    const double r10 = ring.FixRadius, r53 = ring.FixBoltHeadRadius, x66 = ring.FixBoltHeadLen;
    // The second part's counterbores are cut on their own plane; while that cut removes nothing they
    // are measured by the counterbores' own test and not here.
    const bool recessed = !part.In(T - x66 / 2, r10 + (ring.FixBoltRadius + r53) / 2);
    // A chamfer is given by its two ends, as a length "x 45 degrees" or with its angle at one end.
    std::vector<std::pair<double, double>> vertices;
    for (const TCall& a : D.Sheets[s].Angles)
      vertices.emplace_back(a.A[4], a.A[5]);
    int measured = 0;
    for (const TCall& d : D.Sheets[s].Dims) {
      const bool across = d.Op.rfind("drDimVL", 0) == 0;
      const double v = std::fabs(d.A[0]), x1 = d.A[3], y1 = d.A[4], x2 = d.A[5], y2 = d.A[6];
      if (v < 2e-6) continue; // the host draws no dimension of nothing
      const bool recess =
          std::fabs(v - 2 * r53) < 1e-9 || (d.S[1] == TString("H14") && std::fabs(v - x66) < 1e-9);
      if (!recessed && recess) continue;
      SCOPED_TRACE(d.Op + " " + std::to_string(v) + " from (" + std::to_string(x1) + ", " +
                   std::to_string(y1) + ") to (" + std::to_string(x2) + ", " + std::to_string(y2) + ")");
      ++measured;
      // A diameter from the axis shows the whole diameter.
      const bool fromAxis = across && (y1 == 0 || y2 == 0);
      const double between =
          across ? (fromAxis ? 2 * std::max(std::fabs(y1), std::fabs(y2)) : std::fabs(y2 - y1))
                 : std::fabs(x2 - x1);
      EXPECT_NEAR(v, between, 1e-9) << "the value is the distance between its points";
      for (const auto& [x, y] : {std::pair{x1, y1}, std::pair{x2, y2}}) {
        if (fromAxis && y == 0) continue;
        const bool on = part.OnBoundary(x, y) || (across ? part.SurfaceAt(x, y, T) : part.FaceAt(x, y));
        EXPECT_TRUE(on) << "(" << x << ", " << y << ") is on no surface of the part";
      }
      const bool chamfer = x1 != x2 && y1 != y2 &&
                           (d.S[2] == TString("&04~45&01") ||
                            std::count(vertices.begin(), vertices.end(), std::pair{x1, y1}) ||
                            std::count(vertices.begin(), vertices.end(), std::pair{x2, y2}));
      if (chamfer) {
        EXPECT_TRUE(part.OnBoundary((x1 + x2) / 2, (y1 + y2) / 2, 0.01)) << "the chamfer between its ends";
      }
    }
    EXPECT_GE(measured, 4);
    // A shoulder is made by its diameter and its length.
    const auto given = [&](const char* op, double v) {
      return std::any_of(D.Sheets[s].Dims.begin(), D.Sheets[s].Dims.end(), [&](const TCall& d) {
        return d.Op.rfind(op, 0) == 0 && std::fabs(std::fabs(d.A[0]) - v) < 1e-9;
      });
    };
    if (ring.BaseRadius != ring.Radius) {
      EXPECT_TRUE(given("drDimVL", 2 * ring.BaseRadius)) << "the shoulder's diameter";
      EXPECT_TRUE(given("drDimHL", ring.BaseThickness)) << "the shoulder's length";
    }
  }
}

TEST_P(LocatingRingModels, TheOutsideIsTheCylinderTheSheetDrawsAndTheHolesStartOnTheFace)
{
  ASSERT_NO_FATAL_FAILURE(Draw(GetParam()));
  const TLocatingRing& ring = *D.Ring;
  const double R = ring.Radius, r10 = ring.FixRadius, r52 = ring.FixBoltRadius + 0.5;
  for (int s = 0; s < 2; ++s) {
    SCOPED_TRACE(s == 0 ? "the part with the bore" : "the part on the column tail");
    const TSection part(D.Solids[s], ring.FixAngle[0]);
    // The diameter toleranced f7 is the outside's.
    const auto f7 = std::find_if(D.Sheets[s].Dims.begin(), D.Sheets[s].Dims.end(),
                                 [](const TCall& d) { return d.S[1] == TString("f7"); });
    ASSERT_NE(f7, D.Sheets[s].Dims.end());
    EXPECT_EQ(f7->A[0], 2 * R);
    double from = 1e300, to = -1e300, holeFrom = 1e300;
    for (const TCurve& l : D.Sheets[s].Lines) {
      if (l.y1 != l.y2) continue;
      if (std::fabs(l.y1 - R) < 1e-9) from = std::min({from, l.x1, l.x2}), to = std::max({to, l.x1, l.x2});
      // The hole's edge on the far side from the axis, above the axis.
      if (std::fabs(l.y1 - (r10 + r52)) < 1e-9) holeFrom = std::min({holeFrom, l.x1, l.x2});
    }
    ASSERT_LT(from, to) << "the sheet draws the outside";
    // On the part: radius R over the length drawn, and not past it.
    for (int i = 0; i <= 20; ++i) {
      const double x = from + (to - from) * (0.01 + 0.98 * i / 20);
      EXPECT_TRUE(part.In(x, R - 0.01) && !part.In(x, R + 0.01))
          << "no cylinder of radius " << R << " at " << x;
    }
    EXPECT_FALSE(part.In(from - 0.05, R - 0.01)) << "the cylinder goes on before " << from;
    EXPECT_FALSE(part.In(to + 0.05, R - 0.01)) << "the cylinder goes on after " << to;
    // The fixing hole begins where the sheet begins it, on the face of the part beside it.
    ASSERT_LT(holeFrom, 1e300) << "the sheet draws the fixing hole";
    const double beside = r10 + r52 + 0.3;
    EXPECT_TRUE(part.In(holeFrom + 0.05, beside)) << "material beside the hole's start at " << holeFrom;
    EXPECT_FALSE(part.In(holeFrom - 0.05, beside)) << "no face where the hole starts, at " << holeFrom;
    EXPECT_FALSE(part.In(holeFrom + 0.05, r10)) << "the hole itself";
  }
}

// The other way round: every size the part with the bore has is on its sheet. Each face across the axis
// and each edge where a cylinder about the axis meets a cone (the end of the entry's land, of the
// lead-in) is an end of a length the sheet gives; each cylinder's diameter and both ends of the entry's
// cone are diameters the sheet gives. Edges of roundings are left to the sheet's requirements.
TEST_P(LocatingRingModels, EverySizeOfThePartWithTheBoreIsOnItsSheet)
{
  ASSERT_NO_FATAL_FAILURE(Draw(GetParam()));
  const TLocatingRing& ring = *D.Ring;
  std::vector<double> ends, diameters;
  for (const TCall& d : D.Sheets[0].Dims) {
    if (d.Op.rfind("drDimHL", 0) == 0) ends.insert(ends.end(), {d.A[3], d.A[5]});
    if (d.Op.rfind("drDimVL", 0) == 0) diameters.push_back(std::fabs(d.A[0]));
  }
  // The plan view's diameters: the holes seen end on.
  for (std::size_t i = D.Rec.CallStart[0]; i < D.Rec.CallStart[1]; ++i)
    if (D.Rec.Calls[i].Op == "drDimD") diameters.push_back(D.Rec.Calls[i].A[0]);
  const auto among = [](const std::vector<double>& v, double x) {
    return std::any_of(v.begin(), v.end(), [x](double e) { return std::fabs(e - x) < 1e-6; });
  };
  const TopoDS_Shape shape = txhost::solid::PlacedShape(D.Solids[0]);
  const auto coaxial = [](const gp_Ax1& a) {
    return a.Direction().IsParallel(gp::DZ(), 1e-9) && std::hypot(a.Location().X(), a.Location().Y()) < 1e-6;
  };
  TopTools_IndexedDataMapOfShapeListOfShape faces;
  TopExp::MapShapesAndAncestors(shape, TopAbs_EDGE, TopAbs_FACE, faces);
  int stations = 0;
  for (TopExp_Explorer e(shape, TopAbs_FACE); e.More(); e.Next()) {
    const BRepAdaptor_Surface f(TopoDS::Face(e.Current()));
    if (f.GetType() == GeomAbs_Plane && f.Plane().Axis().Direction().IsParallel(gp::DZ(), 1e-9)) {
      ++stations;
      const double x = -f.Plane().Location().Z();
      EXPECT_TRUE(among(ends, x)) << "no length ends at the face " << x;
    } else if (f.GetType() == GeomAbs_Cylinder) {
      const double d = 2 * f.Cylinder().Radius();
      EXPECT_TRUE(among(diameters, d)) << "no diameter " << d;
    }
  }
  EXPECT_GE(stations, 3);
  // The plan view, seen from the face x = 0, draws each cylinder about the axis that reaches that face.
  std::vector<double> circles;
  for (std::size_t i = D.Rec.CurveStart[0]; i < D.Rec.CurveStart[1]; ++i)
    if (D.Rec.Curves[i].Kind == TCurve::Circle && D.Rec.Curves[i].Style == 1)
      circles.push_back(D.Rec.Curves[i].r);
  for (TopExp_Explorer e(shape, TopAbs_FACE); e.More(); e.Next()) {
    const BRepAdaptor_Surface f(TopoDS::Face(e.Current()));
    if (f.GetType() != GeomAbs_Cylinder || !coaxial(f.Cylinder().Axis())) continue;
    bool onFace = false;
    for (TopExp_Explorer v(e.Current(), TopAbs_VERTEX); v.More() && !onFace; v.Next())
      onFace = std::fabs(BRep_Tool::Pnt(TopoDS::Vertex(v.Current())).Z()) < 1e-6;
    if (onFace) {
      EXPECT_TRUE(among(circles, f.Cylinder().Radius()))
          << "the plan view draws no circle " << f.Cylinder().Radius();
    }
  }
  // Roundings no size gives are given by the requirements.
  bool rounded = false;
  for (TopExp_Explorer e(shape, TopAbs_FACE); e.More() && !rounded; e.Next())
    rounded = BRepAdaptor_Surface(TopoDS::Face(e.Current())).GetType() == GeomAbs_Torus;
  if (rounded) {
    const auto closes = D.Rec.Of("drCloseViewTDemCloseLeaf");
    ASSERT_FALSE(closes.empty());
    EXPECT_TRUE(std::count(closes[0].S.begin(), closes[0].S.end(), TDemStr[30]))
        << "the roundings' requirement";
  }
  for (int i = 1; i <= faces.Extent(); ++i) {
    const BRepAdaptor_Curve k(TopoDS::Edge(faces.FindKey(i)));
    if (k.GetType() != GeomAbs_Circle || !coaxial(k.Circle().Axis())) continue;
    int cylinders = 0, cones = 0, others = 0;
    bool bore = false;
    for (const TopoDS_Shape& face : faces.FindFromIndex(i)) {
      const BRepAdaptor_Surface f(TopoDS::Face(face));
      if (f.GetType() == GeomAbs_Cylinder && coaxial(f.Cylinder().Axis())) {
        ++cylinders;
        bore = bore || std::fabs(f.Cylinder().Radius() - ring.InRadius) < 1e-6;
      } else if (f.GetType() == GeomAbs_Cone && coaxial(f.Cone().Axis())) {
        ++cones;
      } else {
        ++others;
      }
    }
    const double x = -k.Circle().Location().Z();
    if (cylinders == 1 && cones == 1 && others == 0) {
      EXPECT_TRUE(among(ends, x)) << "no length ends where a cone meets a cylinder, at " << x;
      // The entry's cone: its far end, on the face x = T, is a size of its own.
      if (bore) {
        for (int j = 1; j <= faces.Extent(); ++j) {
          const BRepAdaptor_Curve far(TopoDS::Edge(faces.FindKey(j)));
          if (far.GetType() != GeomAbs_Circle || !coaxial(far.Circle().Axis()) ||
              std::fabs(-far.Circle().Location().Z() - ring.Thickness) > 1e-6 ||
              far.Circle().Radius() >= ring.FixRadius)
            continue;
          EXPECT_TRUE(among(diameters, 2 * far.Circle().Radius()))
              << "no diameter where the entry leaves the face";
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Ring, LocatingRingModels,
                         ::testing::Values(TRingCase{"flat_half", 0.5, 1.0}, TRingCase{"flat", 1.0, 1.0},
                                           TRingCase{"flat_double", 2.0, 1.0},
                                           TRingCase{"shoulder_inside_holes", 1.0, 0.94},
                                           TRingCase{"shoulder_outside_holes_half", 0.5, 0.45},
                                           TRingCase{"shoulder_outside_holes", 1.0, 0.46}),
                         hxcad::test::CaseNames());

// --- Sizes that make no sound ring ----------------------------------------------------------------

// The message channel's running command, keeping the texts it is asked to show.
class TShown : public TCommandLink
{
public:
  TShown() : Old(TMessager::SetCommandLink(this)) {}
  ~TShown() override { TMessager::SetCommandLink(Old); }
  TShown(const TShown&) = delete;
  TShown& operator=(const TShown&) = delete;
  bool Running() const override { return true; }
  void LiftBox(const TString& s, int) override { Texts.push_back(s.Utf8Text()); }
  void StatusBox(const TString&, int) override {}
  std::vector<std::string> Texts;
  TCommandLink* Old;
};

struct TBadRing
{
  std::string Name;
  std::function<void(TLocatingRing&, TColumnTail&)> Spoil;
  std::string Reason; // a part of the message
  friend void PrintTo(const TBadRing& b, std::ostream* os) { *os << b.Name; }
};

class LocatingRingRefusals : public ::testing::TestWithParam<TBadRing>, public adaptertest::HostedModeller
{
protected:
  LocatingRingRefusals() { stdtest::LoadShipped(); }
};

TEST_P(LocatingRingRefusals, NoSheetAndNoPartWithTheReasonShown)
{
  stdtest::TMouldDocuments link(adaptertest::T(Dir.path()) + TString("/"));
  TMade made;
  TLocatingRing& ring = MakeRing(made, &drApi::MA, {"", 1.0, 1.0});
  GetParam().Spoil(ring, static_cast<TColumnTail&>(*made.Parts.front()));
  TShown shown;
  ring.dr2D();
  ring.dr3D(1);
  ASSERT_EQ(shown.Texts.size(), 2u) << "the sheets and the parts each refused once";
  for (const std::string& t : shown.Texts)
    EXPECT_NE(t.find(GetParam().Reason), std::string::npos) << t;
  EXPECT_TRUE(link.AllSheets.empty());
  EXPECT_TRUE(link.AllParts.empty());
  EXPECT_TRUE(H.Documents().empty()) << "a document left open";
  for (const auto& e : std::filesystem::recursive_directory_iterator(Dir.path()))
    EXPECT_FALSE(e.is_regular_file()) << "a file written: " << e.path();
}

INSTANTIATE_TEST_SUITE_P(
    Ring, LocatingRingRefusals,
    ::testing::Values(
        // The sweep's old ring: a shoulder radius and no shoulder to give it.
        TBadRing{"shoulder_radius_without_length", [](TLocatingRing& r, TColumnTail&) { r.BaseRadius = 45; },
                 "на скругление"},
        TBadRing{"shoulder_wider_than_ring",
                 [](TLocatingRing& r, TColumnTail&) { r.BaseRadius = 55, r.BaseThickness = 5; },
                 "буртик не шире кольца"},
        TBadRing{"shoulder_as_thick_as_ring",
                 [](TLocatingRing& r, TColumnTail&) { r.BaseRadius = 30, r.BaseThickness = 14; },
                 "уступ и фаска короче"},
        TBadRing{"bore_through_the_rim", [](TLocatingRing& r, TColumnTail&) { r.InRadius = 49; },
                 "отверстие внутри наружной"},
        TBadRing{"cone_through_the_shoulder",
                 [](TLocatingRing& r, TColumnTail&) { r.BaseRadius = 25, r.BaseThickness = 9; },
                 "отверстие внутри наружной"},
        TBadRing{"counterbores_past_the_rim", [](TLocatingRing& r, TColumnTail&) { r.FixRadius = 44; },
                 "отверстия крепления выходят"},
        TBadRing{"holes_into_the_bore", [](TLocatingRing& r, TColumnTail&) { r.FixRadius = 22; },
                 "отверстия крепления выходят"},
        TBadRing{"holes_on_the_shoulders_edge",
                 [](TLocatingRing& r, TColumnTail&) { r.BaseRadius = 40, r.BaseThickness = 5; },
                 "край буртика"},
        TBadRing{"counterbore_narrower_than_hole",
                 [](TLocatingRing& r, TColumnTail&) { r.FixBoltHeadRadius = 3; }, "зенковка"},
        TBadRing{"counterbore_deeper_than_ring",
                 [](TLocatingRing& r, TColumnTail&) { r.FixBoltHeadLen = 15; }, "зенковка глубже"},
        TBadRing{"column_tail_holes_past_the_rim", [](TLocatingRing&, TColumnTail& t) { t.PlaceRadius = 44; },
                 "хвостовика"},
        // A 70 shoulder: the column tail's 11 holes on 60 cut half a millimetre into its side.
        TBadRing{"column_tail_holes_into_the_shoulder",
                 [](TLocatingRing& r, TColumnTail&) { r.BaseRadius = 35, r.BaseThickness = 5; },
                 "хвостовика пересекают край буртика"},
        TBadRing{"column_tail_holes_across_the_shoulders_edge",
                 [](TLocatingRing& r, TColumnTail&) { r.BaseRadius = 30, r.BaseThickness = 5; },
                 "хвостовика пересекают край буртика"},
        TBadRing{"not_a_number", [](TLocatingRing& r, TColumnTail&) { r.Thickness = std::nan(""); },
                 "положительными"},
        TBadRing{"negative_shoulder", [](TLocatingRing& r, TColumnTail&) { r.BaseThickness = -1; },
                 "положительными"}),
    hxcad::test::CaseNames());

} // namespace locatingring
