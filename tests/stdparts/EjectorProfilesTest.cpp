// The half profiles of the ejector pin, sprue bush, locating ring, ejector rod, support washer,
// set screw, ejector plug and centring bush: every drawing code with and without sizes, hostile
// sizes, and the shapes each profile promises.
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RecordingModeler.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/stdparts/MathDetailsl.h"
#include "tests/TestNames.h"

namespace {

using TCurves = std::vector<TRecordingModeler::TCurve>;

// The message channel's running command, counting the profiles' refusals.
class TRefusals : public TCommandLink
{
public:
  TRefusals() : Old(TMessager::SetCommandLink(this)) {}
  ~TRefusals() override { TMessager::SetCommandLink(Old); }
  bool Running() const override { return true; }
  void LiftBox(const TString&, int) override { ++Count; }
  void StatusBox(const TString&, int) override {}
  int Count = 0;
  TCommandLink* Old;
};

// One profile: its sizes (after the placement), drawn at a placement with a code and a flag.
struct TProfile
{
  std::string Name;
  std::vector<double> Sizes;
  std::function<void(TModeler3D*, const double* p, const std::vector<double>& s, int tl, bool isSize)> Draw;
  bool Revolved = true; // one closed upper half with its axis at tl 0
};

void PrintTo(const TProfile& p, std::ostream* os)
{
  *os << p.Name;
}

TConstruktor& Designer()
{
  return TConstruktor::Empty();
}

const std::vector<TProfile>& Profiles()
{
  static const std::vector<TProfile> profiles = {
      {"EjectorPin",
       {3, 6, 6, 0.5, 100},
       [](TModeler3D* M, const double* p, const std::vector<double>& s, int tl, bool isSize) {
         TEjectorPin(M, Designer()).dr2D_V1(p[0], p[1], p[2], p[3], s[0], s[1], s[2], s[3], s[4], tl, isSize);
       }},
      {"SprueBush",
       {15, 2.5, 40, 17, 60, 80, 10, 4, 3},
       [](TModeler3D* M, const double* p, const std::vector<double>& s, int tl, bool isSize) {
         TInjectPlug(0, M, Designer())
             .dr2D_V1(p[0], p[1], p[2], p[3], s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7], tl, isSize,
                      s[8]);
       }},
      {"LocatingRing",
       {40, 50, 18, 8, 45, 5, 15, 42, 3.5, 5.5, 3, 6},
       [](TModeler3D* M, const double* p, const std::vector<double>& s, int tl, bool isSize) {
         TLocatingRing(0, 0, M, nullptr, nullptr)
             .dr2D_LocatingRing_V1(p[0], p[1], p[2], p[3], s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7],
                                   s[8], s[9], s[10], s[11], tl, isSize);
       }},
      {"EjectorRod",
       {10, 5, 15, 18, 20, 16, 120},
       [](TModeler3D* M, const double* p, const std::vector<double>& s, int tl, bool isSize) {
         TMTail(0, M, Designer())
             .dr2D_EjectorRod_V1(p[0], p[1], p[2], p[3], s[0], s[1], s[2], s[3], s[4], s[5], s[6], tl,
                                 isSize);
       }},
      {"EjectorRodFlats",
       {10, 5, 15, 18, 20, 16, 120},
       [](TModeler3D* M, const double* p, const std::vector<double>& s, int tl, bool isSize) {
         TMTail(0, M, Designer())
             .dr2D_EjectorRod_V3(p[0], p[1], p[2], p[3], s[0], s[1], s[2], s[3], s[4], s[5], s[6], tl,
                                 isSize);
       },
       false},
      {"Shank",
       {15, 12, 10, 6, 3, 10, 8, 100, 20, 17, 10, 3, 3, 4},
       [](TModeler3D* M, const double* p, const std::vector<double>& s, int tl, bool isSize) {
         TMTail(0, M, Designer())
             .dr2D_V1(p[0], p[1], p[2], p[3], s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7], s[8], s[9],
                      s[10], s[11], s[12], s[13], tl, isSize);
       }},
      {"SupportWasher",
       {5, 9, 30, 18, 9, 5.5, 14},
       [](TModeler3D* M, const double* p, const std::vector<double>& s, int tl, bool isSize) {
         TSupportWasher(0, M, nullptr)
             .dr2D_ShajbaOporna_V1(p[0], p[1], p[2], p[3], s[0], s[1], s[2], s[3], s[4], s[5], s[6], tl,
                                   isSize);
       }},
      {"SetScrew",
       {5, 8, 40, 6, 5},
       [](TModeler3D* M, const double* p, const std::vector<double>& s, int tl, bool isSize) {
         TSetScrew(0, M, Designer())
             .dr2D_V1(p[0], p[1], p[2], p[3], s[0], s[1], s[2], s[3], s[4], tl, isSize);
       }},
      {"EjectorPlug",
       {16, 5, 4, 4.1, 12, 20, 10, 5, 50},
       [](TModeler3D* M, const double* p, const std::vector<double>& s, int tl, bool isSize) {
         TEjectorPlug(0, M, Designer())
             .dr2D_V1(p[0], p[1], p[2], p[3], s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7], s[8], tl,
                      isSize);
       }},
      {"CentringBush",
       {10, 6, 20},
       [](TModeler3D* M, const double* p, const std::vector<double>& s, int tl, bool isSize) {
         TTubeDowel(0, M, Designer())
             .dr2D_VtulkaCentruucha_V1(p[0], p[1], p[2], p[3], s[0], s[1], s[2], tl, isSize);
       }},
  };
  return profiles;
}

