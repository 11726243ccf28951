// TString: formatting, code-page conversions, parsing, searching, editing.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "hxcadkit/core/DString.h"

namespace {

// The master text's bytes.
std::string TextBytes(const TString& s)
{
  return std::string(s.PChar(), std::size_t(s.Len));
}

TString Cp(const std::string& bytes)
{
  TString s;
  s.Set(reinterpret_cast<const unsigned char*>(bytes.data()), unsigned(bytes.size()));
  return s;
}

TString FromUtf8(const char* s)
{
  TString t;
  t.SetUtf8(reinterpret_cast<const char8_t*>(s));
  return t;
}

// ---------------------------------------------------------------------------------------------
// Number formatting

struct TIntCase
{
  int Value, Digits;
  const char* Text;
};

TEST(TStringFormat, IntegersZeroPaddedWithSignInWidth)
{
  const TIntCase cases[] = {{7, 3, "007"}, {-5, 3, "-05"}, {123, 2, "123"}, {1, 2, "01"},
                            {-1, 2, "-1"}, {0, 1, "0"},    {42, 0, "42"}};
  for (const auto& c : cases)
    EXPECT_EQ(TextBytes(TString(c.Value, c.Digits)), c.Text) << c.Value;
  EXPECT_EQ(TextBytes(TString(-2147483647 - 1)), "-2147483648");
}

TEST(TStringFormat, UnsignedValuesPrintUnsigned)
{
  EXPECT_EQ(TextBytes(TString(4294967295u, 1)), "4294967295");
  EXPECT_EQ(TextBytes(TString(3000000000u, 12)), "003000000000");
  EXPECT_EQ(TextBytes(TString(5u, 3)), "005");
}

TEST(TStringFormat, RealsWithPointOrComma)
{
  EXPECT_EQ(TextBytes(TString(1.5, 2, true, 7)), "   1.50");
  EXPECT_EQ(TextBytes(TString(-0.125, 3, true, 0)), "-0.125");
  EXPECT_EQ(TextBytes(TString(2.0, 0, true, 0)), "2");
}

TEST(TStringFormat, DecimalCommaLeavesTheProcessLocaleAlone)
{
  std::string before = std::setlocale(LC_NUMERIC, nullptr);
  EXPECT_EQ(TextBytes(TString(1.5, 2, false, 7)), "   1,50");
  EXPECT_EQ(TextBytes(TString(-12.25, 1, false, 0)), "-12,2");
  EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), before);
}

TEST(TStringFormat, PointAndCommaWhateverTheHostsLocale)
{
  // The build makes this locale (tests/core/CMakeLists.txt); glibc looks in LOCPATH first.
  setenv("LOCPATH", HXCAD_COMMA_LOCALE_PATH, 1);
  std::string before = std::setlocale(LC_NUMERIC, nullptr);
  ASSERT_TRUE(std::setlocale(LC_NUMERIC, "uk_UA.UTF-8")) << "no uk_UA.UTF-8 in " HXCAD_COMMA_LOCALE_PATH;
  ASSERT_EQ(*std::localeconv()->decimal_point, ',');
  EXPECT_EQ(TextBytes(TString(1.5, 2, true, 0)), "1.50");
  EXPECT_EQ(TextBytes(TString(1.5, 2, false, 0)), "1,50");
  EXPECT_DOUBLE_EQ(TString("1.25").toReal(), 1.25);
  EXPECT_DOUBLE_EQ(TString("1,25").toReal(), 1.25);
  EXPECT_TRUE(TString("1.25").IsNumeric());
  std::setlocale(LC_NUMERIC, before.c_str());
}

