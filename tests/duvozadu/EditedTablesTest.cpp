// The tables as a user edits them: every coupling's table check against what its builders read (a column
// its list leaves out changes nothing, one it names changes the build, a size at or below zero and a value
// too large to build exactly refuse the coupling once, naming table and row), and the fastener counts a
// table may hold (none, odd, fractional) build soundly in every mode.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "CouplingFixture.h"
#include "EditedBase.h"
#include "tests/TestNames.h"

namespace {

struct TEditedCoupling
{
  const char* Key;
  int Row;        // in the catalogue
  int Count = -1; // the main table's column of the fasteners' count; -1 none
};
void PrintTo(const TEditedCoupling& c, std::ostream* os)
{
  *os << c.Key;
}

const TEditedCoupling EditedCouplings[] = {
    {"muvp", 0, 15},    {"flanged", 1, 6}, {"star", 2},   {"toothed", 3, 20}, {"toothed_flanged", 4, 20},
    {"toroidal", 5, 4}, {"hinge", 6},      {"hinge2", 7}, {"jawdisc", 8},
};

// The rows of a main table a sweep builds: these, or every one where HXCAD_GEOMETRY_ROWS is "all" (as
// scripts/geometry.sh --full sets it).
std::vector<int> EditedRows(const TTable& main, std::vector<int> these)
{
  const char* v = std::getenv("HXCAD_GEOMETRY_ROWS");
  if (v == nullptr || std::string(v) != "all") return these;
  these.clear();
  for (int i = 0; i < main.CountRow; ++i)
    these.push_back(i);
  return these;
}

class EditedTables : public CouplingTest, public ::testing::WithParamInterface<TEditedCoupling>
{
protected:
  void TearDown() override
  {
    ASSERT_TRUE(editedbase::Rebase(HXCAD_DUVOZADU_DATA));
    CouplingTest::TearDown();
  }
  const TCoupling& Coupling() const { return iCouplings[GetParam().Row]; }
  // The main table's first, middle and last rows with four pairs of bore types, in every mode: whether
  // each was built and every call it made, as one text.
  std::string Builds()
  {
    std::string all;
    std::unique_ptr<TTable> main(TextBase.GetTable(Coupling().NameTable(1)));
    if (!main) return "no main table";
    char value[32];
    for (int i : EditedRows(*main, {0, main->CountRow / 2, main->CountRow - 1})) {
      const double* A = main->Row(i);
      for (auto [t1, t2] : {std::pair{0, 0}, {1, 1}, {2, 3}, {3, 2}})
        for (int mode : {0, 1, 2}) {
          Model(A[0], A[main->Control], A[main->Control], t1, t2);
          M.Reset();
          all += Couplings.drCoupling(Coupling().Name, mode) ? "built\n" : "refused\n";
          for (const auto& c : M.Calls) {
            all += c.Op;
            for (double v : c.A) {
              std::snprintf(value, sizeof value, " %.17g", v);
              all += value;
            }
            for (const auto& t : c.S) {
              all += ' ';
              all += t.Utf8Text();
            }
            all += "\n";
          }
        }
    }
    return all;
  }
  // Every mode of the first row refused with the one message that names the table and the row, nothing
  // drawn or made.
  ::testing::AssertionResult RefusedNaming(const std::string& table, int row)
  {
    std::unique_ptr<TTable> main(TextBase.GetTable(Coupling().NameTable(1)));
    if (!main) return ::testing::AssertionFailure() << "no main table";
    const double* A = main->Row(0);
    const std::string why = "Неверное значение в таблице " + table + ", строка " + std::to_string(row + 1);
    for (int mode : {0, 1, 2}) {
      Model(A[0], A[main->Control], A[main->Control], 0, 0);
      M.Reset();
      Log.Texts.clear();
      if (Couplings.drCoupling(Coupling().Name, mode))
        return ::testing::AssertionFailure() << "built in mode " << mode;
      if (Log.Texts != std::vector<std::string>{why})
        return ::testing::AssertionFailure()
               << "mode " << mode << " said " << ::testing::PrintToString(Log.Texts);
      if (!M.Calls.empty()) return ::testing::AssertionFailure() << "mode " << mode << " drew " << M.Ops();
    }
    return ::testing::AssertionSuccess();
  }
  txhost::test::TempDir Dir;
};

bool Lists(std::initializer_list<int> columns, int c)
{
  return std::find(columns.begin(), columns.end(), c) != columns.end();
}

} // namespace

