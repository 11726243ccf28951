// Every mould part as a designer would release it: each part's sheet and model on the stand-in host, for
// every row of its table (parts without a table at half, once and twice the sizes below), checked as
// the sheet lays out: every text, sign and dimension inside the frame, no text on another text, on a
// roughness sign or on a view's outline or hatching, one sign before a radius or diameter, values
// readable from below or the right, no markup shown raw, no text taller than a title; every document
// the host saved opens again as it was; every part of a table has a body. Set HXCAD_KEEP_SHEETS to a
// folder to keep the sheets' pictures there.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "../adapter/AdapterSupport.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "tests/TestNames.h"
#include "txapi/Enums.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Model3D.h"
#include "txhost/lib/SvgWriter.h"

namespace {

using drApi::MA;

// A part with the parts it leans on (a ring on its column tail), made at a size.
struct TMade
{
  std::vector<std::unique_ptr<TDetail>> Parts; // the part itself last
  bool Tabled = false;
  const TDetail& Part() const { return *Parts.back(); }
};

struct TPiece
{
  const char* Name;
  // The table whose rows the part is made at, 0 for a part made at a scale of its sizes.
  int Table;
  // The part at size s: row s of its table, or its sizes by s.
  std::function<void(TMade&, int s)> Make;
  friend void PrintTo(const TPiece& p, std::ostream* os) { *os << p.Name; }
};

double RowValue(int table, int row, int column)
{
  return ABaseDetail.ParStDet(table, row, column);
}

// The sizes of a part without a table are scaled by s / 2 (half, once and twice).
constexpr int Halves[] = {1, 2, 4};

int RowOf(int, int s)
{
  return s;
}

template <class T, class... A> T& Add(TMade& m, A&&... a)
{
  auto p = std::make_unique<T>(std::forward<A>(a)...);
  T& r = *p;
  m.Parts.push_back(std::move(p));
  return r;
}

TConstruktor& None()
{
  return TConstruktor::Empty();
}

// A part of a table sized by Set from the keys in columns a (a diameter) and b of its first or last row.
template <class T, class... A> T& ByKeys(TMade& m, int table, int s, int a, int b, A&&... args)
{
  const int r = RowOf(table, s);
  T& p = Add<T>(m, std::forward<A>(args)...);
  p.Set(table, RowValue(table, r, a) / 2, RowValue(table, r, b));
  m.Tabled = true;
  return p;
}

TSocketLeaderPin& Pillar(TMade& m, int s)
{
  const int r = RowOf(5, s);
  auto& p = Add<TSocketLeaderPin>(m, 1, &MA, nullptr, nullptr);
  p.Set(5, RowValue(5, r, 2) / 2, RowValue(5, r, 7), RowValue(5, r, 8));
  p.FRadius = p.OFRadius;
  m.Tabled = true;
  return p;
}

TDistanceScrew& Spacer(TMade& m, int s, int execution)
{
  auto& d = Add<TDistanceScrew>(m, 1, &MA, nullptr);
  d.Set(39, RowOf(39, s));
  *d.Execution.PInt = execution;
  m.Tabled = true;
  return d;
}

double Scale(int s)
{
  return s / 2.0;
}

TColumnTail& Tail(TMade& m, int kind, double k)
{
  auto& tail = Add<TColumnTail>(m, kind, &MA, None());
  tail.PlaceRadius = 30 * k, tail.Radius = 5 * k, tail.Key = 8 * k, tail.Len = 60 * k, tail.ThreadLen = 20 * k,
  tail.ThreadRadius = 5 * k;
  const double angles[5] = {0, 45, 135, 225, 315};
  std::copy(angles, angles + 5, tail.Angle);
  return tail;
}

TMTail& Shank(TMade& m, int kind, double k)
{
  auto& shank = Add<TMTail>(m, kind, &MA, None());
  shank.Radius = 10 * k, shank.CollarRadius = 15 * k, shank.Len = 100 * k, shank.ThreadLen = 20 * k,
  shank.ThreadRadius = 8 * k, shank.ThreadStep = 1.5;
  shank.X90 = 12 * k, shank.X89 = 10 * k, shank.X88 = 6 * k, shank.R61 = 3 * k, shank.R97 = 4 * k,
  shank.R98 = 3 * k, shank.Y3 = 10 * k, shank.Y4 = 3 * k;
  return shank;
}

TEjectorPlug& Plug(TMade& m, int kind, double k)
{
  auto& p = Add<TEjectorPlug>(m, kind, &MA, None());
  p.CollarRadius = 16 * k, p.EC2Radius = 5 * k, p.ECRadius = 4 * k, p.Radius = 12 * k, p.EC2Len = 20 * k,
  p.ConeLen = 10 * k, p.CollarHeight = 5 * k, p.Len = 50 * k;
  return p;
}

const TPiece Pieces[] = {
    {"pin", 31, [](TMade& m, int s) { ByKeys<TPin>(m, 31, s, 1, 2, 1, &MA, nullptr); }},
    {"cap_screw_33", 33, [](TMade& m, int s) { ByKeys<TScrew>(m, 33, s, 1, 2, 1, &MA, nullptr); }},
    {"cap_screw_26", 26, [](TMade& m, int s) { ByKeys<TScrew>(m, 26, s, 1, 8, 1, &MA, nullptr); }},
    {"spacer_one_piece", 39, [](TMade& m, int s) { Spacer(m, s, 0); }},
    {"spacer_assembled", 39, [](TMade& m, int s) { Spacer(m, s, 1); }},
    {"guide_pillar", 5, [](TMade& m, int s) { Pillar(m, s); }},
    {"guide_pillar_threaded", 5,
     [](TMade& m, int s) {
       auto& p = Pillar(m, s);
       p.Key = 2.0 * p.CollarRadius - 6.0;
       p.ThreadRadius = std::floor(p.Radius / 2);
       p.ThreadLen = 2 * p.ThreadRadius + 2;
     }},
    {"guide_bush_4", 4,
     [](TMade& m, int s) { ByKeys<TSocketLeaderPinBushing>(m, 4, s, 2, 6, 1, &MA, nullptr); }},
    {"guide_bush_2", 2,
     [](TMade& m, int s) { ByKeys<TSocketLeaderPinBushing>(m, 2, s, 2, 7, 1, &MA, nullptr); }},
    {"locating_sleeve", 3,
     [](TMade& m, int s) {
       ByKeys<TSocketLeaderPinLocatingSleeves>(m, 3, s, 5, 6, 1, &MA, nullptr, nullptr);
     }},
    {"stop_pin", 0,
     [](TMade& m, int s) {
       const double k = Scale(s);
       auto& p = Add<TStopPin>(m, 1, &MA, nullptr);
       p.Radius = 8 * k, p.CollarRadius = 12 * k, p.CollarHeight = 6 * k, p.Len = 40 * k;
       p.Design = true;
     }},
    {"fitting", 0, [](TMade& m, int) { Add<TFitting>(m, 1, &MA); }},
    {"clamp", 0, [](TMade& m, int) { Add<TClamper>(m, 1, &MA); }},
    {"sprue_bush", 0,
     [](TMade& m, int s) {
       const double k = Scale(s);
       auto& p = Add<TInjectPlug>(m, 1, &MA, None());
       p.SphereRadius = 15 * k, p.TPARadius = 2.5, p.CollarRadius = 40 * k, p.BFitRadius = 17 * k,
       p.FitLen = 60 * k, p.Len = 80 * k, p.CollarHeight = 10 * k, p.SphereLen = 4 * k;
     }},
    {"ejector_plug", 0, [](TMade& m, int s) { Plug(m, 1, Scale(s)); }},
    {"guide_plug", 0,
     [](TMade& m, int s) {
       const double k = Scale(s);
       auto& p = Add<TDirectPlug>(m, 1, &MA, None());
       p.ColumnRadius = 8 * k, p.Radius = 12.5 * k, p.CollarRadius = 15 * k, p.OustingLen = 40 * k,
       p.CollarHeight = 8 * k, p.Len = 60 * k;
     }},
    {"guide_column", 0,
     [](TMade& m, int s) {
       auto& p = Add<TDirectColumn>(m, 1, &MA, None());
       p.Radius = 12.5 * Scale(s), p.Len = 100 * Scale(s);
     }},
    {"support_washer", 0,
     [](TMade& m, int s) {
       const double k = Scale(s);
       auto& p = Add<TSupportWasher>(m, 1, &MA, nullptr);
       p.CollarHeight = 5 * k, p.BoltHeadLen = 9 * k, p.Len = 30 * k, p.CollarRadius = 18 * k,
       p.BoltHeadRadius = 9 * k, p.BoltRadius = 5.5 * k, p.Radius = 14 * k;
     }},
    {"channel_washer", 0,
     [](TMade& m, int s) {
       auto& p = Add<TWasherEjectorChannel>(m, 1, &MA, None());
       p.Radius = 10 * Scale(s), p.Height = 4 * Scale(s);
     }},
    {"locating_ring", 0,
     [](TMade& m, int s) {
       const double k = Scale(s);
       auto& tail = Tail(m, 34, k);
       auto& ring = Add<TLocatingRing>(m, 1, 34, &MA, nullptr, &tail);
       ring.Thickness = 15 * k, ring.Radius = 50 * k, ring.BaseRadius = 45 * k, ring.InRadius = 18 * k,
       ring.FixRadius = 42 * k, ring.PinRadius = 3 * k, ring.PinAngle = 30, ring.FixBoltRadius = 3 * k,
       ring.FixBoltHeadRadius = 5.5 * k, ring.FixBoltHeadLen = 6 * k, ring.CountFix = 4, ring.BaseThickness = 0;
       const double fix[5] = {0, 90, 180, 270, 0};
       std::copy(fix, fix + 5, ring.FixAngle);
     }},
    {"retraction", 0,
     [](TMade& m, int s) { Add<TReTraction>(m, 1, &MA, None()).CollarRadius = 20 * Scale(s); }},
    {"column_tail", 0, [](TMade& m, int s) { Tail(m, 1, Scale(s)); }},
    {"shank", 0, [](TMade& m, int s) { Shank(m, 1, Scale(s)); }},
    {"circle_plate", 0,
     [](TMade& m, int s) {
       const double k = Scale(s);
       auto& tail = Tail(m, 34, k);
       auto& shank = Shank(m, 34, k);
       auto& plate = Add<TCirclePlane>(m, 1, &MA, None(), &tail, &shank);
       plate.Thickness = 15 * k, plate.Radius = 60 * k, plate.BoltRadius = 5.5 * k, plate.BoltHeadRadius = 9 * k,
       plate.BoltHeadLen = 9 * k;
     }},
    {"repair_bolt", 0,
     [](TMade& m, int s) {
       const double k = Scale(s);
       auto& b = Add<TRepairBolt>(m, 1, &MA, None());
       b.X = 0, b.Depth = 15 * k, b.Len = 40 * k, b.Radius = 5 * k, b.UpperLen = 10 * k, b.UpperRadius = 8 * k;
     }},
    {"ejector_channel", 0,
     [](TMade& m, int s) {
       const double k = Scale(s);
       auto& plug = Plug(m, 31, k);
       auto& c = Add<TEjectorChannel>(m, 1, &MA, None(), &plug);
       c.Radius = 4 * k, c.Len = 100 * k, c.SpringRadius = 8 * k, c.SpringLen = 20 * k, c.FitRadius = 4.2 * k,
       c.FitLen = 30 * k, c.CollarRadius = 10 * k, c.CollarHeight = 5 * k, c.GradeHeight = 0.5;
     }},
    {"back_ejector", 0,
     [](TMade& m, int s) {
       const double k = Scale(s);
       auto& b = Add<TBackEjector>(m, 1, &MA, None(), 35);
       b.Radius = 4 * k, b.Len = 100 * k, b.FitRadius = 4 * k, b.FitLen = 30 * k, b.CollarRadius = 10 * k,
       b.CollarHeight = 5 * k;
     }},
    {"protect_support", 0,
     [](TMade& m, int s) {
       const double k = Scale(s);
       auto& p = Add<TProtectSupport>(m, 1, &MA, None());
       p.ThreadLen = 20 * k, p.Len = 60 * k, p.ThreadRadius = 6 * k, p.Radius = 12.5 * k, p.Key = 18 * k,
       p.LenToKey = 10 * k;
     }},
};

class ReleaseSweep : public ::testing::TestWithParam<TPiece>, public adaptertest::HostedModeller
{
protected:
  ReleaseSweep() { stdtest::LoadShipped(); }

