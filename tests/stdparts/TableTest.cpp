// The standard-parts collection on a fixture: reading (and its faults: the file read through a base
// of its own, success reported, a path separator of this platform, at most 256 tables), the lookups
// with every index checked, designations, plate thicknesses, choice lists and the size searches,
// the explicit-column search also against a reference over the shipped tables.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "StdPartsSupport.h"
#include "tests/AllocationCount.h"
#include "tests/TestNames.h"
#include "tests/core/TextBaseTestUtil.h"

namespace {

using tbtest::TMessageLog;
using tbtest::TScratchDir;

const char* const Fixture = R"(// Tables of the collection's tests.
# "Деталь Д" "Фирма А" "Тип 1" 7 1 0 3 0
{{ "Д" "" "a" "первый" "b" "второй" "c" "третий" }
{
 232 121 113
 12 2,5 5
 12 3 5
 16 2,5 7
}
}
# "Плита" "Фирма Б" "Плиты" 101 1 0 18 13
{{ "" "" }
{
 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0
 246 296 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16
}
{
 1 1 17 22 27 0 0 0 0 0 0 0 0
 1 21 15 20 25 30 35 40 45 50 55 60 65
 1 9 10 0 0 0 0 0 0 0 0 0 0
}
}
# "Поиск" "Фирма Б" "Тип 2" 31 1 0 3 0
{{ "S" "" "d" "" "l" "" "c" "" }
{
 11 220 0
 3 10 0,5
 3 20 0,5
 6 10 1
 6 20 1
 6 30 1
 8 20 1
}
}
# "Вразброс" "Фирма Б" "Тип 2" 32 1 0 3 0
{{ "U" "" "d" "" "l" "" "c" "" }
{
 11 220 0
 6 20 1
 3 10 0,5
 6 10 1
 3 20 0,5
}
}
# "Скрытая" "Фирма А" "Тип 1" 8 0 0 1 0
{{ "" "" "x" "" }
{ 0 1 2 }
}
# "Деталь Д" "Фирма В" "Тип 3" 9 1 0 1 0
{{ "" "" "x" "" }
{ 10 5 }
}
)";

class TableTest : public ::testing::Test
{
protected:
  TableTest()
  {
    Dir.WriteText("parts.tb", Fixture);
    EXPECT_TRUE(A.Init(Dir.Path(), TString("parts.tb")));
  }
  static std::vector<std::string> Texts(const TArrayOf<TString>& a)
  {
    std::vector<std::string> out;
    for (int i = 0; i < a.Count; ++i)
      out.push_back(a[i].Utf8Text());
    return out;
  }

  TScratchDir Dir;
  TMessageLog Log;
  TADTable A;
};

TEST_F(TableTest, ReadsEveryTableOnceAndReportsSuccess)
{
  EXPECT_EQ(A.Count, 6);
  EXPECT_TRUE(A.Active);
  EXPECT_EQ(A.Index(31), 2);
  EXPECT_EQ(A.GetTable(31)->Name.Utf8Text(), "Поиск");
  EXPECT_EQ(A.Index(55), -1);
  EXPECT_EQ(A.GetTable(55), nullptr);
  // Read once: later calls of every form change nothing.
  EXPECT_FALSE(A.Init(Dir.Path(), TString("parts.tb")));
  A.Init();
  EXPECT_EQ(A.Count, 6);
  EXPECT_TRUE(Log.Texts.empty());
}

TEST_F(TableTest, ReadsItsFileWhenTheGlobalBaseHoldsAnother)
{
  Dir.WriteText("coupling.tb", "# \"Муфта\" \"ГОСТ\" \"Основной\" 2 0\n{ 1 2 }\n");
  ASSERT_TRUE(TextBase.Init(Dir.Path(), TString("coupling.tb")));
  TADTable b;
  EXPECT_TRUE(b.Init(Dir.Path(), TString("parts.tb")));
  EXPECT_EQ(b.Count, 6);
}