TEST(TStringFormat, HugeValuesWidthsAndDecimalsAreWhole)
{
  TString big(1e300, 2, true, 0);
  EXPECT_EQ(big.Len, 304);
  EXPECT_EQ(TextBytes(big).substr(0, 4), "1000");
  EXPECT_EQ(TextBytes(big).substr(301), ".00");
  EXPECT_EQ(TString(-1e308, 2, false, 0).Len, 313);
  EXPECT_EQ(TString(1.0, 2, true, 900).Len, 900);
  EXPECT_EQ(TString(1.0, 300, true, 0).Len, 302);
  EXPECT_EQ(TString(7, 600).Len, 600);
  // Absurd widths are capped rather than honoured.
  EXPECT_LE(TString(1.0, 2, true, 1 << 30).Len, 2000);
  EXPECT_LE(TString(1.0, 1 << 30, true, 0).Len, 2000);
}

TEST(TStringFormat, NonFiniteValues)
{
  std::string nan = TextBytes(TString(std::numeric_limits<double>::quiet_NaN(), 2, true, 0));
  EXPECT_NE(nan.find("nan"), std::string::npos);
  EXPECT_EQ(TextBytes(TString(std::numeric_limits<double>::infinity(), 2, true, 0)), "inf");
  EXPECT_EQ(TextBytes(TString(-std::numeric_limits<double>::infinity(), 2, false, 5)), " -inf");
}

// ---------------------------------------------------------------------------------------------
// Code-page conversions

struct TUtf8Case
{
  const char* Utf8;
  std::string Cp1251;
};

