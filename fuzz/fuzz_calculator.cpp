// Arbitrary text as a variable list and a formula: "list\nformula", or a formula alone when
// there is no line break. Only TCalculatorException* may come out of the calculator (anything
// else escapes and ends the run), each is deleted here, and the three ways of evaluating one
// formula must agree.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TCalculator.h"

namespace {

struct TOutcome
{
  bool failed = false;
  int kind = 0;
  double value = 0.0;
};

void Check(bool condition)
{
  if (!condition) std::abort();
}

bool Same(double a, double b)
{
  return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

TOutcome Failed(TCalculatorException* e)
{
  Check(e != nullptr);
  TOutcome o;
  o.failed = true;
  o.kind = e->Type;
  Check(o.kind >= TCalculatorException::et_Unknown && o.kind <= TCalculatorException::et_SyntaxError);
  Check(!e->ErrorMessage.Empty());
  char text[16];
  Check(e->GetErrorMessage(text, sizeof text));
  Check(std::strlen(text) < sizeof text);
  delete e;
  return o;
}

TString Text(const uint8_t* p, size_t n)
{
  TString s;
  if (n > 0) s.Set(p, unsigned(n));
  return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const uint8_t* nl = size ? static_cast<const uint8_t*>(std::memchr(data, '\n', size)) : nullptr;
  const size_t listSize = nl ? size_t(nl - data) : 0;
  const TString list = nl ? Text(data, listSize) : TString();
  const TString formula = nl ? Text(nl + 1, size - listSize - 1) : Text(data, size);

  TCalculator c;
  try {
    c.SetVariables(list);
  } catch (TCalculatorException* e) {
    Failed(e);
  }

  TOutcome first;
  bool parsed = false;
  try {
    c.SetEquation(formula);
    parsed = true;
    first.value = c.Calculate();
  } catch (TCalculatorException* e) {
    first = Failed(e);
  }
  Check(parsed == c.IsValid());

  // The same parsed formula again: the same value, or the same kind of failure.
  TOutcome again;
  try {
    again.value = c.Calculate();
  } catch (TCalculatorException* e) {
    again = Failed(e);
  }
  Check(first.failed == again.failed);
  if (first.failed && parsed) Check(first.kind == again.kind);
  if (!first.failed) Check(Same(first.value, again.value));

  // The non-throwing entry parses anew and swallows failures.
  const double quiet = c.Calculate(formula);
  Check(first.failed ? quiet == 0.0 : Same(first.value, quiet));
  return 0;
}