  static nlohmann::json Json(const std::filesystem::path& file)
  {
    std::ifstream in(file, std::ios::binary);
    return nlohmann::json::parse(in, nullptr, false);
  }

  // The document saved at file opens again as it was: saved once more, it writes what it was read from.
  void ReopensAsSaved(const std::filesystem::path& file)
  {
    const nlohmann::json saved = Json(file);
    ASSERT_FALSE(saved.is_discarded()) << file;
    std::string error;
    txhost::Object* doc = H.OpenDocument(file, false, &error);
    ASSERT_NE(doc, nullptr) << file << ": " << error;
    const std::filesystem::path again = file.parent_path() / ("again-" + file.filename().string());
    ASSERT_TRUE(H.SaveDocumentAs(*doc, again, &error)) << error;
    H.CloseDocument(*doc);
    EXPECT_EQ(Json(again)["objects"], saved["objects"]) << file;
    std::filesystem::remove(again);
  }

  // Whether the part document at file (or, for an assembly, each of its components' files) has a body.
  bool HasBody(const std::filesystem::path& file)
  {
    txhost::Object* doc = H.OpenDocument(file, false);
    if (doc == nullptr) return false;
    bool body = false;
    std::vector<std::filesystem::path> components;
    for (txhost::Object* o : H.ObjectsOf(*doc)) {
      if (o->Kind() != txhost::kinds::Part || txhost::model::Deleted(*o)) continue;
      body = body || !txhost::model::Bodies(*o).empty();
      if (o->Prop("file").is_string()) components.emplace_back(o->Prop("file").get<std::string>());
    }
    H.CloseDocument(*doc);
    if (!body && !components.empty()) {
      body = true;
      for (const auto& c : components)
        body = body && HasBody(c);
    }
    return body;
  }