const double Origin[4] = {0.0, 0.0, 0.0, 1.0};

int Dimensions(const TRecordingModeler& m)
{
  int n = 0;
  for (const auto& c : m.Calls)
    n += c.Op.rfind("drDim", 0) == 0 || c.Op == "drRough";
  return n;
}

int AxisLines(const TCurves& curves)
{
  int n = 0;
  for (const auto& c : curves)
    n += c.Kind == TRecordingModeler::TCurve::Line && c.Style == 3;
  return n;
}

class Profile : public ::testing::TestWithParam<TProfile>
{
protected:
  TRecordingModeler M;
};

// Every drawing code a caller uses, with and without sizes, at a turned and scaled placement:
// finite, balanced, every hatch closed; sizes only when asked for.
TEST_P(Profile, EveryCodeDrawsSound)
{
  const TProfile& p = GetParam();
  const double placed[4] = {120.0, -35.0, 30.0, 0.5};
  for (const int tl : {0, 1, 11, 21, 31})
    for (const bool isSize : {false, true}) {
      M.Reset();
      p.Draw(&M, placed, p.Sizes, tl, isSize);
      EXPECT_TRUE(DrawingSound(M)) << "tl " << tl << " sizes " << isSize;
      EXPECT_FALSE(M.Curves.empty()) << "tl " << tl;
      if (!isSize) {
        EXPECT_EQ(Dimensions(M), 0) << "tl " << tl;
      }
    }
}

// The sketch a model revolves: one closed outline above the axis and the axis line, drawn into
// a part's sketch (the flats of the rod: two rectangles and no axis).
TEST_P(Profile, CodeZeroIsTheClosedUpperHalf)
{
  const TProfile& p = GetParam();
  M.NewPartPlaneAnswer = true;
  ASSERT_TRUE(drMouldModel(M, 7, [&](TModeler3D& m) { p.Draw(&m, Origin, p.Sizes, 0, false); }));
  EXPECT_TRUE(DrawingSound(M));
  EXPECT_EQ(M.Hatches(), 0);
  const TCurves sketch = TRecordingModeler::Outline(M.SketchProfile(0));
  ASSERT_FALSE(sketch.empty());
  EXPECT_TRUE(TRecordingModeler::ClosedChain(sketch));
  const auto box = TRecordingModeler::Box(sketch);
  if (p.Revolved) {
    EXPECT_GE(box.y1, -1e-9) << "above the axis";
    EXPECT_EQ(AxisLines(M.Curves), 1);
  } else {
    EXPECT_EQ(AxisLines(M.Curves), 0);
    EXPECT_EQ(M.Count("drRectAngle"), 2);
  }
}

