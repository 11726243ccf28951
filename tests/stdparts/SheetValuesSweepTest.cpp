// The values on every mould part's sheet, as a mould designer checks them: every row of every
// tabled part, and the parts without a table at half, once and twice the sweep's sizes. Each part is
// drawn twice, on the recording modeller (what the part hands over: values, points, callouts,
// titles, and its model's sketches) and on the stand-in host (what the sheet shows):
// - every linear dimension shows the value the part hands over, a diameter from the axis included;
// - every diameter or thread is a diameter of the model (a radius of its sketches, doubled);
// - a tolerance and the text after it, a text before and the value, stand apart;
// - no size is dimensioned twice (same direction, the same two coordinates, the same surface);
// - every callout has its view, section or detail titled with its letter, and each is called out;
// the guide pillar's lead-in reads as its model's taper and its seat and collar diameters are given,
// the locating sleeve's end view shows flats exactly when its model is cut with them (every row);
// and the standard part built by code answers true only for a part file with a body. Set
// HXCAD_KEEP_SHEETS to a folder to keep the sheets' pictures there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "../adapter/AdapterSupport.h"
#include "MouldPartList.h"
#include "RecordingModeler.h"
#include "SheetDims.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "tests/TestNames.h"
#include "tests/core/TextBaseTestUtil.h"
#include "txhost/lib/DimensionFacets.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Model3D.h"
#include "txhost/lib/SvgWriter.h"
#include "txhost/lib/Text.h"

