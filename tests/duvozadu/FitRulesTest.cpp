// The fit of the coupling tables across columns and tables: the shipped base passes every coupling's
// rules; one edit that would build pieces overlapping or fasteners standing in nothing (too many pins on
// their circle, bolts sunk into a barrel, a star of an odd count, a lookup that lands on another row, a
// keyway table that cannot be used, a negative length, a torque past every limit) is refused once in every
// mode, naming table, row and what does not fit, with nothing drawn or made.
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CouplingFixture.h"
#include "EditedBase.h"

namespace {

const char* const Keyways = "Шпоночный паз";

class FitRules : public CouplingTest
{
protected:
  void TearDown() override
  {
    ASSERT_TRUE(editedbase::Rebase(HXCAD_DUVOZADU_DATA));
    CouplingTest::TearDown();
  }
  // The base with one edit (column col of a table, one row or every row with row -1) in use.
  template <class F>::testing::AssertionResult Use(const std::string& table, int col, int row, F&& value)
  {
    if (editedbase::UseBase(Dir.path(), editedbase::Edited(editedbase::Shipped(), table, col, row, value)))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no table " << table;
  }
  // The coupling of catalogue row k, built at the torque and bore of row i of its main table (as the base
  // stands), is refused in every mode with exactly the one message why, with nothing drawn or made; a
  // message that names no more than the table and the row is expected as such.
  ::testing::AssertionResult Refused(int k, int i, const std::string& why)
  {
    std::unique_ptr<TTable> main(TextBase.GetTable(iCouplings[k].NameTable(1)));
    if (!main || i >= main->CountRow) return ::testing::AssertionFailure() << "no row " << i;
    const double* A = main->Row(i);
    const double m = A[0], d = A[main->Control];
    for (int mode : {0, 1, 2}) {
      Model(m, d, d, 0, 0);
      M.Reset();
      Log.Texts.clear();
      if (Couplings.drCoupling(iCouplings[k].Name, mode))
        return ::testing::AssertionFailure() << "built in mode " << mode;
      if (Log.Texts != std::vector<std::string>{why})
        return ::testing::AssertionFailure()
               << "mode " << mode << " said " << ::testing::PrintToString(Log.Texts);
      if (!M.Calls.empty()) return ::testing::AssertionFailure() << "mode " << mode << " drew " << M.Ops();
    }
    // The panel hears of it when the coupling is chosen, in the same words.
    TString said;
    std::unique_ptr<TTable> read(Couplings.ReadMain(iCouplings[k].Name, said));
    if (read || said.Utf8Text() != why) return ::testing::AssertionFailure() << "chosen: " << said.Utf8Text();
    return ::testing::AssertionSuccess();
  }
  // The base with column col at v in every row of the torque group of the given torque (whose halves share
  // it), as the shipped base stands otherwise; false without such a row.
  bool UseGroup(const char* table, int col, double torque, double v)
  {
    std::unique_ptr<TTable> t(
        editedbase::UseBase(Dir.path(), editedbase::Shipped()) ? TextBase.GetTable(TString(table)) : nullptr);
    std::u16string base = editedbase::Shipped();
    bool any = false;
    for (int r = 0; t && r < t->CountRow; ++r)
      if (t->Row(r)[0] == torque) {
        base = editedbase::Edited(base, table, col, r, [&](double) { return v; });
        any = true;
      }
    return any && editedbase::UseBase(Dir.path(), base);
  }
  // The coupling of catalogue row k built at the torque and bore of row i of its main table, in section and
  // view, without a word.
  ::testing::AssertionResult Built(int k, int i)
  {
    std::unique_ptr<TTable> main(TextBase.GetTable(iCouplings[k].NameTable(1)));
    if (!main || i >= main->CountRow) return ::testing::AssertionFailure() << "no row " << i;
    for (int mode : {1, 2}) {
      Model(main->Row(i)[0], main->Row(i)[main->Control], main->Row(i)[main->Control], 0, 0);
      M.Reset();
      Log.Texts.clear();
      if (!Couplings.drCoupling(iCouplings[k].Name, mode) || !Log.Texts.empty())
        return ::testing::AssertionFailure()
               << "mode " << mode << " said " << ::testing::PrintToString(Log.Texts);
    }
    return ::testing::AssertionSuccess();
  }
  // The first row (from 0) of a main table holding the value v in column col.
  static int RowWith(const char* table, int col, double v)
  {
    std::unique_ptr<TTable> t(TextBase.GetTable(TString(table)));
    for (int i = 0; t && i < t->CountRow; ++i)
      if (t->Row(i)[col] == v) return i;
    return -1;
  }
  static std::string At(const std::string& table, int row)
  {
    return "Неверное значение в таблице " + table + ", строка " + std::to_string(row + 1);
  }
  txhost::test::TempDir Dir;
};

// The library's rules over the shipped base: every coupling's tables are read whole and fit.
TEST_F(FitRules, TheShippedBaseFits)
{
  for (int k = 0; k < CountCoupling; ++k) {
    ASSERT_TRUE(iCouplings[k].Fit) << k;
    TString why;
    std::unique_ptr<TTable> main(Couplings.ReadMain(iCouplings[k].Name, why));
    EXPECT_TRUE(main) << iCouplings[k].Name.Utf8Text() << ": " << why.Utf8Text();
  }
}

// Fasteners that do not fit on their circle, or sink into the barrel beside them: refused with by how much
// the pieces overlap.
TEST_F(FitRules, FastenersOffTheirCircleAreRefused)
{
  // Nine pins of bushing 19 on D1 46 stand 15.73 apart.
  ASSERT_TRUE(Use("МУВП", 15, 0, [](double) { return 9.0; }));
  EXPECT_TRUE(Refused(
      0, 0, At("МУВП", 0) + ": 9 пальцев не помещаются на D1 46: соседние заходят друг на друга на 3.27"));

  // A fractional count places its last bolt nearer the first: 5.5 toroidal bolts stand 32.7 degrees apart
  // there, their heads (across flats 13, turned alike) 0.48 into each other on D2 48.
  ASSERT_TRUE(Use("Муфта торообразная", 4, 0, [](double) { return 5.5; }));
  EXPECT_TRUE(Refused(5, 0,
                      At("Муфта торообразная", 0) +
                          ": 5.5 болта не помещаются на D2 48: соседние заходят друг на друга на 0.48"));

  // The 1000 sleeve-and-pin coupling's hub d1 a quarter wider (150, its fillet 2): half 2's holes for the
  // bushings run 7 into its hub, which the view draws across the bushings.
  ASSERT_TRUE(Use("МУВП", 7, 31, [](double v) { return v * 1.25; }));
  EXPECT_TRUE(Refused(0, 31, At("МУВП", 31) + ": отверстия втулок задевают ступицу d1 на 7"));

  // The 6300 toothed couplings' bolt circle D0 245 moved in: the washers and nuts of M20 sink into the
  // sleeve's barrel D1 200, in the coupling with two sleeves and in the one with a flanged half alike.
  const int row = RowWith("Муфта зубчатая", 0, 6300);
  ASSERT_GE(row, 0);
  for (const auto& [D0, by] : {std::pair{220.0, "11"}, {230.0, "6"}, {235.0, "3.5"}, {240.0, "1"}}) {
    SCOPED_TRACE(D0);
    ASSERT_TRUE(Use("Муфта зубчатая", 18, -1, [&](double v) { return v == 245.0 ? D0 : v; }));
    for (int k : {3, 4})
      EXPECT_TRUE(Refused(k, row, At("Муфта зубчатая", row) + ": болты задевают обойму D1 на " + by));
  }
}

// Fasteners that stand clear of each other and of what they stand beside build, however near: counts of a
// torque group, a bolt circle and jaws no shipped row has, down to pieces that touch.
TEST_F(FitRules, PiecesThatStandClearBuild)
{
  struct TEdit
  {
    int Coupling;
    const char* Table;
    int Col;
    double Torque, Value;
  };
  const TEdit edits[] = {
      {0, "МУВП", 15, 6.3, 5},
      {0, "МУВП", 15, 6.3, 6},
      {0, "МУВП", 15, 6.3, 7},
      {0, "МУВП", 15, 63, 8},
      {1, "Муфта фланцевая", 6, 16, 4},
      {1, "Муфта фланцевая", 6, 16, 6},
      {1, "Муфта фланцевая", 6, 16, 9},
      {3, "Муфта зубчатая", 20, 1000, 7},
      {4, "Муфта зубчатая", 20, 1000, 8},
      {5, "Муфта торообразная", 4, 20, 5},
      {5, "Муфта торообразная", 4, 20, 6},
      {5, "Муфта торообразная", 4, 20, 9},
      // The flanged bolts' holes 1.5 from the hub's recess D3, and the star's jaws 1.75 from its roots.
      {1, "Муфта фланцевая", 8, 16, 57},
      {2, "Муфта со звездочкой", 7, 10, 8.5},
      // A star wider than the halves' rim D (beyond it nothing of them stands beside the star), and one
      // thicker than the jaws' overlap where a wider gap A13 sets their outer parts further back.
      {2, "Муфта со звездочкой", 3, 10, 32},
      {2, "Муфта со звездочкой", 13, 160, 10},
      // M14 washers 0.5 inside where the barrel's fillet leaves the flange: its arc falls away within 0.09 of
      // the face, and each shares 0.043 mm3 with the sleeve, which the solid check takes for touching.
      {3, "Муфта зубчатая", 19, 1000, 14},
      {4, "Муфта зубчатая", 19, 1000, 14},
      // Pins whose bushings stand past half 2's flange in their holes (no gap B), and whose end stays
      // inside the nut (flange 1 a quarter longer).
      {0, "МУВП", 13, 250, 0},
      {0, "МУВП", 10, 6.3, 18.75},
      // Hinge jaws shorter than their rounding (9) whose flanks pass half the slot only beyond the joint's
      // centre: the other half's jaw falls away there.
      {6, "Муфта шарнирная.Полумуфта", 11, 180, 7.5},
      {7, "Муфта шарнирная.Полумуфта", 11, 180, 9},
  };
  for (const TEdit& e : edits) {
    SCOPED_TRACE(::testing::Message()
                 << e.Table << " " << e.Torque << ", column " << e.Col << " at " << e.Value);
    ASSERT_TRUE(UseGroup(e.Table, e.Col, e.Torque, e.Value));
    EXPECT_TRUE(Built(e.Coupling, RowWith(e.Table, 0, e.Torque)));
  }
}

// The star's jaws alternate between the halves: an odd or fractional count of teeth would put the jaws of
// one half into the other's.
TEST_F(FitRules, AStarHasAnEvenCountOfTeeth)
{
  for (const double z : {5.0, 3.0, 9.0, 4.5}) {
    ASSERT_TRUE(Use("Муфта со звездочкой.Звездочка", 5, 2, [&](double) { return z; }));
    std::string count = std::to_string(z);
    count.erase(count.find_last_not_of('0') + 1);
    if (count.back() == '.') count.pop_back();
    EXPECT_TRUE(Refused(
        2, 0, At("Муфта со звездочкой.Звездочка", 2) + ": число зубьев звездочки " + count + " не четное"))
        << z;
  }
  // Fewer teeth leave the jaws more room between them.
  ASSERT_TRUE(Use("Муфта со звездочкой.Звездочка", 5, -1, [](double) { return 4.0; }));
  Model(10, 10, 10, 0, 0);
  EXPECT_TRUE(Couplings.drCoupling(iCouplings[2].Name, 1)) << ::testing::PrintToString(Log.Texts);
}

// The jaws stand between the star's teeth, at every second pitch: more teeth of the same width leave them no
// room (8 teeth where 6 are shipped: the star's roots cut into the jaws' tips).
TEST_F(FitRules, TheJawsFitBetweenTheStarsTeeth)
{
  ASSERT_TRUE(Use("Муфта со звездочкой.Звездочка", 5, 0, [](double) { return 8.0; }));
  EXPECT_TRUE(Refused(
      2, 0, At("Муфта со звездочкой", 0) + ": кулачки не помещаются между 8 зубьями звездочки на 0.25"));
}

// The pieces of a half along the axis: the star's jaws, disc and hub, the hinge's slot, fork and hub.
TEST_F(FitRules, HalvesKeepTheirPiecesInOrder)
{
  // The star's disc l2 at 0 (half 2 fell into three solids).
  ASSERT_TRUE(Use("Муфта со звездочкой", 8, 0, [](double) { return 0.0; }));
  const std::string star = ": кулачки, диск и ступица полумуфты не следуют друг за другом";
  EXPECT_TRUE(Refused(2, 0, At("Муфта со звездочкой", 0) + star));
  // The star reaching into what stands beside it along the axis, as the assembly places the halves: the
  // jaws of the long hub shortened to 6.6, whose disc half 2 of that hub then stands 1.6 from the star's
  // middle when half 1 is of the short hub (its jaws of 14 place half 2); no gap A13 in row 2, which as half 1
  // places row 1's half 2 (it shared 387 mm3 with the star); the jaws' outer part begun nearer their tips (9821 mm3).
  ASSERT_TRUE(Use("Муфта со звездочкой", 16, 0, [](double v) { return v * 0.8; }));
  EXPECT_TRUE(Refused(2, 0, At("Муфта со звездочкой", 0) + ": звездочка заходит в диск полумуфты на 3.4"));
  ASSERT_TRUE(Use("Муфта со звездочкой", 13, 1, [](double) { return 0.0; }));
  EXPECT_TRUE(Refused(2, 1,
                      At("Муфта со звездочкой", 0) +
                          ": звездочка заходит в уступ кулачков полумуфты на 2, когда другая полумуфта из строки 2"));
  ASSERT_TRUE(Use("Муфта со звездочкой", 9, 25, [](double v) { return v * 0.8; }));
  EXPECT_TRUE(
      Refused(2, 0, At("Муфта со звездочкой", 25) + ": звездочка заходит в уступ кулачков полумуфты на 6"));
  // Row 14's short hub's jaws a quarter longer (45.5 where its torque group's are 28): as half 1 they place
  // half 2 of row 13 so that the star reaches 0.75 into that half's disc.
  ASSERT_TRUE(Use("Муфта со звездочкой", 5, 13, [](double v) { return v * 1.25; }));
  EXPECT_TRUE(Refused(2, 0,
                      At("Муфта со звездочкой", 12) +
                          ": звездочка заходит в диск полумуфты на 0.75, когда другая полумуфта из строки 14"));
  // A hinge slot narrower than the other half's jaw (the halves shared 2.8 mm3).
  ASSERT_TRUE(Use("Муфта шарнирная.Полумуфта", 6, 0, [](double v) { return v * 0.8; }));
  EXPECT_TRUE(Refused(6, 0, At("Муфта шарнирная.Полумуфта", 0) + ": кулачок или крестовина шире паза b 8"));
  // The toroidal ring thicker than the shell's foot and the flange's step (half 2 shared 128 mm3 with it).
  ASSERT_TRUE(Use("Муфта торообразная", 18, 0, [](double v) { return v * 0.8; }));
  EXPECT_TRUE(
      Refused(5, 0, At("Муфта торообразная", 0) + ": кольцо b3 толще лапы оболочки b0 и уступа f на 0.2"));
  // Hinge jaws shorter than their rounding widen before the joint's centre into each other: of no length
  // (the halves shared 492 mm3 with the fork), and 6.5 of the 180 halves' rounding 9 (1.03 mm3), and the
  // 22.4 halves given the cross piece of 45 (wider than their slot).
  ASSERT_TRUE(Use("Муфта шарнирная.Полумуфта", 11, 4, [](double) { return 0.0; }));
  EXPECT_TRUE(Refused(7, 0,
                      At("Муфта шарнирная.Полумуфта", 4) +
                          ": кулачки полумуфт заходят друг на друга у центра шарнира на 3.47"));
  ASSERT_TRUE(Use("Муфта шарнирная.Полумуфта", 11, 3, [](double) { return 6.5; }));
  EXPECT_TRUE(Refused(6, 0,
                      At("Муфта шарнирная.Полумуфта", 3) +
                          ": кулачки полумуфт заходят друг на друга у центра шарнира на 0.49"));
  ASSERT_TRUE(Use("Муфта шарнирная", 0, 0, [](double) { return 45.0; }));
  EXPECT_TRUE(Refused(7, 0, At("Муфта шарнирная.Полумуфта", 0) + ": кулачок или крестовина шире паза b 10"));
  ASSERT_TRUE(Use("Муфта шарнирная.Палец", 1, 0, [](double) { return 7.0; }));
  EXPECT_TRUE(Refused(6, 0, At("Муфта шарнирная", 0) + ": палец крестовины не проходит в отверстие d3 6"));
  // The jaw-disc coupling's slot and tongue are cuts with a size.
  for (const int col : {12, 13}) {
    ASSERT_TRUE(Use("Муфта кулачково-дисковая", col, 1, [](double) { return 0.0; }));
    EXPECT_TRUE(Refused(8, 0, At("Муфта кулачково-дисковая", 1))) << col;
  }
  // The hinge half's long hub a quarter longer: its slot shallower than the other half's jaw (the halves
  // shared 182 mm3).
  ASSERT_TRUE(Use("Муфта шарнирная.Полумуфта", 7, 0, [](double v) { return v * 1.25; }));
  for (int k : {6, 7})
    EXPECT_TRUE(Refused(k, 0,
                        At("Муфта шарнирная.Полумуфта", 0) +
                            ": паз, вилка и ступица полумуфты не следуют друг за другом"));
  // A star of no thickness has teeth of no depth: its thickness is a size, refused at 0 as sizes are.
  ASSERT_TRUE(Use("Муфта со звездочкой.Звездочка", 3, 0, [](double) { return 0.0; }));
  EXPECT_TRUE(Refused(2, 0, At("Муфта со звездочкой.Звездочка", 0)));
}

// The hinge's joint and the jaw-disc's insert: each piece clear of the pieces round it, each cut with
// something to remove. Refused on the old rules, each of these built parts that overlap or cuts on nothing.
TEST_F(FitRules, JointsAndInsertsClearTheirNeighbours)
{
  const std::string cross = "Муфта шарнирная.Крестовина", pin = "Муфта шарнирная.Палец";
  const std::string halves = "Муфта шарнирная.Полумуфта", jawdisc = "Муфта кулачково-дисковая";
  // The cross piece's chamfer and the pin's flats at 0: the cuts that make them removed nothing.
  for (const auto& [table, col] : {std::pair{cross, 4}, std::pair{pin, 5}}) {
    ASSERT_TRUE(Use(table, col, 0, [](double) { return 0.0; }));
    for (int k : {6, 7})
      EXPECT_TRUE(Refused(k, 0, At(table, 0))) << table << " " << col;
  }
  // The pin's cross hole a fifth narrower than the bushing through it (they shared 7-434 mm3).
  for (const int row : {0, 3, 6}) {
    ASSERT_TRUE(Use(pin, 2, row, [](double v) { return v * 0.8; }));
    std::unique_ptr<TTable> t(TextBase.GetTable(TString(pin.c_str())));
    ASSERT_TRUE(t);
    char hole[32];
    std::snprintf(hole, sizeof hole, "%.10g", t->Row(row)[2]);
    EXPECT_TRUE(Refused(6, 0, At(pin, row) + ": втулка не проходит в отверстие пальца d1 " + hole)) << row;
  }
  // The bushing of no core fell in two end rings; its rings a quarter wider than the holes d3 they stand in
  // shared 137-9519 mm3 with the halves.
  const std::string bushing = "Муфта шарнирная.Втулка";
  ASSERT_TRUE(Use(bushing, 2, 0, [](double) { return 0.0; }));
  for (int k : {6, 7})
    EXPECT_TRUE(Refused(k, 0, At(bushing, 0))) << k;
  ASSERT_TRUE(Use(bushing, 1, 0, [](double v) { return v * 1.25; }));
  {
    std::unique_ptr<TTable> t(TextBase.GetTable(TString(halves.c_str())));
    ASSERT_TRUE(t);
    char why[160];
    std::snprintf(why, sizeof why, ": втулка крестовины не проходит в отверстие d3 %.10g", t->Row(0)[4]);
    for (int k : {6, 7})
      EXPECT_TRUE(Refused(k, 0, At("Муфта шарнирная", 0) + why)) << k;
  }
  // A shaft the half is not turned for: the keyway's cut stood inside the half's bore.
  for (const double d : {32.0, 50.0}) {
    ASSERT_TRUE(Use("Муфта шарнирная", 1, 6, [&](double) { return d; }));
    char why[128];
    std::snprintf(why, sizeof why, ": вал %g не входит в отверстие полумуфты d 40", d);
    for (int k : {6, 7})
      EXPECT_TRUE(Refused(k, 0, At("Муфта шарнирная", 6) + why)) << d;
  }
  // The cross piece a quarter longer than the slots it lies in (both halves shared 6 mm3 with it).
  ASSERT_TRUE(Use(cross, 2, 3, [](double v) { return v * 1.25; }));
  for (int k : {6, 7})
    EXPECT_TRUE(Refused(k, 0, At(cross, 3) + ": крестовина длиннее паза полумуфты 180")) << k;
  // The long hub a quarter longer deepens the middle piece's slots till they meet (the halves, the fork
  // and the cross pieces shared up to 23495 mm3); the single joint has no middle piece and builds.
  ASSERT_TRUE(Use(halves, 9, 3, [](double v) { return v * 1.25; }));
  EXPECT_TRUE(Refused(7, 0, At(halves, 3) + ": пазы вилки сходятся между центрами шарниров A 44"));
  EXPECT_FALSE(Refused(6, 0, At(halves, 3) + ": пазы вилки сходятся между центрами шарниров A 44"));
  // Jaw-disc halves a quarter longer than the overall length leaves them: no gap for the insert (the
  // halves shared up to 114889 mm3, the insert fell in two).
  for (const int row : {0, 17}) {
    ASSERT_TRUE(Use(jawdisc, 6, row, [](double v) { return v * 1.25; }));
    std::unique_ptr<TTable> t(TextBase.GetTable(TString(jawdisc.c_str())));
    ASSERT_TRUE(t);
    char why[256];
    std::snprintf(why, sizeof why, ": полумуфты длиной %g не оставляют зазора для вставки в длине L %g",
                  t->Row(row)[6], t->Row(row)[4]);
    EXPECT_TRUE(Refused(8, 0, At(jawdisc, row) + why)) << row;
  }
}

// The toothed couplings' flanges, hubs and teeth along the axis: a flange of no width put the bolts' washers
// into the sleeve, a crown at 0 put the hubs and the sleeves into each other.
TEST_F(FitRules, ToothedPiecesFollowEachOther)
{
  const int row = RowWith("Муфта зубчатая", 0, 1600);
  const std::string why =
      At("Муфта зубчатая", row) + ": зубья ступицы, фланец и обойма не следуют друг за другом";
  for (const int col : {8, 12}) {
    ASSERT_TRUE(Use("Муфта зубчатая", col, row, [](double) { return 0.0; }));
    for (int k : {3, 4})
      EXPECT_TRUE(Refused(k, row, why)) << col;
  }
  // A gear of a fractional number of teeth (its evaluation never ended).
  ASSERT_TRUE(Use("Муфта зубчатая", 10, row, [](double v) { return v * 0.8; }));
  for (int k : {3, 4})
    EXPECT_TRUE(Refused(k, row, At("Муфта зубчатая", row) + ": число зубьев 30.4 не целое"));
  // More teeth (38 -> 48): the sleeve's teeth reach past its barrel (its cut removed nothing).
  ASSERT_TRUE(Use("Муфта зубчатая", 10, row, [](double) { return 48.0; }));
  for (int k : {3, 4})
    EXPECT_TRUE(
        Refused(k, row, At("Муфта зубчатая", row) + ": зубья обоймы не помещаются между ступицей и обоймой"));
  // The toroidal hub d1 a quarter wider: the bolts' washers on its fillet.
  ASSERT_TRUE(Use("Муфта торообразная", 14, 0, [](double v) { return v * 1.25; }));
  EXPECT_TRUE(Refused(5, 0, At("Муфта торообразная", 0) + ": болты задевают ступицу d1 на 2.75"));
  // The toroidal coupling's ring, hub, plate and shell wall at 0 are pieces of no size (0 solids, an open
  // hatch).
  for (const int col : {10, 14, 16, 17}) {
    ASSERT_TRUE(Use("Муфта торообразная", col, 0, [](double) { return 0.0; }));
    EXPECT_TRUE(Refused(5, 0, At("Муфта торообразная", 0))) << col;
  }
}

// A build with two bores takes its halves from two rows of one torque group: an edit of what both halves
// share on one row of a group (the pin count of the second 500 row: its pins stood in one half only) is
// refused naming that row and the group's first; the group's first row edited is named by the second.
TEST_F(FitRules, RowsOfATorqueGroupAgreeOnWhatTheHalvesShare)
{
  struct TEdit
  {
    int Coupling;
    const char* Table;
    double Torque;
    int Col;
    double By;
  };
  const TEdit edits[] = {{0, "МУВП", 500, 15, 2},
                         {0, "МУВП", 500, 13, 1},
                         {1, "Муфта фланцевая", 1000, 8, 1},
                         {2, "Муфта со звездочкой", 160, 7, 1},
                         {3, "Муфта зубчатая", 1600, 20, -2},
                         {5, "Муфта торообразная", 500, 4, -2},
                         {8, "Муфта кулачково-дисковая", 63, 12, 1}};
  for (const TEdit& e : edits) {
    SCOPED_TRACE(::testing::Message() << e.Table << " " << e.Torque << ", column " << e.Col);
    const int first = RowWith(e.Table, 0, e.Torque);
    ASSERT_GE(first, 0);
    const std::string col = "значение столбца " + std::to_string(e.Col) + " не совпадает со строкой ";
    ASSERT_TRUE(Use(e.Table, e.Col, first + 1, [&](double v) { return v + e.By; }));
    EXPECT_TRUE(
        Refused(e.Coupling, first,
                At(e.Table, first + 1) + ": " + col + std::to_string(first + 1) + " того же момента"));
    ASSERT_TRUE(Use(e.Table, e.Col, first, [&](double v) { return v + e.By; }));
    EXPECT_TRUE(
        Refused(e.Coupling, first,
                At(e.Table, first + 1) + ": " + col + std::to_string(first + 1) + " того же момента"));
  }
}

// A value that selects a row of another table finds that row itself, never the first one not below it; key
// columns ascend.
TEST_F(FitRules, LookupsFindTheirOwnRow)
{
  // Pin dp 18 -> 20 in the 500 rows: no pin of 20.
  const int pins = RowWith("МУВП", 0, 500);
  ASSERT_TRUE(Use("МУВП", 14, -1, [](double v) { return v == 18.0 ? 20.0 : v; }));
  EXPECT_TRUE(Refused(0, pins, At("МУВП", pins) + ": нет пальца 20 в таблице МУВП.Палец"));

  // Star flank offset B 5.5 -> 7 in the 160 rows: no star of tooth width 14 (the next is one of D 120).
  const int star = RowWith("Муфта со звездочкой", 0, 160);
  ASSERT_TRUE(Use("Муфта со звездочкой", 6, -1, [](double v) { return v == 5.5 ? 7.0 : v; }));
  EXPECT_TRUE(Refused(2, star,
                      At("Муфта со звездочкой", star) +
                          ": нет звездочки шириной зуба 14 в таблице Муфта со звездочкой.Звездочка"));

  // The cross piece's torque mistyped (row 4, 180 -> 2000): the keys no longer ascend.
  ASSERT_TRUE(Use("Муфта шарнирная.Крестовина", 0, 3, [](double) { return 2000.0; }));
  for (int k : {6, 7})
    EXPECT_TRUE(Refused(k, 6, At("Муфта шарнирная.Крестовина", 4) + ": значения столбца 0 не возрастают"));
  // A cross piece of a torque the main table does not have.
  ASSERT_TRUE(Use("Муфта шарнирная.Крестовина", 0, 3, [](double) { return 200.0; }));
  EXPECT_TRUE(Refused(6, 3,
                      At("Муфта шарнирная", 3) +
                          ": нет крестовины для момента 180 в таблице Муфта шарнирная.Крестовина"));

  // A bolt thread the bolts table does not have, and a main table's torques out of order.
  ASSERT_TRUE(Use("Муфта фланцевая", 19, -1, [](double v) { return v == 8.0 ? 9.0 : v; }));
  EXPECT_TRUE(Refused(1, 0, At("Муфта фланцевая", 0) + ": нет болта М9 в таблице Муфта.Болты фланца"));
  // The toroidal bolt one thread thinner (M8 -> M6 on D2 48): the half-ring's collar under the holes rose to
  // its top, and the half-ring fell into two solids.
  ASSERT_TRUE(Use("Муфта торообразная", 5, 0, [](double) { return 6.0; }));
  EXPECT_TRUE(
      Refused(5, 0, At("Муфта торообразная", 0) + ": болты М6 не оставляют буртика полукольца под D2 48"));
  ASSERT_TRUE(Use("Муфта торообразная", 0, 0, [](double) { return 40.0; }));
  EXPECT_TRUE(Refused(5, 1, At("Муфта торообразная", 1) + ": значения столбца 0 не возрастают"));
  // Within a torque group the bores are out of order, not the torques: bores 10 and 11 exchanged, a row
  // written twice.
  ASSERT_TRUE(
      editedbase::UseBase(Dir.path(), editedbase::Edited(editedbase::Edited(editedbase::Shipped(), "МУВП", 17,
                                                                            0, [](double) { return 11.0; }),
                                                         "МУВП", 17, 1, [](double) { return 10.0; })));
  EXPECT_TRUE(Refused(0, 1, At("МУВП", 1) + ": значения столбца 17 не возрастают"));
  ASSERT_TRUE(Use("Муфта кулачково-дисковая", 1, 1, [](double) { return 10.0; }));
  EXPECT_TRUE(Refused(8, 0, At("Муфта кулачково-дисковая", 1) + ": значения столбца 1 не возрастают"));
}

// The pin's own pieces: its bushings on its cylinder, its neck below its thread (the bushings or the neck a
// quarter longer or wider put lines across the pin in the section; a thread a fifth thinner put the neck into
// the washer).
TEST_F(FitRules, APinCarriesItsBushingsAndNeck)
{
  struct TEdit
  {
    int Row, Col;
    double Factor;
    const char* What;
  };
  const char* const bushings = ": распорная и упругие втулки длиннее цилиндра пальца";
  const char* const neck = ": шейка пальца не тоньше резьбы";
  const TEdit edits[] = {{0, 16, 1.25, bushings}, {2, 13, 1.25, bushings}, {3, 16, 1.25, bushings},
                         {0, 4, 1.25, neck},      {3, 4, 1.25, neck},      {3, 3, 0.8, neck}};
  for (const TEdit& e : edits) {
    ASSERT_TRUE(Use("МУВП.Палец", e.Col, e.Row, [&](double v) { return v * e.Factor; }));
    EXPECT_TRUE(Refused(0, 0, At("МУВП.Палец", e.Row) + e.What)) << e.Row << ", " << e.Col;
  }  // A pin a fifth shorter ends on flange 1's back face: its washer and nut stand beside it on nothing.
  ASSERT_TRUE(Use("МУВП.Палец", 2, 0, [](double v) { return v * 0.8; }));
  EXPECT_TRUE(Refused(0, 0, At("МУВП", 0) + ": палец не доходит до гайки"));
}

// The keyway table is checked as the others, and every coupling needs it: one that cannot use it is refused
// with its reason, never built without keyways (or pins).
TEST_F(FitRules, EveryCouplingRefusesAnUnusableKeywayTable)
{
  struct TEdit
  {
    int Col, Row;
    double Value;
    int Bad; // the row named
    const char* What;
  };
  const TEdit edits[] = {
      {3, 5, NAN, 5, ""},                                    // a non-number in a column no builder reads
      {0, -1, 0.0, 1, ": значения столбца 0 не возрастают"}, // every key 0
      {0, -1, -1.0, 1, ": значения столбца 0 не возрастают"},
      {2, 7, -1.0, 7, ""},   // a depth below zero
      {1, 7, 1e50, 7, ""},   // a width past every limit
      {2, 20, 1e50, 20, ""}, // a depth past every limit
  };
  for (const TEdit& e : edits) {
    SCOPED_TRACE(::testing::Message() << "column " << e.Col << " row " << e.Row << " at " << e.Value);
    ASSERT_TRUE(Use(Keyways, e.Col, e.Row, [&](double) { return e.Value; }));
    for (int k = 0; k < CountCoupling; ++k)
      EXPECT_TRUE(Refused(k, 0, At(Keyways, e.Bad) + e.What)) << iCouplings[k].Name.Utf8Text();
  }
  // A keyway wider than the smallest bores it is found for, and one whose floor leaves the pin coupling's
  // hub.
  ASSERT_TRUE(Use(Keyways, 1, 1, [](double) { return 10.0; }));
  EXPECT_TRUE(Refused(0, 0, At("МУВП", 0) + ": шпонка шире вала 10"));
  ASSERT_TRUE(Use(Keyways, 2, 1, [](double) { return 6.0; }));
  EXPECT_TRUE(Refused(0, 0, At("МУВП", 0) + ": шпоночный паз вала 10 выходит из ступицы на 1"));
  // A floor 1 below the hub's face leaves a wall.
  ASSERT_TRUE(Use(Keyways, 2, 1, [](double) { return 4.0; }));
  EXPECT_TRUE(Built(0, 0));
}

// A row written with a value too many or too few, in a main table, a sub-table and the keyway table alike, is
// named with how many values it has against how many it needs: the table is there.
TEST_F(FitRules, ARowWithAValueTooManyOrTooFewIsNamed)
{
  for (const char* table : {"МУВП", "МУВП.Палец", Keyways}) {
    std::unique_ptr<TTable> shipped(TextBase.GetTable(TString(table)));
    ASSERT_TRUE(shipped) << table;
    const int columns = shipped->CountColumn, rows = shipped->CountRow;
    for (int row : {0, rows / 2, rows - 1})
      for (int delta : {-1, 1}) {
        SCOPED_TRACE(::testing::Message() << table << " row " << row << " " << delta);
        // The value of column 1 written twice, or left out.
        ASSERT_TRUE(editedbase::UseBase(
            Dir.path(), editedbase::EditedText(editedbase::Shipped(), table, 1, row, [&](double v) {
              return delta > 0 ? editedbase::Written(v) + u"\t" + editedbase::Written(v) : std::u16string();
            })));
        const int n = columns + delta;
        const std::string values = std::to_string(n) + (n % 10 == 1 ? " значение" : " значений");
        const std::string why = At(table, row) + ": " + values + ", нужно " + std::to_string(columns);
        EXPECT_TRUE(Refused(0, 0, why));
        // Every coupling reads the keyway table.
        if (table == std::string(Keyways)) {
          EXPECT_TRUE(Refused(1, 0, why));
        }
      }
  }
}

// The toroidal and the jaw-disc halves' keyways stay inside their hubs (d1 and D3) as the others' do: a hub
// narrowed round the smallest bore 14 (its keyway's floor at 9.3) is refused where the keyway breaks through.
TEST_F(FitRules, KeywaysStayInsideTheHubs)
{
  ASSERT_TRUE(Use("Муфта торообразная", 14, 0, [](double) { return 18.0; }));
  EXPECT_TRUE(
      Refused(5, 0, At("Муфта торообразная", 0) + ": шпоночный паз вала 14 выходит из ступицы на 0.3"));
  ASSERT_TRUE(Use("Муфта кулачково-дисковая", 3, 0, [](double) { return 12.0; }));
  EXPECT_TRUE(
      Refused(8, 0, At("Муфта кулачково-дисковая", 0) + ": шпоночный паз вала 10 выходит из ступицы на 0.4"));
}

// Every other length the builders read (gaps, chamfers, fillets, offsets) below zero, and every key (torque,
// diameter) past the limit of lengths, is refused naming its table and its row: swept over every coupling.
TEST_F(FitRules, OtherLengthsAndKeysKeepTheirRange)
{
  for (int k = 0; k < CountCoupling; ++k) {
    const TCoupling& c = iCouplings[k];
    for (int i = 1; c.LTable[i]; ++i) {
      const TColumnReads& reads = c.Reads[i - 1];
      std::unique_ptr<TTable> t(TextBase.GetTable(TString(c.LTable[i])));
      ASSERT_TRUE(t);
      const int last = t->CountRow - 1;
      auto refuse = [&](std::initializer_list<int> columns, double v) {
        for (const int col : columns) {
          SCOPED_TRACE(::testing::Message() << c.LTable[i] << ", column " << col << " at " << v);
          ASSERT_TRUE(Use(c.LTable[i], col, last, [&](double) { return v; }));
          EXPECT_TRUE(Refused(k, 0, At(c.LTable[i], last)));
        }
      };
      refuse(reads.Others, -1.0);
      refuse(reads.Keys, 1e50);
    }
  }
}

} // namespace
