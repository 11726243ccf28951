// The in-view field checks on arbitrary texts, for every value type and a spread of ranges: no check
// misbehaves on long digit runs or 8-bit bytes, every refusal carries a known code, an accepted
// text is also acceptable while being typed and its value lies in the range, and a copy answers the
// same.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "hxcadkit/commands/TValidator.h"

namespace {

void Check(bool ok, const char* what)
{
  if (!ok) {
    std::fprintf(stderr, "fuzz_validator: %s\n", what);
    std::abort();
  }
}

const double kRanges[][2] = {{0, 2000}, {-2000, 2000}, {0, 0}, {-3.5, -1}, {-1e18, 1e18}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  if (size < 1) return 0;
  const int type = data[0] % 5, range = (data[0] / 5) % 5;
  const bool ignoreEmpty = data[0] & 0x80;
  const double min = kRanges[range][0], max = kRanges[range][1];
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  text = text.substr(0, text.find('\0'));

  TLowRangeValidator v(0, 0);
  switch (type) {
  case rveInt: v.SetRange(rveInt, int(std::fmax(min, -2e9)), int(std::fmin(max, 2e9))); break;
  case rveLong: v.SetRange(rveLong, long(min), long(max)); break;
  case rveFloat: v.SetRange(rveFloat, float(min), float(max)); break;
  case rveDouble: v.SetRange(rveDouble, min, max); break;
  default: v.SetRange(rveHex, long(min), long(max)); break;
  }
  v.SetIgnoreEmptyRegime(ignoreEmpty);
  std::unique_ptr<TLowRangeValidator> copy(v.Duplicate());

  const bool ok = v.IsValid(text.c_str());
  Check(copy->IsValid(text.c_str()) == ok && copy->Result == v.Result, "copy answers differently");
  if (!ok) {
    Check(v.Result == 2 || v.Result == 3 || v.Result == 4, "refusal without a known code");
    Check(!v.ErrorText().Empty(), "refusal without a message");
    return 0;
  }
  Check(v.Result == 0, "acceptance with a code");
  if (text.empty()) return 0;
  Check(v.IsValidInput(text.c_str(), false), "accepted text refused while typed");
  if (min == 0 && max == 0) return 0;
  TString s;
  s.Set(text.c_str());
  const double value = type == rveFloat ? s.toReal() : std::trunc(s.toReal());
  // A float field compares in float, so its value may lie a rounding step outside the range.
  const double slack = type == rveFloat ? 1e-6 * std::fmax(std::fabs(min), std::fabs(max)) : 0;
  Check(value >= min - slack && value <= max + slack, "accepted value outside the range");
  return 0;
}