TEST_F(TableTest, AMissingFileIsReportedAndLeavesTheCollectionEmpty)
{
  TADTable b;
  EXPECT_FALSE(b.Init(Dir.Path(), TString("none.tb")));
  ASSERT_EQ(Log.Texts.size(), 1u);
  EXPECT_EQ(Log.Texts[0].Utf8Text(), "Отсутствует файл " + Dir.Dir + "/none.tb Библиотеки элементов ");
  // Not read: a later call may name the right file.
  EXPECT_FALSE(b.Active);
  EXPECT_FALSE(b.Activate);
  EXPECT_TRUE(b.Init(Dir.Path(), TString("parts.tb")));

  // Init() stays silent; Set joins directory and name with this platform's separator.
  TADTable c;
  c.Set(TString(Dir.Dir.c_str()), TString("none.tb"));
  EXPECT_EQ(c.Path.Utf8Text(), Dir.Dir + "/");
  c.Init();
  EXPECT_TRUE(c.Activate);
  EXPECT_EQ(c.Count, 0);
  EXPECT_EQ(Log.Texts.size(), 1u);
  TADTable d;
  d.Set(TString(Dir.Dir.c_str()), TString("parts.tb"));
  d.Init();
  EXPECT_EQ(d.Count, 6);
}

TEST_F(TableTest, TablesPastTheLimitAreLeftUnreadWithAMessage)
{
  std::string text;
  for (int i = 1; i <= 300; ++i)
    text += "# \"T" + std::to_string(i) + "\" \"M\" \"T\" " + std::to_string(i) +
            " 1 0 1 0\n{{ \"\" \"\" \"x\" \"\" }\n{ 10 1 }\n}\n";
  Dir.WriteText("many.tb", text);
  TADTable b;
  EXPECT_TRUE(b.Init(Dir.Path(), TString("many.tb")));
  EXPECT_EQ(b.Count, TADTable::MaxDetails);
  EXPECT_EQ(b.GetTable(256)->Name.Utf8Text(), "T256");
  EXPECT_EQ(b.GetTable(257), nullptr);
  EXPECT_EQ(Log.Count("Прочитаны только первые 256"), 1);
}

TEST_F(TableTest, DesignationsWriteSeparatorsDigitsAndDecimals)
{
  // Rank 1 is column 3 (code 113), rank 2 column 2 (121), rank 3 column 1 (232).
  EXPECT_EQ(A.Name(TBaseDetail(7, 1, -1)).Utf8Text(), "Д-005-    2.5x12");
  EXPECT_EQ(A.Name(TBaseDetail(7, 2, -1)).Utf8Text(), "Д-005-3x12");
  EXPECT_EQ(A.Name(TBaseDetail(31, 6, -1)).Utf8Text(), "S8x20");
  EXPECT_EQ(A.Name(TBaseDetail(55, 1, -1)).Utf8Text(), "");
  EXPECT_EQ(A.Name(TBaseDetail(7, 4, -1)).Utf8Text(), "");
  EXPECT_EQ(A.Name(TBaseDetail(7, -1, -1)).Utf8Text(), "");
}

TEST_F(TableTest, PlateDesignationsAndUnknownPlateTypes)
{
  EXPECT_EQ(A.Name(TBaseDetail(101, 1, 0)).Utf8Text(), "K10-296*246*22/01");
  EXPECT_EQ(A.Name(TBaseDetail(101, 0, 1)).Utf8Text(), "K15-296*246*15/01");
  // A plate type outside the name list has no leading text; a record or thickness outside the
  // table gives no designation.
  EXPECT_EQ(A.Name(TBaseDetail(101, 0, 2)).Utf8Text(), "-296*246*10/01");
  EXPECT_EQ(A.Name(TBaseDetail(101, 0, 3)).Utf8Text(), "");
  EXPECT_EQ(A.Name(TBaseDetail(101, 11, 0)).Utf8Text(), "");
  EXPECT_EQ(A.ThicknessCount(101), 3);
  EXPECT_EQ(A.SocketCount(101), 2);
  EXPECT_EQ(A.ThicknessCount(55), -1);
  EXPECT_EQ(A.SocketCount(55), -1);
  ASSERT_NE(A.SocketMold(101, 1), nullptr);
  EXPECT_EQ(A.SocketMold(101, 1)->X, 296.0);
  EXPECT_EQ(A.SocketMold(101, 2), nullptr);
  EXPECT_EQ(A.SocketMold(7, 1), nullptr); // rows too short for the record
  ASSERT_NE(A.TicknessMold(101, 2), nullptr);
  EXPECT_EQ(A.TicknessMold(101, 2)->TPlate, 9.0);
  EXPECT_EQ(A.TicknessMold(101, 3), nullptr);
  EXPECT_EQ(A.TicknessMold(101, -1), nullptr);
}