  void CheckSheet(const std::filesystem::path& file, const std::string& what);
};

// The corners of a label's box, shrunk by d towards its middle.
std::vector<std::pair<double, double>> Corners(const txhost::SvgLabel& l, double d)
{
  const double cx = (l.X[0] + l.X[2]) / 2, cy = (l.Y[0] + l.Y[2]) / 2;
  std::vector<std::pair<double, double>> c;
  for (int k = 0; k < 4; ++k) {
    const double dx = l.X[k] - cx, dy = l.Y[k] - cy, n = std::hypot(dx, dy);
    const double f = n > d ? (n - d) / n : 0;
    c.emplace_back(cx + dx * f, cy + dy * f);
  }
  return c;
}

// Whether two convex quadrilaterals overlap: no edge of either separates them.
bool Overlap(const std::vector<std::pair<double, double>>& a, const std::vector<std::pair<double, double>>& b)
{
  for (const auto* p : {&a, &b})
    for (std::size_t i = 0; i < 4; ++i) {
      const auto [x1, y1] = (*p)[i];
      const auto [x2, y2] = (*p)[(i + 1) % 4];
      const double nx = y1 - y2, ny = x2 - x1;
      double amin = 1e300, amax = -1e300, bmin = 1e300, bmax = -1e300;
      for (const auto& [x, y] : a)
        amin = std::min(amin, nx * x + ny * y), amax = std::max(amax, nx * x + ny * y);
      for (const auto& [x, y] : b)
        bmin = std::min(bmin, nx * x + ny * y), bmax = std::max(bmax, nx * x + ny * y);
      if (amax < bmin || bmax < amin) return false;
    }
  return true;
}

int Count(const std::string& s, const std::string& what)
{
  int n = 0;
  for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1))
    ++n;
  return n;
}