// Zero, negative, huge and NaN sizes, one at a time, and hostile placements: whatever reaches
// the modeller is finite and balanced; what cannot be drawn is refused whole, once.
TEST_P(Profile, HostileSizesSendNothingNonFinite)
{
  const TProfile& p = GetParam();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (std::size_t i = 0; i < p.Sizes.size(); ++i)
    for (const double v :
         {0.0, -p.Sizes[i], -1e6, 1e300, -1e300, nan, std::numeric_limits<double>::infinity()})
      for (const int tl : {0, 31}) {
        std::vector<double> s = p.Sizes;
        s[i] = v;
        TRefusals refusals;
        M.Reset();
        p.Draw(&M, Origin, s, tl, true);
        EXPECT_TRUE(DrawingSound(M)) << "size " << i << " = " << v << " tl " << tl;
        EXPECT_EQ(refusals.Count, M.Calls.empty() ? 1 : 0) << "size " << i << " = " << v;
      }
  const double placements[][4] = {
      {nan, 0, 0, 1}, {0, 0, nan, 1}, {0, 0, 0, 1e300}, {1e300, 0, 0, 1}, {0, 0, 0, 0}};
  for (const auto& placed : placements) {
    TRefusals refusals;
    M.Reset();
    p.Draw(&M, placed, p.Sizes, 31, true);
    EXPECT_TRUE(DrawingSound(M)) << placed[0] << " " << placed[2] << " " << placed[3];
  }
}

INSTANTIATE_TEST_SUITE_P(EveryProfile, Profile, ::testing::ValuesIn(Profiles()), hxcad::test::CaseNames());

const TProfile& Named(const std::string& name)
{
  for (const TProfile& p : Profiles())
    if (p.Name == name) return p;
  throw std::logic_error(name);
}

TEST(EjectorPinProfile, HeadBeforeTheOriginAndSizesOnlyWhenAsked)
{
  TRecordingModeler M;
  const TProfile& p = Named("EjectorPin");
  p.Draw(&M, Origin, p.Sizes, 1, false);
  EXPECT_EQ(Dimensions(M), 0) << "no sizes in a sketch that is revolved";
  TCurves outline = TRecordingModeler::Outline(M.Curves);
  auto box = TRecordingModeler::Box(outline);
  EXPECT_DOUBLE_EQ(box.x1, -6.0);
  EXPECT_DOUBLE_EQ(box.x2, 94.0);
  EXPECT_DOUBLE_EQ(box.y2, 6.0);
  for (const auto& c : M.Curves)
    if (c.Style == 3) {
      EXPECT_DOUBLE_EQ(c.x1, -9.0);
      EXPECT_DOUBLE_EQ(c.x2, 97.0);
    }
  M.Reset();
  p.Draw(&M, Origin, p.Sizes, 1, true);
  EXPECT_EQ(M.Count("drDimVL") + M.Count("drDimHL"), 4);
  EXPECT_EQ(M.Count("drRough"), 1);
}

// The sprue's outer radius is at least 8 and its channel leaves at least 2.1 of wall, for any
// channel and taper: read back from the drawn channel line and the diameter dimension.
TEST(SprueBushProfile, WallNeverThinnerThanItsLimits)
{
  const TProfile& p = Named("SprueBush");
  for (const double r57 : {0.5, 2.5, 6.0, 9.0})
    for (const double A : {0.5, 3.0, 20.0, 90.0, 170.0, 181.0, 350.0})
      for (const double x70 : {30.0, 80.0, 200.0}) {
        std::vector<double> s = p.Sizes;
        s[1] = r57;
        s[5] = x70;
        s[4] = x70 - 20.0;
        s[8] = A;
        TRecordingModeler M;
        const double placed[4] = {s[4] - s[5], 0.0, 0.0, 1.0}; // the part's own frame
        p.Draw(&M, placed, s, 1, true);
        ASSERT_TRUE(DrawingSound(M));
        double Rw = 0.0;
        for (const auto& c : M.Of("drDimVL2"))
          if (c.S[1] == TString("n6")) Rw = c.A[0] / 2.0;
        EXPECT_GE(Rw, 8.0);
        // The channel runs from the seat's opening (-x71, r57) towards (-x70, Rt).
        bool found = false;
        for (const auto& c : M.Curves)
          if (c.Kind == TRecordingModeler::TCurve::Line && c.Style == 1 && std::fabs(c.x1 + s[7]) < 1e-9 &&
              std::fabs(c.y1 - r57) < 1e-9 && c.x2 < c.x1) {
            const double Rt = c.y1 + (c.y2 - c.y1) / (c.x2 - c.x1) * (-x70 - c.x1);
            EXPECT_LE(Rt, Rw - 2.1 + 1e-9) << r57 << " " << A << " " << x70;
            found = true;
            break;
          }
        EXPECT_TRUE(found) << r57 << " " << A << " " << x70;
      }
}

