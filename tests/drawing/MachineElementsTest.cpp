// The machine elements over the sizes their callers pass: each drawing sound (finite, balanced),
// where its caller expects it, and closed where it becomes a solid.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "RecordingModeler.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/drawing/MathDetails.h"

namespace {

using TCurve = TRecordingModeler::TCurve;
using TBox = TRecordingModeler::TBox;

// Metric hexagon fasteners as the bolt tables hold them: thread, across flats, head (and nut)
// height, washer thickness and outer diameter.
struct TFastener
{
  double d, S, H, t, D;
};
const TFastener Fasteners[] = {{6, 10, 5, 1.6, 12},   {8, 13, 6.5, 1.6, 16}, {10, 16, 8, 2, 20},
                               {12, 18, 10, 2.5, 24}, {16, 24, 13, 3, 30},   {20, 30, 16, 3, 37},
                               {24, 36, 19, 4, 44},   {30, 46, 24, 4, 56},   {36, 55, 29, 5, 66},
                               {42, 65, 34, 8, 78},   {48, 75, 38, 8, 92}};

// The curves of the style (of every other style when other).
std::vector<TCurve> OfStyle(const std::vector<TCurve>& c, int style, bool other = false)
{
  std::vector<TCurve> r;
  std::copy_if(c.begin(), c.end(), std::back_inserter(r),
               [=](const TCurve& k) { return (k.Style == style) != other; });
  return r;
}

void ExpectBox(const std::vector<TCurve>& c, double x1, double y1, double x2, double y2,
               const std::string& what)
{
  const TBox b = TRecordingModeler::Box(c);
  const double got[] = {b.x1, b.y1, b.x2, b.y2};
  const double want[] = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  for (int i = 0; i < 4; ++i)
    EXPECT_NEAR(got[i], want[i], 1e-9) << what;
}

void ExpectClosedInOutlineMode(const std::vector<TCurve>& half, int tl, const std::string& what)
{
  if (tl % 10 == 0) {
    EXPECT_TRUE(TRecordingModeler::ClosedChain(half)) << what;
  }
}

// The extents an element owes in its own frame: x from x1 to x2, y up to top and, in outline
// mode, down to low (in the drawing modes the lower half mirrors the upper); its axis (style 3)
// from a1 to a2.
struct TExtent
{
  double x1, x2, low, top, a1, a2;
};

// Draws one element placed at (mx, my) turned by ma (0 or 180) into a fresh record and checks
// what every element owes: sound, in a macro of its own when asked, axis and outline where the
// extent says, the outline closed in outline mode. Returns the curves but the axis.
template <class F>
std::vector<TCurve> Element(TRecordingModeler& m, int tl, double mx, double my, double ma, const TExtent& e,
                            bool macro, const std::string& what, F draw)
{
  m.Reset();
  draw();
  EXPECT_TRUE(DrawingSound(m)) << what;
  EXPECT_EQ(m.Count("drMacro2D"), macro ? 1 : 0) << what;
  const double k = ma == 0.0 ? 1.0 : -1.0;
  ExpectBox(OfStyle(m.Curves, 3), mx + k * e.a1, my, mx + k * e.a2, my, what + " axis");
  const std::vector<TCurve> outline = OfStyle(m.Curves, 3, true);
  ExpectBox(outline, mx + k * e.x1, my + k * (tl % 10 ? -e.top : e.low), mx + k * e.x2, my + k * e.top, what);
  ExpectClosedInOutlineMode(outline, tl, what);
  return outline;
}

TEST(MachineElements, BoltSetsAtEveryCallersPlacementAndSize)
{
  TRecordingModeler m;
  const TCommonGeometry g(0, &m);
  for (const TFastener& f : Fasteners) {
    const double e = f.S / 0.8660254037844387 / 2.0, y = 3.0 * f.d;
    const std::string row = std::string("M").append(std::to_string(int(f.d)));
    // Bolt, washer and nut as the flange, toothed, toroidal (both sides) and sleeve-and-pin
    // couplings place and size them; NAN leaves an element out.
    struct TSet
    {
      double bx, ba, L, LM, wx, wa, wd, wD, wt, nx, nS, nH;
    };
    const double fl = 2.0 * f.d, r = 3.0 * f.d, s3 = 2 * f.d * 0.8660254037844387;
    const TSet sets[] = {
        {fl, 180, 2 * fl + f.d / 2 + 4, 20, -fl, 180, f.d + 1, f.D, f.t, -fl - f.t, f.S, f.H},
        {-r, 0, 2 * r + 0.6 * f.d + 5, f.d + 10, r, 0, f.d, f.D, f.t, r + 2, f.S, f.H},
        {fl + 2, 180, fl + 23, 20, fl, 0, f.d, f.S, 2, NAN, 0, 0},
        {-fl - 2, 0, fl + 23, 20, -fl, 180, f.d, f.S, 2, NAN, 0, 0},
        {NAN, 0, 0, 0, -fl, 180, 1 + f.d, s3 - 1, 2, -fl - 2, s3, 0.8 * f.d}};
    for (const TSet& s : sets) {
      if (!std::isnan(s.bx))
        Element(m, 31, s.bx, y, s.ba, {-f.H, s.L, 0, e, -f.H - 2, s.L + 2}, true, row + " bolt",
                [&] { g.dr2D_Screw_V1(s.bx, y, s.ba, 1.0, f.d, s.L, s.LM, f.S, f.H, 31, false); });
      const std::vector<TCurve> washer =
          Element(m, 31, s.wx, y, s.wa, {0, s.wt, 0, s.wD / 2, -2, s.wt + 2}, true, row + " washer",
                  [&] { g.dr2D_Washer_V2(s.wx, y, s.wa, 1.0, s.wd, s.wD, s.wt, 31, false); });
      EXPECT_TRUE(TRecordingModeler::ClosedChain(washer)) << row;
      // Its section: cut through on both sides of the axis, each side bounded by the bore and the rim,
      // and nothing drawn inside the bore but the axis.
      for (const double side : {1.0, -1.0})
        for (const double radius : {s.wd / 2, s.wD / 2})
          EXPECT_TRUE(std::any_of(washer.begin(), washer.end(),
                                  [&](const TCurve& c) {
                                    return c.Kind == TCurve::Line &&
                                           std::fabs(c.y1 - y - side * radius) < 1e-9 &&
                                           std::fabs(c.y2 - c.y1) < 1e-9 &&
                                           std::fabs(std::fabs(c.x2 - c.x1) - s.wt) < 1e-9;
                                  }))
              << row << " no line at radius " << radius << " on side " << side;
      for (const TCurve& c : washer)
        EXPECT_TRUE(std::fabs(c.y1 - y) > s.wd / 2 - 1e-9 && std::fabs(c.y2 - y) > s.wd / 2 - 1e-9)
            << row << " a line inside the bore";
      if (!std::isnan(s.nx))
        Element(m, 31, s.nx, y, s.wa, {0, s.nH, 0, s.nS / 0.8660254037844387 / 2.0, -2, s.nH + 2}, true,
                row + " nut", [&] { g.dr2D_Nut_V2(s.nx, y, s.wa, 1.0, f.d, s.nS, s.nH, 31, false); });
    }
  }
}

TEST(MachineElements, FastenerPartsRevolveAClosedHalfAndCutTheirHexagon)
{
  for (const TFastener& f : Fasteners) {
    const std::string row = std::string("M").append(std::to_string(int(f.d)));
    const double e = f.S / 0.8660254037844387 / 2.0;
    struct TPart
    {
      void (*make)(const TCommonGeometry&, const TFastener&);
      double x1, y1, x2, y2; // the half profile's box
      bool cut;
    };
    const double L = 4 * f.d;
    const TPart parts[] = {
        {[](auto& g, auto& f) { g.dr3D_Screw(f.d, 4 * f.d, 20, f.S, f.H, "b.tpt"); }, -f.H, 0, L, e, true},
        {[](auto& g, auto& f) { g.dr3D_Nut(f.d, f.S, f.H, "n.tpt"); }, 0, f.d / 2, f.H, e, true},
        {[](auto& g, auto& f) { g.dr3D_Washer(f.d, f.D, f.t, "w.tpt", true); }, 0, f.d / 2, f.t, f.D / 2,
         false},
        {[](auto& g, auto& f) {
           g.dr3D_ScrewGost11738("", "", "", f.d, 1.5 * f.d, f.d / 2, f.d, f.d / 2, 4 * f.d, 2 * f.d, 0.5);
         },
         0, 0, L, 0.75 * f.d, true},
        {[](auto& g, auto& f) { g.dr3D_PlugGost("", "", "", f.D, f.d, 2 * f.d, 1.0); }, 0, f.d / 2, 2 * f.d,
         f.D / 2, false}};
    for (const TPart& p : parts) {
      TRecordingModeler m;
      p.make(TCommonGeometry(0, &m), f);
      EXPECT_TRUE(DrawingSound(m)) << row;
      EXPECT_EQ(m.Count("drCreate3D"), 1) << row;
      EXPECT_EQ(m.Count("drSave3D"), 1) << row;
      EXPECT_EQ(m.Count("drBaseRotate"), 1) << row;
      ASSERT_EQ(m.Sketches(), p.cut ? 2 : 1) << row;
      const std::vector<TCurve> half = TRecordingModeler::Outline(m.SketchProfile(0));
      ExpectBox(half, p.x1, p.y1, p.x2, p.y2, row + " profile");
    }
  }
}

// The gear rims of the toothed couplings: external teeth on the hubs, internal in the sleeve.
TEST(MachineElements, GearOutlinesAreClosedAndRepeatEveryTooth)
{
  for (const double mod : {1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0})
    for (const int z : {18, 30, 38, 46, 56, 60, 80})
      for (const bool internal : {false, true}) {
        TRecordingModeler m;
        const TCommonGeometry g(0, &m);
        (g.*(internal ? &TCommonGeometry::dr2D_GearsWheel_Int_V2 : &TCommonGeometry::dr2D_GearsWheel_Ext_V2))(
            0, 0, 0, 1.0, mod, z, 0.4, 1, false);
        const std::string what =
            (internal ? "internal m" : "external m") + std::to_string(mod) + " z" + std::to_string(z);
        EXPECT_TRUE(DrawingSound(m)) << what;
        EXPECT_TRUE(TRecordingModeler::ClosedChain(m.Curves)) << what;
        ASSERT_EQ(m.Curves.size(), 4u * z) << what;
        const double r = mod * z / 2, tip = r + (internal ? -mod : mod),
                     root = r + (internal ? 1.4 : -1.4) * mod;
        const double lo = std::min(tip, root), hi = std::max(tip, root);
        const double step = 2 * TMathDef::C_PI / z;
        for (std::size_t i = 0; i < m.Curves.size(); ++i) {
          const TCurve& c = m.Curves[i];
          const double rad = std::hypot(c.x1, c.y1);
          EXPECT_TRUE(rad > lo - 1e-9 && rad < hi + 1e-9) << what;
          // Tooth k + 1 is tooth k turned by one pitch.
          const TCurve& n = m.Curves[(i + 4) % m.Curves.size()];
          const double a = std::atan2(c.y1, c.x1) + step;
          EXPECT_LT(std::hypot(n.x1 - rad * std::cos(a), n.y1 - rad * std::sin(a)), 1e-9 * hi) << what;
        }
      }
}

// The mould plates' pins and screws, half profiles revolved by the standard-part builder.
TEST(MachineElements, MouldProfilesCloseAlongTheAxis)
{
  TRecordingModeler m;
  const TCommonGeometry g(0, &m);
  // Socket head cap screws: thread, head diameter, head height, socket across flats and depth.
  const double caps[][5] = {{4, 7, 4, 3, 2},     {5, 8.5, 5, 4, 2.5},  {6, 10, 6, 5, 3},
                            {8, 13, 8, 6, 4},    {10, 16, 10, 8, 5},   {12, 18, 12, 10, 6},
                            {16, 24, 16, 14, 8}, {20, 30, 20, 17, 10}, {24, 36, 24, 19, 12}};
  for (const auto& c : caps)
    for (const double L : {c[2] + 8, 40.0, 120.0})
      for (const int tl : {0, 31}) {
        const std::string what =
            std::string("M").append(std::to_string(int(c[0]))).append(" L").append(std::to_string(int(L)));
        const double d = c[0], K = c[2], e = c[3] / 0.8660254037844387;
        Element(m, tl, -K, 0, 0, {0, L, 0, c[1] / 2, -3, L + 3}, false, what + " cap screw", [&] {
          g.dr2D_SocketHeadCapScrew_V1(-K, 0, 0, 1, d / 2, c[1] / 2, c[3], K, c[4], L, 20, 0.5, tl, false);
        });
        Element(m, tl, 0, 0, 0, {0, L, 0, d / 2, -3, L + 3}, false, what + " set screw",
                [&] { g.dr2D_HexagonSocketSetScrew_V1(0, 0, 0, 1, d / 2, c[3] / 2, L / 2, L, tl, false); });
        Element(m, tl, 0, 0, 0, {0, K + L, 0, e, -3, K + L + 3}, false, what + " bolt",
                [&] { g.dr2D_Bolt7805_V1(0, 0, 0, 1, d / 2, L, L / 2, K, 2 * c[3], 1.8 * c[3], tl, false); });
        Element(m, tl, 0, 0, 0, {0, L, 0, d / 2, -3, L + 3}, false, what + " pin",
                [&] { g.dr2D_Shtift_V1(0, 0, 0, 1, d / 2, L, tl, false, 1.0); });
      }
}

// The enlarged groove views of the mould parts' sheets, as their callers place them.
TEST(MachineElements, GrooveDetailViewsCarryTheirLetterAndScale)
{
  const struct
  {
    double x, y, m, L, H, R;
    const char *letter, *label;
  } views[] = {{20, -90, 2, 3, 0.3, 0.5, "A", "A(2:1)"},
               {20, -110, 4, 3, 0.3, 0.4, "А", "А(4:1)"},
               {10, -45, 5, 3, 1, 0.5, "Б", "Б(5:1)"}};
  for (const auto& v : views) {
    TRecordingModeler m;
    TCommonGeometry(0, &m).drCVR_dV(v.x, v.y, 0, v.m, v.L, v.H, v.R, TString(v.letter), true);
    EXPECT_TRUE(DrawingSound(m)) << v.label;
    ASSERT_EQ(m.Count("drText"), 1);
    EXPECT_EQ(m.Of("drText")[0].S[0].Utf8Text(), v.label);
    EXPECT_EQ(m.Count("drDimHL") + m.Count("drDimVL") + m.Count("drDimApc"), 3) << v.label;
    // Inside the view's enlargement the title stands 6 high on the sheet.
    EXPECT_NEAR(m.Of("drText")[0].A[3] * v.m, 6.0, 1e-12) << v.label;
    ExpectBox(m.Curves, v.x - 4 * v.H * v.m, v.y - 5 * v.H * v.m, v.x + (v.L + 4 * v.H) * v.m,
              v.y + 4 * v.H * v.m, v.label);
  }
}

// The pusher of an ejector channel: halves by the drawing code, the grade on the lower half a flat y78 deep
// at its inner end running out at the end face on the fit (as the part is cut, never outside the fit),
// sized by its length and depth alone, the outline closing along the axis in outline mode.
TEST(MachineElements, PusherHalvesAndGrade)
{
  const double r71 = 3, r72 = 6, x73 = 100, y78 = 3, g = 10;
  for (const double y71 : {115.0, x73})
    for (const int tl : {0, 1, 11, 21}) {
      TRecordingModeler m;
      TCommonGeometry(0, &m).dr2D_Shtovhach_V1(20, 0, 0, 1, r71, 2.5, r72, 3.2, 2, x73, 30, 5, y71, g, y78,
                                               tl, tl == 1);
      const std::string what = "tl " + std::to_string(tl) + " length " + std::to_string(y71);
      EXPECT_TRUE(DrawingSound(m)) << what;
      const std::vector<TCurve> outline = OfStyle(m.Curves, 1);
      const TBox b = TRecordingModeler::Box(outline);
      EXPECT_EQ(b.y2, tl == 21 ? 0.0 : r72) << what;
      EXPECT_EQ(b.y1, tl % 10 == 0 || tl == 11 ? 0.0 : -r72) << what;
      const TCurve axis = OfStyle(m.Curves, 3).front();
      EXPECT_TRUE(axis.x1 == 20 + x73 - y71 - 2 && axis.x2 == 20 + x73 + 2) << what;
      ExpectClosedInOutlineMode(outline, tl, what);
      // The grade's face from the step's bottom to the end face's corner on the fit.
      const bool grade = std::any_of(outline.begin(), outline.end(), [&](const TCurve& c) {
        return c.x1 == 20 + x73 - g && c.y1 == y78 - r71 && c.x2 == 20 + x73 && c.y2 == -r71;
      });
      EXPECT_EQ(grade, tl == 1 || tl == 21) << what;
      for (const TCurve& c : outline)
        EXPECT_GE(std::min(c.y1, c.y2), -r72 - 1e-12) << what;
      EXPECT_EQ(m.Count("drDimHL") + m.Count("drDimVL"), tl == 1 ? 14 : 0) << what;
      // The grade is fixed by its length and depth: an angle of it would be a third size of it.
      EXPECT_EQ(m.Count("drDimApc"), 0) << what;
    }
}

// The safety lug: flats 22 long and 2f wide, f = sqrt(r90^2 - (y79/2)^2), the section through
// them hatched inside its own closed outline.
TEST(MachineElements, SafetyLugFlatsAndSection)
{
  for (const int tl : {0, 1}) {
    TRecordingModeler m;
    const TCommonGeometry g(0, &m);
    g.dr2D_LapkaZapobizna_V1(0, 0, 0, 1, 10, 6, 60, 20, 15, 16, 2, tl, true);
    EXPECT_TRUE(DrawingSound(m)) << tl;
    EXPECT_EQ(m.Hatches(), 1);
    EXPECT_EQ(m.Count("drRectAngle"), tl);
    const bool lowerHalf = std::any_of(m.Curves.begin(), m.Curves.end(), [](const TCurve& c) {
      return c.Style == 1 && c.y1 == -10 && c.y2 == -10;
    });
    EXPECT_EQ(lowerHalf, tl == 1);
    if (tl) {
      EXPECT_EQ(m.Of("drRectAngle")[0].A, (std::vector<double>{-36, -6, -14, 6, 1}));
    }
    // The end's chamfer is sized along the end face, clear of the section below.
    ASSERT_EQ(m.Count("drDimHL"), 6);
    const auto heights = m.Of("drDimVL");
    EXPECT_EQ(std::count_if(heights.begin(), heights.end(),
                            [](const auto& c) { return c.S[2] == TString("&04~45&01"); }),
              1);
    EXPECT_EQ(m.Of("drDimHL")[2].A[1], 17.0); // the flats' length, offset r90 + 13 - f
    ExpectClosedInOutlineMode(m.HatchBoundary(0), 0, "section");
    m.Reset();
    g.dr2D_LapkaZapobizna_Vo(0, 0, 0, 1, 10, 6, 60, 20, 15, 16, 2, tl, false);
    ExpectBox(m.Curves, -10, -11, 10, 11, "flats seen along the axis");
  }
}

// The message channel's running command, catching what the elements report.
class TBar : public TCommandLink
{
public:
  TBar() : Old(TMessager::SetCommandLink(this)) {}
  ~TBar() override { TMessager::SetCommandLink(Old); }
  bool Running() const override { return true; }
  void LiftBox(const TString&, int) override { ++Lines; }
  void StatusBox(const TString&, int) override {}
  int Lines = 0;
  TCommandLink* Old;
};

// Sizes whose geometry would hold a NaN or an infinity draw nothing and say so once.
TEST(MachineElements, SizesThatCannotBeDrawnReachNoModeller)
{
  const std::function<void(const TCommonGeometry&)> cases[] = {
      [](auto& g) { g.dr2D_GearsWheel_Ext_V2(0, 0, 0, 1, 2.5, 0, 0.4, 1, false); },
      [](auto& g) { g.dr2D_GearsWheel_Int_V2(0, 0, 0, 1, 2, 1e12, 0.4, 1, false); },
      [](auto& g) { g.dr2D_Screw_V1(0, 0, 0, 1e300, 16, 60, 20, 24, 10, 31, false); },
      [](auto& g) { g.dr3D_Screw(16, 60, 20, 1.7e308, 10, "b.tpt"); },
      [](auto& g) { g.drCVR_dV(20, -90, 0, 0, 3, 0.3, 0.5, "A", true); },
      // A tiny scale does not let sizes through whose squares overflow.
      [](auto& g) { g.dr2D_LapkaZapobizna_V1(0, 0, 0, 1e-300, 1e200, 6, 60, 20, 15, 16, 2, 1, true); }};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    TBar bar;
    TRecordingModeler m;
    cases[i](TCommonGeometry(0, &m));
    EXPECT_TRUE(m.Calls.empty()) << "case " << i << ": " << m.Ops();
    EXPECT_EQ(bar.Lines, 1) << "case " << i;
  }
}