namespace sheetvalues {

using drApi::MA;

// --- The parts, at a row of their table or a multiple of the sweep's sizes -----------------------

using stdtest::mouldparts::TMade;
using stdtest::mouldparts::TPart;

// Every size a kind is checked at: each row of its table, or the factors 0.5, 1 and 2.
struct TSize
{
  int Row = 0;
  double K = 1;
  std::string Name;
};

std::vector<TSize> SizesOf(const TPart& kind)
{
  std::vector<TSize> v;
  if (kind.Table != 0) {
    for (int r = 1; r < ABaseDetail.SocketCount(kind.Table); ++r)
      v.push_back({r, 1, std::string("row ").append(std::to_string(r))});
  } else {
    for (double k : {0.5, 1.0, 2.0})
      v.push_back({0, k, std::string("x").append(std::to_string(k))});
  }
  return v;
}

// --- What a part hands over --------------------------------------------------------------------

using stdtest::sheetdims::TDim;
using TTap = stdtest::sheetdims::TDimTap;

// The texts of the calls named op on each sheet opened.
std::vector<std::vector<std::string>> TextsOf(const TRecordingModeler& m, const std::string& op)
{
  std::vector<std::vector<std::string>> r(1);
  for (const auto& c : m.Calls) {
    if (c.Op == "drLeafStamp") r.emplace_back();
    if (c.Op != op) continue;
    for (const TString& s : c.S)
      if (!s.Empty()) r.back().push_back(s.Utf8Text());
  }
  return r;
}

// The letter as it reads: a Latin capital that looks like a Cyrillic one is that one.
std::string Letter(std::string s)
{
  static const std::pair<const char*, const char*> alike[] = {
      {"A", "\u0410"}, {"B", "\u0412"}, {"C", "\u0421"}, {"E", "\u0415"}, {"H", "\u041D"}, {"K", "\u041A"},
      {"M", "\u041C"}, {"O", "\u041E"}, {"P", "\u0420"}, {"T", "\u0422"}, {"X", "\u0425"}};
  for (const auto& [latin, cyrillic] : alike)
    if (s == latin) return cyrillic;
  return s;
}

// The titles on a sheet by what they title: "Вид А" a view, "Б-Б" a section, "Г(2:1)" a detail.
struct TTitles
{
  std::vector<std::string> Views, Sections, Details;
};

TTitles TitlesOf(const std::vector<std::string>& texts)
{
  static const std::regex view("^\u0412\u0438\u0434 (\\S+)$"), section("^(\\S+)-(\\S+)$"),
      detail("^(\\S+)\\(.*:.*\\)$");
  TTitles t;
  std::smatch m;
  for (const std::string& s : texts) {
    if (std::regex_match(s, m, view))
      t.Views.push_back(Letter(m[1]));
    else if (std::regex_match(s, m, section) && m[1] == m[2])
      t.Sections.push_back(Letter(m[1]));
    else if (std::regex_match(s, m, detail))
      t.Details.push_back(Letter(m[1]));
  }
  return t;
}

std::vector<std::string> Letters(const std::vector<std::string>& v)
{
  std::vector<std::string> r;
  for (const std::string& s : v)
    r.push_back(Letter(s));
  std::sort(r.begin(), r.end());
  r.erase(std::unique(r.begin(), r.end()), r.end());
  return r;
}

bool Near(double a, double b)
{
  return std::fabs(a - b) <= 1e-6 * std::max(1.0, std::fabs(a));
}

// Whether (x, y) lies on a line drawn on the sheet.
bool OnLine(const std::vector<TRecordingModeler::TCurve>& drawn, double x, double y)
{
  for (const auto& c : drawn) {
    if (c.Kind != TRecordingModeler::TCurve::Line) continue;
    const double dx = c.x2 - c.x1, dy = c.y2 - c.y1, l = std::hypot(dx, dy);
    if (!(l > 0)) continue;
    const double t = ((x - c.x1) * dx + (y - c.y1) * dy) / (l * l);
    if (t < -1e-9 || t > 1 + 1e-9) continue;
    if (std::fabs((x - c.x1) * dy - (y - c.y1) * dx) / l < 1e-6) return true;
  }
  return false;
}

// Whether one line drawn on the sheet runs along y = const from x = a to x = b.
bool OneSurface(const std::vector<TRecordingModeler::TCurve>& drawn, double y, double a, double b)
{
  if (a > b) std::swap(a, b);
  for (const auto& c : drawn)
    if (c.Kind == TRecordingModeler::TCurve::Line && Near(c.y1, y) && Near(c.y2, y) &&
        std::min(c.x1, c.x2) <= a + 1e-6 && std::max(c.x1, c.x2) >= b - 1e-6)
      return true;
  return false;
}

// Two dimensions that give one size: the same value measured the same way between the same two
// coordinates; two lengths from a point they share, two diameters side by side of one surface (one
// line of the outline runs from one to the other, or one of them ends on no line of the sheet).
bool SameSize(const TDim& a, const TDim& b, const std::vector<TRecordingModeler::TCurve>& drawn)
{
  if (!Near(a.Value, b.Value) || a.AlongX != b.AlongX || a.AlongY != b.AlongY) return false;
  if (!a.AlongX && !a.AlongY) return false;
  auto pair = [](double p, double q) { return std::pair(std::min(p, q), std::max(p, q)); };
  const auto pa = a.AlongX ? pair(a.X1, a.X2) : pair(a.Y1, a.Y2);
  const auto pb = b.AlongX ? pair(b.X1, b.X2) : pair(b.Y1, b.Y2);
  if (!Near(pa.first, pb.first) || !Near(pa.second, pb.second)) return false;
  // Lengths between the same two planes from one point of the outline.
  const auto meet = [](double x1, double y1, double x2, double y2) { return Near(x1, x2) && Near(y1, y2); };
  if (a.AlongX)
    return meet(a.X1, a.Y1, b.X1, b.Y1) || meet(a.X1, a.Y1, b.X2, b.Y2) || meet(a.X2, a.Y2, b.X1, b.Y1) ||
           meet(a.X2, a.Y2, b.X2, b.Y2);
  const bool aOn = OnLine(drawn, a.X1, a.Y1) && OnLine(drawn, a.X2, a.Y2);
  const bool bOn = OnLine(drawn, b.X1, b.Y1) && OnLine(drawn, b.X2, b.Y2);
  return !aOn || !bOn || OneSurface(drawn, pa.second, a.X1, b.X1) || OneSurface(drawn, pa.first, a.X1, b.X1);
}

// The radii of the model: of its revolved profiles the distances of their corners from their axis
// (the sketch's axis line, along x or y), of its circles and arcs their radii.
std::vector<double> ModelRadii(const TRecordingModeler& m)
{
  std::vector<double> r;
  for (int k = 0; k < m.Sketches(); ++k) {
    bool upright = false;
    for (const auto& c : m.Curves)
      if (c.Sketch == k && c.Style == 3 && c.Kind == TRecordingModeler::TCurve::Line)
        upright = std::fabs(c.x2 - c.x1) < std::fabs(c.y2 - c.y1);
    for (const auto& c : m.Curves) {
      if (c.Sketch != k) continue;
      if (c.Kind == TRecordingModeler::TCurve::Line || c.Kind == TRecordingModeler::TCurve::Arc)
        r.insert(r.end(), {std::fabs(upright ? c.x1 : c.y1), std::fabs(upright ? c.x2 : c.y2)});
      if (c.Kind != TRecordingModeler::TCurve::Line) r.push_back(c.r);
    }
  }
  return r;
}

// --- The sweep -----------------------------------------------------------------------------------

class SheetValues : public ::testing::TestWithParam<TPart>, public adaptertest::HostedModeller
{
protected:
  SheetValues() { stdtest::LoadShipped(); }

