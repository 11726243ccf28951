// A dimension's value and deviations read back from the three texts the host shows for them
// (nominal, upper and lower deviation), on arbitrary texts. The result must not depend on the
// process's numeric locale (checked under "C" and, when one can be had, a decimal-comma locale
// named by HXCAD_COMMA_LOCALE), must be finite, and a plain number must read as a locale-free
// parse of its cleaned text.
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "txapi/IDrawingObject.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Text.h"

namespace {

void Check(bool ok, const char* what)
{
  if (!ok) {
    std::fprintf(stderr, "fuzz_dimparam: %s\n", what);
    std::abort();
  }
}

// The text as a number is read: every character outside " +-0123456789.," blank, "," as ".".
double Reference(const std::wstring& w)
{
  std::string s;
  for (wchar_t c : w) {
    const bool keep = c < 0x80 && std::strchr(" +-0123456789.,", int(c)) != nullptr && c != 0;
    s += !keep ? ' ' : c == ',' ? '.' : char(c);
  }
  std::size_t i = s.find_first_not_of(' ');
  if (i == std::string::npos) return 0.0;
  // A sign after "+" is no number at all.
  if (s[i] == '+' && (++i == s.size() || s[i] == '-' || s[i] == '+')) return 0.0;
  double v = 0.0;
  const auto [end, ec] = std::from_chars(s.data() + i, s.data() + s.size(), v);
  if (ec == std::errc::result_out_of_range) return NAN; // either extreme: checked loosely
  if (ec != std::errc()) return 0.0;
  return v;
}

struct TRead
{
  bool Ok;
  double N, Hi, Lo;
  std::string Q;
};

TRead Read(const txapi::SmartPtr<txapi::IDrawingObject>& ref, bool angle)
{
  TRead r{false, -1, -1, -1, {}};
  TString q;
  r.Ok = drApi::MA.GetDimParam(ref, r.N, q, r.Hi, r.Lo, angle);
  r.Q = txhost::ToUtf8(q.toWideChar());
  return r;
}

bool SameBits(double a, double b)
{
  return std::memcmp(&a, &b, sizeof a) == 0;
}

const char* CommaLocale()
{
  static const char* name = [] {
    const char* env = std::getenv("HXCAD_COMMA_LOCALE");
    return env != nullptr && std::setlocale(LC_NUMERIC, env) != nullptr ? env : nullptr;
  }();
  std::setlocale(LC_NUMERIC, "C");
  return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  if (size == 0) return 0;
  // A host of its own for each input: the stand-in logs every call on its objects, so a host kept
  // across inputs would only grow.
  txhost::Host host;
  const std::uint8_t flags = data[0];
  // Three texts separated by zero bytes; with flag 4 the upper half of the bytes are Cyrillic letters.
  std::wstring texts[3];
  int k = 0;
  for (std::size_t i = 1; i < size && k < 3; ++i) {
    const std::uint8_t b = data[i];
    if (b == 0) {
      ++k;
      continue;
    }
    texts[k] += (flags & 4) != 0 && b >= 0xC0 ? wchar_t(0x410 + (b - 0xC0)) : wchar_t(b);
  }
  txhost::Object& dim = host.Create(txhost::model2d::Dimension);
  dim.Set("auto-nominal", false);
  dim.Set("nominal-text", txhost::ToUtf8(texts[0]));
  dim.Set("tolerance", "h14");
  dim.Set("upper", txhost::ToUtf8(texts[1]));
  dim.Set("lower", txhost::ToUtf8(texts[2]));
  {
    const txapi::SmartPtr<txapi::IDrawingObject> ref = txapi::SmartPtr<txapi::IDrawingObject>::Attach(
      static_cast<txapi::IDrawingObject*>(dim.QueryInterface(txapi::IDrawingObject::IID)));
    const bool angle = (flags & 1) != 0;
    const char* comma = CommaLocale();
    const TRead c = Read(ref, angle);
    Check(c.Ok && c.Q == "h14", "a dimension read as no dimension");
    Check(std::isfinite(c.N) && std::isfinite(c.Hi) && std::isfinite(c.Lo), "a value that is not finite");
    // Texts round-trip through the host as UTF-8; compare with what it hands back.
    const double want = Reference(txhost::FromUtf8(txhost::ToUtf8(texts[0])));
    if (std::isnan(want))
      Check(c.N == 0.0 || std::fabs(c.N) <= DBL_MIN || std::fabs(c.N) >= DBL_MAX / 2, "an extreme nominal");
    else
      Check(SameBits(c.N, want) || (c.N == 0 && want == 0), "nominal differs from the reference parse");
    if (comma != nullptr) {
      std::setlocale(LC_NUMERIC, comma);
      const TRead l = Read(ref, angle);
      std::setlocale(LC_NUMERIC, "C");
      Check(SameBits(c.N, l.N) && SameBits(c.Hi, l.Hi) && SameBits(c.Lo, l.Lo), "the locale changed a value");
    }
  }
  return 0;
}
