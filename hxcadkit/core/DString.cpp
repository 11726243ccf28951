#include "hxcadkit/core/DString.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <locale.h>
#include <new>
#include <string>
#include <utility>

#include "hxcadkit/core/KmfData.h"

const std::uint32_t RusUnicode[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

const char DigitsChar[] = " +-0123456789.,";

// Constant-initialised, so that strings built by other units' static initialisers may copy it.
constinit const TString EmptyStr{TString::TNoBuffer{}};

namespace {

constexpr int kDefaultSize = 128;
constexpr char kDegreeSign = char(0xB0); // the code page's own degree sign
constexpr const char* kHostDegree = "@1~";

// Numbers are read the same whatever locale the host process runs in.
locale_t CLocale()
{
  static locale_t loc = newlocale(LC_ALL_MASK, "C", locale_t(0));
  return loc;
}

// Whole printf output, however long: the values that reach us include 1e300 sentinels.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* fmt, ...)
{
  // printf follows the thread's numeric locale; the host may have set a comma locale, so the
  // "C" locale is lent to this thread for the call (the process-wide locale is never touched).
  struct TCLocaleForThread
  {
    locale_t Old = uselocale(CLocale());
    ~TCLocaleForThread() { uselocale(Old); }
  } scope;
  char small[128];
  va_list ap;
  va_start(ap, fmt);
  int n = std::vsnprintf(small, sizeof small, fmt, ap);
  va_end(ap);
  if (n < 0) return std::string();
  if (n < int(sizeof small)) return std::string(small, std::size_t(n));
  std::string out(std::size_t(n) + 1, '\0');
  va_start(ap, fmt);
  std::vsnprintf(out.data(), out.size(), fmt, ap);
  va_end(ap);
  out.resize(std::size_t(n));
  return out;
}

// Field widths and decimal counts come from callers' data; keep the text within reason.
int ClampWidth(int w)
{
  return std::clamp(w, -1024, 1024);
}
int ClampDecimals(int c)
{
  return std::min(c, 340);
}

// Appends the UTF-8 form of code point cp (below U+10000 here) to out; returns the byte count.
int EncodeUtf8(std::uint32_t cp, char8_t* out)
{
  if (cp < 0x80) {
    if (out) out[0] = char8_t(cp);
    return 1;
  }
  if (cp < 0x800) {
    if (out) {
      out[0] = char8_t(0xC0 | (cp >> 6));
      out[1] = char8_t(0x80 | (cp & 0x3F));
    }
    return 2;
  }
  if (out) {
    out[0] = char8_t(0xE0 | (cp >> 12));
    out[1] = char8_t(0x80 | ((cp >> 6) & 0x3F));
    out[2] = char8_t(0x80 | (cp & 0x3F));
  }
  return 3;
}

bool IsCont(unsigned char b)
{
  return (b & 0xC0) == 0x80;
}

// Decodes one UTF-8 character at p (never past its terminator). Returns the bytes taken and
// sets cp, or 0xFFFFFFFF for an invalid, truncated or overlong sequence (one '?').
int DecodeUtf8(const unsigned char* p, std::uint32_t& cp)
{
  unsigned char b = p[0];
  if (b < 0x80) {
    cp = b;
    return 1;
  }
  cp = 0xFFFFFFFF;
  int need;
  unsigned char lo = 0x80, hi = 0xBF; // range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    need = 1;
  } else if (b >= 0xE0 && b <= 0xEF) {
    need = 2;
    if (b == 0xE0) lo = 0xA0;
    if (b == 0xED) hi = 0x9F; // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    need = 3;
    if (b == 0xF0) lo = 0x90;
    if (b == 0xF4) hi = 0x8F;
  } else {
    return 1; // stray continuation, C0, C1, F5..FF
  }
  if (p[1] < lo || p[1] > hi) return 1;
  std::uint32_t v = b & (0x3F >> need);
  v = (v << 6) | (p[1] & 0x3F);
  for (int i = 2; i <= need; ++i) {
    if (!IsCont(p[i])) return i; // truncated: the valid prefix counts as one character
    v = (v << 6) | (p[i] & 0x3F);
  }
  cp = v;
  return need + 1;
}

char CodePointToByte(std::uint32_t cp)
{
  if (cp < 0x80) return char(cp);
  if (cp > 0xFFFF) return '?';
  char c = TString::UniCodeToChar(wchar_t(cp));
  return c ? c : '?';
}

// The number texts the parsers read: characters outside DigitsChar become blanks, commas points.
std::string CleanNumber(const char* p, int n)
{
  std::string s(p, std::size_t(n));
  for (char& c : s) {
    if (c == ',')
      c = '.';
    else if (c == 0 || !std::strchr(DigitsChar, c))
      c = ' ';
  }
  return s;
}

// Boyer-Moore-Horspool skip table for needle n of length m, indexed by the unsigned byte.
void SkipTable(const unsigned char* n, int m, int* skip, bool reverse)
{
  for (int i = 0; i < 256; ++i)
    skip[i] = m;
  if (!reverse)
    for (int i = 0; i < m - 1; ++i)
      skip[n[i]] = m - 1 - i;
  else
    for (int i = m - 1; i > 0; --i)
      skip[n[i]] = i;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Construction

void TString::InitDefault()
{
  Bufer = new char[kDefaultSize]();
  SizeBufer = kDefaultSize;
  Len = 0;
}

TString::TString()
{
  InitDefault();
}

TString::TString(const char* s)
{
  InitDefault();
  SetUtf8(reinterpret_cast<const char8_t*>(s));
}

TString::TString(const char8_t* s)
{
  InitDefault();
  SetUtf8(s);
}

TString::TString(const std::wstring& s)
{
  InitDefault();
  Set(s.c_str());
}

TString TString::Exactly(const std::wstring& s)
{
  TString t(s);
  if (t.WideText() != s) t.SetExact(s);
  return t;
}

TString::TString(int D)
{
  InitDefault();
  std::string t = Format("%d", D);
  SetBytes(t.data(), int(t.size()));
}

TString::TString(int D, int CountDigits)
{
  InitDefault();
  std::string t = Format("%0*d", ClampWidth(CountDigits), D);
  SetBytes(t.data(), int(t.size()));
}

TString::TString(unsigned int D, int CountDigits)
{
  InitDefault();
  std::string t = Format("%0*u", ClampWidth(CountDigits), D);
  SetBytes(t.data(), int(t.size()));
}

TString::TString(double D, int C, bool Dot, int width)
{
  InitDefault();
  std::string t = Format("%*.*f", ClampWidth(width), ClampDecimals(C), D);
  // The decimal comma is our own replacement, never the process locale's.
  if (!Dot) std::replace(t.begin(), t.end(), '.', ',');
  SetBytes(t.data(), int(t.size()));
}

TString::TString(const TString& s)
{
  InitDefault();
  SetBytes(s.PChar(), s.Len);
  if (s.Exact) SetExact(*s.Exact);
}

TString::TString(TString&& s) noexcept
    : BufUtf8(std::exchange(s.BufUtf8, nullptr)), Bufer(std::exchange(s.Bufer, nullptr)),
      Len(std::exchange(s.Len, 0)), SizeBufer(std::exchange(s.SizeBufer, 0)),
      WideStr(std::exchange(s.WideStr, nullptr)), SizeWideBufer(std::exchange(s.SizeWideBufer, 0)),
      Exact(std::exchange(s.Exact, nullptr))
{
}

TString::~TString()
{
  delete[] BufUtf8;
  delete[] Bufer;
  delete[] WideStr;
  delete Exact;
  BufUtf8 = nullptr;
  Bufer = nullptr;
  WideStr = nullptr;
}

TString& TString::operator=(const TString& s)
{
  if (this != &s) {
    SetBytes(s.PChar(), s.Len);
    if (s.Exact) SetExact(*s.Exact);
  }
  return *this;
}

TString& TString::operator=(TString&& s) noexcept
{
  if (this != &s) {
    std::swap(BufUtf8, s.BufUtf8);
    std::swap(Bufer, s.Bufer);
    std::swap(Len, s.Len);
    std::swap(SizeBufer, s.SizeBufer);
    std::swap(WideStr, s.WideStr);
    std::swap(SizeWideBufer, s.SizeWideBufer);
    std::swap(Exact, s.Exact);
  }
  return *this;
}

TString& TString::operator=(const char* s)
{
  TString t(s);
  SetBytes(t.PChar(), t.Len);
  if (t.Exact) SetExact(*t.Exact);
  return *this;
}

TString& TString::operator=(char c)
{
  SetBytes(&c, 1);
  return *this;
}

TString& TString::operator=(const std::wstring& s)
{
  TString t(s);
  SetBytes(t.PChar(), t.Len);
  if (t.Exact) SetExact(*t.Exact);
  return *this;
}

// ---------------------------------------------------------------------------------------------
// Buffers

void TString::SetSize(int n)
{
  if (n > INT_MAX - 2 * kDefaultSize) throw std::bad_alloc();
  int cap = ((std::max(n, kDefaultSize - 1) + 1 + kDefaultSize - 1) / kDefaultSize) * kDefaultSize;
  if (cap <= SizeBufer) return;
  char* nb = new char[std::size_t(cap)]();
  if (Bufer && Len > 0) std::memcpy(nb, Bufer, std::size_t(Len));
  delete[] Bufer;
  Bufer = nb;
  SizeBufer = cap;
  Bufer[Len] = 0;
  // The UTF-8 cache no longer describes the text; it is rebuilt on the next SetUtf8.
  delete[] BufUtf8;
  BufUtf8 = nullptr;
}

void TString::Grow(int n)
{
  if (!Bufer) InitDefault();
  if (n >= SizeBufer) SetSize(n);
}

void TString::DropExact()
{
  delete Exact;
  Exact = nullptr;
}

void TString::SetExact(std::wstring exact)
{
  // Kept only while it stands index for index for the master text.
  if (int(exact.size()) != Len) {
    DropExact();
  } else if (Exact) {
    *Exact = std::move(exact);
  } else {
    Exact = new std::wstring(std::move(exact));
  }
}

std::wstring TString::WideText() const
{
  if (Exact) return *Exact;
  std::wstring w(std::size_t(Len), L'\0');
  for (int i = 0; i < Len; ++i)
    w[std::size_t(i)] = CharToUniCode(Bufer[i]);
  return w;
}

void TString::SetBytes(const char* p, int n)
{
  DropExact();
  if (n < 0) n = 0;
  if (!Bufer || n >= SizeBufer) {
    // p may point into our own buffer only when n < Len < SizeBufer, so growing is safe here.
    Grow(n);
  }
  if (n > 0) std::memmove(Bufer, p, std::size_t(n));
  Len = n;
  Bufer[Len] = 0;
}

char* TString::toPChar()
{
  DropExact();
  if (!Bufer) InitDefault();
  return Bufer;
}

void TString::SetLength(int n)
{
  DropExact();
  if (n < 0) n = 0;
  Grow(n);
  Len = n;
  Bufer[Len] = 0;
}

void TString::Clear()
{
  DropExact();
  if (!Bufer) return;
  Len = 0;
  Bufer[0] = 0;
}

// ---------------------------------------------------------------------------------------------
// Setting and editing

void TString::Set(const char* s)
{
  if (!s) return;
  SetBytes(s, int(std::strlen(s)));
}

void TString::Set(const unsigned char* p, unsigned n)
{
  if (!p || n == 0) return;
  if (n > unsigned(INT_MAX - 2 * kDefaultSize)) throw std::bad_alloc();
  SetBytes(reinterpret_cast<const char*>(p), int(n));
}

void TString::Set(const wchar_t* s)
{
  if (!s) return;
  DropExact();
  int n = int(std::wcslen(s));
  Grow(n);
  for (int i = 0; i < n; ++i) {
    std::uint32_t c = std::uint32_t(s[i]);
    Bufer[i] = CodePointToByte(c);
  }
  Len = n;
  Bufer[Len] = 0;
}

int TString::fromUTF8(const char8_t* src, char* dst)
{
  if (!src) {
    if (dst) dst[0] = 0;
    return 0;
  }
  const unsigned char* p = reinterpret_cast<const unsigned char*>(src);
  int n = 0;
  while (*p) {
    std::uint32_t cp;
    p += DecodeUtf8(p, cp);
    if (dst) dst[n] = cp == 0xFFFFFFFF ? '?' : CodePointToByte(cp);
    ++n;
  }
  if (dst) dst[n] = 0;
  return n;
}

void TString::SetUtf8(const char8_t* s)
{
  if (!s || !s[0]) return;
  std::size_t bytes = std::strlen(reinterpret_cast<const char*>(s));
  if (bytes > std::size_t(INT_MAX - 2 * kDefaultSize)) throw std::bad_alloc();
  int n = fromUTF8(s, nullptr);
  // s may be our own UTF-8 cache; convert before the buffers move.
  std::string bytes8(n, '\0');
  fromUTF8(s, bytes8.data());
  char* cache = new char[bytes + 1];
  std::memcpy(cache, s, bytes + 1);
  SetBytes(bytes8.data(), n);
  delete[] BufUtf8;
  BufUtf8 = cache;
}

void TString::Add(const char* s)
{
  if (!s || !s[0]) return;
  if (Bufer && s >= Bufer && s < Bufer + SizeBufer) {
    std::string copy(s);
    Add(copy.c_str());
    return;
  }
  int n = int(std::strlen(s));
  if (n > INT_MAX - 2 * kDefaultSize - Len) throw std::bad_alloc();
  Grow(Len + n);
  std::memcpy(Bufer + Len, s, std::size_t(n));
  Len += n;
  Bufer[Len] = 0;
  if (Exact)
    for (int i = Len - n; i < Len; ++i)
      Exact->push_back(CharToUniCode(Bufer[i]));
}

void TString::Add(char c)
{
  Grow(Len + 1);
  Bufer[Len++] = c;
  Bufer[Len] = 0;
  if (Exact) Exact->push_back(CharToUniCode(c));
}

void TString::Insert(int pos, const char* s)
{
  if (!s || !s[0]) return;
  DropExact();
  std::string copy(s); // s may point into our own buffer
  int n = int(copy.size());
  if (n > INT_MAX - 2 * kDefaultSize - Len) throw std::bad_alloc();
  pos = std::clamp(pos, 0, Len);
  Grow(Len + n);
  std::memmove(Bufer + pos + n, Bufer + pos, std::size_t(Len - pos));
  std::memcpy(Bufer + pos, copy.data(), std::size_t(n));
  Len += n;
  Bufer[Len] = 0;
}

void TString::Insert(int pos, char c)
{
  DropExact();
  pos = std::clamp(pos, 0, Len);
  Grow(Len + 1);
  std::memmove(Bufer + pos + 1, Bufer + pos, std::size_t(Len - pos));
  Bufer[pos] = c;
  ++Len;
  Bufer[Len] = 0;
}

void TString::Remove(int pos, int n)
{
  if (pos < 0 || n <= 0 || pos >= Len) return;
  if (Exact) Exact->erase(std::size_t(pos), std::size_t(n));
  if (n >= Len - pos) {
    Len = pos;
  } else {
    std::memmove(Bufer + pos, Bufer + pos + n, std::size_t(Len - pos - n));
    Len -= n;
  }
  Bufer[Len] = 0;
}

void TString::RePlace(char a, char b)
{
  DropExact();
  for (int i = 0; i < Len; ++i)
    if (Bufer[i] == a) Bufer[i] = b;
}

void TString::RePlaceSet(const char* set, int n, bool flag, char c)
{
  DropExact();
  int m = set ? int(strnlen(set, std::size_t(std::max(n, 0)))) : 0;
  for (int i = 0; i < Len; ++i) {
    bool in = m > 0 && std::memchr(set, Bufer[i], std::size_t(m)) != nullptr;
    if (in == flag) Bufer[i] = c;
  }
}

void TString::DeleteBlankFromEnd()
{
  while (Len > 0 && Bufer[Len - 1] == ' ')
    --Len;
  if (Bufer) Bufer[Len] = 0;
  if (Exact) Exact->resize(std::size_t(Len));
}

void TString::EvaluateLength()
{
  DropExact();
  Len = Bufer ? int(strnlen(Bufer, std::size_t(SizeBufer - 1))) : 0;
  if (Bufer) Bufer[Len] = 0;
}

void TString::Swap(TString& s)
{
  std::swap(BufUtf8, s.BufUtf8);
  std::swap(Bufer, s.Bufer);
  std::swap(Len, s.Len);
  std::swap(SizeBufer, s.SizeBufer);
  std::swap(WideStr, s.WideStr);
  std::swap(SizeWideBufer, s.SizeWideBufer);
  std::swap(Exact, s.Exact);
}

char* TString::Duplicate() const
{
  char* p = new char[std::size_t(Len) + 1];
  if (Len > 0) std::memcpy(p, Bufer, std::size_t(Len));
  p[Len] = 0;
  return p;
}

TString& TString::operator+=(const TString& s)
{
  if (s.Len == 0) return *this;
  if (&s == this) {
    TString copy(s);
    return *this += copy;
  }
  if (s.Len > INT_MAX - 2 * kDefaultSize - Len) throw std::bad_alloc();
  std::wstring exact = Exact || s.Exact ? WideText() + s.WideText() : std::wstring();
  Grow(Len + s.Len);
  std::memcpy(Bufer + Len, s.Bufer, std::size_t(s.Len));
  Len += s.Len;
  Bufer[Len] = 0;
  if (!exact.empty()) SetExact(std::move(exact));
  return *this;
}

TString& TString::operator+=(const char* s)
{
  if (!s || !s[0]) return *this;
  return *this += TString(s);
}

TString operator+(const TString& a, const TString& b)
{
  TString r(a);
  r += b;
  return r;
}

// ---------------------------------------------------------------------------------------------
// Reading

TString TString::SubStr(int pos, int n) const
{
  TString r;
  if (pos < 0 || pos >= Len || n < 1) return r;
  r.SetBytes(Bufer + pos, std::min(n, Len - pos));
  if (Exact) r.SetExact(Exact->substr(std::size_t(pos), std::size_t(r.Len)));
  return r;
}

int TString::Find(char c) const
{
  return Find(c, 0);
}

int TString::RFind(char c) const
{
  return RFind(c, Len - 1);
}

int TString::Find(char c, int from) const
{
  if (from < 0) from = 0;
  if (from >= Len) return 0;
  const void* p = std::memchr(Bufer + from, c, std::size_t(Len - from));
  return p ? int(static_cast<const char*>(p) - Bufer) + 1 : 0;
}

int TString::RFind(char c, int from) const
{
  for (int i = std::min(from, Len - 1); i >= 0; --i)
    if (Bufer[i] == c) return i + 1;
  return 0;
}

int TString::Find(const TString& s) const
{
  const int m = s.Len, n = Len;
  if (m == 0 || m > n) return 0;
  const unsigned char* t = reinterpret_cast<const unsigned char*>(Bufer);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(s.Bufer);
  int skip[256];
  SkipTable(p, m, skip, false);
  const unsigned char last = p[m - 1];
  for (int i = 0; i <= n - m;) {
    unsigned char c = t[i + m - 1];
    if (c == last && std::memcmp(t + i, p, std::size_t(m - 1)) == 0) return i + 1;
    i += skip[c];
  }
  return 0;
}

int TString::RFind(const TString& s) const
{
  // The mirror image of Find: the window moves leftwards by the skip of its first byte.
  const int m = s.Len, n = Len;
  if (m == 0 || m > n) return 0;
  const unsigned char* t = reinterpret_cast<const unsigned char*>(Bufer);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(s.Bufer);
  int skip[256];
  SkipTable(p, m, skip, true);
  const unsigned char first = p[0];
  for (int i = n - m; i >= 0;) {
    unsigned char c = t[i];
    if (c == first && std::memcmp(t + i + 1, p + 1, std::size_t(m - 1)) == 0) return i + 1;
    i -= skip[c];
  }
  return 0;
}

int TString::Common(const TString& other, int from) const
{
  if (from < 0) from = 0;
  int n = std::min(Len, other.Len);
  int k = 0;
  for (int i = from; i < n && Bufer[i] == other.Bufer[i]; ++i)
    ++k;
  return k;
}

bool TString::operator==(const TString& s) const
{
  if (Len != s.Len || (Len != 0 && std::memcmp(Bufer, s.Bufer, std::size_t(Len)) != 0)) return false;
  // "Caf?" standing for "Café" is not "Caf?" itself.
  return (!Exact && !s.Exact) || WideText() == s.WideText();
}

bool TString::operator<(const TString& s) const
{
  int n = std::min(Len, s.Len);
  int c = n > 0 ? std::memcmp(Bufer, s.Bufer, std::size_t(n)) : 0; // memcmp compares unsigned bytes
  return c != 0 ? c < 0 : Len < s.Len;
}

// ---------------------------------------------------------------------------------------------
// Conversions

const wchar_t* TString::toWideChar() const
{
  if (!Bufer) return L"";
  if (!WideStr || SizeWideBufer < SizeBufer) {
    delete[] WideStr;
    WideStr = new wchar_t[std::size_t(SizeBufer) + 1];
    SizeWideBufer = SizeBufer;
  }
  toWideChar(WideStr);
  return WideStr;
}

void TString::toWideChar(wchar_t* dst) const
{
  if (!dst) return;
  for (int i = 0; i < Len; ++i)
    dst[i] = Exact ? (*Exact)[std::size_t(i)] : CharToUniCode(Bufer[i]);
  dst[Len] = 0;
}

std::string TString::Utf8Text() const
{
  if (Exact) return WideToUtf8(*Exact);
  std::string out;
  out.reserve(std::size_t(Len) * 2);
  char8_t b[3];
  for (int i = 0; i < Len; ++i) {
    int k = EncodeUtf8(std::uint32_t(CharToUniCode(Bufer[i])), b);
    out.append(reinterpret_cast<const char*>(b), std::size_t(k));
  }
  return out;
}

int TString::Length(const wchar_t*& s)
{
  return s ? int(std::wcslen(s)) : 0;
}

wchar_t TString::CharToUniCode(char c)
{
  unsigned char b = static_cast<unsigned char>(c);
  return b < 0x80 ? wchar_t(b) : wchar_t(RusUnicode[b - 0x80]);
}

char16_t TString::CharToUniCode16(char c)
{
  return char16_t(CharToUniCode(c));
}

char TString::UniCodeToChar(wchar_t c)
{
  std::uint32_t u = std::uint32_t(c);
  if (u < 0x80) return char(u);
  if (u >= 0x410 && u <= 0x44F) return char(0xC0 + (u - 0x410)); // the common case first
  for (int i = 0; i < 128; ++i)
    if (RusUnicode[i] == u) return char(0x80 + i);
  return 0;
}

char TString::UniCode16ToChar(char16_t c)
{
  return UniCodeToChar(wchar_t(c));
}

int TString::toUTF8(const char* src, char8_t* dst)
{
  int n = 0;
  if (src)
    for (const char* p = src; *p; ++p)
      n += EncodeUtf8(std::uint32_t(CharToUniCode(*p)), dst ? dst + n : nullptr);
  if (dst) dst[n] = 0;
  return n;
}

// ---------------------------------------------------------------------------------------------
// Numbers

double TString::toReal() const
{
  if (Len == 0) return 0.0;
  std::string s = CleanNumber(Bufer, Len);
  return strtod_l(s.c_str(), nullptr, CLocale());
}

int TString::toInteger() const
{
  if (Len == 0) return 0;
  std::string s = CleanNumber(Bufer, Len);
  long v = std::strtol(s.c_str(), nullptr, 10);
  return int(std::clamp<long>(v, INT_MIN, INT_MAX));
}

bool TString::IsNumeric() const
{
  int n = Len;
  while (n > 0 && Bufer[n - 1] == ' ')
    --n;
  std::string s = CleanNumber(PChar(), n);
  char* end = nullptr;
  strtof_l(s.c_str(), &end, CLocale());
  return end && *end == 0;
}

// ---------------------------------------------------------------------------------------------
// Angles

void TString::DegreesAngle(const double& a, bool flag)
{
  const char* mark = flag ? kHostDegree : nullptr;
  auto addMark = [&] {
    if (mark)
      Add(mark);
    else
      Add(kDegreeSign);
  };
  Clear();
  if (a < 0) Add('-');
  int start = Len;
  double A = std::fabs(a);
  if (!std::isfinite(A)) {
    Add(Format("%f", A).c_str());
    addMark();
    return;
  }
  double d = std::trunc(A);
  if (d != 0) {
    Add(Format("%.0f", d).c_str());
    addMark();
  }
  double m = (A - d) * 60;
  double mi = std::trunc(m);
  if (mi != 0) {
    Add(Format("%.0f", mi).c_str());
    Add('\'');
  }
  double s = (m - mi) * 60;
  if (s != 0) {
    Add(Format("%*.*f", 7, 1, s).c_str());
    Add('"');
  }
  if (Len == start) {
    Add('0');
    addMark();
  }
}

bool TString::toDegreesAngle(double& a) const
{
  TString t(*this);
  t.RePlace(',', '.');
  const TString host(kHostDegree);
  for (int k; (k = t.Find(host)) > 0;) {
    t.Remove(k - 1, host.Len);
    t.Insert(k - 1, kDegreeSign);
  }
  // A leading minus (the form DegreesAngle writes) negates the whole angle, not only the
  // degrees; it may stand apart from the seconds' padding ("-    0.5\""), so it is taken off.
  int i = 0;
  while (i < t.Len && t.Bufer[i] == ' ')
    ++i;
  const bool negative = i < t.Len && t.Bufer[i] == '-';
  if (negative) t.Remove(i, 1);
  char deg[2] = {kDegreeSign, 0};
  TString degree;
  degree.Set(deg);
  int p = t.Find(degree);
  int q = t.Find('\'');
  int r = t.Find('"');
  if (p == 0 && q == 0 && r == 0) {
    a = toReal();
    return false;
  }
  double dv = p > 0 ? t.SubStr(0, p - 1).toReal() : 0.0;
  double mv = q > 0 ? t.SubStr(p, q - 1 - p).toReal() : 0.0;
  int from = q > 0 ? q : p;
  double sv = r > 0 ? t.SubStr(from, r - 1 - from).toReal() : 0.0;
  a = dv + mv / 60 + sv / 3600;
  if (negative) a = -a;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Stream

void TString::toStream(TKmfData& S) const
{
  S.Write(*this);
}

void TString::fromStream(TKmfData& S)
{
  S.Read(*this);
}

TKmfData& operator<<(TKmfData& S, const TString& s)
{
  S.Write(s);
  return S;
}

TKmfData& operator>>(TKmfData& S, TString& s)
{
  S.Read(s);
  return S;
}

std::string WideToUtf8(const std::wstring& s)
{
  std::string out;
  out.reserve(s.size());
  char8_t bytes[3];
  for (wchar_t w : s) {
    std::uint32_t cp = std::uint32_t(w);
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x10000) {
      out.append(reinterpret_cast<const char*>(bytes), std::size_t(EncodeUtf8(cp, bytes)));
      continue;
    }
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
  return out;
}

std::wstring Utf8ToWide(const std::string& s)
{
  std::wstring out;
  out.reserve(s.size());
  // The decoder stops at a 0 byte, which a std::string may hold: each piece is decoded up to it.
  const auto* p = reinterpret_cast<const unsigned char*>(s.c_str());
  const auto* end = p + s.size();
  while (p < end) {
    if (*p == 0) {
      out += L'\0';
      ++p;
      continue;
    }
    std::uint32_t cp = 0;
    p += DecodeUtf8(p, cp);
    out += wchar_t(cp == 0xFFFFFFFF ? 0xFFFD : cp);
  }
  return out;
}