// Paths from the host's wide text: a wide path used to go through the process's locale, and in the
// "C" locale a Cyrillic folder could not be converted at all. The reference is the standard library's
// conversion of UTF-32, which follows no locale.
TEST(WidePaths, ConvertThroughUtf8WhateverTheLocale)
{
  const char* before = std::setlocale(LC_ALL, nullptr);
  const std::string saved = before ? before : "C";
  std::setlocale(LC_ALL, "C");
  std::u32string every;
  std::wstring wide;
  for (char32_t c = 1; c <= 0x10FFFF; c += (c < 0x800 ? 1 : 97)) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    every += c;
    wide += wchar_t(c);
  }
  const std::u8string reference = std::filesystem::path(every).u8string();
  const std::string utf8 = WideToUtf8(wide);
  EXPECT_EQ(utf8, std::string(reference.begin(), reference.end()));
  EXPECT_EQ(Utf8ToWide(utf8), wide);
  EXPECT_EQ(Utf8ToWide(WideToUtf8(L"/home/Пользователь/libVUVudirido.so")),
            L"/home/Пользователь/libVUVudirido.so");
  // What is no character comes out as U+FFFD, and a 0 inside the text stays.
  EXPECT_EQ(WideToUtf8(std::wstring{L'a', wchar_t(0xD800), wchar_t(0x110000)}), "a\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToWide(std::string("a\xFF\0b\xD0", 5)), (std::wstring{L'a', wchar_t(0xFFFD), L'\0', L'b', wchar_t(0xFFFD)}));
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(TStringUtf8, DecodesIntoWindows1251)
{
  const TUtf8Case cases[] = {
      {"Вал", "\xC2\xE0\xEB"},
      {"€", "\x88"},
      {"Ё", "\xA8"},
      {"ё", "\xB8"},
      {"№", "\xB9"},
      {"°", "\xB0"},
      {"Розміщаємо", "\xD0\xEE\xE7\xEC\xB3\xF9\xE0\xBA\xEC\xEE"},
      {"ї ґ Ґ Ї Є", "\xBF \xB4 \xA5 \xAF \xAA"},
      {"«»—–…", "\xAB\xBB\x97\x96\x85"},
      {"abc 123", "abc 123"},
  };
  for (const auto& c : cases) {
    TString s = FromUtf8(c.Utf8);
    EXPECT_EQ(TextBytes(s), c.Cp1251) << c.Utf8;
    EXPECT_EQ(s.Len, int(c.Cp1251.size()));
  }
}

TEST(TStringUtf8, MissingCharactersAndBadSequencesBecomeQuestionMarks)
{
  const TUtf8Case cases[] = {
      {"中", "?"},                      // valid, not in the code page
      {"\xF0\x9F\x98\x80!", "?!"},      // four-byte character
      {"a\x80z", "a?z"},                // stray continuation byte
      {"\xC0\x80", "??"},               // overlong NUL
      {"\xE0\x80\xAF", "???"},          // overlong slash
      {"\xED\xA0\x80", "???"},          // surrogate
      {"\xF5\x80", "??"},               // beyond U+10FFFF
      {"x\xC3", "x?"},                  // lead byte cut by the terminator
      {"\xE2\x82", "?"},                // three-byte sequence cut short
      {"\xE2\x82Ж", "?\xC6"},           // cut short, then a good character
      {"\xC2\xA0\xC2\x98", "\xA0\x98"}, // no-break space; U+0098 sits at 0x98
  };
  for (const auto& c : cases)
    EXPECT_EQ(TextBytes(FromUtf8(c.Utf8)), c.Cp1251) << c.Utf8;
}

TEST(TStringUtf8, EmptyOrNullInputLeavesTheString)
{
  TString s = Cp("keep");
  s.SetUtf8(u8"");
  EXPECT_EQ(TextBytes(s), "keep");
  s.SetUtf8(nullptr);
  EXPECT_EQ(TextBytes(s), "keep");
}

TEST(TStringUtf8, ConstructorsTakeUtf8Literals)
{
  EXPECT_EQ(TextBytes(TString("Ошибка")), "\xCE\xF8\xE8\xE1\xEA\xE0");
  EXPECT_EQ(TextBytes(TString(u8"Вал")), "\xC2\xE0\xEB");
  TString s;
  s = "Ёж";
  EXPECT_EQ(TextBytes(s), "\xA8\xE6");
  s += " №";
  EXPECT_EQ(TextBytes(s), "\xA8\xE6 \xB9");
}

TEST(TStringUtf8, EncodesEveryByteAsRealUtf8)
{
  std::string all;
  for (int b = 1; b < 256; ++b)
    all.push_back(char(b));
  std::vector<char8_t> out(all.size() * 3 + 1);
  int n = TString::toUTF8(all.c_str(), out.data());
  EXPECT_EQ(n, TString::toUTF8(all.c_str(), nullptr));
  std::string utf8(reinterpret_cast<const char*>(out.data()), std::size_t(n));
  EXPECT_EQ(utf8, Cp(all).Utf8Text());
  // Back through the decoder: every byte of the code page survives.
  TString back;
  back.SetUtf8(out.data());
  EXPECT_EQ(TextBytes(back), all);
  EXPECT_EQ(Cp("\xC0").Utf8Text(), "\xD0\x90");
  EXPECT_EQ(Cp("\xB0").Utf8Text(), "\xC2\xB0");
  EXPECT_EQ(Cp("\x88").Utf8Text(), "\xE2\x82\xAC");
}

TEST(TStringUtf8, FromUtf8CountsAndTerminates)
{
  const char8_t* src = u8"Ж1€";
  EXPECT_EQ(TString::fromUTF8(src, nullptr), 3);
  char dst[8];
  std::memset(dst, 'x', sizeof dst);
  EXPECT_EQ(TString::fromUTF8(src, dst), 3);
  EXPECT_STREQ(dst, "\xC6"
                    "1\x88");
}

TEST(TStringWide, EveryByteMapsBothWays)
{
  for (int b = 0; b < 256; ++b) {
    wchar_t w = TString::CharToUniCode(char(b));
    EXPECT_EQ(static_cast<unsigned char>(TString::UniCodeToChar(w)), b);
    EXPECT_EQ(char16_t(w), TString::CharToUniCode16(char(b)));
    EXPECT_EQ(TString::UniCode16ToChar(char16_t(w)), char(b));
  }
  EXPECT_EQ(TString::CharToUniCode(char(0x98)), wchar_t(0x98));
  EXPECT_EQ(TString::UniCodeToChar(0x4E00), 0);
}

TEST(TStringWide, CharactersTheCodePageLacksBecomeQuestionMarks)
{
  TString s;
  s.Set(L"\u20AC \u4E00z");
  EXPECT_EQ(TextBytes(s), "\x88 ?z");
  EXPECT_EQ(s.Len, 4);
  s.Set(static_cast<const wchar_t*>(nullptr));
  EXPECT_EQ(TextBytes(s), "\x88 ?z");
  s.Set(L"");
  EXPECT_EQ(s.Len, 0);
  TString w(std::wstring(L"\u0416\U0001F600"));
  EXPECT_EQ(TextBytes(w), "\xC6?");
}

TEST(TStringWide, WideTextIsExact)
{
  TString s("Вал №5 €");
  EXPECT_EQ(std::wstring(s.toWideChar()), L"\u0412\u0430\u043B \u21165 \u20AC");
  std::vector<wchar_t> buf(std::size_t(s.Len) + 1);
  s.toWideChar(buf.data());
  EXPECT_EQ(std::wstring(buf.data()), std::wstring(s.toWideChar()));
  const wchar_t* p = s.toWideChar();
  EXPECT_EQ(TString::Length(p), s.Len);
  EXPECT_EQ(std::wstring(EmptyStr.toWideChar()), L"");
}

// A folder named with letters the code page lacks ("Café") reached the file system as "Caf?": files
// went into another folder, or nowhere. The text keeps its bytes ('?' for those letters) and its exact
// letters through everything a path goes through: copies, concatenation, SubStr, messages.
TEST(TStringWide, NamesTheCodePageLacksKeepTheirLettersThroughPathArithmetic)
{
  for (const std::string name : {"Café", "Größe", "Ωmega", "数据", "😀", "a?b€", "Пользователь"}) {
    SCOPED_TRACE(name);
    const std::wstring wide = Utf8ToWide(name);
    std::string bytes;
    bool whole = true;
    for (wchar_t c : wide) {
      whole = whole && TString::UniCodeToChar(c) != 0;
      bytes += TString::UniCodeToChar(c) ? TString::UniCodeToChar(c) : '?';
    }
    const TString folder = TString::Exactly(L"/home/" + wide + L"/");
    EXPECT_EQ(TextBytes(folder), "/home/" + bytes + "/");
    // Other texts keep only the code page's letters, as the host gets them back.
    EXPECT_EQ(std::wstring(TString(wide).toWideChar()), Utf8ToWide(TString(wide).Utf8Text()));
    EXPECT_EQ(TString(wide).Utf8Text() == name, whole);
    {
      TString file = folder + TString("Муфта-") + TString(40) + TString(".tpt");
      const std::string expected = "/home/" + name + "/Муфта-40.tpt";
      EXPECT_EQ(file.Utf8Text(), expected);
      EXPECT_EQ(std::wstring(file.toWideChar()), Utf8ToWide(expected));
      TString copy(file), assigned;
      assigned = copy;
      TString moved(std::move(copy));
      EXPECT_EQ(moved.Utf8Text(), expected);
      EXPECT_EQ(assigned.Utf8Text(), expected);
      EXPECT_EQ(assigned, file);
      EXPECT_EQ(file.SubStr(0, file.RFind('/')).Utf8Text(), "/home/" + name + "/");
      TString message = TString("Не удалось записать файл ") + file;
      message += TString(": нет прав на запись");
      message.Add('.');
      EXPECT_EQ(message.Utf8Text(), "Не удалось записать файл " + expected + ": нет прав на запись.");
      // Edited bytewise, the text is what its bytes say.
      message.RePlace('/', '|');
      std::wstring said;
      for (char b : TextBytes(message))
        said += TString::CharToUniCode(b);
      EXPECT_EQ(message.Utf8Text(), WideToUtf8(said));
    }
    // The same bytes standing for other letters are another name.
    EXPECT_EQ(TString::Exactly(wide) == Cp(bytes), whole);
  }
}

// ---------------------------------------------------------------------------------------------
// Number parsing

TEST(TStringParse, RealsAndIntegers)
{
  EXPECT_DOUBLE_EQ(TString("1,25 мм").toReal(), 1.25);
  EXPECT_DOUBLE_EQ(TString("мм").toReal(), 0.0);
  EXPECT_DOUBLE_EQ(TString("2e3").toReal(), 2.0); // no exponent form
  EXPECT_EQ(TString("-12.9").toInteger(), -12);
  EXPECT_EQ(TString("99999999999").toInteger(), 2147483647);
  EXPECT_EQ(TString("-99999999999").toInteger(), -2147483647 - 1);
}

TEST(TStringParse, IsNumeric)
{
  struct
  {
    const char* Text;
    bool Numeric;
  } cases[] = {{"", true},    {"   ", true},  {"12,5  ", true}, {"12ab", false},
               {"x12", true}, {"-0.5", true}, {"1,2,3", false}, {"+7", true}};
  for (const auto& c : cases)
    EXPECT_EQ(TString(c.Text).IsNumeric(), c.Numeric) << c.Text;
}

// ---------------------------------------------------------------------------------------------
// Angles

TEST(TStringAngle, Formatting)
{
  TString s;
  s.DegreesAngle(30.5, true);
  EXPECT_EQ(TextBytes(s), "30@1~30'");
  s.DegreesAngle(0.0, false);
  EXPECT_EQ(TextBytes(s), "0\xB0");
  s.DegreesAngle(-1.0, true);
  EXPECT_EQ(TextBytes(s), "-1@1~");
  s.DegreesAngle(10.5125, false);
  EXPECT_EQ(TextBytes(s), "10\xB0"
                          "30'   45.0\"");
  s.DegreesAngle(0.25, false);
  EXPECT_EQ(TextBytes(s), "15'");
  s.DegreesAngle(1e300, false);
  EXPECT_EQ(s.Len, 302);
  s.DegreesAngle(std::numeric_limits<double>::quiet_NaN(), true);
  EXPECT_LT(s.Len, 16);
}

TEST(TStringAngle, ParsingReadsTheSameDegreeSign)
{
  double a = 0;
  EXPECT_TRUE(TString("30°30'").toDegreesAngle(a));
  EXPECT_DOUBLE_EQ(a, 30.5);
  EXPECT_TRUE(TString("30@1~15'36\"").toDegreesAngle(a));
  EXPECT_DOUBLE_EQ(a, 30.26);
  EXPECT_TRUE(TString("45'").toDegreesAngle(a));
  EXPECT_DOUBLE_EQ(a, 0.75);
  EXPECT_FALSE(TString("12,5").toDegreesAngle(a));
  EXPECT_DOUBLE_EQ(a, 12.5);
  EXPECT_FALSE(TString().toDegreesAngle(a));
  EXPECT_DOUBLE_EQ(a, 0.0);
}

TEST(TStringAngle, TextRoundTrips)
{
  for (double v : {0.0, 1.0, 30.5, 10.5125, 359.75, -1.0, -30.5, -0.25, -10.5125}) {
    for (bool host : {false, true}) {
      TString s;
      s.DegreesAngle(v, host);
      double back = 1e9;
      EXPECT_TRUE(s.toDegreesAngle(back)) << TextBytes(s);
      EXPECT_NEAR(back, v, 1e-9) << TextBytes(s);
    }
  }
}

TEST(TStringAngle, NegativeSecondsOnlyReadBack)
{
  TString s;
  s.DegreesAngle(-0.1 / 3600, false);
  EXPECT_EQ(TextBytes(s), "-    0.1\"");
  double back = 0;
  EXPECT_TRUE(s.toDegreesAngle(back));
  EXPECT_NEAR(back, -0.1 / 3600, 1e-12);
}

// ---------------------------------------------------------------------------------------------
// Searching

int NaiveFind(const std::string& t, const std::string& p, bool last)
{
  if (p.empty() || p.size() > t.size()) return 0;
  int found = 0;
  for (std::size_t i = 0; i + p.size() <= t.size(); ++i)
    if (t.compare(i, p.size(), p) == 0) {
      found = int(i) + 1;
      if (!last) return found;
    }
  return found;
}

TEST(TStringFind, AgreesWithANaiveSearchOnHighBytes)
{
  std::mt19937 rng(12345);
  // A small alphabet of bytes on both sides of 0x80 makes matches and near-matches common.
  const unsigned char alphabet[] = {'a', 'b', 0x80, 0xC0, 0xE0, 0xFF, 0xB0};
  for (int round = 0; round < 3000; ++round) {
    std::string t, p;
    int tn = int(rng() % 40), pn = 1 + int(rng() % 5);
    int span = 2 + int(rng() % 6);
    for (int i = 0; i < tn; ++i)
      t.push_back(char(alphabet[rng() % span]));
    for (int i = 0; i < pn; ++i)
      p.push_back(char(alphabet[rng() % span]));
    TString T = Cp(t), P = Cp(p);
    ASSERT_EQ(T.Find(P), NaiveFind(t, p, false)) << round;
    ASSERT_EQ(T.RFind(P), NaiveFind(t, p, true)) << round;
  }
}

TEST(TStringCompare, BytesCompareUnsigned)
{
  EXPECT_TRUE(TString("ab") < TString("abc"));
  EXPECT_TRUE(TString("z") < TString("Я")); // 0xDF sorts above ASCII
  EXPECT_FALSE(TString("Вал") == TString("вал"));
  EXPECT_EQ(TString("abcd").Common(TString("abxd"), 3), 1);
}

// ---------------------------------------------------------------------------------------------
// Editing and buffers

TEST(TStringEdit, PositionsOutsideTheTextAreClamped)
{
  TString s("abcdef");
  s.Remove(1, 10);
  EXPECT_EQ(TextBytes(s), "a");
  s = "adef";
  s.Remove(-1, 2);
  s.Remove(4, 1);
  s.Insert(100, 'z');
  s.Insert(-3, '<');
  EXPECT_EQ(TextBytes(s), "<adefz");
  EXPECT_EQ(TextBytes(s.SubStr(4, 100)), "fz");
  EXPECT_EQ(s.SubStr(6, 1).Len, 0);
  EXPECT_EQ(s.SubStr(-1, 2).Len, 0);
}

TEST(TStringEdit, ReplaceAndTrim)
{
  TString s("a,b;c  ");
  s.RePlace(',', '.');
  s.DeleteBlankFromEnd();
  EXPECT_EQ(TextBytes(s), "a.b;c");
  TString t("a1b2c3");
  t.RePlaceSet("abc", 2, false, '_');
  EXPECT_EQ(TextBytes(t), "a_b___");
  t.RePlaceSet(nullptr, 0, false, '*');
  EXPECT_EQ(TextBytes(t), "******");
}

TEST(TStringEdit, AddingItself)
{
  TString s("ab");
  for (int i = 0; i < 8; ++i)
    s.Add(s.PChar());
  EXPECT_EQ(s.Len, 512);
  s += s;
  EXPECT_EQ(s.Len, 1024);
  s.Insert(3, s.PChar());
  EXPECT_EQ(s.Len, 2048);
  EXPECT_EQ(TextBytes(s).substr(0, 7), "abaabab");
}

TEST(TStringBuffer, GrowingDropsTheStaleUtf8Text)
{
  TString s;
  s.SetUtf8(u8"Вал");
  ASSERT_NE(s.BufUtf8, nullptr);
  EXPECT_STREQ(s.BufUtf8, "Вал");
  s.SetSize(200);
  EXPECT_TRUE(s.BufUtf8 == nullptr || s.BufUtf8[0] == 0);
  EXPECT_EQ(TextBytes(s), "\xC2\xE0\xEB");
}

} // namespace
