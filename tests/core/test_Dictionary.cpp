// The phrase dictionary: finding and loading its file, lookups, collecting missing phrases,
// saving the new dictionary and reading it back, and damaged files.
#include "tests/TestNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/Dictionary.h"
#include "tests/core/MessageRecorder.h"
#include "tests/core/TextBaseTestUtil.h"

namespace {

namespace fs = std::filesystem;
using TPairs = std::vector<std::pair<std::string, std::string>>;
using tbtest::TScratchDir;
using tbtest::Utf32;

std::string Bytes(const std::u32string& units)
{
  std::string b;
  for (char32_t u : units)
    for (int k = 0; k < 4; ++k)
      b += char((std::uint32_t(u) >> (8 * k)) & 0xFF);
  return b;
}

// A dictionary file as Save writes one.
std::string DicBytes(const TPairs& pairs)
{
  std::u32string t = U"\uFEFF";
  for (const auto& [a, b] : pairs)
    t += U"\"" + Utf32(a) + U"\"=\"" + Utf32(b) + U"\"\r\n";
  return Bytes(t);
}

std::string ReadFile(const fs::path& p)
{
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& p, const std::string& bytes)
{
  std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

std::string DataFile(const char* name)
{
  return std::string(HXCAD_TEST_DATA) + "/dictionary/" + name;
}

// The table holds 4000 strings: too big for the stack of a test.
std::unique_ptr<TDictionary> Fresh()
{
  return std::make_unique<TDictionary>();
}

std::string Text(const TString& s)
{
  return s.Utf8Text();
}

TPairs Table(const TDictionary& d)
{
  TPairs out;
  for (Integer i = 0; i < d.AllWords; ++i)
    out.emplace_back(Text(d.Words[i][0]), Text(d.Words[i][1]));
  return out;
}

bool SortedPart(const TDictionary& d)
{
  for (Integer i = 1; i < d.CountWords; ++i)
    if (d.Words[i][0] < d.Words[i - 1][0]) return false;
  return true;
}

// A dictionary loaded from pairs written as dir/ZEdozod.dic.
std::unique_ptr<TDictionary> Loaded(const TScratchDir& dir, const TPairs& pairs)
{
  WriteFile(dir / "ZEdozod.dic", DicBytes(pairs));
  auto d = Fresh();
  d->Init(TString("libVUVudirido"), dir.Path(), TString());
  return d;
}

std::string Look(TDictionary& d, const char* phrase)
{
  return Text(d.DC(TString(phrase)));
}

} // namespace

// ---------------------------------------------------------------------------------------------

TEST(DictionaryLoad, AnOutOfOrderFileIsSortedAndEveryPairIsFound)
{
  TScratchDir dir;
  fs::copy_file(DataFile("unsorted.dic"), dir / "ZEdozod.dic");
  auto d = Fresh();
  TMessageRecorder rec;
  ASSERT_TRUE(d->Init(TString("libVUVudirido"), dir.Path(), TString()));
  EXPECT_TRUE(d->IsActive());
  EXPECT_TRUE(d->IsActivate());
  EXPECT_EQ(d->CountWords, 8);
  EXPECT_EQ(d->AllWords, 8);
  EXPECT_TRUE(SortedPart(*d));
  EXPECT_EQ(Text(d->Words[0][0]), "Angle");
  EXPECT_EQ(Text(d->Words[7][0]), "Яма");
  EXPECT_EQ(Look(*d, "Angle"), "Угол");
  EXPECT_EQ(Look(*d, "Яма"), "Pit");
  EXPECT_EQ(Look(*d, "Ошибка чтения потока"), "Stream read error");
  EXPECT_EQ(Look(*d, "Zero"), "Ноль");
  EXPECT_EQ(d->AllWords, 8);
  EXPECT_TRUE(rec.Log.empty());
}

TEST(DictionaryLoad, AFileOfMoreThan2000PairsLoadsTheFirst2000)
{
  TScratchDir dir;
  fs::copy_file(DataFile("pairs2500.dic"), dir / "ZEdozod.dic");
  auto d = Fresh();
  ASSERT_TRUE(d->Init(TString("libVUVudirido"), dir.Path(), TString()));
  EXPECT_EQ(d->CountWords, 2000);
  EXPECT_EQ(d->AllWords, 2000);
  EXPECT_TRUE(SortedPart(*d));
  EXPECT_EQ(Look(*d, "Фраза 0000"), "Phrase 0000");
  EXPECT_EQ(Look(*d, "Фраза 1999"), "Phrase 1999");
  // The pairs past the limit were not read; a full table records no more phrases.
  EXPECT_EQ(Look(*d, "Фраза 2000"), "Фраза 2000");
  EXPECT_EQ(d->AllWords, 2000);
  d->Add(TString("Новая"));
  EXPECT_EQ(d->AllWords, 2000);
}

TEST(DictionaryLoad, OnlyTheFirstInitReadsAFile)
{
  TScratchDir one, two;
  WriteFile(one / "ZEdozod.dic", DicBytes({{"a", "1"}}));
  WriteFile(two / "ZEdozod.dic", DicBytes({{"a", "2"}, {"b", "3"}}));
  auto d = Fresh();
  ASSERT_TRUE(d->Init(TString("libVUVudirido"), one.Path(), TString("state/")));
  EXPECT_TRUE(d->Init(TString("other"), two.Path(), TString("state2/")));
  EXPECT_EQ(d->CountWords, 1);
  EXPECT_EQ(Look(*d, "a"), "1");
  // The texts follow every call.
  EXPECT_EQ(Text(d->NameDictionary), "other");
  EXPECT_EQ(Text(d->ExecutePath), Text(two.Path()));
  EXPECT_EQ(Text(d->StatePath), "state2/");
}

TEST(DictionaryLoad, WithoutADictionaryEveryPhraseComesBackAndNothingIsReported)
{
  TScratchDir dir;
  auto d = Fresh();
  TMessageRecorder rec;
  rec.Modeler.IsThere = true;
  EXPECT_FALSE(d->Init(TString("libVUVudirido"), dir.Path(), TString()));
  EXPECT_TRUE(d->IsActivate());
  EXPECT_FALSE(d->IsActive());
  EXPECT_EQ(Text(d->NameDictionary), "libVUVudirido");
  EXPECT_EQ(Look(*d, "Муфта"), "Муфта");
  EXPECT_EQ(d->AllWords, 0); // an inactive dictionary collects nothing on lookups
  EXPECT_TRUE(rec.Log.empty());
}

TEST(DictionaryLoad, TheDirectoryMayLackItsTrailingSeparator)
{
  TScratchDir dir;
  WriteFile(dir / "ZEdozod.dic", DicBytes({{"a", "b"}}));
  auto d = Fresh();
  EXPECT_TRUE(d->Init(TString("libVUVudirido"), TString(dir.Dir.c_str()), TString()));
  EXPECT_EQ(Look(*d, "a"), "b");
}

// Which file Init reads. Each file translates "which" into its own name.
struct TLocateCase
{
  std::vector<const char*> Files;
  const char* Name;   // what Init is given
  const char* Expect; // the file read, or nullptr for none
};

void PrintTo(const TLocateCase& c, std::ostream* os)
{
  *os << "Init(" << c.Name << ") with";
  for (const char* f : c.Files)
    *os << " " << f;
}

class DictionaryLocate : public ::testing::TestWithParam<TLocateCase>
{
};

TEST_P(DictionaryLocate, ReadsTheExpectedFile)
{
  const TLocateCase& c = GetParam();
  TScratchDir dir;
  for (const char* f : c.Files)
    WriteFile(dir / f, DicBytes({{"which", f}}));
  fs::create_directory(dir / "folder.dic"); // a directory is never a dictionary
  auto d = Fresh();
  const bool active = d->Init(TString(c.Name), dir.Path(), TString());
  if (!c.Expect) {
    EXPECT_FALSE(active);
    EXPECT_EQ(Look(*d, "which"), "which");
    return;
  }
  ASSERT_TRUE(active);
  EXPECT_EQ(Text(d->NameDictionary), c.Expect);
  EXPECT_EQ(Look(*d, "which"), c.Expect);
}

INSTANTIATE_TEST_SUITE_P(Files, DictionaryLocate,
                         ::testing::Values(
                             // The host passes the library's file name: the default dictionary is read.
                             TLocateCase{{"ZEdozod.dic"}, "libVUVudirido", "ZEdozod.dic"},
                             // Another dictionary of the directory when the default one is missing.
                             TLocateCase{{"Mine.dic"}, "libVUVudirido", "Mine.dic"},
                             TLocateCase{{"notes.txt", "Mine.dic"}, "libVUVudirido", "Mine.dic"},
                             // The new dictionary that Save writes is never read in place of the real one...
                             TLocateCase{{"ZEdozodNew.dic", "ZEdozod.dic"}, "libVUVudirido", "ZEdozod.dic"},
                             TLocateCase{{"ZEdozodNew.dic", "Mine.dic"}, "libVUVudirido", "Mine.dic"},
                             // ...nor on its own, since Save would overwrite the file it read.
                             TLocateCase{{"ZEdozodNew.dic"}, "libVUVudirido", nullptr},
                             TLocateCase{{"ZEdozodNew.dic"}, "ZEdozodNew.dic", nullptr},
                             // A dictionary named explicitly wins over the default one.
                             TLocateCase{{"ZEdozod.dic", "Mine.dic"}, "Mine.dic", "Mine.dic"},
                             TLocateCase{{"ZEdozod.dic"}, "Missing.dic", "ZEdozod.dic"},
                             // The library's own file is no dictionary, even when a file of that name exists.
                             TLocateCase{{"libVUVudirido"}, "libVUVudirido", nullptr},
                             TLocateCase{{}, "libVUVudirido", nullptr}),
                         hxcad::test::CaseNames());

// ---------------------------------------------------------------------------------------------

TEST(DictionaryLookup, AMissingPhraseComesBackAndIsCollectedOnce)
{
  TScratchDir dir;
  auto d = Loaded(dir, {{"b", "B"}});
  TString missing("Не найдено");
  const TString& r = d->DC(missing);
  EXPECT_EQ(&r, &missing);
  EXPECT_EQ(d->AllWords, 2);
  EXPECT_EQ(d->CountWords, 1);
  EXPECT_EQ(Look(*d, "Не найдено"), "Не найдено");
  EXPECT_EQ(d->AllWords, 2);
  EXPECT_EQ(Text(d->Words[1][0]), "Не найдено");
  EXPECT_TRUE(d->Words[1][1].Empty());
}

TEST(DictionaryAdd, CollectsOnlyPhrasesTheFileCanHold)
{
  auto d = Fresh();
  d->Add(TString("one"));
  d->Add(TString("one"));
  d->Add(TString());
  d->Add(TString("say \"hi\""));
  d->Add(TString("two"));
  EXPECT_EQ(Table(*d), (TPairs{{"one", ""}, {"two", ""}}));
}

// ---------------------------------------------------------------------------------------------

// The reference order: a plain selection sort, taking the first of equal sources.
TPairs SelectionSorted(TPairs v)
{
  for (std::size_t i = 0; i < v.size(); ++i) {
    std::size_t m = i;
    for (std::size_t j = i + 1; j < v.size(); ++j)
      if (TString(v[j].first.c_str()) < TString(v[m].first.c_str())) m = j;
    if (m != i) std::swap(v[i], v[m]);
  }
  return v;
}

TEST(DictionarySorting, EqualSourcesEndUpWhereASelectionSortPutsThem)
{
  std::mt19937 rng(5);
  for (int round = 0; round < 40; ++round) {
    const int n = 1 + int(rng() % 300);
    TPairs v;
    for (int i = 0; i < n; ++i) {
      // Few distinct sources (Latin and Cyrillic, so bytes above 0x7F take part).
      const char* keys[] = {"a", "b", "ab", "Я", "я", "Б", ""};
      v.emplace_back(keys[rng() % 7], std::to_string(i));
    }
    auto d = Fresh();
    for (int i = 0; i < n; ++i) {
      d->Words[i][0] = TString(v[std::size_t(i)].first.c_str());
      d->Words[i][1] = TString(v[std::size_t(i)].second.c_str());
    }
    d->CountWords = d->AllWords = n;
    const TPairs expected = SelectionSorted(v);
    EXPECT_EQ(d->Sorting(), expected != v);
    EXPECT_EQ(Table(*d), expected) << "round " << round;
    EXPECT_FALSE(d->Sorting()); // sorted stays put
  }
}

// ---------------------------------------------------------------------------------------------

TEST(DictionarySave, WritesEveryPairSortedInTheLineForm)
{
  TScratchDir dir;
  auto d = Loaded(dir, {{"Вал", "Shaft"}, {"Angle", ""}});
  Look(*d, "Болт");
  Look(*d, "Zero");
  const std::string original = ReadFile(dir / "ZEdozod.dic");
  d->Save();
  EXPECT_EQ(ReadFile(dir / "ZEdozodNew.dic"),
            DicBytes({{"Angle", ""}, {"Zero", ""}, {"Болт", ""}, {"Вал", "Shaft"}}));
  EXPECT_EQ(ReadFile(dir / "ZEdozod.dic"), original);
  EXPECT_EQ(d->CountWords, 4);
  EXPECT_EQ(d->AllWords, 4);
}

TEST(DictionarySave, LookupsStillHitLoadedPairsAfterASave)
{
  // Collected phrases that sort before the loaded ones: left unsorted behind the loaded part,
  // they would send the binary search the wrong way.
  TScratchDir dir;
  auto d = Loaded(dir, {{"x", "X"}, {"y", "Y"}});
  for (const char* p : {"a", "b", "c"})
    Look(*d, p);
  d->Save();
  EXPECT_TRUE(SortedPart(*d));
  EXPECT_EQ(Look(*d, "y"), "Y");
  EXPECT_EQ(Look(*d, "x"), "X");
  EXPECT_EQ(Look(*d, "b"), "b");
  EXPECT_EQ(d->AllWords, 5);
}

TEST(DictionarySave, SaveThenInitGivesBackEveryPair)
{
  TScratchDir dir, again;
  fs::copy_file(DataFile("pairs2500.dic"), dir / "ZEdozod.dic");
  auto d = Fresh();
  ASSERT_TRUE(d->Init(TString("libVUVudirido"), dir.Path(), TString()));
  // Make room for collected phrases: the first 1990 pairs stay, then ten new phrases.
  d->CountWords = d->AllWords = 1990;
  for (int i = 0; i < 10; ++i)
    Look(*d, ("Новая фраза " + std::to_string(i)).c_str());
  ASSERT_EQ(d->AllWords, 2000);
  d->Save();
  const TPairs saved = Table(*d);

  fs::copy_file(dir / "ZEdozodNew.dic", again / "ZEdozod.dic");
  auto e = Fresh();
  ASSERT_TRUE(e->Init(TString("libVUVudirido"), again.Path(), TString()));
  EXPECT_EQ(e->CountWords, 2000);
  EXPECT_EQ(Table(*e), saved);
  EXPECT_EQ(Look(*e, "Фраза 0005"), "Phrase 0005");
  EXPECT_EQ(Look(*e, "Новая фраза 3"), "Новая фраза 3");
  EXPECT_EQ(e->AllWords, 2000);
}

// ---------------------------------------------------------------------------------------------

TEST(DictionaryUpdate, CollectsTheLiteralsOfDCCallsAndSaves)
{
  TScratchDir dir;
  auto d = Loaded(dir, {{"Вал", "Shaft"}});
  const std::string program = "Messager->LiftBox(DC(\"Ошибка\"), toAlways);\n"
                              "x = DC(\"Вал\") + DC (\"spaced\") + DC(\"Ошибка\");\n"
                              "DC(\"\"); DC(\"Болт\"); DC(\"cut short";
  WriteFile(dir / "source.txt", Bytes(Utf32(program)));
  d->Update(TString((dir.Dir + "/source.txt").c_str()));
  EXPECT_EQ(ReadFile(dir / "ZEdozodNew.dic"), DicBytes({{"Болт", ""}, {"Вал", "Shaft"}, {"Ошибка", ""}}));
}

// ---------------------------------------------------------------------------------------------

// Damaged files: whatever complete pairs come before the damage are read, nothing else.
struct TBadCase
{
  const char* Name;
  std::string Bytes;
  TPairs Expect; // the table after loading (sorted)
};

std::string U(const std::u32string& s)
{
  return Bytes(s);
}

void PrintTo(const TBadCase& c, std::ostream* os)
{
  *os << c.Name;
}

class DictionaryBadFile : public ::testing::TestWithParam<TBadCase>
{
};

TEST_P(DictionaryBadFile, ReadsTheCompletePairsOnly)
{
  const TBadCase& c = GetParam();
  TScratchDir dir;
  WriteFile(dir / "ZEdozod.dic", c.Bytes);
  auto d = Fresh();
  EXPECT_EQ(d->Init(TString("libVUVudirido"), dir.Path(), TString()), !c.Expect.empty());
  EXPECT_EQ(Table(*d), c.Expect);
  EXPECT_EQ(d->CountWords, Integer(c.Expect.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Files, DictionaryBadFile,
    ::testing::Values(
        TBadCase{"Empty", "", {}}, TBadCase{"MarkOnly", U(U"\uFEFF"), {}},
        TBadCase{"NoMark", U(U"\"a\"=\"b\""), {{"a", "b"}}},
        TBadCase{"NoLineEndsOrEquals", U(U"\"b\"\"2\"\"a\"\"1\""), {{"a", "1"}, {"b", "2"}}},
        TBadCase{"SourceNeverClosed", U(U"\uFEFF\"a\"=\"b\"\r\n\"c"), {{"a", "b"}}},
        TBadCase{"TranslationNeverOpened", U(U"\uFEFF\"a\"=\"b\"\r\n\"c\"="), {{"a", "b"}}},
        TBadCase{"TranslationNeverClosed", U(U"\uFEFF\"a\"=\"b\"\r\n\"c\"=\"d"), {{"a", "b"}}},
        TBadCase{"OddLength", U(U"\uFEFF\"a\"=\"b\"") + "\x01\x02\x03", {{"a", "b"}}},
        // A quote in a unit cut short still counts as a quote; the pair after it is incomplete.
        TBadCase{"CutQuote", U(U"\uFEFF\"a\"=\"b\"") + "\"", {{"a", "b"}}},
        // Beyond U+10FFFF, a negative unit and a lone surrogate.
        TBadCase{"OutsideUnicode",
                 U(U"\"a" + std::u32string{char32_t(0x110000), char32_t(0xFFFFFFFF)} + U"\"=\"" +
                   std::u32string{char32_t(0xD800)} + U"\""),
                 {{"a??", "?"}}},
        TBadCase{"NulUnits", U(U"\"a" + std::u32string(1, 0) + U"b\"=\"\""), {{std::string("a\0b", 3), ""}}},
        TBadCase{"OutsideTheCodePage", U(U"\"€ 中\"=\"x\""), {{"€ ?", "x"}}},
        TBadCase{"BigEndian", std::string("\0\0\xfe\xff\0\0\0\"\0\0\0a\0\0\0\"", 16), {}},
        TBadCase{"Utf8Text", "\"a\"=\"b\"", {}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(DictionaryBadFile, EveryCutOfAFileReadsTheCompletePairsBeforeTheCut)
{
  const TPairs pairs = {{"Вал", "Shaft"}, {"Болт", ""}, {"Angle", "Угол"}};
  const std::string full = DicBytes(pairs);
  // Offsets just past the closing quote of each pair.
  std::vector<std::size_t> ends;
  std::size_t at = 4;
  for (const auto& [a, b] : pairs) {
    at += 4 * (Utf32(a).size() + Utf32(b).size() + 5);
    ends.push_back(at);
    at += 8;
  }
  TScratchDir dir;
  for (std::size_t cut = 0; cut <= full.size(); ++cut) {
    WriteFile(dir / "ZEdozod.dic", full.substr(0, cut));
    auto d = Fresh();
    d->Init(TString("libVUVudirido"), dir.Path(), TString());
    // A unit cut short is completed with zero bytes, so a closing quote counts from its first byte.
    const auto complete =
        std::count_if(ends.begin(), ends.end(), [&](std::size_t e) { return e <= cut + 3; });
    ASSERT_EQ(d->CountWords, Integer(complete)) << "cut at " << cut;
  }
}