using TQuad = std::vector<std::pair<double, double>>;

// Whether the segment from p to q crosses the convex quadrilateral c or lies in it.
bool Crosses(const TQuad& c, std::pair<double, double> p, std::pair<double, double> q)
{
  return Overlap(c, {p, q, q, p});
}

// Whether (x, y) lies inside the closed polygon (even-odd).
bool InPolygon(const std::vector<std::pair<double, double>>& poly, double x, double y)
{
  bool in = false;
  for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const auto [xi, yi] = poly[i];
    const auto [xj, yj] = poly[j];
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
  }
  return in;
}

// What a text on a sheet must keep off: a view's visible outline (main and thick lines, a detail's
// boundary), its hatching, a roughness sign.
bool Keeps(const txhost::SvgPolyline& l)
{
  return l.Kind != "curve" || l.Style == txapi::txCSNormal || l.Style == txapi::txCSThick ||
         l.Style == txapi::txCSBrokenLine;
}

// Whether (x, y) lies within a view: main lines of the sheet on all four sides of it.
bool Enclosed(const txhost::SvgLayout& layout, double x, double y)
{
  bool left = false, right = false, below = false, above = false;
  for (const txhost::SvgPolyline& line : layout.Lines) {
    if (line.Kind != "curve" || line.Style != txapi::txCSNormal) continue;
    for (std::size_t k = 0; k + 1 < line.Points.size(); ++k) {
      const auto [x1, y1] = line.Points[k];
      const auto [x2, y2] = line.Points[k + 1];
      if ((y1 > y) != (y2 > y)) (x1 + (x2 - x1) * (y - y1) / (y2 - y1) < x ? left : right) = true;
      if ((x1 > x) != (x2 > x)) (y1 + (y2 - y1) * (x - x1) / (x2 - x1) < y ? below : above) = true;
    }
  }
  return left && right && below && above;
}

