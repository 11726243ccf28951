#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <utility>

#include "hxcadkit/commands/TValidator.h"

namespace {

// The rules of the in-view field checks, written out plainly: the characters a type allows, partial
// input, and the code the finished text gets. Numbers are recognised and read by the text service.
struct TModel
{
  RveType Type;
  double Min, Max;
  bool IgnoreEmpty = false;

  std::string Chars() const
  {
    std::string s = Type == rveInt || Type == rveLong ? "0123456789+-"
                    : Type == rveHex                  ? "0x123456789AaBbCcDdEeFf"
                                                      : "0123456789.,eE+-";
    for (auto [drop, c] : {std::pair{Min >= 0, '-'}, std::pair{Max <= 0, '+'}})
      if (drop && s.find(c) != std::string::npos) s.erase(s.find(c), 1);
    return s;
  }
  bool CharsOk(const std::string& t) const
  {
    return t.find_first_not_of(Chars()) == std::string::npos && t.find('\0') == std::string::npos;
  }
  bool Partial(std::string t, bool skipBlanks) const
  {
    if (skipBlanks) t.erase(0, t.find_first_not_of(' ') == std::string::npos ? t.size() : t.find_first_not_of(' '));
    int dots = 0;
    for (char c : t)
      dots += c == '.' || c == ',';
    return CharsOk(t) && dots < 2;
  }
  // The code of the finished text (0: accepted).
  int Code(const std::string& t) const
  {
    if (IgnoreEmpty && t.empty()) return 0;
    if (t.empty() || !CharsOk(t)) return 3;
    TString s;
    s.Set(t.c_str());
    if (!s.IsNumeric()) return 4;
    long double v = s.toReal();
    if (Type != rveFloat) v = std::trunc(v);
    if (Type == rveFloat) v = (float)std::fmax(std::fmin(v, 1e39L), -1e39L);
    if (Min == 0 && Max == 0) return 0;
    return Min <= v && v <= Max ? 0 : 2;
  }
};

TLowRangeValidator Make(const TModel& m)
{
  TLowRangeValidator v(int(m.Min), int(m.Max));
  switch (m.Type) {
  case rveLong: v.SetRange(rveLong, long(m.Min), long(m.Max)); break;
  case rveHex: v.SetRange(rveHex, long(m.Min), long(m.Max)); break;
  case rveFloat: v.SetRange(rveFloat, float(m.Min), float(m.Max)); break;
  case rveDouble: v.SetRange(rveDouble, m.Min, m.Max); break;
  default: break;
  }
  v.SetIgnoreEmptyRegime(m.IgnoreEmpty);
  return v;
}

} // namespace

TEST(Validator, FieldCasesOfTheEditWidget)
{
  TLowRangeValidator integer(0, 2000), real(-2000.0, 2000.0), negative(INT32_MIN, 0);
  EXPECT_TRUE(integer.IsValidInput("+5", false));
  EXPECT_TRUE(integer.Valid("+5"));
  struct Case
  {
    TLowRangeValidator& V;
    const char* Text;
    bool Ok;
    TError Code;
  } cases[] = {{integer, "-5", false, 3},    {integer, "2001", false, 2}, {integer, "12a", false, 3},
               {real, "1,5", true, 0},       {real, "2000.9", true, 0},   {real, "2001", false, 2},
               {integer, "", false, 3},      {real, "1e", false, 4},      {integer, "99999999999999999999", false, 2},
               {real, "-99999999999999999999", false, 2},
               // a run of digits past the integer's limits must not wrap round into the range
               {negative, "-99999999999999999999", false, 2}, {negative, "-2147483648", true, 0}};
  for (auto& c : cases) {
    EXPECT_EQ(c.V.IsValid(c.Text), c.Ok) << c.Text;
    EXPECT_EQ(c.V.Result, c.Code) << c.Text;
  }
  EXPECT_FALSE(real.IsValidInput("1.2.3", false));
  real.m_repeatDots = true;
  EXPECT_TRUE(real.IsValidInput("1.2.3", false));
  EXPECT_TRUE(integer.IsValidInput("   ", true));
  EXPECT_FALSE(integer.IsValidInput(" ", false));
  EXPECT_TRUE(integer.IsValid(5));
  EXPECT_FALSE(integer.IsValid(2001));
  EXPECT_EQ(integer.Result, 2);
}

TEST(Validator, MessagesNameTheValueAndTheFault)
{
  TLowRangeValidator v(0, 2000, "Длина ");
  EXPECT_TRUE(v.ErrorText().Empty());
  v.IsValid("12a");
  EXPECT_EQ(v.ErrorText(), TString(u8"Длина Ошибка Недопустимые символы"));
  v.Message = "!";
  EXPECT_EQ(v.ErrorText(), TString(u8"Длина !"));
  TLowRangeValidator* copy = v.Duplicate();
  EXPECT_EQ(copy->Name, v.Name);
  EXPECT_EQ(copy->Message, v.Message);
  EXPECT_EQ(copy->validChars, v.validChars);
  delete copy;
  TFilterValidator filter(TCharSet("ab"), false);
  filter.Error(nullptr);
  EXPECT_EQ(filter.Result, 3);
  TLengthValidator length(2);
  EXPECT_TRUE(length.IsValidInput("ab", false));
  EXPECT_FALSE(length.IsValid("abc"));
}

// Random texts over the characters that matter, against every type and the ranges the system uses.
TEST(Validator, AgreesWithTheRulesOverRandomTexts)
{
  const TModel models[] = {{rveInt, 0, 2000},        {rveInt, 0, 0},       {rveInt, -2000, 2000},
                           {rveLong, -5, 7},          {rveHex, 0, 255},     {rveFloat, -2000, 2000},
                           {rveDouble, -2000, 2000},  {rveDouble, 0, 0, true}, {rveDouble, -3.5, -1}};
  const std::string alphabet = "0123456789+-.,eExXaF \xC0\xFF";
  std::mt19937 rng(19);
  for (const TModel& m : models) {
    TLowRangeValidator v = Make(m);
    EXPECT_EQ(std::string(v.validChars.PChar()), m.Chars());
    for (int i = 0; i < 4000; ++i) {
      std::string t;
      const int n = int(rng() % (i % 50 == 0 ? 30 : 6));
      for (int k = 0; k < n; ++k)
        t += alphabet[rng() % alphabet.size()];
      const bool skip = rng() % 2;
      ASSERT_EQ(v.IsValidInput(t.c_str(), skip), m.Partial(t, skip)) << m.Type << " '" << t << "'";
      const int code = m.Code(t);
      ASSERT_EQ(v.IsValid(t.c_str()), code == 0) << m.Type << " '" << t << "'";
      if (code != 0) {
        ASSERT_EQ(v.Result, code) << m.Type << " '" << t << "'";
      }
    }
  }
}
