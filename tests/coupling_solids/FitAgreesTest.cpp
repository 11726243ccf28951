// The tables' fit rules against the solids: an edited row the library accepts builds sound (no fault, every
// fastener seated), and one it refuses for pieces that overlap would have built unsound had it been built
// anyway (its builder run on the same tables without the check). Values on each side of each rule's edges,
// and every fastener count a user may write on every row of the couplings with fasteners round a circle: CI
// takes a few of them, scripts/geometry.sh (HXCAD_GEOMETRY_ROWS) every one, in shards run side by side
// (HXCAD_FIT_SHARD=k/n).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../duvozadu/EditedBase.h"
#include "../duvozadu/StandInFixture.h"
#include "txhost/solid/Evaluator.h"
#include "txhost/solid/Solid.h"

namespace {

class FitAgrees : public StandInCoupling
{
protected:
  void TearDown() override
  {
    ASSERT_TRUE(editedbase::Rebase(HXCAD_DUVOZADU_DATA));
    StandInCoupling::TearDown();
  }
  // Builds the coupling in 3D on row `row` of its main table (half 2 on the bore of row second) as the base
  // stands, through the catalogue or, with bypass, by its builder alone on the tables read unchecked; what
  // the evaluator finds wrong. The toothed couplings' hubs are not checked against their sleeves (their
  // gears' clash is minutes of modelling, and no fastener stands near it).
  std::vector<std::string> Build(int k, bool bypass, int row, int second)
  {
    const TCoupling& c = iCouplings[k];
    std::unique_ptr<TTable> main(TextBase.GetTable(c.NameTable(1)));
    if (!main) return {"no main table"};
    const double* A = main->Row(row);
    Model(A[0], A[main->Control], main->Row(second)[main->Control], 0, 0);
    if (!bypass) {
      if (!Couplings.drCoupling(c.Name, 0)) return {"refused"};
    } else {
      MakeUnchecked(k);
    }
    txhost::Object* doc = H.OpenDocument(ControlModel.Detail3D(0).Utf8Text(), false);
    if (!doc) return {"no assembly"};
    if (!Evaluator || ++Evaluations > 150) {
      Evaluator = std::make_unique<txhost::solid::TEvaluator>(H);
      Memo = std::make_unique<txhost::solid::TCheckMemo>();
      Evaluations = 0;
    }
    txhost::solid::TDocumentResult r;
    std::string error;
    if (!Evaluator->Evaluate(*doc, r, error, false)) return {error};
    std::vector<std::string> faults = txhost::solid::TEvaluator::Faults(r);
    // Two checks that between them meet every pair but a toothed hub ("Полумуфта-", "Полумуфта2-") and a
    // sleeve ("Обойма-"); a fastener is seated in what either finds it in.
    const bool gears = k == 3 || k == 4;
    auto named = [](const txhost::solid::TPlaced& p, const std::string& word) {
      return p.Name.starts_with(word + "-");
    };
    std::set<std::pair<std::size_t, std::size_t>> clashes, seats;
    for (const bool hubs : gears ? std::vector<bool>{false, true} : std::vector<bool>{true}) {
      std::vector<txhost::solid::TPlaced> placed;
      std::vector<std::size_t> at;
      for (std::size_t p = 0; p < r.Placed.size(); ++p) {
        const bool hub = named(r.Placed[p], "Полумуфта") || named(r.Placed[p], "Полумуфта2");
        if (!gears || (hubs ? !named(r.Placed[p], "Обойма") : !hub)) {
          placed.push_back(r.Placed[p]);
          at.push_back(p);
        }
      }
      txhost::solid::TCheckOptions options;
      options.Memo = Memo.get();
      const txhost::solid::TAssemblyResult checked = txhost::solid::CheckAssembly(placed, options);
      for (const txhost::solid::TClash& clash : checked.Clashes)
        if (clashes.insert({at[clash.A], at[clash.B]}).second)
          faults.push_back("clash: " + placed[clash.A].Name + " and " + placed[clash.B].Name);
      for (const txhost::solid::TUnchecked& u : checked.Unchecked)
        faults.push_back("not checked: " + placed[u.A].Name + " and " + placed[u.B].Name);
      for (const txhost::solid::TSeat& s : checked.Seats)
        seats.insert({at[s.Fastener], at[s.Part]});
    }
    for (std::size_t f = 0; f < r.Placed.size(); ++f) {
      if (!r.Placed[f].Fastener) continue;
      int seated = 0;
      for (const auto& seat : seats)
        seated += seat.first == f;
      if (seated < 2) faults.push_back(r.Placed[f].Name + " stands in " + std::to_string(seated) + " pieces");
    }
    H.CloseDocument(*doc);
    return faults;
  }
  std::unique_ptr<txhost::solid::TEvaluator> Evaluator;
  std::unique_ptr<txhost::solid::TCheckMemo> Memo;
  int Evaluations = 0;
  txhost::test::TempDir Base;
};

bool EveryValue()
{
  return std::getenv("HXCAD_GEOMETRY_ROWS") != nullptr;
}

// Whether the count sweep takes every row (HXCAD_GEOMETRY_ROWS=all) or, with every value, the first.
bool EveryCountRow()
{
  const char* v = std::getenv("HXCAD_GEOMETRY_ROWS");
  return v != nullptr && std::string(v) == "all";
}

} // namespace