// A taper whose half-angle has no sine or tangent has no apex: no angle dimension.
TEST(SprueBushProfile, NoTaperAngleWithoutAnApex)
{
  const TProfile& p = Named("SprueBush");
  for (const double A : {0.0, 3.0, 180.0, 360.0}) {
    std::vector<double> s = p.Sizes;
    s[8] = A;
    TRecordingModeler M;
    p.Draw(&M, Origin, s, 1, true);
    EXPECT_TRUE(DrawingSound(M)) << A;
    EXPECT_EQ(M.Count("drDimApc"), A == 0.0 ? 0 : 1) << A;
  }
}

// The front corner: a 0.5 chamfer without a shoulder, a 0.5 fillet under one; the bore straight
// and without its angle for an entry angle that makes no cone; no second angle for t = 0.
TEST(LocatingRingProfile, CornersBoreAndAngles)
{
  const TProfile& p = Named("LocatingRing");
  const struct
  {
    double RBase, sh, t, a;
    int Fillets, Angles;
  } cases[] = {{40, 5, 8, 45, 1, 2},
               {50, 5, 8, 45, 0, 2},
               {40, 0, 8, 45, 0, 2},
               {40, 5, 0, 45, 1, 1},
               {40, 5, 8, 0, 1, 1},
               {40, 5, 8, 180, 1, 1},
               {40, 5, 8, -30, 1, 1},
               {40, 5, 8, 270, 1, 1},
               {40, 5, 8, std::numeric_limits<double>::quiet_NaN(), 1, 1}};
  for (const auto& c : cases) {
    std::vector<double> s = p.Sizes;
    s[0] = c.RBase;
    s[5] = c.sh;
    s[3] = c.t;
    s[4] = c.a;
    TRecordingModeler M;
    M.NewPartPlaneAnswer = true;
    drMouldModel(M, 1, [&](TModeler3D& m) { p.Draw(&m, Origin, s, 0, false); });
    EXPECT_TRUE(DrawingSound(M)) << c.RBase << " " << c.sh;
    EXPECT_EQ(M.Count("drCLL") == 1, c.Fillets == 1);
    EXPECT_EQ(M.Count("drFsk"), 1 - c.Fillets);
    // The bore's far end: widened by (T - t) / tan a, or not at all.
    const bool cone = c.a > 0.0 && c.a < 180.0;
    bool seen = false;
    for (const auto& k : M.SketchProfile(0))
      if (std::fabs(k.x1 - 15.0) < 1e-9 && std::fabs(k.x2 - 15.0) < 1e-9 && k.Style == 1) {
        const double low = std::min(k.y1, k.y2);
        EXPECT_NEAR(low, cone ? 18.0 + (15.0 - c.t) / std::tan(c.a * M_PI / 180.0) : 18.0, 1e-9);
        seen = true;
      }
    EXPECT_TRUE(seen);
    M.Reset();
    p.Draw(&M, Origin, s, 31, true);
    EXPECT_EQ(M.Count("drDimApc"), c.Angles) << c.t << " " << c.a;
  }
}

TEST(EjectorRodProfile, FlatsAsWideAsTheRodReachTheAxis)
{
  const TProfile& p = Named("EjectorRodFlats");
  std::vector<double> s = p.Sizes;
  s[5] = 2.0 * s[0];
  TRecordingModeler M;
  p.Draw(&M, Origin, s, 1, false);
  const auto rects = M.Of("drRectAngle");
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ((std::vector<double>(rects[0].A.begin(), rects[0].A.begin() + 4)),
            (std::vector<double>{80.0, -10.0, 100.0, 0.0}));
  EXPECT_EQ((std::vector<double>(rects[1].A.begin(), rects[1].A.begin() + 4)),
            (std::vector<double>{80.0, 10.0, 100.0, 0.0}));
}