struct TPlateCase
{
  int Type;
  double Limit;
  double Thickness; // 0: none found
  int K, Record;
  friend void PrintTo(const TPlateCase& c, std::ostream* os)
  {
    *os << "type " << c.Type << " limit " << c.Limit;
  }
};

class PlateTest : public TableTest, public ::testing::WithParamInterface<TPlateCase>
{
};

TEST_P(PlateTest, ChoosesTheThicknessNearestTheLimit)
{
  const TPlateCase& c = GetParam();
  double t = -1.0;
  const TBaseDetail d = A.GetPlate(101, 1, c.Type, c.Limit, t);
  if (c.Thickness == 0.0) {
    EXPECT_EQ(d.ID, 0);
    EXPECT_EQ(d.Index, -1);
    EXPECT_EQ(d.Index2, -1);
    EXPECT_EQ(t, -1.0);
    return;
  }
  EXPECT_EQ(t, c.Thickness);
  EXPECT_EQ(d.ID, 101);
  EXPECT_EQ(d.Index, c.K);
  EXPECT_EQ(d.Index2, c.Record);
}

INSTANTIATE_TEST_SUITE_P(StdParts, PlateTest,
                         ::testing::Values(TPlateCase{1, 23, 27, 2, 0}, TPlateCase{1, -23, 22, 1, 0},
                                           TPlateCase{1, -22, 22, 1, 0}, TPlateCase{1, 22, 22, 1, 0},
                                           TPlateCase{1, 10, 17, 0, 0}, TPlateCase{1, 100, 27, 2, 0},
                                           // Above every thickness: the largest.
                                           TPlateCase{1, -100, 27, 2, 0}, TPlateCase{1, -30, 27, 2, 0},
                                           TPlateCase{21, -1000, 65, 10, 1},
                                           // Nothing at or below 10 for a negative limit.
                                           TPlateCase{1, -10, 0, 0, 0}, TPlateCase{1, 0, 0, 0, 0},
                                           TPlateCase{21, 64, 65, 10, 1}, TPlateCase{21, 1000, 65, 10, 1},
                                           TPlateCase{21, -64, 60, 9, 1}, TPlateCase{2, 23, 0, 0, 0}),
                         hxcad::test::CaseNames());

TEST_F(TableTest, ChoiceListsFilterAndListEachValueOnce)
{
  TArrayOf<TString> list(8, 8);
  A.GetManufactures(list, false);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"*", "Фирма А", "Фирма Б", "Фирма В"}));
  A.GetTypes(TString("Фирма А"), list, false);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"*", "Тип 1"}));
  A.GetTypes(TString("Фирма Б"), list, true);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"*", "Тип 1", "Плиты", "Тип 2"}));
  A.GetTypes(TString("*"), list, false);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"*", "Тип 1", "Плиты", "Тип 2", "Тип 3"}));

  TArrayOf<int> ids(8, 8);
  A.GetDetails(TString("*"), TString("*"), list, ids);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"Деталь Д", "Плита", "Поиск", "Вразброс"}));
  ASSERT_EQ(ids.Count, 4);
  EXPECT_EQ(ids[2], 31);
  EXPECT_EQ(Log.Count("Повторяется Деталь Д"), 1);
  A.GetDetails(TString("Фирма Б"), TString("Тип 2"), list, ids);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"Поиск", "Вразброс"}));

  TString name("x"), comment("x");
  EXPECT_TRUE(A.GetParam(7, 2, name, comment, list));
  EXPECT_EQ(name.Utf8Text() + "/" + comment.Utf8Text(), "b/второй");
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"*", "   2.50", "   3.00"}));
  EXPECT_FALSE(A.GetParam(7, 4, name, comment, list));
  EXPECT_TRUE(name.Empty() && comment.Empty());
  EXPECT_EQ(list.Count, 0);
  EXPECT_FALSE(A.GetParam(55, 1, name, comment, list));
}

