// Hatches stay closed whatever rows the text base holds: the base is a file users may edit, so the
// fasteners' circles are moved in towards the axis, putting bolts, pins, washers and nuts across the
// metal of hubs, barrels and fillets: every hatch boundary of every row's section still closes, or the
// fit rules refuse the row.
// Also the couplings' washer: seen from the side, its bore hidden.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <string>

#include "../txhost/TestSupport.h"
#include "CouplingFixture.h"
#include "Duvozadu/CplgShared.h"
#include "EditedBase.h"
#include "hxcadkit/core/TTable.h"
#include "tests/TestNames.h"

namespace {

namespace fs = std::filesystem;
using TCurve = TRecordingModeler::TCurve;

// Every end of a curve meets an odd number of other ends: each chain of the boundary closes.
::testing::AssertionResult Closed(const std::vector<TCurve>& curves)
{
  std::vector<std::pair<double, double>> ends;
  for (const TCurve& c : TRecordingModeler::Outline(curves))
    if (c.Kind == TCurve::Line || c.Kind == TCurve::Arc) {
      ends.push_back({c.x1, c.y1});
      ends.push_back({c.x2, c.y2});
    }
  for (const auto& [x, y] : ends) {
    const auto met = std::count_if(ends.begin(), ends.end(), [&](const auto& q) {
      return std::fabs(x - q.first) <= 1e-6 && std::fabs(y - q.second) <= 1e-6;
    });
    if (met % 2 != 0) return ::testing::AssertionFailure() << "open at " << x << ", " << y;
  }
  return ::testing::AssertionSuccess();
}

struct TMoved
{
  const char* Key;
  const char* Coupling;
  const char* TableName;
  int Column; // the diameter of the circle the fasteners stand on
};
void PrintTo(const TMoved& m, std::ostream* os)
{
  *os << m.Key;
}

const TMoved Moved[] = {
    {"muvp", MUVP, "МУВП", 5},
    {"flanged", "Фланцевая ГОСТ 20761-96", "Муфта фланцевая", 8},
    {"toothed", "Зубчатая ГОСТ Р 50895-96", "Муфта зубчатая", 18},
    {"toothed_flanged", "Зубчатая МЗП ГОСТ Р 50895-96", "Муфта зубчатая", 18},
    {"toroidal", "Торообразная ГОСТ Р 50892-96", "Муфта торообразная", 9},
};

class FastenersAcrossMetal : public CouplingTest, public ::testing::WithParamInterface<TMoved>
{
protected:
  void TearDown() override
  {
    ASSERT_TRUE(editedbase::Rebase(HXCAD_DUVOZADU_DATA));
    CouplingTest::TearDown();
  }
  txhost::test::TempDir Dir;
};

} // namespace

TEST_P(FastenersAcrossMetal, EveryHatchBoundaryCloses)
{
  const TMoved& c = GetParam();
  const std::u16string shipped = txhost::test::ReadUtf16(fs::path(HXCAD_DUVOZADU_DATA) / "VUVudirido.tb");
  int drawn = 0;
  // Moved in, the fasteners stand on the hubs' or barrels' metal: drawn with every hatch closed, or refused
  // by the fit rules, naming the table; as shipped, every row draws.
  for (const double k : {1.0, 0.85, 0.7}) {
    const std::u16string base =
        editedbase::Edited(shipped, c.TableName, c.Column, -1, [&](double v) { return v * k; });
    ASSERT_FALSE(base.empty());
    txhost::test::WriteUtf16(Dir / "VUVudirido.tb", base);
    ASSERT_TRUE(editedbase::Rebase(Dir.path().string() + "/"));
    std::unique_ptr<TTable> main(TextBase.GetTable(TString(c.TableName)));
    ASSERT_TRUE(main);
    for (int i = 0; i < main->CountRow; ++i) {
      const double* A = main->Row(i);
      const double d = A[main->Control];
      SCOPED_TRACE(::testing::Message() << "circle x " << k << ", row " << i << ", d " << d);
      Model(A[0], d, d, 2, 3);
      M.Reset();
      Log.Texts.clear();
      if (!Couplings.drCoupling(TString(c.Coupling), 1)) {
        EXPECT_NE(k, 1.0);
        ASSERT_EQ(Log.Texts.size(), 1u);
        EXPECT_NE(Log.Texts[0].find(c.TableName), std::string::npos) << Log.Texts[0];
        continue;
      }
      ++drawn;
      for (int h = 0; h < M.Hatches(); ++h) {
        ASSERT_TRUE(Closed(M.HatchBoundary(h))) << "hatch " << h;
      }
    }
  }
  EXPECT_GT(drawn, 0);
}

