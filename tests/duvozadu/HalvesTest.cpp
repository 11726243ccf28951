// Each half of every coupling is the half of its own shaft and bore type. Over every catalogue row,
// its smallest and largest torque, two shafts of one torque group and every pair of bore types: a
// half built beside another shaft is the very half built beside its own shaft (in the 3D part and in
// the section), the designations name each diameter with its own type, and each half's modelled bore
// is its shaft's. Shafts no torque group holds are refused, and nothing is built.
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CouplingFixture.h"
#include "Duvozadu/CplgShared.h"

namespace {
using TCurve = TRecordingModeler::TCurve;

// A part as the modeller was told to build it: every call after its creation up to its save, and the
// radii its sketches reach.
struct TPart
{
  std::vector<std::pair<std::string, std::vector<double>>> Calls;
  std::vector<double> Radii;
};

// The half-couplings (or the parts whose name holds word) a 3D build made, by file name.
std::map<std::string, TPart> Halves(const TRecordingModeler& m, const char* word = "Полумуфта")
{
  std::map<std::string, TPart> out;
  TPart* part = nullptr;
  std::vector<TPart*> owner; // of each sketch
  for (const auto& c : m.Calls) {
    if (c.Op == "drCreate3D") {
      const std::string file = c.S[0].Utf8Text();
      part = file.substr(file.rfind('/') + 1).find(word) != std::string::npos ? &out[file] : nullptr;
      if (part) *part = TPart();
      continue;
    }
    if (c.Op == "drSave3D") part = nullptr;
    if (c.Op == "drPlaneEskis") owner.push_back(part);
    if (part) part->Calls.push_back({c.Op, c.A});
  }
  for (const auto& k : m.Curves)
    if (k.Sketch >= 0 && k.Sketch < int(owner.size()) && owner[std::size_t(k.Sketch)] && k.Style != 3)
      owner[std::size_t(k.Sketch)]->Radii.insert(owner[std::size_t(k.Sketch)]->Radii.end(),
                                                 {std::fabs(k.y1), std::fabs(k.y2)});
  return out;
}

// The hatched pieces of a section that lie on one side of the middle, each as its boundary's
// curves, rounded so that equal drawings compare equal. Pieces across the middle (an insert, a shell)
// belong to neither half; a half's jaw may reach past the middle, the half standing wholly on its side
// up to there.
using THatch = std::vector<std::vector<long long>>;
std::vector<THatch> Side(const TRecordingModeler& m, int sign)
{
  auto r = [](double v) { return std::llround(v * 1e6); };
  std::map<int, THatch> hatches;
  std::map<int, double> lo, hi; // how far each piece reaches to the other side and to its own
  for (const auto& k : m.Curves) {
    if (k.Hatch < 0 || k.Style == 3) continue;
    const double xs[] = {k.x1, k.x2, k.Kind == TCurve::Circle ? k.cx - k.r : k.x1,
                         k.Kind == TCurve::Circle ? k.cx + k.r : k.x2};
    if (!lo.count(k.Hatch)) lo[k.Hatch] = hi[k.Hatch] = xs[0] * sign;
    for (double x : xs) {
      lo[k.Hatch] = std::min(lo[k.Hatch], x * sign);
      hi[k.Hatch] = std::max(hi[k.Hatch], x * sign);
    }
    hatches[k.Hatch].push_back({int(k.Kind), r(k.x1), r(k.y1), r(k.x2), r(k.y2), r(k.cx), r(k.cy), r(k.r)});
  }
  std::vector<THatch> out;
  for (auto& [h, curves] : hatches)
    // A piece may stand against the middle; one reaching past it stands mostly on its side.
    if (lo[h] > -1e-6 || lo[h] + hi[h] > 2 * std::fabs(lo[h])) {
      std::sort(curves.begin(), curves.end());
      out.push_back(curves);
    }
  std::sort(out.begin(), out.end());
  return out;
}

std::string Num(double v)
{
  return TString(v, 2, true, 7).Utf8Text();
}

// The designations as the entry and the assembly must read: each diameter followed by its own type.
std::string Sizes(double m, double d1, int t1, double d2, int t2)
{
  std::string s = Num(m) + "-" + std::to_string(int(d1));
  if (d1 != d2 || t1 != t2) s += "-" + std::to_string(t1 + 1) + "-" + std::to_string(int(d2));
  return s + "-" + std::to_string(t2 + 1) + "-";
}

class CouplingHalves : public CouplingTest
{
protected:
  // A build of the row in the mode for one pair of shafts and types; false when refused.
  bool Build(const TString& row, int mode, double m, double d1, double d2, int t1, int t2)
  {
    Model(m, d1, d2, t1, t2);
    M.Reset();
    return Couplings.drCoupling(row, mode);
  }
};
} // namespace

