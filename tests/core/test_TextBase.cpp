// The text base: opening, tables by name, the user's table list, malformed bases, the
// standard-part entries and their row search, and the designations of the collection.
#include "tests/TestNames.h"

#include <gtest/gtest.h>

#include <iterator>
#include <ostream>

#include <memory>
#include <string>
#include <vector>

#include "TextBaseTestUtil.h"
#include "hxcadkit/core/TextBase.h"
#include "tests/AllocationCount.h"

using namespace tbtest;

namespace {

const char* const BadFile = "Плохой файл параметров";

TString DataDir()
{
  return TString((std::string(HXCAD_TEST_DATA) + "/textbase/").c_str());
}

// A text base opened on one of the committed test files.
struct TBase
{
  explicit TBase(const char* name) { Ok = B.Init(DataDir(), TString(name)); }
  TTextBase B;
  bool Ok;
};

std::vector<double> Values(const TTable& t)
{
  return std::vector<double>(t.cArray, t.cArray + t.Count);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Opening

TEST(TextBaseInit, WithoutTheByteOrderMarkItIsReportedOnceAndYieldsNothing)
{
  for (const char* name : {"nobom.tb", "bigendian.tb", "empty.tb"}) {
    TMessageLog log;
    TBase b(name);
    EXPECT_FALSE(b.Ok) << name;
    ASSERT_EQ(log.Texts.size(), 1u) << name;
    EXPECT_EQ(log.Texts[0], TString(BadFile) + TString(" ") + DataDir() + TString(name));
    EXPECT_EQ(b.B.GetTable(TString("T")), nullptr);
    TAStr list;
    b.B.CouplingLS(list);
    EXPECT_EQ(list.Count, 0);
    EXPECT_FALSE(b.B.Init(DataDir(), TString("base.tb")));
    EXPECT_EQ(log.Texts.size(), 1u);
  }
}

TEST(TextBaseInit, AMissingBaseGivesTheOpenFailureOnly)
{
  TMessageLog log;
  TBase b("no-such.tb");
  EXPECT_FALSE(b.Ok);
  EXPECT_EQ(log.Count("Ошибка открытия файла "), 1);
  EXPECT_EQ(log.Texts.size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// Tables

TEST(TextBaseTables, ACouplingTableWithCommasCommentsAndTabs)
{
  TBase b("base.tb");
  bool plain = false;
  std::unique_ptr<TTable> t(b.B.GetTable(TString("Муфта упругая"), &plain));
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(plain) << "decimal commas are plain numbers";
  EXPECT_EQ(t->GOST, TString("ГОСТ 21424-93"));
  EXPECT_EQ(t->CountColumn, 4);
  EXPECT_EQ(t->Control, 1);
  ASSERT_EQ(t->CountRow, 5);
  EXPECT_DOUBLE_EQ(t->Row(0)[0], 6.3);
  EXPECT_DOUBLE_EQ(t->Row(2)[3], 0.75);
  EXPECT_DOUBLE_EQ(t->Row(4)[0], 31.5);
  // The row of a 13 mm shaft is the first not below it.
  EXPECT_DOUBLE_EQ(t->GetParam(t->Control, 13.0)[1], 14.0);
}

// A value that is not a plain number is located wherever it stands, so that the table's reader can name its
// row; of two, the first.
TEST(TextBaseTables, TheFirstValueThatIsNotAPlainNumberIsLocated)
{
  constexpr int columns = 3, values = 4 * columns;
  const std::string bad[] = {"1e308", "12a", "мм", "1,2,5", "-", "1" + std::string(400, '0')};
  TScratchDir dir;
  for (int at = -1; at < values; ++at) {
    std::string text = "# \"T\" \"G\" \"C\" 3 0\n{\n";
    for (int k = 0; k < values; ++k) {
      const bool wrong = k == at || (at >= 0 && k == values - 1);
      text += wrong ? bad[(at + k) % std::size(bad)] : std::to_string(k) + ",5";
      text += k % columns == columns - 1 ? "\n" : "\t";
    }
    dir.WriteText("t.tb", text + "}\n");
    TTextBase base;
    ASSERT_TRUE(base.Init(dir.Path(), TString("t.tb")));
    bool plain = at >= 0;
    Integer irregular = -2;
    std::unique_ptr<TTable> t(base.GetTable(TString("T"), &plain, &irregular));
    ASSERT_NE(t, nullptr) << at;
    EXPECT_EQ(t->Count, values) << at;
    EXPECT_EQ(plain, at < 0) << at;
    EXPECT_EQ(irregular, at) << text;
  }
}

// A row written with a value too many or too few is found by its line, however the lines end and whatever
// lines without values stand between the rows; a table whose values fill its rows names none.
TEST(TextBaseTables, ARowWithAValueTooManyOrTooFewIsFoundByItsLine)
{
  constexpr int columns = 3, rows = 4;
  const std::string ends[] = {"\n", "\r\n", "\r", " // note\r\n", "\t// note\n\n\t\n", "\n//\n"};
  TScratchDir dir;
  for (const std::string& end : ends)
    for (int row : {0, 1, rows - 1})
      for (int delta : {-1, 0, 1}) {
        std::string text = "# \"T\" \"G\" \"C\" 3 0" + end + "{" + end;
        int values = 0;
        for (int r = 0; r < rows; ++r) {
          for (int k = 0; k < columns + (r == row ? delta : 0); ++k) {
            text += '\t';
            text += std::to_string(++values);
          }
          text += end;
        }
        dir.WriteText("t.tb", text + "}" + end);
        TTextBase base;
        ASSERT_TRUE(base.Init(dir.Path(), TString("t.tb")));
        TTextBase::TOddRow odd;
        odd.Row = -2;
        std::unique_ptr<TTable> t(base.GetTable(TString("T"), nullptr, nullptr, &odd));
        ASSERT_NE(t, nullptr) << text;
        EXPECT_EQ(t->Count, values) << text;
        EXPECT_EQ(t->cArray[values - 1], values) << text;
        EXPECT_EQ(odd.Row, delta == 0 ? -1 : row) << text;
        EXPECT_EQ(odd.Values, delta == 0 ? 0 : columns + delta) << text;
        // Handed out again from what the first request kept.
        t.reset(base.GetTable(TString("T"), nullptr, nullptr, &odd));
        EXPECT_EQ(odd.Row, delta == 0 ? -1 : row) << text;
      }
}

TEST(TextBaseTables, AuxiliaryTablesAreFoundButNotListed)
{
  TBase b("base.tb");
  std::unique_ptr<TTable> bolts(b.B.GetTable(TString("Муфта упругая.Болты")));
  ASSERT_NE(bolts, nullptr);
  EXPECT_EQ(bolts->CountRow, 3);
  TAStr list;
  list.Add(TString("stale"));
  b.B.CouplingLS(list);
  ASSERT_EQ(list.Count, 6);
  EXPECT_EQ(list[0], TString("Муфта упругая"));
  EXPECT_EQ(list[5], TString("Пустая"));
}

TEST(TextBaseTables, UnknownNamesGiveNullWithoutAMessage)
{
  TMessageLog log;
  TBase b("base.tb");
  EXPECT_EQ(b.B.GetTable(TString("Нет такой")), nullptr);
  EXPECT_EQ(b.B.GetTable(TString("Муфта")), nullptr); // a prefix is no match
  EXPECT_TRUE(log.Texts.empty());
}

TEST(TextBaseTables, AnEmptyTableHasNoRows)
{
  TBase b("base.tb");
  std::unique_ptr<TTable> t(b.B.GetTable(TString("Пустая")));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->Count, 0);
  EXPECT_EQ(t->GetParam(0, 1.0), nullptr);
}

// A lookup used to rewind the file but start on the characters still pending from before.
TEST(TextBaseTables, PendingCharactersDoNotLeakIntoTheNextLookup)
{
  TScratchDir dir;
  dir.WriteText("a.tb", "# \"A\" \"GA\" \"C\" 1 0 { 5 }\n# \"B\" \"GB\" \"C\" 1 0 { 6 }\n");
  TTextBase b;
  ASSERT_TRUE(b.Init(dir.Path(), TString("a.tb")));
  // Characters left pending by a reader: on their own they would name table B at once.
  for (wchar_t c : std::wstring(L"# \"B\""))
    b.PutWCharInBufer(c);
  std::unique_ptr<TTable> t(b.GetTable(TString("B")));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->GOST, TString("GB"));
  EXPECT_EQ(Values(*t), (std::vector<double>{6}));
}

TEST(TextBaseTables, RepeatedRequestsFollowChangesOfTheFile)
{
  TScratchDir dir;
  dir.WriteText("a.tb", "# \"T\" \"G1\" \"C\" 1 0 { 1 2 }\n");
  TTextBase b;
  ASSERT_TRUE(b.Init(dir.Path(), TString("a.tb")));
  for (int i = 0; i < 3; ++i) {
    std::unique_ptr<TTable> t(b.GetTable(TString("T")));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(Values(*t), (std::vector<double>{1, 2}));
    t->Array[0] = 99; // a copy: the next request is not affected
  }
  EXPECT_EQ(b.GetTable(TString("U")), nullptr);
  dir.WriteText("a.tb", "# \"T\" \"G2\" \"C\" 1 0 { 3 4 5 }\n# \"U\" \"G\" \"C\" 1 0 { 6 }\n");
  std::unique_ptr<TTable> t(b.GetTable(TString("T")));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->GOST, TString("G2"));
  EXPECT_EQ(Values(*t), (std::vector<double>{3, 4, 5}));
  std::unique_ptr<TTable> u(b.GetTable(TString("U")));
  EXPECT_NE(u, nullptr);
}

TEST(TextBaseTables, TablesAskedForTogetherLookAtTheFileOnceAndFollowItAfterwards)
{
  TScratchDir dir;
  dir.WriteText("a.tb", "# \"T\" \"G1\" \"C\" 1 0 { 1 2 }\n");
  TTextBase b;
  ASSERT_TRUE(b.Init(dir.Path(), TString("a.tb")));
  auto values = [&](const char* name) {
    std::unique_ptr<TTable> t(b.GetTable(TString(name)));
    return t ? Values(*t) : std::vector<double>{};
  };
  {
    const TTextBase::TTogether outer(b);
    EXPECT_EQ(values("T"), (std::vector<double>{1, 2}));
    dir.WriteText("a.tb", "# \"T\" \"G2\" \"C\" 1 0 { 3 4 5 }\n");
    {
      const TTextBase::TTogether inner(b);
      EXPECT_EQ(values("T"), (std::vector<double>{1, 2}));
    }
    // The inner group ended inside the outer one: the file is still taken as it stood.
    EXPECT_EQ(values("T"), (std::vector<double>{1, 2}));
  }
  EXPECT_EQ(values("T"), (std::vector<double>{3, 4, 5}));
  {
    const TTextBase::TTogether again(b);
    EXPECT_EQ(values("T"), (std::vector<double>{3, 4, 5}));
  }
  dir.WriteText("a.tb", "# \"T\" \"G3\" \"C\" 1 0 { 6 }\n");
  EXPECT_EQ(values("T"), (std::vector<double>{6}));
}

TEST(TextBaseTables, AStateStandsUntilTheFileChangesAndBelongsToItsObject)
{
  TScratchDir dir;
  dir.WriteText("a.tb", "# \"T\" \"G1\" \"C\" 1 0 { 1 2 }\n");
  TTextBase b;
  EXPECT_FALSE(b.State() == b.State()); // before the base is read nothing is known
  ASSERT_TRUE(b.Init(dir.Path(), TString("a.tb")));
  const TTextBase::TState first = b.State();
  EXPECT_TRUE(first == b.State());
  std::unique_ptr<TTable> t(b.GetTable(TString("T")));
  EXPECT_TRUE(first == b.State());
  {
    // Another object on the same file keeps tables of its own: its states are not this one's.
    TTextBase other;
    ASSERT_TRUE(other.Init(dir.Path(), TString("a.tb")));
    EXPECT_FALSE(first == other.State());
  }
  dir.WriteText("a.tb", "# \"T\" \"G2\" \"C\" 1 0 { 3 4 5 }\n");
  {
    // Asked for together with tables, the state is the one the tables were read in.
    const TTextBase::TTogether together(b);
    const TTextBase::TState now = b.State();
    EXPECT_FALSE(first == now);
    t.reset(b.GetTable(TString("T")));
    EXPECT_EQ(Values(*t), (std::vector<double>{3, 4, 5}));
    dir.WriteText("a.tb", "# \"T\" \"G3\" \"C\" 1 0 { 6 }\n");
    EXPECT_TRUE(now == b.State());
  }
  EXPECT_FALSE(first == b.State());
}

TEST(TextBaseTables, ABrokenTableIsReportedOnEveryRequest)
{
  TMessageLog log;
  TBase b("missing_brace.tb");
  EXPECT_EQ(b.B.GetTable(TString("T")), nullptr);
  EXPECT_EQ(b.B.GetTable(TString("T")), nullptr);
  EXPECT_EQ(log.Count(BadFile), 2);
}

// ---------------------------------------------------------------------------------------------
// Malformed bases: each stops, reports the base as bad and gives no table.

namespace {
class MalformedBase : public ::testing::TestWithParam<const char*>
{
};
} // namespace

TEST_P(MalformedBase, GivesNullWithTheBadFileMessage)
{
  TMessageLog log;
  TBase b(GetParam());
  ASSERT_TRUE(b.Ok);
  EXPECT_EQ(b.B.GetTable(TString("T")), nullptr);
  ASSERT_EQ(log.Texts.size(), 1u);
  EXPECT_EQ(log.Texts[0], TString(BadFile) + TString(" ") + DataDir() + TString(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Files, MalformedBase,
                         ::testing::Values("missing_brace.tb", "missing_brace_next.tb", "brace_glued.tb",
                                           "zero_columns.tb", "negative_columns.tb", "huge_columns.tb",
                                           "key_outside.tb", "negative_key.tb"),
                         hxcad::test::CaseNames());

TEST(MalformedBases, TheTableAfterABrokenOneIsStillFound)
{
  TBase b("missing_brace_next.tb");
  std::unique_ptr<TTable> u(b.B.GetTable(TString("U")));
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(Values(*u), (std::vector<double>{5}));
}

TEST(MalformedBases, AHashAtTheEndAndAnOddLengthEndTheScan)
{
  for (const char* name : {"hash_at_end.tb", "odd_length.tb"}) {
    TBase b(name);
    ASSERT_TRUE(b.Ok);
    EXPECT_EQ(b.B.GetTable(TString("X")), nullptr) << name;
    std::unique_ptr<TTable> t(b.B.GetTable(TString("T")));
    ASSERT_NE(t, nullptr) << name;
    TAStr list;
    b.B.CouplingLS(list);
    EXPECT_GE(list.Count, 1) << name;
  }
}

// The value loop used to run on to the end of the scratch area and beyond.
TEST(MalformedBases, MoreValuesThanATableHoldsAreRefused)
{
  TScratchDir dir;
  auto base = [](int n) {
    std::string s = "# \"T\" \"D\" \"C\" 1 0 {";
    for (int i = 0; i < n; ++i)
      s += " 1";
    return s + " }";
  };
  dir.WriteText("full.tb", base(MaxTextBaseValues));
  dir.WriteText("over.tb", base(MaxTextBaseValues + 1));
  TTextBase full, over;
  ASSERT_TRUE(full.Init(dir.Path(), TString("full.tb")));
  ASSERT_TRUE(over.Init(dir.Path(), TString("over.tb")));
  std::unique_ptr<TTable> t(full.GetTable(TString("T")));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->Count, MaxTextBaseValues);
  TMessageLog log;
  EXPECT_EQ(over.GetTable(TString("T")), nullptr);
  EXPECT_EQ(log.Count(BadFile), 1);
}

// The user's list used to grow by one slot per name, rebuilding every name before it: a base of a
// few hundred thousand tables took minutes and gigabytes.
TEST(LargeBases, TheTableListCostsABoundedNumberOfAllocationsPerTable)
{
  if (!hxcadtest::TAllocationCount::Available())
    GTEST_SKIP() << "allocations are counted under the sanitizer";
  constexpr int tables = 4000;
  TScratchDir dir;
  std::string text;
  for (int i = 0; i < tables; ++i)
    text += "# \"N" + std::to_string(i) + "\" \"G\" \"C\" 1 0 { 1 }\n";
  dir.WriteText("many.tb", text);
  TTextBase base;
  ASSERT_TRUE(base.Init(dir.Path(), TString("many.tb")));
  TAStr list; // no storage and step 0
  std::uint64_t allocations = 0;
  {
    hxcadtest::TAllocationCount count;
    base.CouplingLS(list);
    allocations = count.Count();
  }
  ASSERT_EQ(list.Count, tables);
  EXPECT_EQ(list[0], TString("N0"));
  EXPECT_EQ(list[tables - 1], TString("N3999"));
  EXPECT_LT(allocations, 20u * tables);
}

// ---------------------------------------------------------------------------------------------
// Standard-part entries

namespace {

// Reads every entry of a standard-part file the way the collection does.
struct TParts
{
  explicit TParts(const char* name)
  {
    Ok = B.Init(DataDir(), TString(name));
    for (;;) {
      B.SkipTo(L'#');
      if (B.FB.EndOfFile() && B.EmptyBufer()) break;
      TString entry = B.GetStr();
      A.Details[A.Count++] = new TDTable(entry, B);
    }
  }
  const TDTable& operator[](int i) const { return *A.Details[i]; }
  TTextBase B;
  TADTable A;
  bool Ok;
};

std::string Word(const TDTable& t, int i)
{
  return t.NameParam[i] ? std::string(t.NameParam[i]) : std::string("<null>");
}

} // namespace

TEST(StandardParts, AnEntryWithItsWordsAndValues)
{
  TParts p("parts.tb");
  ASSERT_TRUE(p.Ok);
  ASSERT_EQ(p.A.Count, 3);
  const TDTable& t = p[0];
  EXPECT_EQ(t.Name, TString("Втулка"));
  EXPECT_EQ(t.Manufacturer, TString("Фирма А"));
  EXPECT_EQ(t.ID, 7);
  EXPECT_EQ(t.Params, 3);
  EXPECT_EQ(t.Count, 5);
  EXPECT_EQ(t.pBase2, nullptr);
  ASSERT_NE(t.pBase, nullptr);
  EXPECT_EQ(t.pBase[3 * 4 + 1], 30.0);
  EXPECT_EQ(Word(t, 2), "d");
  TString w;
  w.Set(t.NameParam[7]);
  EXPECT_EQ(w, TString("масса"));
}

TEST(StandardParts, APlateEntryHasTwoBlocks)
{
  TParts p("parts.tb");
  const TDTable& t = p[1];
  EXPECT_EQ(t.ID, 101);
  EXPECT_EQ(t.Params, 18);
  EXPECT_EQ(t.Count, 2);
  EXPECT_EQ(t.Params2, 13);
  EXPECT_EQ(t.Count2, 2);
  EXPECT_EQ(t.pBase2[13 + 1], 21.0);
}

TEST(StandardParts, WordsPastTheSlotsAreReadOver)
{
  TParts p("parts.tb");
  const TDTable& t = p[2];
  EXPECT_EQ(t.Params, 1);
  EXPECT_EQ(Word(t, 0), "a");
  EXPECT_EQ(Word(t, 3), "d");
  EXPECT_EQ(t.Count, 3);
  EXPECT_EQ(t.pBase[2], 30.0);
}

// Negative and huge value counts per row used to size the word list and the blocks.
TEST(StandardParts, BadCountsGiveAnEmptyEntryAndTheNextOneIsRead)
{
  for (const char* name : {"parts_negative_params.tb", "parts_huge_params.tb", "parts_missing_brace.tb"}) {
    TMessageLog log;
    TParts p(name);
    ASSERT_GE(p.A.Count, 1) << name;
    const TDTable& t = p[0];
    EXPECT_EQ(t.Params, 0) << name;
    EXPECT_EQ(t.Count, 0) << name;
    EXPECT_EQ(t.pBase, nullptr) << name;
    ASSERT_NE(t.NameParam, nullptr);
    EXPECT_EQ(t.NameParam[0], nullptr);
    EXPECT_EQ(log.Count(BadFile), 1) << name;
  }
  TParts p("parts_negative_params.tb");
  ASSERT_EQ(p.A.Count, 2);
  EXPECT_EQ(p[1].Name, TString("Q"));
  EXPECT_EQ(p[1].Count, 2);
}

namespace {
struct TPartSelectCase
{
  int c1;
  double x1;
  int c2;
  double x2;
  int c3;
  double x3;
  int row;
};

void PrintTo(const TPartSelectCase& c, std::ostream* os)
{
  *os << c.c1 << " " << c.x1 << " " << c.c2 << " " << c.x2 << " " << c.c3 << " " << c.x3;
}

class PartSelect : public ::testing::TestWithParam<TPartSelectCase>
{
};
} // namespace

// Rows of the sleeve (d, L, m): 1 (10, 20, 1), 2 (12, 25, 2), 3 (12, 30, 3), 4 (16, 30, 4).
TEST_P(PartSelect, FindsTheRowOfTheKeys)
{
  TParts p("parts.tb");
  const TPartSelectCase& c = GetParam();
  EXPECT_EQ(p[0].Select(c.c1, c.x1, c.c2, c.x2, c.c3, c.x3), c.row);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PartSelect,
    ::testing::Values(TPartSelectCase{1, 11, 0, 0, 0, 0, 1},  // the nearest row below
                      TPartSelectCase{1, 20, 0, 0, 0, 0, 4},  // below every row: the last
                      TPartSelectCase{1, 5, 0, 0, 0, 0, 0},   // above every row: none
                      TPartSelectCase{-1, 11, 0, 0, 0, 0, 2}, // the first row above
                      TPartSelectCase{1, 12, 2, 27, 3, 2, 2}, // the nearest L below 27 is 25
                      TPartSelectCase{1, 12, 2, 40, 3, 3, 0}, // the run of d = 12 ends first
                      TPartSelectCase{9, 12, 0, 0, 0, 0, 0}),
    hxcad::test::CaseNames()); // past the row

TEST(StandardParts, DesignationsOfPlainAndPlateTables)
{
  TParts p("parts.tb");
  EXPECT_EQ(p.A.Name(TBaseDetail(7, 2, -1)), TString("Втулка -12x25"));
  EXPECT_EQ(p.A.Name(TBaseDetail(7, 4, -1)), TString("Втулка -16x30"));
  EXPECT_EQ(p.A.Name(TBaseDetail(101, 2, 0)), TString("K10-296*346*27/01"));
  EXPECT_EQ(p.A.Name(TBaseDetail(101, 1, 1)), TString("K15-246*296*20/00"));
  EXPECT_EQ(p.A.Name(TBaseDetail(8, 1, -1)), TString());
  // Rows outside the table name nothing.
  EXPECT_EQ(p.A.Name(TBaseDetail(7, 99, -1)), TString());
  EXPECT_EQ(p.A.Name(TBaseDetail(101, 2, 5)), TString());
  EXPECT_EQ(p.A.Name(TBaseDetail(101, 11, 0)), TString());
}