std::string Where(const txhost::SvgLabel& l)
{
  return l.Role + " \"" + l.Text + "\" at " + std::to_string(l.X[0]) + ", " + std::to_string(l.Y[0]);
}

void ReleaseSweep::CheckSheet(const std::filesystem::path& file, const std::string& what)
{
  SCOPED_TRACE(what + " " + file.filename().string());
  txhost::Object* doc = H.OpenDocument(file, false);
  ASSERT_NE(doc, nullptr);
  if (const char* keep = std::getenv("HXCAD_KEEP_SHEETS"))
    txhost::SaveSvg(*doc, std::filesystem::path(keep) / (what + "-" + file.stem().string() + ".svg"));
  const txhost::SvgLayout layout = txhost::LayOut(*doc);
  H.CloseDocument(*doc);
  ASSERT_EQ(layout.SheetWidth, 420.0);
  ASSERT_EQ(layout.SheetHeight, 297.0);
  // The drawing frame: a 20 mm binding margin on the left, 5 mm elsewhere.
  const double left = 20, bottom = 5, right = layout.SheetWidth - 5, top = layout.SheetHeight - 5, tol = 0.5;
  auto inside = [&](double x, double y) {
    return x >= left - tol && x <= right + tol && y >= bottom - tol && y <= top + tol;
  };
  std::vector<const txhost::SvgLabel*> labels;
  for (const txhost::SvgLabel& l : layout.Labels) {
    if (l.Role == "view-name") continue; // the stand-in's own marks, not the sheet's
    labels.push_back(&l);
    for (int k = 0; k < 4; ++k)
      EXPECT_TRUE(inside(l.X[k], l.Y[k])) << "off the frame: " << Where(l);
    EXPECT_LE(l.Height, 7.0) << l.Role << " \"" << l.Text << "\"";
    EXPECT_EQ(l.Text.find("&0"), std::string::npos) << l.Text;
    EXPECT_EQ(l.Text.find('$'), std::string::npos) << l.Text;
    if (l.Role == "dimension" || l.Role == "rough") {
      const double a = std::remainder(l.Angle, 360.0);
      EXPECT_TRUE(a > -89.999 && a < 90.001) << l.Role << " \"" << l.Text << "\" at " << l.Angle << " degrees";
    }
    if (l.Role == "dimension") {
      EXPECT_LE(Count(l.Text, "\u2300"), 1) << l.Text;
      EXPECT_EQ(l.Text.find("RR"), std::string::npos) << l.Text;
      EXPECT_EQ(l.Text.find("M\u2300"), std::string::npos) << l.Text;
    }
  }
  for (const txhost::SvgSymbolBox& b : layout.Symbols)
    EXPECT_TRUE(inside(b.X1, b.Y1) && inside(b.X2, b.Y2))
        << "off the frame: " << b.Kind << " from " << b.X1 << ", " << b.Y1 << " to " << b.X2 << ", " << b.Y2;
  // Texts are shrunk by 0.2 mm so that a text touching a line or another text passes.
  std::vector<TQuad> boxes;
  for (const txhost::SvgLabel* l : labels)
    boxes.push_back(Corners(*l, 0.2));
  // What the library places on its own (signs, titles, requirements) keeps off everything; dimension
  // values keep off one another.
  auto placed = [](const txhost::SvgLabel& l) { return l.Role != "dimension" && l.Role != "sheet"; };
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const auto& b = boxes[i];
    EXPECT_FALSE(placed(*labels[i]) &&
                 Enclosed(layout, (b[0].first + b[2].first) / 2, (b[0].second + b[2].second) / 2))
        << "a text within a view: " << Where(*labels[i]);
    for (std::size_t j = i + 1; j < labels.size(); ++j) {
      if (!placed(*labels[i]) && !placed(*labels[j]) &&
          (labels[i]->Role != "dimension" || labels[j]->Role != "dimension"))
        continue;
      EXPECT_FALSE(Overlap(boxes[i], boxes[j]))
          << "texts on one another: " << Where(*labels[i]) << " and " << Where(*labels[j]);
    }
    // Dimension values as well as what the library places keep off the views' outlines, hatching and signs.
    if (labels[i]->Role == "sheet") continue;
    for (const txhost::SvgPolyline& line : layout.Lines) {
      if (!Keeps(line)) continue;
      bool over = false;
      for (std::size_t k = 0; k + 1 < line.Points.size() && !over; ++k)
        over = Crosses(boxes[i], line.Points[k], line.Points[k + 1]);
      if (line.Kind == "hatch")
        over = over || InPolygon(line.Points, (b[0].first + b[2].first) / 2, (b[0].second + b[2].second) / 2);
      EXPECT_FALSE(over) << "a text on a " << (line.Kind == "curve" ? "view's outline" : line.Kind.c_str())
                         << ": " << Where(*labels[i]) << " (from " << line.Points.front().first << ", "
                         << line.Points.front().second << ")";
    }
  }
}