  // The linear dimensions of a sheet as the host shows them: their values and texts, in the order made.
  struct TShown
  {
    double Value;
    std::string Text;
  };
  std::vector<TShown> Shown(const std::filesystem::path& file, const std::string& what)
  {
    std::vector<TShown> v;
    txhost::Object* doc = H.OpenDocument(file, false);
    if (doc == nullptr) return v;
    if (const char* keep = std::getenv("HXCAD_KEEP_SHEETS"))
      txhost::SaveSvg(*doc, std::filesystem::path(keep) / (what + "-" + file.stem().string() + ".svg"));
    for (txhost::Object* o : H.ObjectsOf(*doc)) {
      if (o->Kind() != txhost::model2d::LineDimension || txhost::model::Deleted(*o)) continue;
      std::string before, after;
      for (txhost::Object* l : txhost::model::LiveMembers(*o, txhost::model2d::TextLine))
        (l->Prop("place") == "before" ? before : after) = txhost::ToUtf8(txhost::model2d::TextOf(*l));
      // The texts around a stand-in figure, as the host joins them.
      v.push_back({txhost::model2d::MeasuredValue(*o), before + "0" + after});
    }
    H.CloseDocument(*doc);
    return v;
  }
};

TEST_P(SheetValues, EverySizeOfEveryRowReadsAsTheModelHasIt)
{
  const TPart& kind = GetParam();
  stdtest::TMouldDocuments link(adaptertest::T(Dir.path()) + TString("/"));
  // "H144" (a tolerance run into a count), "фаски0" (a word run into the value).
  static const std::regex runTogether("[A-Za-z][0-9]{3}|[\u0430-\u044F\u0410-\u042F][0-9]");
  for (const TSize& size : SizesOf(kind)) {
    SCOPED_TRACE(std::string(kind.Name) + " " + size.Name);
    TTap tap;
    TMade recorded;
    kind.Make(recorded, &tap, size.Row, size.K);
    recorded.Part().dr2D();
    const std::vector<TDim> dims = tap.Dims;
    const std::vector<TRecordingModeler::TCurve> drawn = TRecordingModeler::Outline(tap.Drawn());
    const auto texts = TextsOf(tap, "drText"), shelves = TextsOf(tap, "drCircleShelf"),
               arrows = TextsOf(tap, "drWPointer"), cuts = TextsOf(tap, "drCut");
    tap.Reset();
    recorded.Part().dr3D(1);
    const std::vector<double> radii = ModelRadii(tap);
    const bool body =
        std::any_of(tap.Curves.begin(), tap.Curves.end(), [](const auto& c) { return c.Sketch == 0; });
    for (std::size_t k = 0; k < texts.size(); ++k) {
      const TTitles titles = TitlesOf(texts[k]);
      // A part whose outline is left empty (its revolved profile holds nothing) still carries the
      // detail of its groove, which no view of it can call out; every callout there has its detail.
      if (!body) {
        for (const std::string& l : Letters(shelves[k]))
          EXPECT_TRUE(std::count(titles.Details.begin(), titles.Details.end(), l)) << "callout " << l;
      } else {
        EXPECT_EQ(Letters(shelves[k]), Letters(titles.Details)) << "detail callouts and detail titles";
      }
      EXPECT_EQ(Letters(arrows[k]), Letters(titles.Views)) << "view arrows and view titles";
      EXPECT_EQ(Letters(cuts[k]), Letters(titles.Sections)) << "section lines and section titles";
    }

    // The values the sheet shows are those handed over.
    TMade hosted;
    kind.Make(hosted, &MA, size.Row, size.K);
    const std::size_t sheets = link.AllSheets.size();
    hosted.Part().dr2D();
    std::vector<TShown> shown;
    for (std::size_t i = sheets; i < link.AllSheets.size(); ++i) {
      const auto more =
          Shown(std::filesystem::path(link.AllSheets[i].toWideChar()),
                std::string(kind.Name) + "-" + (kind.Table ? std::to_string(size.Row) : size.Name));
      shown.insert(shown.end(), more.begin(), more.end());
    }
    ASSERT_EQ(shown.size(), dims.size()) << "every dimension handed over is on the sheet";
    for (std::size_t i = 0; i < dims.size(); ++i) {
      const TDim& d = dims[i];
      EXPECT_TRUE(Near(shown[i].Value, d.Value))
          << "shows " << shown[i].Value << " for " << d.S1 << d.Value << d.S2 << d.S3;
      EXPECT_FALSE(std::regex_search(shown[i].Text, runTogether)) << shown[i].Text;
      if (d.Diameter && !radii.empty()) {
        EXPECT_TRUE(std::any_of(radii.begin(), radii.end(), [&](double r) { return Near(2 * r, d.Value); }))
            << d.S1 << d.Value << d.S2 << " is no diameter of the model";
      }
    }

    for (std::size_t i = 0; i < dims.size(); ++i)
      for (std::size_t j = i + 1; j < dims.size(); ++j)
        EXPECT_FALSE(dims[i].Sheet == dims[j].Sheet && SameSize(dims[i], dims[j], drawn))
            << dims[i].S1 << dims[i].Value << dims[i].S2 << " and " << dims[j].S1 << dims[j].Value
            << dims[j].S2 << " give one size, from " << dims[i].X1 << ", " << dims[i].Y1 << " to "
            << dims[i].X2 << ", " << dims[i].Y2 << " and from " << dims[j].X1 << ", " << dims[j].Y1 << " to "
            << dims[j].X2 << ", " << dims[j].Y2;
  }
}

INSTANTIATE_TEST_SUITE_P(Mould, SheetValues, ::testing::ValuesIn(stdtest::mouldparts::Parts),
                         hxcad::test::CaseNames());

// The guide pillar at every row, with and without its thread: the lead-in the sheet gives is the
// model's (the taper's length from the guide end to where it meets the guide), and the seat's and
// the collar's diameters are given with their tolerance.
TEST(SheetValuesPillar, TheLeadInSeatAndCollarReadAsTheModelHasThem)
{
  stdtest::LoadShipped();
  for (int r = 1; r < ABaseDetail.SocketCount(5); ++r)
    for (const bool threaded : {false, true}) {
      SCOPED_TRACE("row " + std::to_string(r) + (threaded ? " threaded" : ""));
      TTap tap;
      TMade made;
      auto& p = stdtest::mouldparts::Pillar(made, &tap, r);
      if (threaded) stdtest::mouldparts::Thread(p);
      p.dr2D();
      double sheetLeadIn = 1e300;
      bool seat = false, collar = false;
      for (const TDim& d : tap.Dims) {
        if (d.AlongX && d.S2 == "js14") sheetLeadIn = std::min(sheetLeadIn, d.Value);
        seat = seat || (d.Diameter && Near(d.Value, 2 * p.FRadius) && !d.S2.empty());
        collar = collar || (d.Diameter && Near(d.Value, 2 * p.CollarRadius) && !d.S2.empty());
      }
      EXPECT_TRUE(seat) << "the seat's diameter";
      EXPECT_TRUE(collar) << "the collar's diameter";
      tap.Reset();
      p.dr3D(1);
      const auto profile = TRecordingModeler::Outline(tap.SketchProfile(0));
      ASSERT_FALSE(profile.empty());
      double end = 1e300, modelLeadIn = -1;
      for (const auto& c : profile)
        end = std::min({end, c.x1, c.x2});
      // The taper: the line of the profile at 30 degrees to the axis nearest the guide end.
      double nearest = 1e300;
      for (const auto& c : profile) {
        const double dx = c.x2 - c.x1, dy = c.y2 - c.y1;
        if (c.Kind != TRecordingModeler::TCurve::Line || !(std::fabs(dx) > 1e-9) ||
            std::fabs(std::fabs(dy / dx) - std::tan(M_PI / 6)) > 1e-9 || std::min(c.x1, c.x2) >= nearest)
          continue;
        nearest = std::min(c.x1, c.x2);
        modelLeadIn = c.x1 + (p.Radius - std::fabs(c.y1)) * std::fabs(dx / dy) - end;
      }
      EXPECT_NEAR(sheetLeadIn, modelLeadIn, 1e-9);
    }
}

// The locating sleeve at every row: its end view shows flats across the collar exactly when its model
// is cut with them (a pillar's key, into a collar the sleeve has).
TEST(SheetValuesSleeve, ViewAShowsTheFlatsTheModelHas)
{
  stdtest::LoadShipped();
  const auto flats = [](const TRecordingModeler& m) {
    std::vector<double> v; // the widths across flats: a width about the view's centre at one height
    for (const auto& c : m.Of("drDimHL"))
      if (c.S.size() > 1 && c.S[1].Utf8Text() == "h14" && c.A[4] == c.A[6] && c.A[3] == -c.A[5] &&
          c.A[3] != 0)
        v.push_back(c.A[0]);
    return v;
  };
  for (int r = 1; r < ABaseDetail.SocketCount(3); ++r)
    for (const int variant : {0, 1, 2}) { // alone, with a pillar, with a pillar and a collar
      SCOPED_TRACE("row " + std::to_string(r) + " variant " + std::to_string(variant));
      TTap tap;
      TSocketLeaderPin pin(0, &tap, nullptr, nullptr);
      TSocketLeaderPinLocatingSleeves s(1, &tap, variant == 0 ? nullptr : &pin, nullptr);
      ASSERT_NE(s.Set(3, stdtest::mouldparts::RowValue(3, r, 5) / 2, stdtest::mouldparts::RowValue(3, r, 6)),
                0);
      pin.Key = s.CollarRadius;
      if (variant == 2) s.CollarHeight = 3;
      s.dr2D();
      const std::vector<double> shown = flats(tap);
      tap.Reset();
      s.dr3D(1);
      const int cuts = tap.Count("drCutExtrusion");
      EXPECT_EQ(cuts, variant == 2 ? 1 : 0);
      EXPECT_EQ(shown.size(), std::size_t(cuts));
      if (cuts == 1 && shown.size() == 1) {
        EXPECT_EQ(shown[0], pin.Key);
      }
    }
}

// The standard part built by code answers true only for a part file with a body: every row of the
// tables it builds from, and every code with sizes no modeller makes a body of (1e300), which answer
// false with their message and leave no file and no document.
class SheetValuesByCode : public adaptertest::HostedModeller, public ::testing::Test
{
protected:
  SheetValuesByCode() { stdtest::LoadShipped(); }
  bool HasBody(const std::filesystem::path& file)
  {
    txhost::Object* doc = H.OpenDocument(file, false);
    if (doc == nullptr) return false;
    bool body = false;
    for (txhost::Object* o : H.ObjectsOf(*doc))
      body = body || (o->Kind() == txhost::kinds::Part && !txhost::model::Bodies(*o).empty());
    H.CloseDocument(*doc);
    return body;
  }
};

TEST_F(SheetValuesByCode, TrueOnlyForAPartWithABody)
{
  std::vector<std::pair<int, std::vector<double>>> cases;
  for (int code : {2, 3, 5, 26, 31, 33})
    for (int r = 1; r < ABaseDetail.SocketCount(code); ++r) {
      TArrayOf<double> a;
      ASSERT_TRUE(ABaseDetail.Params(code, r, a));
      std::vector<double> v;
      for (int i = 0; i < a.Count; ++i)
        v.push_back(a[i]);
      cases.emplace_back(code, v);
    }
  for (int code = 2; code <= 52; ++code)
    cases.emplace_back(code, std::vector<double>(20, 1e300));
  // The pin and the pillar of the first row with one size at a time far too large.
  for (int code : {5, 31}) {
    TArrayOf<double> a;
    ASSERT_TRUE(ABaseDetail.Params(code, 1, a));
    for (int i = 1; i < a.Count; ++i) {
      std::vector<double> v;
      for (int k = 0; k < a.Count; ++k)
        v.push_back(k == i ? 1e300 : a[k]);
      cases.emplace_back(code, v);
    }
  }
  const TString folder = adaptertest::T(Dir.path()) + TString("/");
  int n = 0;
  for (const auto& [code, sizes] : cases) {
    const bool huge = std::find(sizes.begin(), sizes.end(), 1e300) != sizes.end();
    SCOPED_TRACE("code " + std::to_string(code) + (huge ? " at 1e300" : ""));
    tbtest::TMessageLog log;
    const std::string name = "part" + std::to_string(++n);
    const std::filesystem::path file = Dir / (name + ".tpt");
    const bool built = drBaseDetail(MA, folder, TString(name.c_str()), TString("m"), code, 0, sizes, false);
    EXPECT_TRUE(H.Documents().empty());
    if (built) {
      EXPECT_TRUE(HasBody(file)) << "answered true";
    } else {
      EXPECT_FALSE(std::filesystem::exists(file));
    }
    // A code that builds nothing is refused before any document, saying so; any other refusal says why.
    const bool nothing = code == 9 || (code >= 39 && code <= 42) || (code >= 44 && code <= 49);
    if (!built) {
      EXPECT_GE(log.Count(nothing ? "Нет детали с кодом " : "Недопустимые размеры: "), 1);
    }
    if (!huge) {
      EXPECT_TRUE(built) << "a row of its table";
    }
  }
}

} // namespace sheetvalues