INSTANTIATE_TEST_SUITE_P(Couplings, FastenersAcrossMetal, ::testing::ValuesIn(Moved),
                         hxcad::test::CaseNames());

// The couplings' washer is seen from the side in section and view alike: a closed outline from its face
// to the rim, nothing at its bore, the axis 2 mm past both faces; a washer without a bore is refused.
TEST_F(CouplingTest, CouplingWasherIsSeenFromTheSide)
{
  const double D = 24, t = 3, y = 40;
  WasherInSide(M, -10, y, 180, 1, 13, D, t, 31);
  EXPECT_EQ(M.Count("drMacro2D"), 1);
  std::vector<TCurve> outline = TRecordingModeler::Outline(M.Curves);
  EXPECT_TRUE(TRecordingModeler::ClosedChain(outline));
  for (const TCurve& c : outline) {
    for (const double v : {c.y1, c.y2})
      EXPECT_TRUE(std::fabs(v - y) < 1e-9 || std::fabs(std::fabs(v - y) - D / 2) < 1e-9) << v;
    for (const double u : {c.x1, c.x2})
      EXPECT_TRUE(std::fabs(u + 10) < 1e-9 || std::fabs(u + 10 + t) < 1e-9) << u;
  }
  M.Reset();
  WasherInSide(M, -10, y, 180, 1, NAN, D, t, 31);
  EXPECT_TRUE(M.Curves.empty());
  EXPECT_EQ(Log.Texts.size(), 1u);
}

namespace {
class BaseEditedBetweenBuilds : public CouplingTest
{
protected:
  void TearDown() override
  {
    ASSERT_TRUE(editedbase::Rebase(HXCAD_DUVOZADU_DATA));
    CouplingTest::TearDown();
  }
  // The section of a mid-size coupling as drawn: every call with its values.
  std::string Section()
  {
    M.Reset();
    EXPECT_TRUE(Couplings.drCoupling(TString(MUVP), 1));
    std::string out;
    char value[32];
    for (const auto& c : M.Calls) {
      out += c.Op;
      for (const double a : c.A) {
        std::snprintf(value, sizeof value, " %.17g", a);
        out += value;
      }
      out += '\n';
    }
    return out;
  }
  txhost::test::TempDir Dir;
};
} // namespace

// Builds of one row one after another read the base as it stands at each: an edit of the file between two
// shows in the second as in a base read afresh, and tables a caller put in the row's place are read over.
TEST_F(BaseEditedBetweenBuilds, EachBuildDrawsTheTablesAsTheFileHoldsThem)
{
  const std::u16string shipped = txhost::test::ReadUtf16(fs::path(HXCAD_DUVOZADU_DATA) / "VUVudirido.tb");
  const fs::path file = Dir / "VUVudirido.tb";
  txhost::test::WriteUtf16(file, shipped);
  ASSERT_TRUE(editedbase::Rebase(Dir.path().string() + "/"));
  Model(31.5, 16, 16, 0, 2);
  const std::string before = Section();
  EXPECT_TRUE(Section() == before);
  // The couplings a little wider, written over the file the base keeps open.
  txhost::test::WriteUtf16(file,
                           editedbase::Edited(shipped, "МУВП", 2, -1, [](double v) { return v * 1.05; }));
  const std::string edited = Section();
  EXPECT_TRUE(edited != before) << "the edit does not show";
  EXPECT_TRUE(Section() == edited);
  ASSERT_TRUE(editedbase::Rebase(Dir.path().string() + "/"));
  EXPECT_TRUE(Section() == edited) << "not as a base read afresh draws it";
  std::unique_ptr<TTable> own(TextBase.GetTable(TString("МУВП")));
  ASSERT_TRUE(own);
  for (Integer r = 0; r < own->CountRow; ++r)
    own->Array[r * own->CountColumn + 5] *= 0.7;
  delete ATable[0];
  ATable[0] = own.release();
  EXPECT_TRUE(Section() == edited) << "the table put in the row's place was used";
  EXPECT_TRUE(Log.Texts.empty());
}