// Without a collar step no groove and none of its dimensions.
TEST(SupportWasherProfile, NoGrooveWithoutAStep)
{
  const TProfile& p = Named("SupportWasher");
  for (const double r1 : {14.0, 18.0}) {
    std::vector<double> s = p.Sizes;
    s[6] = r1;
    TRecordingModeler M;
    p.Draw(&M, Origin, s, 1, true);
    EXPECT_TRUE(DrawingSound(M));
    const bool step = r1 != s[3];
    EXPECT_EQ(M.Count("drCVR"), step ? 4 : 0) << "each half, drawn and as the hatch's boundary";
    const auto radii = M.Of("drDimR");
    ASSERT_EQ(radii.size(), 1u);
    EXPECT_EQ(radii[0].A[0], step ? 0.1 : 0.0);
    EXPECT_EQ(M.Of("drDimVL2")[3].A[0], step ? -28.0 : 0.0);
  }
}

// A seat of no length: the outline still closes, its zero dimension is left to the modeller.
TEST(EjectorPlugProfile, SeatOfNoLength)
{
  const TProfile& p = Named("EjectorPlug");
  std::vector<double> s = p.Sizes;
  s[6] = 0.0;
  TRecordingModeler M;
  M.NewPartPlaneAnswer = true;
  drMouldModel(M, 1, [&](TModeler3D& m) { p.Draw(&m, Origin, s, 0, false); });
  EXPECT_TRUE(DrawingSound(M));
  M.Reset();
  p.Draw(&M, Origin, s, 21, true);
  EXPECT_TRUE(DrawingSound(M));
  EXPECT_EQ(M.Hatches(), 1) << "both halves hatched: the tens digit is not read";
  int zero = 0;
  for (const auto& c : M.Of("drDimHL"))
    zero += c.A[0] == 0.0;
  EXPECT_EQ(zero, 1);
}

// Which halves each drawing code draws and what it hatches: the tens digit where the profile
// reads it; the set screw's sketch (tl 0) is its upper half alone; the sprue's seat arc crosses
// the channel only in a section of both halves.
TEST(ProfileCodes, HalvesHatchesAndSeat)
{
  const struct
  {
    const char* Name;
    int tl, Hatches, Seats;
    bool Upper, Lower;
  } rows[] = {{"SprueBush", 0, 0, 0, true, false},      {"SprueBush", 21, 0, 0, false, true},
              {"SprueBush", 1, 1, 1, true, true},       {"SprueBush", 11, 0, 0, true, false},
              {"LocatingRing", 1, 0, 0, true, false},   {"LocatingRing", 11, 1, 0, true, false},
              {"LocatingRing", 21, 1, 0, false, true},  {"LocatingRing", 31, 2, 0, true, true},
              {"SetScrew", 0, 0, 0, true, false},       {"SetScrew", 21, 0, 0, true, true},
              {"EjectorPlug", 0, 0, 0, true, false},    {"EjectorPlug", 21, 1, 0, true, true},
              {"CentringBush", 0, 0, 0, true, false},   {"CentringBush", 11, 1, 0, true, false},
              {"CentringBush", 21, 1, 0, false, true},  {"CentringBush", 1, 1, 0, true, true},
              {"SupportWasher", 21, 1, 0, false, true}, {"SupportWasher", 31, 1, 0, true, true}};
  for (const auto& r : rows) {
    const TProfile& p = Named(r.Name);
    TRecordingModeler M;
    p.Draw(&M, Origin, p.Sizes, r.tl, false);
    EXPECT_EQ(M.Hatches(), r.Hatches) << r.Name << " " << r.tl;
    int seats = 0;
    for (const auto& k : M.Curves)
      seats += k.Kind == TRecordingModeler::TCurve::Arc && k.y1 > 0.0 && k.y2 < 0.0;
    EXPECT_EQ(seats, r.Seats) << r.Name << " " << r.tl;
    const auto box = TRecordingModeler::Box(TRecordingModeler::Outline(M.Curves));
    EXPECT_EQ(box.y2 > 0.0, r.Upper) << r.Name << " " << r.tl;
    EXPECT_EQ(box.y1 < 0.0, r.Lower) << r.Name << " " << r.tl;
  }
}

} // namespace
