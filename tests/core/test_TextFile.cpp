// The UTF-16 and 8-bit tokenisers: the comment and control filter, the token operations, and
// how the readers open (and close) their files.
#include "tests/TestNames.h"

#include <gtest/gtest.h>

#include <ostream>

#include <dirent.h>

#include <string>

#include "TextBaseTestUtil.h"
#include "hxcadkit/core/TextBase.h"
#include "hxcadkit/core/TextFile.h"

using namespace tbtest;

namespace {

// A wide reader over the given UTF-16 units (after a byte-order mark).
struct TWideFixture
{
  explicit TWideFixture(const std::u16string& units)
  {
    Dir.Write("t.tb", Utf16Bytes(units));
    EXPECT_TRUE(R.Init(Dir.Path(), TString("t.tb")));
  }
  // Every character the filter lets through, up to the end of the data.
  std::u16string All()
  {
    std::u16string out;
    while (!R.EndOfData())
      out += char16_t(R.GetWChar());
    return out;
  }
  TScratchDir Dir;
  TWideTextFile R;
};

struct TByteFixture
{
  explicit TByteFixture(const std::string& bytes)
  {
    Dir.Write("t.txt", bytes);
    EXPECT_TRUE(R.Init(Dir.Path(), TString("t.txt")));
  }
  std::string All()
  {
    std::string out;
    while (!R.EndOfData())
      out += R.GetChar();
    return out;
  }
  TScratchDir Dir;
  TCTextFile R;
};

std::u16string U(const char16_t* s, std::size_t n)
{
  return std::u16string(s, n);
}

int OpenFiles()
{
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d))
      ++n;
    closedir(d);
  }
  return n;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Filter

namespace {
struct TFilterCase
{
  const char* what;
  std::u16string in;
  std::u16string out;
};

void PrintTo(const TFilterCase& c, std::ostream* os)
{
  *os << c.what;
}

class WideFilter : public ::testing::TestWithParam<TFilterCase>
{
};
} // namespace

TEST_P(WideFilter, PassesTextAndTurnsCommentsAndControlsIntoBlanks)
{
  TWideFixture f(GetParam().in);
  EXPECT_EQ(f.All(), GetParam().out) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WideFilter,
    ::testing::Values(TFilterCase{"comment with CR LF", u"a//x\r\nb", u"a b"},

                      TFilterCase{"slash at the end", u"a/", u"a/"},

                      TFilterCase{"comment at the end of the data", u"a//x", u"a "},

                      TFilterCase{"a CR takes the next character along", u"a//x\rbc", u"a c"},
                      TFilterCase{"control run ended by a comment", u"a\t//x\r\nb", u"a  b"},

                      TFilterCase{"comment whose last character is a slash", u"a//x/\nb", u"a b"},
                      TFilterCase{"Cyrillic and the BOM pass", u"\u0416\uFEFF\u044F", u"\u0416\uFEFF\u044F"},
                      TFilterCase{"a 0 becomes a blank and a 0", U(u"a\0b", 3), U(u"a \0b", 4)},
                      TFilterCase{"control run ended by a 0", U(u"a\t\0b", 4), U(u"a \0b", 4)},

                      TFilterCase{"unit 27 is no control", u"a\x1B", u"a\x1B"}),
                         hxcad::test::CaseNames());

TEST(ByteFilter, BytesFrom128AreControlsAndCommentsAreBlanks)
{
  EXPECT_EQ(TByteFixture("a//x\r\nb").All(), "a b");
  EXPECT_EQ(TByteFixture("a\xC0"
                         "b")
                .All(),
            "a b");
  EXPECT_EQ(TByteFixture("a\xC0\xFF\t\x01"
                         "b")
                .All(),
            "a b");
  EXPECT_EQ(TByteFixture("/a").All(), "/a");
  EXPECT_EQ(TByteFixture("a\x7F").All(), "a\x7F");
}

// ---------------------------------------------------------------------------------------------
// Token operations

TEST(WideTokens, DelimiterWordsAreSplitAtBlanksCommasAndSemicolons)
{
  TWideFixture f(u"a,\tb");
  EXPECT_EQ(f.R.SkipDelimiterStrToDelimiter(), TString("a"));
  EXPECT_EQ(f.R.SkipDelimiterStrToDelimiter(), TString("b"));
  EXPECT_TRUE(f.R.EndOfData());
  EXPECT_EQ(f.R.SkipDelimiterStrToDelimiter(), TString());
}

TEST(WideTokens, GetStrTakesTheFirstCharacterUnseen)
{
  TWideFixture f(u"xabc\"rest");
  EXPECT_EQ(f.R.GetStr(), TString("abc"));
  EXPECT_EQ(f.R.GetWChar(), L'r');
}

TEST(WideTokens, CharactersTheCodePageLacksBecomeQuestionMarks)
{
  TWideFixture f(u"\"a\u4E00b\"");
  EXPECT_EQ(f.R.GetStr(), TString("a?b"));
}

TEST(WideTokens, NumbersReadUpToTheNextBlank)
{
  TWideFixture f(u" 12  1,5  -7 2.25}x 3");
  EXPECT_EQ(f.R.GetInt(), 12);
  EXPECT_DOUBLE_EQ(f.R.GetReal(), 1.5);
  EXPECT_EQ(f.R.GetInt(), -7);
  // A brace glued to a value is collected with it (and cleaned away by the conversion).
  EXPECT_DOUBLE_EQ(f.R.GetReal(), 2.25);
  EXPECT_EQ(f.R.GetInt(), 3);
  EXPECT_TRUE(f.R.EndOfData());
  EXPECT_EQ(f.R.GetInt(), 0);
  EXPECT_DOUBLE_EQ(f.R.GetReal(), 0.0);
}