TEST_F(TableTest, RowsMatchingTextsSkipAnyAndEmpty)
{
  TArrayOf<TString> names(8, 8);
  TArrayOf<int> rows(8, 8);
  EXPECT_TRUE(A.GetSpcDetail(31, TString("6"), TString("*"), TString(""), names, rows));
  ASSERT_EQ(rows.Count, 3);
  EXPECT_EQ(rows[0], 3);
  EXPECT_EQ(names[2].Utf8Text(), "S6x30");
  EXPECT_TRUE(A.GetSpcDetail(31, TString(""), TString("20"), TString("*"), names, rows));
  EXPECT_EQ(Texts(names), (std::vector<std::string>{"S3x20", "S6x20", "S8x20"}));
  EXPECT_TRUE(A.GetSpcDetail(31, TString("5"), TString(""), TString(""), names, rows));
  EXPECT_EQ(rows.Count, 0);
  EXPECT_FALSE(A.GetSpcDetail(55, TString(""), TString(""), TString(""), names, rows));
}

// The lists of a table's rows used to grow by the caller's step, rebuilding every name before each
// growth: quadratic in the rows of the file's table.
TEST(StdPartsLists, ListsOfALongTableCostABoundedNumberOfAllocationsPerRow)
{
  if (!hxcadtest::TAllocationCount::Available()) GTEST_SKIP() << "allocations are counted under the sanitizer";
  constexpr int rows = 6000;
  std::string text = "# \"Длинная\" \"Ф\" \"Т\" 40 1 0 2 0\n{{ \"L\" \"\" \"d\" \"\" \"x\" \"\" }\n{\n 13 0\n";
  for (int i = 1; i <= rows; ++i)
    text += " " + std::to_string(i) + " 1\n";
  text += "}\n}\n";
  TScratchDir dir;
  dir.WriteText("long.tb", text);
  TADTable A;
  ASSERT_TRUE(A.Init(dir.Path(), TString("long.tb")));
  TArrayOf<TString> names(8, 8), values(8, 8);
  TArrayOf<int> found(8, 8);
  TString name, comment;
  std::uint64_t allocations = 0;
  {
    hxcadtest::TAllocationCount count;
    ASSERT_TRUE(A.GetSpcDetail(40, TString("*"), TString(""), TString(""), names, found));
    ASSERT_TRUE(A.GetParam(40, 1, name, comment, values));
    allocations = count.Count();
  }
  ASSERT_EQ(found.Count, rows);
  EXPECT_EQ(found[rows - 1], rows);
  EXPECT_EQ(names[rows - 1].Utf8Text(), "L6000");
  ASSERT_EQ(values.Count, rows + 1);
  EXPECT_EQ(values[rows].Utf8Text(), "6000.00");
  EXPECT_LT(allocations, 30u * rows);
}

TEST_F(TableTest, RowValuesOnlyInsideTheTable)
{
  EXPECT_EQ(A.ParStDet(7, 1, 1), 12.0);
  EXPECT_EQ(A.ParStDet(7, 3, 3), 7.0);
  for (auto [row, col] : {std::pair{0, 1}, {1, 0}, {4, 1}, {1, 4}, {-1, 1}, {1, -1}})
    EXPECT_EQ(A.ParStDet(7, row, col), 0.0) << row << " " << col;
  EXPECT_EQ(A.ParStDet(55, 1, 1), 0.0);
  ASSERT_NE(A.ParStDet(7, 3), nullptr);
  EXPECT_EQ(A.ParStDet(7, 3)[0], 16.0);
  EXPECT_EQ(A.ParStDet(7, 4), nullptr);
  EXPECT_EQ(A.ParStDet(7, 0), nullptr);

  TArrayOf<double> v(8, 8);
  EXPECT_TRUE(A.Params(7, 2, v));
  ASSERT_EQ(v.Count, 4);
  EXPECT_EQ(v[0], 0.0);
  EXPECT_EQ(v[2], 3.0);
  EXPECT_FALSE(A.Params(7, 4, v));
  EXPECT_EQ(v.Count, 0);

  double a = -1, b = -1, c = -1;
  EXPECT_TRUE(A.GetStDet(101, 1, a, b, c));
  EXPECT_EQ(a + b + c, 1.0 + 2.0 + 3.0);
  a = -1;
  EXPECT_FALSE(A.GetStDet(7, 1, a, b, c)); // three columns only
  EXPECT_FALSE(A.GetStDet(101, 2, a, b, c));
  EXPECT_EQ(a, -1.0);
}