TEST_P(ReleaseSweep, SheetsAndModelsAreFitToRelease)
{
  stdtest::TMouldDocuments link(adaptertest::T(Dir.path()) + TString("/"));
  std::vector<int> sizes(std::begin(Halves), std::end(Halves));
  if (GetParam().Table != 0) {
    sizes.clear();
    for (int r = 1; r < ABaseDetail.SocketCount(GetParam().Table); ++r)
      sizes.push_back(r);
  }
  ASSERT_FALSE(sizes.empty());
  for (int s : sizes) {
    const std::string what =
        std::string(GetParam().Name) + (GetParam().Table != 0 ? "-row" : "-half") + std::to_string(s);
    SCOPED_TRACE(what);
    TMade made;
    GetParam().Make(made, s);
    const std::size_t sheets = link.AllSheets.size(), parts = link.AllParts.size();
    made.Part().dr2D();
    made.Part().dr3D(1);
    EXPECT_TRUE(H.Documents().empty()) << "every document let go is closed";
    for (std::size_t i = sheets; i < link.AllSheets.size(); ++i) {
      const std::filesystem::path file = link.AllSheets[i].toWideChar();
      CheckSheet(file, what);
      ReopensAsSaved(file);
    }
    for (std::size_t i = parts; i < link.AllParts.size(); ++i) {
      const std::filesystem::path file = link.AllParts[i].toWideChar();
      ReopensAsSaved(file);
      if (made.Tabled) {
        EXPECT_TRUE(HasBody(file)) << file;
      }
    }
    if (made.Tabled) {
      EXPECT_GT(link.AllParts.size(), parts) << "a part document";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Mould, ReleaseSweep, ::testing::ValuesIn(Pieces), hxcad::test::CaseNames());

// The sheets a designer found faulty: each item named stays inside the frame and off the views.
class NamedSheets : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  NamedSheets() { stdtest::LoadShipped(); }

  // The layout of the sheet of the piece at size s.
  txhost::SvgLayout Sheet(const char* name, int s)
  {
    stdtest::TMouldDocuments link(adaptertest::T(Dir.path()) + TString("/"));
    const auto piece = std::find_if(std::begin(Pieces), std::end(Pieces),
                                    [name](const TPiece& p) { return std::string(p.Name) == name; });
    if (piece == std::end(Pieces)) return {};
    TMade made;
    piece->Make(made, s);
    made.Part().dr2D();
    if (link.AllSheets.empty()) return {};
    txhost::Object* doc = H.OpenDocument(std::filesystem::path(link.AllSheets.back().toWideChar()), false);
    if (doc == nullptr) return {};
    txhost::SvgLayout layout = txhost::LayOut(*doc);
    H.CloseDocument(*doc);
    return layout;
  }

  static std::vector<const txhost::SvgLabel*> Labels(const txhost::SvgLayout& l, const std::string& prefix)
  {
    std::vector<const txhost::SvgLabel*> found;
    for (const txhost::SvgLabel& label : l.Labels)
      if (label.Text.rfind(prefix, 0) == 0) found.push_back(&label);
    return found;
  }

  static bool InFrame(const txhost::SvgLabel& l)
  {
    for (int k = 0; k < 4; ++k)
      if (l.X[k] < 19.5 || l.X[k] > 415.5 || l.Y[k] < 4.5 || l.Y[k] > 292.5) return false;
    return true;
  }

  // Whether a line of the kinds kept off crosses the label.
  static bool OnLines(const txhost::SvgLayout& layout, const txhost::SvgLabel& l)
  {
    const TQuad box = Corners(l, 0.2);
    for (const txhost::SvgPolyline& line : layout.Lines) {
      if (!Keeps(line)) continue;
      for (std::size_t k = 0; k + 1 < line.Points.size(); ++k)
        if (Crosses(box, line.Points[k], line.Points[k + 1])) return true;
      const double cx = (box[0].first + box[2].first) / 2, cy = (box[0].second + box[2].second) / 2;
      if (line.Kind == "hatch" && InPolygon(line.Points, cx, cy)) return true;
    }
    return Enclosed(layout, (box[0].first + box[2].first) / 2, (box[0].second + box[2].second) / 2);
  }

  // Whether two main lines cross each other away from their ends: one view drawn over another.
  static bool ViewsCross(const txhost::SvgLayout& layout)
  {
    std::vector<std::array<double, 4>> segments;
    for (const txhost::SvgPolyline& line : layout.Lines)
      if (line.Kind == "curve" && line.Style == txapi::txCSNormal)
        for (std::size_t k = 0; k + 1 < line.Points.size(); ++k)
          segments.push_back({line.Points[k].first, line.Points[k].second, line.Points[k + 1].first,
                              line.Points[k + 1].second});
    auto side = [](const std::array<double, 4>& g, double x, double y) {
      return (g[2] - g[0]) * (y - g[1]) - (g[3] - g[1]) * (x - g[0]);
    };
    for (std::size_t i = 0; i < segments.size(); ++i)
      for (std::size_t j = i + 1; j < segments.size(); ++j) {
        const auto &a = segments[i], &b = segments[j];
        const double la = std::hypot(a[2] - a[0], a[3] - a[1]), lb = std::hypot(b[2] - b[0], b[3] - b[1]);
        const double a1 = side(a, b[0], b[1]) / la, a2 = side(a, b[2], b[3]) / la;
        const double b1 = side(b, a[0], a[1]) / lb, b2 = side(b, a[2], a[3]) / lb;
        const double e = 0.05;
        if (((a1 > e && a2 < -e) || (a1 < -e && a2 > e)) && ((b1 > e && b2 < -e) || (b1 < -e && b2 > e)))
          return true;
      }
    return false;
  }
};

TEST_F(NamedSheets, SignsAndAnglesOfTheLargeGuidesStayOnThePaper)
{
  for (int row : {18, 36}) {
    const txhost::SvgLayout l = Sheet("guide_pillar", row);
    ASSERT_FALSE(Labels(l, "0,4").empty()) << row;
    for (const auto* label : Labels(l, "0,4"))
      EXPECT_TRUE(InFrame(*label)) << "pillar row " << row << ": " << Where(*label);
  }
  for (int row : {6, 12}) {
    const txhost::SvgLayout l = Sheet("locating_sleeve", row);
    for (const char* item : {"0,8", "30\u00B0"}) {
      ASSERT_FALSE(Labels(l, item).empty()) << row << " " << item;
      for (const auto* label : Labels(l, item))
        EXPECT_TRUE(InFrame(*label)) << "sleeve row " << row << ": " << Where(*label);
    }
    for (const txhost::SvgSymbolBox& b : l.Symbols)
      EXPECT_TRUE(b.X1 >= 19.5 && b.Y1 >= 4.5 && b.X2 <= 415.5 && b.Y2 <= 292.5)
          << "sleeve row " << row << ": " << b.Kind;
  }
}

TEST_F(NamedSheets, DetailsStayOnThePaperAndOffTheirParts)
{
  // The column tail at half size: its groove detail with its sizes.
  const txhost::SvgLayout tail = Sheet("column_tail", 1);
  ASSERT_FALSE(Labels(tail, "0,3").empty());
  for (const txhost::SvgLabel& label : tail.Labels)
    EXPECT_TRUE(label.Role == "view-name" || InFrame(label)) << "column tail: " << Where(label);
  // The stop pin at twice its size: the detail beside the pin, not on it.
  const txhost::SvgLayout pin = Sheet("stop_pin", 4);
  ASSERT_FALSE(Labels(pin, "A(").empty());
  for (const auto* label : Labels(pin, "A("))
    EXPECT_FALSE(OnLines(pin, *label)) << "stop pin: " << Where(*label);
  EXPECT_FALSE(ViewsCross(pin)) << "the stop pin's detail lies on the pin";
  // The protect support: the detail's title clear of its boundary, its angle off the hatched section.
  for (int s : Halves) {
    const txhost::SvgLayout support = Sheet("protect_support", s);
    ASSERT_FALSE(Labels(support, "A(").empty()) << s;
    for (const auto* label : Labels(support, "A("))
      EXPECT_FALSE(OnLines(support, *label)) << "protect support " << s << ": " << Where(*label);
    for (const auto* label : Labels(support, "45\u00B0"))
      for (const txhost::SvgPolyline& line : support.Lines) {
        const TQuad box = Corners(*label, 0.2);
        EXPECT_FALSE(line.Kind == "hatch" && InPolygon(line.Points, (box[0].first + box[2].first) / 2,
                                                       (box[0].second + box[2].second) / 2))
            << "protect support " << s << ": " << Where(*label);
      }
  }
}

TEST_F(NamedSheets, TheSprueBushsRequirementsKeepOffItsSection)
{
  const txhost::SvgLayout l = Sheet("sprue_bush", 4);
  std::vector<const txhost::SvgLabel*> requirements, values;
  for (const txhost::SvgLabel& label : l.Labels) {
    if (label.Role == "requirements") requirements.push_back(&label);
    if (label.Role == "dimension") values.push_back(&label);
  }
  ASSERT_FALSE(requirements.empty());
  ASSERT_FALSE(Labels(l, "\u23005H11").empty());
  for (const auto* r : requirements) {
    EXPECT_TRUE(InFrame(*r)) << Where(*r);
    EXPECT_FALSE(OnLines(l, *r)) << Where(*r);
    for (const auto* v : values)
      EXPECT_FALSE(Overlap(Corners(*r, 0.2), Corners(*v, 0.2))) << Where(*r) << " and " << Where(*v);
  }
}

// The wire spring's part, made by a sweep along its helices, opens again as it was saved.
TEST(ReleaseSweepSpring, TheSpringsPartOpensAgainAsSaved)
{
  class Hosted : public adaptertest::HostedModeller
  {
  } h;
  for (const auto& [D, d, H, C] : {std::array{12.0, 1.2, 30.0, 3.0}, std::array{60.0, 6.0, 200.0, 14.0}}) {
    const std::filesystem::path file = h.Dir / ("spring-" + std::to_string(int(D)) + ".tpt");
    TWiredSpring::dr3D_Spring(MA, adaptertest::T(file), D, d, H, C);
    ASSERT_TRUE(std::filesystem::exists(file));
    std::string error;
    txhost::Object* doc = h.H.OpenDocument(file, false, &error);
    ASSERT_NE(doc, nullptr) << error;
    int sweeps = 0;
    for (txhost::Object* o : h.H.ObjectsOf(*doc))
      sweeps += o->Kind() == txhost::model::Evolution;
    EXPECT_EQ(sweeps, 3);
    h.H.CloseDocument(*doc);
  }
}

} // namespace