TEST(WideTokens, SkipAndStrToStopAtTheEndOfTheData)
{
  TWideFixture f(u"aaab  cd");
  f.R.Skip(L'a');
  EXPECT_EQ(f.R.NextWChar(), L'b');
  f.R.SkipTo(u'#'); // the char16_t form
  EXPECT_TRUE(f.R.EndOfData());
  EXPECT_EQ(f.R.GetWChar(), 0);
  f.R.Skip(L'\0'); // would spin on the 0 of the end without its end test
  f.R.SkipDelimiter(L'\0');
  f.R.SkipTo('#');
  EXPECT_EQ(f.R.StrTo(L'"'), TString());
}

TEST(WideTokens, StrToStopsAtAZero)
{
  TWideFixture f(U(u"ab\0cd\"", 6));
  EXPECT_EQ(f.R.StrTo(u'"'), TString("ab "));
  EXPECT_EQ(f.R.StrTo('"'), TString("cd"));
}

TEST(ByteTokens, TheSameOperationsOnBytes)
{
  TByteFixture f(" \"word\" 12 1,5 a,;b");
  EXPECT_EQ(f.R.GetStr(), TString("word"));
  EXPECT_EQ(f.R.GetInt(), 12);
  EXPECT_DOUBLE_EQ(f.R.GetReal(), 1.5);
  EXPECT_EQ(f.R.SkipDelimiterStrToDelimiter(), TString("a"));
  EXPECT_EQ(f.R.SkipDelimiterStrToDelimiter(), TString("b"));
  EXPECT_TRUE(f.R.EndOfData());
  f.R.Skip('\0');
  f.R.SkipTo('#');
  EXPECT_EQ(f.R.StrTo('"'), TString());
}

// ---------------------------------------------------------------------------------------------
// Opening

TEST(ReaderInit, OpensOnceAndLaterCallsOnlyStoreTheNames)
{
  TScratchDir dir;
  dir.WriteText("a.tb", "x");
  TWideTextFile r;
  EXPECT_EQ(r.NameTextBase, TString("VUVudirido.tb"));
  EXPECT_FALSE(r.IsActive());
  ASSERT_TRUE(r.Init(dir.Path(), TString("a.tb")));
  EXPECT_TRUE(r.Init(dir.Path(), TString("missing.tb")));
  EXPECT_EQ(r.NameTextBase, TString("missing.tb"));
  EXPECT_EQ(r.GetWChar(), L'x'); // still reading the first file
}

TEST(ReaderInit, AMissingFileIsReportedTwiceAndNeverRetried)
{
  TMessageLog log;
  TScratchDir dir;
  TWideTextFile r;
  EXPECT_FALSE(r.Init(dir.Path(), TString("none.tb")));
  EXPECT_EQ(log.Count("Ошибка открытия файла "), 1);
  ASSERT_EQ(log.Count("Отсутствует файл "), 1);
  EXPECT_EQ(log.Texts.back(), TString("Отсутствует файл ") + dir.Path() + TString("none.tb"));
  dir.WriteText("none.tb", "x");
  EXPECT_FALSE(r.Init(dir.Path(), TString("none.tb")));
  EXPECT_EQ(log.Texts.size(), 2u);
  EXPECT_EQ(r.GetWChar(), 0);
}

TEST(ReaderInit, TheByteReaderReadsNoByteOrderMark)
{
  TMessageLog log;
  TScratchDir dir;
  dir.Write("a.txt", "ab");
  TCTextFile r;
  ASSERT_TRUE(r.Init(dir.Path(), TString("a.txt")));
  EXPECT_EQ(r.GetChar(), 'a');
  EXPECT_TRUE(log.Texts.empty());
  TCTextFile missing;
  EXPECT_FALSE(missing.Init(dir.Path(), TString("none.txt")));
  EXPECT_EQ(log.Count("Отсутствует файл "), 1);
}

// A reader that opened a file and then refused it used to keep it open for its whole life.
TEST(ReaderInit, ARejectedFileIsClosedAtOnce)
{
  TMessageLog log;
  TScratchDir dir;
  dir.WriteText("nobom.tb", "# \"T\" \"D\" \"C\" 1 0 { 1 }", false);
  int before = OpenFiles();
  TTextBase b;
  EXPECT_FALSE(b.Init(dir.Path(), TString("nobom.tb")));
  EXPECT_FALSE(b.FB.Active());
  EXPECT_EQ(OpenFiles(), before);
}

TEST(ReaderInit, ReadersCloseTheirFilesWhenDestroyed)
{
  TScratchDir dir;
  dir.WriteText("a.tb", "x");
  int before = OpenFiles();
  {
    TWideTextFile w;
    TCTextFile c;
    ASSERT_TRUE(w.Init(dir.Path(), TString("a.tb")));
    ASSERT_TRUE(c.Init(dir.Path(), TString("a.tb")));
    EXPECT_EQ(OpenFiles(), before + 2);
  }
  EXPECT_EQ(OpenFiles(), before);
}