TEST_F(FitAgrees, AcceptedRowsBuildSoundRefusedOnesWouldNot)
{
  struct TEdit
  {
    int Coupling;
    const char* Table;
    int Column;
    std::vector<double> Values; // CI the first two
    int Entry = 1;              // the table edited, in the coupling's list
    int Row = 0;                // the row edited, and the row whose bore half 2 takes
  };
  // Pins on D1 46 (bushings 19 wide: seven fit, eight do not);
  // the flanged coupling's bolt circle D1 moved in towards its hub (M8's washer 17 on a hub of 35 with its
  // fillet of 2, past the recess D3 20); the toroidal coupling's bolt circle D2 moved out towards the shell's
  // feet D1 60, and five bolts and a half on it (the sixth 32.7 degrees from the first); its bolts a thread
  // thinner, whose holes leave the half-ring no collar.
  const TEdit edits[] = {
      {1, "Муфта фланцевая", 8, {60, 50, 57, 54}},
      {0, "МУВП", 15, {7, 8, 4, 9}},
      {5, "Торообразная", 9, {48, 54, 50, 56}},
      {5, "Торообразная", 4, {5, 5.5}},
      {5, "Торообразная", 5, {8, 6}},
      // Six or eight teeth of the same width between the star's jaws: eight leave the jaws no room.
      {2, "Звездочка", 5, {6, 8}, 2},
      // The pins of the second row of a torque group, whose bore half 2 takes: three pins at 120 degrees
      // where half 1 has four holes.
      {0, "МУВП", 15, {4, 3}, 1, 1},
      // Toothed bolts of M14 and M16 on D0 140: their washers' edges 0.5 and 1.5 inside where the barrel's
      // fillet leaves the flange, sharing 0.04 mm3 with it (touching) and a clash.
      // Pins whose bushings stand past half 2's flange in their holes (gap B at 0 and 2, the cylinder 21 on a
      // flange of 18), and whose end stays inside the nut (flange 1 of 18.75 and 18.5 for 15).
      {0, "МУВП", 13, {0, 2}},
      {0, "МУВП", 10, {18.75, 18.5}},
      {3, "Муфта зубчатая", 19, {14, 16}},
      {4, "Муфта зубчатая", 19, {14, 16}},
  };
  for (const TEdit& e : edits) {
    if (!EveryValue() && &e != edits) break;
    const std::size_t n = EveryValue() ? e.Values.size() : 2;
    for (std::size_t v = 0; v < n; ++v) {
      const double value = e.Values[v];
      SCOPED_TRACE(::testing::Message() << e.Table << ", column " << e.Column << " at " << value);
      // The first row of a main table is edited with the rest of its torque group: the rows of a group
      // agree on what both halves share, and a build on the first row alone would not see the others.
      const char* table = iCouplings[e.Coupling].LTable[e.Entry];
      const std::unique_ptr<TTable> edited(TextBase.GetTable(TString(table)));
      ASSERT_TRUE(edited);
      std::u16string base = editedbase::Shipped();
      for (int r = 0; r < edited->CountRow; ++r)
        if (r == e.Row || (e.Entry == 1 && e.Row == 0 && edited->Row(r)[0] == edited->Row(0)[0]))
          base = editedbase::Edited(base, table, e.Column, r, [&](double) { return value; });
      ASSERT_TRUE(editedbase::UseBase(Base.path(), base));
      TString why;
      std::unique_ptr<TTable> accepted(Couplings.ReadMain(iCouplings[e.Coupling].Name, why));
      const std::vector<std::string> faults = Build(e.Coupling, !accepted, 0, e.Row);
      std::ostringstream all;
      for (const std::string& f : faults)
        all << "\n  " << f;
      if (accepted)
        EXPECT_TRUE(faults.empty()) << "accepted, and builds " << faults.size() << " faults:" << all.str();
      else
        EXPECT_FALSE(faults.empty()) << "refused (" << why.Utf8Text() << "), but builds sound";
    }
  }
}