// Any finite sizes, tiny or huge, of either sign: what reaches the modeller is finite and
// balanced, and an element draws nothing exactly when it says so.
TEST(MachineElements, AnyFiniteSizesReachTheModellerFinite)
{
  using TDraw = void (*)(TCommonGeometry&, const double*, int);
  const TDraw members[] = {
      [](auto& g, auto v, int tl) {
        g.dr2D_Screw_V1(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], tl, 0);
      },
      [](auto& g, auto v, int tl) { g.dr2D_Nut_V2(v[0], v[1], v[2], v[3], v[4], v[5], v[6], tl, false); },
      [](auto& g, auto v, int tl) { g.dr2D_Washer_V2(v[0], v[1], v[2], v[3], v[4], v[5], v[6], tl, false); },
      [](auto& g, auto v, int tl) {
        g.dr2D_GearsWheel_Ext_V2(v[0], v[1], v[2], v[3], v[4], v[5], v[6], tl, 0);
      },
      [](auto& g, auto v, int tl) {
        g.dr2D_GearsWheel_Int_V2(v[0], v[1], v[2], v[3], v[4], v[5], v[6], tl, 0);
      },
      [](auto& g, auto v, int) { g.dr3D_Screw(v[4], v[5], v[6], v[7], v[8], ""); },
      [](auto& g, auto v, int tl) { g.dr2D_Shtift_V1(v[0], v[1], v[2], v[3], v[4], v[5], tl, false, v[6]); },
      [](auto& g, auto v, int tl) {
        g.dr2D_SocketHeadCapScrew_V1(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11],
                                     tl, false);
      },
      [](auto& g, auto v, int tl) {
        g.dr2D_HexagonSocketSetScrew_V1(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], tl, false);
      },
      [](auto& g, auto v, int tl) {
        g.dr2D_Bolt7805_V1(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], tl, false);
      },
      [](auto& g, auto v, int tl) { g.dr2D_Nut_V3(v[0], v[1], v[2], v[3], v[4], v[5], v[6], tl, false); },
      [](auto& g, auto v, int) {
        g.dr3D_ScrewGost11738("", "", "", v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11]);
      },
      [](auto& g, auto v, int) { g.dr3D_Shajba("", "", "", v[4], v[5], v[6], v[7]); },
      [](auto& g, auto v, int) { g.drCVR_dV(v[0], v[1], v[2], v[3], v[4], v[5], v[6], "A", true); },
      [](auto& g, auto v, int tl) {
        g.dr2D_Shtovhach_V1(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12],
                            v[13], v[14], tl, true);
      },
      [](auto& g, auto v, int tl) {
        g.dr2D_LapkaZapobizna_V1(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], tl, true);
      }};
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> unit(0, 1), exponent(-300, 300);
  // Half the sizes within 10^-3..10^3, the rest anywhere; a tenth 0, a fifth negative.
  const auto size = [&] {
    const double u = unit(rng), e = exponent(rng) * (unit(rng) < 0.5 ? 0.01 : 1.0);
    return u < 0.1 ? 0.0 : (u < 0.3 ? -1.0 : 1.0) * std::pow(10.0, e);
  };
  for (std::size_t k = 0; k < std::size(members); ++k)
    for (int i = 0; i < 300; ++i) {
      double v[15];
      for (double& x : v)
        x = size();
      TBar bar;
      TRecordingModeler m;
      TCommonGeometry g(0, &m);
      members[k](g, v, i % 2 ? 31 : 0);
      std::string why;
      ASSERT_TRUE(m.AllFinite(&why) && m.Balanced(&why)) << "member " << k << " draw " << i << ": " << why;
      ASSERT_EQ(bar.Lines, m.Calls.empty() ? 1 : 0) << "member " << k << " draw " << i;
    }
}

} // namespace