TEST_F(CouplingHalves, EachHalfIsItsOwnShaftsAndTypesIn2DAnd3D)
{
  int checked = 0;
  for (int k = 0; k < CountCoupling; ++k) {
    const TString row = iCouplings[k].Name;
    std::unique_ptr<TTable> main(TextBase.GetTable(TString(iCouplings[k].LTable[1])));
    ASSERT_TRUE(main);
    std::vector<std::pair<int, int>> groups;
    for (int i = 0; i < main->CountRow; ++i)
      if (i == 0 || main->Row(i)[0] != main->Row(i - 1)[0])
        groups.push_back({i, i});
      else
        groups.back().second = i;
    for (auto [first, last] : {groups.front(), groups.back()}) {
      const double m = main->Row(first)[0], d1 = main->Row(first)[main->Control],
                   d2 = main->Row(last)[main->Control];
      // The halves of one shaft and type, built with both halves alike: the references.
      std::map<std::pair<double, int>, std::map<std::string, TPart>> own;
      std::map<std::pair<double, int>, std::vector<THatch>> left, right;
      for (double d : {d1, d2})
        for (int t = 0; t < 4; ++t) {
          ASSERT_TRUE(Build(row, 0, m, d, d, t, t));
          own[{d, t}] = Halves(M);
          ASSERT_TRUE(Build(row, 1, m, d, d, t, t));
          left[{d, t}] = Side(M, -1);
          right[{d, t}] = Side(M, 1);
        }
      for (int t1 = 0; t1 < 4; ++t1)
        for (int t2 = 0; t2 < 4; ++t2) {
          SCOPED_TRACE(::testing::Message() << row.Utf8Text() << " M " << m << " shafts " << d1 << "/" << d2
                                            << " types " << t1 << "/" << t2);
          // 3D: two halves (one, placed twice, is enough when shafts and types agree), each the half of
          // its own shaft and type, its bore its shaft's.
          ASSERT_TRUE(Build(row, 0, m, d1, d2, t1, t2));
          EXPECT_EQ(ControlModel.M, m);
          const std::string sizes = Sizes(m, d1, t1, d2, t2);
          EXPECT_NE(ControlModel.CodeDet().Utf8Text().find("Муфта-" + sizes), std::string::npos)
              << ControlModel.CodeDet().Utf8Text();
          EXPECT_NE(ControlModel.MainName().Utf8Text().find(sizes), std::string::npos)
              << ControlModel.MainName().Utf8Text();
          const auto halves = Halves(M);
          const std::size_t twins = own[{d1, t1}].size();
          ASSERT_EQ(halves.size(), d1 == d2 && t1 == t2 ? twins : 2u);
          int ofFirst = 0, ofSecond = 0;
          for (const auto& half : halves) {
            // Named references, not a structured binding: clang (the fuzz build) does not let a lambda capture one.
            const auto& file = half.first;
            const auto& part = half.second;
            SCOPED_TRACE(file);
            // One half built twice is named as the first: halves are matched by what they are, and
            // then their names checked.
            auto same = [&](double d, int t) {
              const std::string tag = "-" + std::to_string(int(d)) + "-" + std::to_string(t + 1) + "-";
              return file.find(tag) != std::string::npos &&
                     std::any_of(own[{d, t}].begin(), own[{d, t}].end(),
                                 [&](const auto& o) { return o.second.Calls == part.Calls; });
            };
            const bool first = same(d1, t1), second = same(d2, t2);
            EXPECT_TRUE(first || second) << "a half of neither shaft";
            ofFirst += first;
            ofSecond += second;
            const double d = first ? d1 : d2;
            EXPECT_TRUE(std::any_of(part.Radii.begin(), part.Radii.end(),
                                    [&](double r) { return std::fabs(r - d / 2) < 1e-9; }))
                << "no bore of " << d;
          }
          EXPECT_GE(ofFirst, 1);
          EXPECT_GE(ofSecond, 1);

          // The section: one side the first shaft's half as drawn beside its own, the other side the
          // second's.
          ASSERT_TRUE(Build(row, 1, m, d1, d2, t1, t2));
          EXPECT_NE(ControlModel.MainName().Utf8Text().find(sizes), std::string::npos);
          const auto l = Side(M, -1), r = Side(M, 1);
          const bool firstLeft = l == left[{d1, t1}] && r == right[{d2, t2}];
          const bool firstRight = r == right[{d1, t1}] && l == left[{d2, t2}];
          // Each side's half is drawn with its own shaft's bore.
          auto reaches = [](const std::vector<THatch>& side, double d) {
            const long long y = std::llround(d / 2 * 1e6);
            for (const THatch& h : side)
              for (const auto& c : h)
                if (std::llabs(c[2]) == y || std::llabs(c[4]) == y) return true;
            return false;
          };
          EXPECT_TRUE(reaches(firstRight ? r : l, d1) && reaches(firstRight ? l : r, d2)) << "a bore not drawn";
          EXPECT_TRUE(firstLeft || firstRight)
              << "a side drawn with the other shaft or type: " << (l == left[{d1, t1}])
              << (r == right[{d2, t2}]) << (r == right[{d1, t1}]) << (l == left[{d2, t2}]);
          ASSERT_TRUE(Build(row, 2, m, d1, d2, t1, t2));
          EXPECT_TRUE(DrawingSound(M));
          ++checked;
        }
    }
  }
  EXPECT_EQ(checked, CountCoupling * 2 * 16);
}

