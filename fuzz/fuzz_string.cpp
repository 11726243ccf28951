// TString conversions, parsing, formatting and searching on arbitrary bytes. Searches are
// checked against a naive reference, the UTF-8 conversion against its own inverse, number
// formatting against printf.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "hxcadkit/core/DString.h"

namespace {

void Check(bool ok, const char* what)
{
  if (!ok) {
    std::fprintf(stderr, "fuzz_string: %s\n", what);
    std::abort();
  }
}

void CheckString(const TString& s)
{
  Check(s.Len >= 0 && s.Len < s.SizeBufer, "string length outside its buffer");
  Check(s.PChar()[s.Len] == 0, "string not terminated");
}

TString Cp(const std::string& bytes)
{
  TString s;
  s.Set(reinterpret_cast<const unsigned char*>(bytes.data()), unsigned(bytes.size()));
  return s;
}

int NaiveFind(const std::string& t, const std::string& p, bool last)
{
  if (p.empty() || p.size() > t.size()) return 0;
  int found = 0;
  for (std::size_t i = 0; i + p.size() <= t.size(); ++i)
    if (std::memcmp(t.data() + i, p.data(), p.size()) == 0) {
      found = int(i) + 1;
      if (!last) return found;
    }
  return found;
}

template <class T> T Take(const std::uint8_t*& p, std::size_t& n)
{
  T v{};
  std::size_t k = std::min(sizeof(T), n);
  std::memcpy(&v, p, k);
  p += k;
  n -= k;
  return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  if (size < 1) return 0;
  const std::uint8_t* p = data + 1;
  std::size_t n = size - 1;
  std::string bytes(reinterpret_cast<const char*>(p), n);
  std::string text(bytes.c_str()); // up to the first zero byte

  switch (data[0] % 6) {
  case 0: {
    // UTF-8 in: whatever comes out is code-page text that survives the way back.
    TString s;
    s.SetUtf8(reinterpret_cast<const char8_t*>(text.c_str()));
    CheckString(s);
    Check(s.Len == TString::fromUTF8(reinterpret_cast<const char8_t*>(text.c_str()), nullptr),
          "fromUTF8 count differs");
    if (!text.empty()) {
      std::vector<char8_t> u(std::size_t(s.Len) * 3 + 1);
      TString::toUTF8(s.PChar(), u.data());
      TString back;
      back.SetUtf8(u.data());
      Check(back == s, "SetUtf8(toUTF8(x)) differs from x");
    }
  } break;
  case 1: {
    // Wide text in: each unit becomes its code-page byte, or '?'.
    std::vector<wchar_t> w(n / 4 + 1, 0);
    std::memcpy(w.data(), p, n / 4 * 4);
    TString s;
    s.Set(w.data());
    CheckString(s);
    std::size_t len = 0;
    while (w[len])
      ++len;
    Check(std::size_t(s.Len) == len || len == 0, "wide length differs");
    for (std::size_t i = 0; i < len && s.Len > 0; ++i) {
      char c = TString::UniCodeToChar(w[i]);
      Check(s.PChar()[i] == (c ? c : '?'), "wide character converted wrongly");
    }
    const wchar_t* back = s.toWideChar();
    for (int i = 0; i < s.Len; ++i)
      Check(back[i] == TString::CharToUniCode(s.PChar()[i]), "toWideChar");
  } break;
  case 2: {
    // Code-page text: parsing and angles must not misbehave on anything.
    TString s = Cp(bytes);
    CheckString(s);
    volatile double r = s.toReal();
    volatile int i = s.toInteger();
    volatile bool num = s.IsNumeric();
    (void)r, (void)i, (void)num;
    double a = 0;
    s.toDegreesAngle(a);
    // Through UTF-8 and back, every code-page byte but zero survives.
    TString c = Cp(text);
    std::string u = c.Utf8Text();
    TString back;
    back.SetUtf8(reinterpret_cast<const char8_t*>(u.c_str()));
    Check(text.empty() || back == c, "code-page text lost through UTF-8");
  } break;
  case 3: {
    // Number formatting against printf.
    double d = Take<double>(p, n);
    int c = Take<std::int16_t>(p, n);
    int w = Take<std::int16_t>(p, n);
    bool dot = n > 0 && (p[0] & 1);
    TString s(d, c, dot, w);
    CheckString(s);
    Check(s.Len < 4096, "number text too long");
    if (c >= -1 && c <= 40 && w >= -100 && w <= 100) {
      char ref[512];
      std::snprintf(ref, sizeof ref, "%*.*f", w, c, d);
      std::string want(ref);
      if (!dot)
        for (char& ch : want)
          if (ch == '.') ch = ',';
      Check(want == s.PChar(), "number text differs from printf");
    }
    TString t(int(Take<std::int32_t>(p, n)), w);
    CheckString(t);
    TString u(Take<std::uint32_t>(p, n), c);
    CheckString(u);
    // Angles: bounded text that reads back as the same angle.
    TString g;
    g.DegreesAngle(d, dot);
    CheckString(g);
    Check(g.Len < 400, "angle text too long");
    double back = 0;
    Check(g.toDegreesAngle(back), "angle text without marks");
    if (std::isfinite(d) && std::fabs(d) < 1e6) Check(std::fabs(back - d) < 2e-5, "angle does not read back");
  } break;
  case 4: {
    // Searching against the naive reference.
    std::size_t cut = n ? p[0] % 8 : 0;
    std::string needle = bytes.substr(0, std::min(cut, bytes.size()));
    std::string hay = bytes.substr(needle.size());
    TString H = Cp(hay), N = Cp(needle);
    Check(H.Find(N) == NaiveFind(hay, needle, false), "Find differs from the reference");
    Check(H.RFind(N) == NaiveFind(hay, needle, true), "RFind differs from the reference");
    if (!needle.empty()) {
      char c = needle[0];
      int from = int(static_cast<unsigned char>(needle.back())) - 8;
      std::size_t f = hay.find(c, std::size_t(std::max(from, 0)));
      Check(H.Find(c, from) == (f == std::string::npos ? 0 : int(f) + 1), "Find(char) differs");
      int last = 0;
      for (int k = std::min(from, int(hay.size()) - 1); k >= 0; --k)
        if (hay[std::size_t(k)] == c) {
          last = k + 1;
          break;
        }
      Check(H.RFind(c, from) == last, "RFind(char) differs");
    }
  } break;
  case 5: {
    // Editing with positions from the input.
    TString s = Cp(bytes);
    int a = n > 0 ? int(std::int8_t(p[0])) : 0;
    int b = n > 1 ? int(std::int8_t(p[1])) : 0;
    s.Insert(a, text.c_str());
    CheckString(s);
    s.Insert(b, 'x');
    s.Remove(a, b);
    CheckString(s);
    TString sub = s.SubStr(a, b);
    CheckString(sub);
    s.Add(s.PChar());
    s += sub;
    s.RePlaceSet(text.c_str(), b, a > 0, '#');
    s.DeleteBlankFromEnd();
    CheckString(s);
    (void)s.Common(sub, a);
    (void)(s < sub);
  } break;
  }
  return 0;
}