TEST_F(TableTest, SearchesByRankedColumnsAndByExplicitOnes)
{
  // By the ranks: the first row not below each value.
  EXPECT_EQ(A.IndexStDet(31, 6.0, 20.0, 0.0), 4);
  EXPECT_EQ(A.IndexStDet(31, 7.0, 20.0, 0.0), 6);
  EXPECT_EQ(A.IndexStDet(31, 6.0, 15.0, 0.0), 4);
  EXPECT_EQ(A.IndexStDet(31, 9.0, 20.0, 0.0), 0);
  EXPECT_EQ(A.IndexStDet(31, 6.0, 0.0, 0.0), 0);
  EXPECT_EQ(A.IndexStDet(55, 6.0, 20.0, 0.0), 0);

  // By explicit columns: a positive column the last run not above, a negative one the first above.
  EXPECT_EQ(A.IndexStDet(31, 1, 6.0, 2, 20.0, 0, 0.0), 4);
  EXPECT_EQ(A.IndexStDet(31, 1, 7.0, 2, 25.0, 0, 0.0), 4);
  EXPECT_EQ(A.IndexStDet(31, -1, 7.0, 2, 20.0, 0, 0.0), 6);
  EXPECT_EQ(A.IndexStDet(31, 1, 6.0, -2, 25.0, 0, 0.0), 5);
  EXPECT_EQ(A.IndexStDet(31, 1, 6.0, -2, 35.0, 0, 0.0), 0);
  EXPECT_EQ(A.IndexStDet(31, 1, 6.0, 2, 5.0, 0, 0.0), 0);
  EXPECT_EQ(A.IndexStDet(31, 1, 2.0, 2, 20.0, 0, 0.0), 0);
  EXPECT_EQ(A.IndexStDet(31, 0, 6.0, 2, 20.0, 0, 0.0), 0);
  EXPECT_EQ(A.IndexStDet(31, 1, 6.0, 0, 20.0, 0, 0.0), 0);
  EXPECT_EQ(A.IndexStDet(31, 1, 6.0, 7, 20.0, 0, 0.0), 0);
  // A table whose code row ranks nothing: row 1.
  EXPECT_EQ(A.IndexStDet(8, 1, 6.0, 0, 0.0, 0, 0.0), 1);
  EXPECT_EQ(A.IndexStDet(8, 6.0, 0.0, 0.0), 1);

  // Rows out of order are walked as they stand (a search of sorted rows would find 3 x 10 at row 2).
  EXPECT_EQ(A.IndexStDet(32, 1, 6.0, 2, 20.0, 0, 0.0), 1);
  EXPECT_EQ(A.IndexStDet(32, 1, 3.0, 2, 10.0, 0, 0.0), 0);
  EXPECT_EQ(A.IndexStDet(32, -1, 3.0, 2, 10.0, 0, 0.0), 0);
  EXPECT_EQ(A.IndexStDet(31, 1, 3.0, 2, 10.0, 0, 0.0), 1);

  // A key that is not a number or endless finds nothing, in either form and either direction.
  for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
    EXPECT_EQ(A.IndexStDet(31, bad, 20.0, 0.0), 0) << bad;
    EXPECT_EQ(A.IndexStDet(31, 6.0, bad, 0.0), 0) << bad;
    for (int sign : {1, -1}) {
      EXPECT_EQ(A.IndexStDet(31, sign, bad, 2, 20.0, 0, 0.0), 0) << bad;
      EXPECT_EQ(A.IndexStDet(31, 1, 6.0, 2 * sign, bad, 0, 0.0), 0) << bad;
      EXPECT_EQ(A.IndexStDet(32, sign, bad, 2, 20.0, 0, 0.0), 0) << bad;
    }
  }

  EXPECT_EQ(A.Select(31, 1, 6.0, 0, 0.0, 0, 0.0), 3);
  EXPECT_EQ(A.Select(55, 1, 6.0, 0, 0.0, 0, 0.0), 0);

  // Questions asked in turn, forwards and backwards, get the answers they get alone: what one search
  // keeps of its table and columns serves no other table or columns.
  struct TAsk
  {
    int Id, C1;
    double P1;
    int C2;
    double P2;
    int Row;
  };
  const TAsk asks[] = {{31, 1, 6.0, 2, 20.0, 4}, {32, 1, 6.0, 2, 20.0, 1},  {31, 1, 6.0, -2, 25.0, 5},
                       {31, 1, 6.0, 7, 20.0, 0}, {8, 1, 6.0, 0, 0.0, 1},    {31, -1, 7.0, 2, 20.0, 6},
                       {31, 1, 6.0, 0, 20.0, 0}, {55, 1, 6.0, 2, 20.0, 0},  {31, 1, 3.0, 2, 10.0, 1}};
  const int n = int(std::size(asks));
  for (int pass = 0; pass < 2; ++pass)
    for (int i = 0; i < n; ++i) {
      const TAsk& a = asks[pass == 0 ? i : n - 1 - i];
      EXPECT_EQ(A.IndexStDet(a.Id, a.C1, a.P1, a.C2, a.P2, 0, 0.0), a.Row) << "question " << i << " pass " << pass;
    }
}

