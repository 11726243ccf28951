// Every profile of the guide parts, the sleeve, the stop pin, the fitting and the clamp, drawn with
// each drawing code, sizes on and off, on the recording modeller.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "RecordingModeler.h"
#include "hxcadkit/stdparts/MathDetailsl.h"
#include "tests/TestNames.h"

namespace {

struct ProfileCase
{
  const char* Name;
  // Whether tl 0 without sizes is a closed upper half with its axis (not an end view).
  bool Half;
  std::function<void(TModeler3D&, int tl, bool isSize)> Draw;
};

void PrintTo(const ProfileCase& c, std::ostream* os)
{
  *os << c.Name;
}

const ProfileCase ProfileCases[] = {
    {"pillar", true,
     [](TModeler3D& m, int tl, bool s) {
       TSocketLeaderPin(0, &m, nullptr, nullptr)
           .dr2D_LeaderPin_V1(0, 0, 0, 1, 10, 12, 15, 8, 60, 20, 6, 16, tl, s, 0, 0, 0);
     }},
    {"pillar threaded with flats", true,
     [](TModeler3D& m, int tl, bool s) {
       TSocketLeaderPin(0, &m, nullptr, nullptr)
           .dr2D_LeaderPin_V1(5, 3, 30, 2, 10, 12, 15, 8, 60, 20, 6, 26, tl, s, 26, 5, 12);
     }},
    {"pillar without seat or fixed part", true,
     [](TModeler3D& m, int tl, bool s) {
       TSocketLeaderPin(0, &m, nullptr, nullptr)
           .dr2D_LeaderPin_V1(0, 0, 0, 1, 10, 10.3, 10.3, 2, 40, 0, 4, 0, tl, s, 0, 0, 0);
     }},
    {"pillar end views", false,
     [](TModeler3D& m, int tl, bool s) {
       TSocketLeaderPin(0, &m, nullptr, nullptr)
           .dr2D_KolonkaKriplennya_V2(-60, 0, 0, 1, 10, 12, 15, 0, 0, 0, 0, 0, tl, s, 26, 5, 0);
     }},
    {"collar bush", true,
     [](TModeler3D& m, int tl, bool s) {
       TDirectPlug(0, &m, TConstruktor::Empty())
           .dr2D_LeaderPinBushing_V1(0, 0, 0, 1, 8, 12.5, 15, 0, 6, 40, 40, tl, s, 23);
     }},
    {"bush with front and relief", true,
     [](TModeler3D& m, int tl, bool s) {
       TDirectPlug(0, &m, TConstruktor::Empty())
           .dr2D_LeaderPinBushing_V1(10, -5, 15, 1.5, 8, 12.5, 15, 2.5, 6, 40, 25, tl, s, 0);
     }},
    {"bush without collar", true,
     [](TModeler3D& m, int tl, bool s) {
       TDirectPlug(0, &m, TConstruktor::Empty())
           .dr2D_LeaderPinBushing_V1(0, 0, 0, 1, 8, 12.5, 15, 5, 0, 40, 40, tl, s, 0);
     }},
    {"sleeve tapped", true,
     [](TModeler3D& m, int tl, bool s) {
       TSocketLeaderPinLocatingSleeves(0, &m, nullptr, nullptr)
           .dr2D_V1(0, 0, 0, 1, 30, 0, 12, 10, 6, 10, 5, tl, s, 10);
     }},
    {"sleeve with collar, through bore", true,
     [](TModeler3D& m, int tl, bool s) {
       TSocketLeaderPinLocatingSleeves(0, &m, nullptr, nullptr)
           .dr2D_V1(0, 0, 0, 1, 30, 6, 0, 10, 6, 12, 5, tl, s, 0);
     }},
    {"sleeve end view", false,
     [](TModeler3D& m, int tl, bool s) {
       TSocketLeaderPinLocatingSleeves(0, &m, nullptr, nullptr).dr2D_V2(0, 0, 0, 1, 16, 10, 6, 10, 5, tl, s);
     }},
    {"sleeve collar cut", false,
     [](TModeler3D& m, int tl, bool s) {
       TSocketLeaderPinLocatingSleeves(0, &m, nullptr, nullptr).dr2D_Vo(0, 0, 0, 1, 16, 6, 10, tl, s);
     }},
    {"stop pin", true,
     [](TModeler3D& m, int tl, bool s) {
       TStopPin(0, &m, nullptr).dr2D_GrybkovaOpora_V1(0, 0, 0, 0, 1, 12, 8, 6, 30, 2, tl, s);
     }},
    {"fitting", true,
     [](TModeler3D& m, int tl, bool s) {
       TFitting f(0, &m);
       f.dr2D_Shtucer_V1(0, 0, 0, 1, f.r1, f.r2, f.r3, f.r4, f.l, tl, s);
     }},
    {"fitting end view", false,
     [](TModeler3D& m, int, bool) {
       TFitting f(0, &m);
       f.drShtucerVo(0, 0, 0, 1, f.r1, f.r2, f.r3, f.r4, f.l);
     }},
    {"clamp prisms", false,
     [](TModeler3D& m, int tl, bool s) {
       TClamper c(0, &m);
       c.drPryzymPlan(0, 0, 0, 1, tl, s);
       c.drPryzymRozr(0, 0, 0, 1, tl, s);
       c.drPryzymRozrPrav(0, 0, 0, 1, s);
     }},
};

class GuideProfiles : public ::testing::TestWithParam<ProfileCase>
{
};

TEST_P(GuideProfiles, EveryCodeDrawsSoundlyAndHatchesClose)
{
  for (int tl : {0, 1, 11, 21, 31})
    for (bool isSize : {false, true}) {
      SCOPED_TRACE("tl " + std::to_string(tl) + (isSize ? " with sizes" : ""));
      TRecordingModeler m;
      GetParam().Draw(m, tl, isSize);
      EXPECT_TRUE(DrawingSound(m));
      if (!isSize) {
        EXPECT_EQ(m.Count("drDimHL") + m.Count("drDimVL") + m.Count("drDimVL2"), 0);
      }
    }
}

// What a sketch receives: one closed half above its one axis.
TEST_P(GuideProfiles, TheBareOutlineIsOneClosedHalfWithOneAxis)
{
  if (!GetParam().Half) GTEST_SKIP() << "an end view";
  TRecordingModeler m;
  m.NewPartPlaneAnswer = true;
  ASSERT_TRUE(m.drCreate3DNewPartPlane(0, 0, true, txapi::o3d_planeYOZ, 0.0));
  GetParam().Draw(m, 0, false);
  m.drBaseRotate(0, 360.0);
  EXPECT_TRUE(DrawingSound(m));
  const auto sketch = m.SketchProfile(0);
  int axes = 0;
  for (const auto& c : sketch)
    if (c.Style == 3) ++axes;
  EXPECT_EQ(axes, 1);
  const auto outline = TRecordingModeler::Outline(sketch);
  ASSERT_FALSE(outline.empty());
  EXPECT_EQ(outline.size() + axes, sketch.size()) << "no auxiliary lines in a sketch";
  const auto box = TRecordingModeler::Box(outline);
  // Placed profiles are not all on the X axis; the unplaced ones are checked for their half.
  if (std::string(GetParam().Name).find("front") == std::string::npos &&
      std::string(GetParam().Name).find("threaded") == std::string::npos) {
    EXPECT_GE(box.y1, -1e-9);
  }
  EXPECT_EQ(m.Hatches(), 0);
}

INSTANTIATE_TEST_SUITE_P(All, GuideProfiles, ::testing::ValuesIn(ProfileCases), hxcad::test::CaseNames());

} // namespace