// For every table of the coupling and every column: a column no list names changes nothing when it holds 0
// or a huge value, a column the lists name changes what is built, a size at or below zero and any length or
// count too large to build exactly refuse the coupling with its table and row.
TEST_P(EditedTables, TheCheckTakesWhatTheBuildersRead)
{
  const TCoupling& coupling = Coupling();
  ASSERT_TRUE(coupling.Reads);
  const std::string shipped = Builds();
  ASSERT_EQ(shipped.find("refused"), std::string::npos);
  const std::u16string base = editedbase::Shipped();
  // Huge, and still a plain number the base reads (longer ones are no number to it, and refused as such).
  const double huge = 1e50;
  for (int i = 1; coupling.LTable[i]; ++i) {
    const std::string table = coupling.LTable[i];
    std::unique_ptr<TTable> t(TextBase.GetTable(TString(table.c_str())));
    ASSERT_TRUE(t) << table;
    const TColumnReads& reads = coupling.Reads[i - 1];
    const int last = t->CountRow - 1;
    for (int c = 0; c < t->CountColumn; ++c) {
      SCOPED_TRACE(::testing::Message() << table << ", column " << c);
      auto use = [&](int row, auto&& value) {
        return editedbase::UseBase(Dir.path(), editedbase::Edited(base, table, c, row, value));
      };
      const bool size = Lists(reads.Sizes, c), count = Lists(reads.Counts, c), other = Lists(reads.Others, c);
      if (!size && !count && !other && !Lists(reads.Keys, c)) {
        for (const double v : {0.0, huge}) {
          ASSERT_TRUE(use(-1, [&](double) { return v; }));
          EXPECT_TRUE(Builds() == shipped) << "a column no builder reads, at " << v;
        }
        continue;
      }
      // A key read by the order of its values only is moved to 0 in every row.
      const bool key = Lists(reads.Keys, c);
      ASSERT_TRUE(use(-1, [&](double v) { return key ? 0.0 : v * 1.37 + 0.71; }));
      EXPECT_TRUE(Builds() != shipped) << "a column the list names that no build reads";
      for (const double v : {0.0, -1.0}) {
        if (!size) continue;
        ASSERT_TRUE(use(last, [&](double) { return v; }));
        EXPECT_TRUE(RefusedNaming(table, last)) << v;
      }
      if (size || count || other) {
        ASSERT_TRUE(use(last, [&](double) { return huge; }));
        EXPECT_TRUE(RefusedNaming(table, last)) << "huge";
      }
    }
  }
  // Every value of the main table huge: refused at its first row, never drawn with what that makes of it.
  std::u16string all = base;
  std::unique_ptr<TTable> main(TextBase.GetTable(coupling.NameTable(1)));
  ASSERT_TRUE(main);
  for (int c = 0; c < main->CountColumn; ++c)
    all = editedbase::Edited(all, coupling.LTable[1], c, -1, [&](double) { return huge; });
  ASSERT_TRUE(editedbase::UseBase(Dir.path(), all));
  EXPECT_TRUE(RefusedNaming(coupling.LTable[1], 0));
}

// A count of fasteners the table may hold: none, odd or fractional, in every row. Every mode builds without
// a word and soundly, or, where the count brings the fasteners closer to each other than the fit rules let
// them (more than the shipped rows place), every mode refuses it alike with one message and draws nothing;
// fewer fasteners always build. With none the model has no fastener and its halves no hole.
TEST_P(EditedTables, EveryCountOfFastenersBuilds)
{
  const TEditedCoupling& c = GetParam();
  if (c.Count < 0) GTEST_SKIP() << "no fasteners round a circle";
  const TCoupling& coupling = Coupling();
  for (const double count : {0.0, 3.0, 5.0, 7.0, 4.5}) {
    ASSERT_TRUE(
        editedbase::UseBase(Dir.path(), editedbase::Edited(editedbase::Shipped(), coupling.LTable[1], c.Count,
                                                           -1, [&](double) { return count; })));
    std::unique_ptr<TTable> main(TextBase.GetTable(coupling.NameTable(1)));
    ASSERT_TRUE(main);
    TString why;
    const bool fits = std::unique_ptr<TTable>(Couplings.ReadMain(coupling.Name, why)) != nullptr;
    EXPECT_TRUE(fits || count > 3.0) << count << ": " << why.Utf8Text();
    for (int i : EditedRows(*main, {0, main->CountRow - 1}))
      for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(::testing::Message() << count << " fasteners, row " << i << ", mode " << mode);
        const double* A = main->Row(i);
        Model(A[0], A[main->Control], A[main->Control], 2, 3);
        M.Reset();
        Log.Texts.clear();
        if (!fits) {
          EXPECT_FALSE(Couplings.drCoupling(coupling.Name, mode));
          EXPECT_EQ(Log.Texts, std::vector<std::string>{why.Utf8Text()});
          EXPECT_TRUE(M.Calls.empty()) << M.Ops();
          continue;
        }
        ASSERT_TRUE(Couplings.drCoupling(coupling.Name, mode));
        EXPECT_TRUE(DrawingSound(M));
        if (mode != 0 && count == 0.0) {
          // Nothing drawn on an axis of its own off the coupling's: no fastener.
          EXPECT_FALSE(std::any_of(M.Curves.begin(), M.Curves.end(), [](const TRecordingModeler::TCurve& k) {
            return k.Kind == TRecordingModeler::TCurve::Line && k.Style == 3 && k.y1 == k.y2 &&
                   std::fabs(k.y1) > 1e-9;
          })) << "a fastener drawn";
        }
        if (mode == 0 && count == 0.0) {
          EXPECT_EQ(M.Count("drCircle"), 0) << "a hole without a fastener";
          EXPECT_LE(M.Count("AddDetailFile") + M.Count("AddDetailAxleFile"), 9) << "fasteners placed";
        }
        EXPECT_TRUE(Log.Texts.empty()) << Log.Texts.front();
      }
  }
}

INSTANTIATE_TEST_SUITE_P(Couplings, EditedTables, ::testing::ValuesIn(EditedCouplings),
                         hxcad::test::CaseNames());