namespace {
// The couplings with fasteners round a circle, by catalogue row, and the column of their count.
struct TCounted
{
  int Coupling, Column;
};
const TCounted CountedFasteners[] = {{0, 15}, {1, 6}, {3, 20}, {4, 20}, {5, 4}};

// This process's share of the cases: k of n.
std::pair<long, long> FitShard()
{
  const char* v = std::getenv("HXCAD_FIT_SHARD");
  long k = 0, n = 1;
  if (v == nullptr || std::sscanf(v, "%ld/%ld", &k, &n) != 2 || n < 1 || k < 0 || k >= n) return {0, 1};
  return {k, n};
}
} // namespace

// Every fastener count a user may write (0 to 12, and 4.5) on every row, written in every row of its torque
// group (the halves share their fasteners): accepted, it builds sound; refused, it is for pieces that
// overlap, said with by how much, and its builder run anyway builds them overlapping. CI takes the first
// row's counts that stand at the edge of what fits on it (the MUVP 6.3 with 7 and 8 pins).
TEST_F(FitAgrees, EveryFastenerCountBuildsSoundOrOverlaps)
{
  const auto [shard, shards] = FitShard();
  long index = 0, sound = 0, overlap = 0;
  // The clearance a refusal was said for: the last measured, which the rules stop at.
  static int wall;
  static double clear;
  FitGauge = [](int w, double c) { wall = w, clear = c; };
  // Row by row across the couplings, so that a part of the sweep has every coupling in it.
  int rows = 1;
  for (const TCounted& e : CountedFasteners)
    if (std::unique_ptr<TTable> main{TextBase.GetTable(iCouplings[e.Coupling].NameTable(1))};
        main && EveryCountRow())
      rows = std::max(rows, int(main->CountRow));
  for (int row = 0; row < rows; ++row)
    for (const TCounted& e : CountedFasteners) {
      if (!EveryValue() && e.Coupling != 0) break;
      const TCoupling& c = iCouplings[e.Coupling];
      std::unique_ptr<TTable> main(TextBase.GetTable(c.NameTable(1)));
      ASSERT_TRUE(main);
      if (row >= main->CountRow) continue;
      const double torque = main->Row(row)[0], shipped = main->Row(row)[e.Column];
      for (const double count : {0.0, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0, 10.0, 11.0, 12.0, 4.5}) {
        if (count == shipped || (!EveryValue() && count != 7.0 && count != 8.0) || index++ % shards != shard)
          continue;
        SCOPED_TRACE(::testing::Message()
                     << c.NameTable(1).Utf8Text() << ", row " << row + 1 << ": " << count);
        std::u16string base = editedbase::Shipped();
        for (int r = 0; r < main->CountRow; ++r)
          if (main->Row(r)[0] == torque)
            base = editedbase::Edited(base, c.LTable[1], e.Column, r, [&](double) { return count; });
        ASSERT_TRUE(editedbase::UseBase(Base.path(), base));
        wall = -1;
        TString why;
        std::unique_ptr<TTable> accepted(Couplings.ReadMain(c.Name, why));
        const std::vector<std::string> faults = Build(e.Coupling, !accepted, row, row);
        std::ostringstream all;
        for (const std::string& f : faults)
          all << "\n  " << f;
        std::fprintf(stderr, "%s\trow %d\t%g\t%s\t%zu faults\n", c.NameTable(1).Utf8Text().c_str(), row + 1,
                     count, accepted ? "accepted" : why.Utf8Text().c_str(), faults.size());
        if (accepted) {
          ++sound;
          EXPECT_TRUE(faults.empty()) << "accepted, and builds " << faults.size() << " faults:" << all.str();
          continue;
        }
        ++overlap;
        ASSERT_GE(wall, 0) << "refused for no clearance: " << why.Utf8Text();
        EXPECT_LT(clear, FitWalls[wall].Through ? 1e-6 : -1e-6) << why.Utf8Text();
        EXPECT_NE(why.Utf8Text().find(" на "), std::string::npos) << why.Utf8Text();
        EXPECT_FALSE(faults.empty()) << "refused (" << why.Utf8Text() << "), but builds sound";
      }
    }
  FitGauge = nullptr;
  std::printf("fastener counts: %ld accepted, %ld refused for overlapping pieces\n", sound, overlap);
}