TEST_F(CouplingHalves, ShaftsNoGroupHoldsAreRefusedAndNothingIsBuilt)
{
  for (int k = 0; k < CountCoupling; ++k) {
    const TString row = iCouplings[k].Name;
    std::unique_ptr<TTable> main(TextBase.GetTable(TString(iCouplings[k].LTable[1])));
    ASSERT_TRUE(main);
    // The thinnest shaft of the smallest size and the thickest of the largest: no size takes both,
    // and "*" must not give the thin shaft a bore of the large size.
    const double lo = main->Row(0)[main->Control], hi = main->Row(main->CountRow - 1)[main->Control];
    for (int mode = 0; mode < 3; ++mode)
      for (auto [d1, d2] : {std::pair{lo, hi}, std::pair{hi, lo}, std::pair{lo - 1, lo - 1}}) {
        SCOPED_TRACE(::testing::Message() << row.Utf8Text() << " " << d1 << "/" << d2 << " mode " << mode);
        Log.Texts.clear();
        EXPECT_FALSE(Build(row, mode, 0.0, d1, d2, 0, 0));
        EXPECT_TRUE(M.Calls.empty()) << M.Ops();
        ASSERT_EQ(Log.Texts.size(), 1u);
        EXPECT_EQ(Log.Texts[0].rfind("Нет размера муфты для валов ", 0), 0u) << Log.Texts[0];
      }
  }
}

// The toroidal coupling's rings reach down to the shaft: each side's ring and half-ring are its own
// shaft's, the second shaft's placed on the second half's side.
TEST_F(CouplingHalves, EachSideOfTheToroidalCouplingHasItsOwnRings)
{
  const TString row("Торообразная ГОСТ Р 50892-96");
  ASSERT_TRUE(Build(row, 0, 20, 14, 18, 0, 0));
  const auto rings = Halves(M, "Кольцо");
  ASSERT_EQ(rings.size(), 4u) << "a ring and a half-ring for each shaft";
  for (const auto& [file, part] : rings) {
    const double d = file.find("-14-") != std::string::npos ? 14 : 18;
    EXPECT_NE(file.find("-" + std::to_string(int(d)) + "-"), std::string::npos) << file;
    EXPECT_TRUE(std::any_of(part.Radii.begin(), part.Radii.end(), [&](double r) { return r == d / 2; })) << file;
  }
  // Placed as they are on the second half's side, turned on the first's.
  for (const auto& c : M.Calls) {
    if ((c.Op != "AddDetailFile" && c.Op != "AddDetailAxleFile") || !rings.count(c.S[0].Utf8Text())) continue;
    const bool turned = c.Op == "AddDetailAxleFile";
    EXPECT_NE(c.S[0].Utf8Text().find(turned ? "-14-" : "-18-"), std::string::npos) << c.S[0].Utf8Text();
  }
}