// The explicit-column search over the shipped tables against a reference written from its rule: the
// key values chosen one after the other (the largest not above, or for a negative column the
// smallest not below, among the rows keeping the earlier keys' values), and the first row holding
// them all.
int Reference(int table, const std::vector<int>& cols, const std::vector<double>& want)
{
  const int rows = ABaseDetail.SocketCount(table);
  std::vector<double> chosen;
  for (std::size_t k = 0; k < cols.size(); ++k) {
    const int c = std::abs(cols[k]);
    bool found = false;
    double best = 0.0;
    for (int r = 1; r < rows; ++r) {
      bool keeps = true;
      for (std::size_t q = 0; q < k; ++q)
        keeps = keeps && ABaseDetail.ParStDet(table, r, std::abs(cols[q])) == chosen[q];
      if (!keeps) continue;
      const double v = ABaseDetail.ParStDet(table, r, c);
      const bool fits = cols[k] > 0 ? v <= want[k] : v >= want[k];
      if (fits && (!found || (cols[k] > 0 ? v > best : v < best))) best = v, found = true;
    }
    if (!found) return 0;
    chosen.push_back(best);
  }
  for (int r = 1; r < rows; ++r) {
    bool all = true;
    for (std::size_t q = 0; q < cols.size(); ++q)
      all = all && ABaseDetail.ParStDet(table, r, std::abs(cols[q])) == chosen[q];
    if (all) return r;
  }
  return 0;
}

TEST(StdPartsSearch, ExplicitColumnsAgreeWithTheReferenceOnTheShippedTables)
{
  stdtest::LoadShipped();
  std::mt19937 random(7);
  struct TSpec
  {
    int Table, C1, C2;
  };
  for (TSpec s : {TSpec{31, 1, 2}, TSpec{33, 1, 2}, TSpec{26, 1, 8}, TSpec{39, 5, 7}}) {
    const int rows = ABaseDetail.SocketCount(s.Table);
    ASSERT_GT(rows, 1);
    for (int i = 0; i < 400; ++i) {
      // Values at, between and beyond the table's own.
      const int r = 1 + int(random() % unsigned(rows - 1));
      std::uniform_real_distribution<double> jitter(-3.0, 3.0);
      const double a = ABaseDetail.ParStDet(s.Table, r, s.C1) + (i % 3 == 0 ? 0.0 : jitter(random));
      const double b = ABaseDetail.ParStDet(s.Table, r, s.C2) + (i % 2 == 0 ? 0.0 : 10.0 * jitter(random));
      for (int sa : {1, -1})
        for (int sb : {1, -1}) {
          const std::vector<int> cols{sa * s.C1, sb * s.C2};
          EXPECT_EQ(ABaseDetail.IndexStDet(s.Table, cols[0], a, cols[1], b, 0, 0.0),
                    Reference(s.Table, cols, {a, b}))
              << "table " << s.Table << " columns " << cols[0] << ", " << cols[1] << " values " << a << ", "
              << b;
        }
    }
  }
}

} // namespace
