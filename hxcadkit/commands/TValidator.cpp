#include "hxcadkit/commands/TValidator.h"

#include "hxcadkit/commands/WindowOGL.h"

#include <cmath>
#include <cstring>

bool TValidator::Valid(const char* text)
{
  bool ok = IsValid(text);
  if (!ok) Error(nullptr);
  return ok;
}

TString TValidator::ErrorText() const
{
  static const char8_t* const standard[] = {u8"Ошибка длинны текста", u8"Ошибка диапозона",
                                            u8"Ошибка Недопустимые символы", u8"Ошибка синтаксиса"};
  if (Result == vrOk) return {};
  TString text = Name;
  if (!Message.Empty())
    text += Message;
  else if (Result >= vrLength && Result <= vrSyntax)
    text += TString(standard[Result - 1]);
  return text;
}

void TValidator::Error(MsgCheckValidProcess*)
{
  if (Result == vrOk) return;
  ShowMessage(ErrorText());
}

bool TValidator::IsValidInput(const char*, bool)
{
  return true;
}

bool TValidator::IsValid(const char*)
{
  return true;
}

void TValidator::ShowMessage(const TString& text)
{
  if (Wnd == nullptr || text.Empty()) return;
  THintOGL::Hint(Wnd->Editor, Wnd->Origin3D, text, 20, 20, 2000);
  // The field the message is about takes the keys again; its state bits stay as they are.
  TWindowOGL::Focus() = Wnd;
}

void TCharSet::Remove(char c)
{
  int at = Find(c);
  if (at != 0) TString::Remove(at - 1, 1);
}

void TFilterValidator::Error(MsgCheckValidProcess* process)
{
  Result = vrChars;
  TValidator::Error(process);
}

bool TFilterValidator::AllValid(const char* text) const
{
  for (; *text; ++text)
    if (!validChars.Has(*text)) return false;
  return true;
}

bool TFilterValidator::IsValidInput(const char* text, bool skipBlanks)
{
  if (text == nullptr) return true;
  if (skipBlanks)
    while (*text == ' ')
      ++text;
  if (!AllValid(text)) return false;
  int separators = 0;
  for (const char* c = text; *c; ++c)
    separators += *c == '.' || *c == ',';
  return m_repeatDots || separators < 2;
}

bool TFilterValidator::IsValid(const char* text)
{
  return text == nullptr || AllValid(text);
}

TLowRangeValidator::TLowRangeValidator(int min, int max, const char* name) : TFilterValidator(TCharSet(), false)
{
  SetRange(rveInt, min, max);
  Name = name;
}

TLowRangeValidator::TLowRangeValidator(long min, long max, const char* name) : TFilterValidator(TCharSet(), false)
{
  SetRange(rveLong, min, max);
  Name = name;
}

TLowRangeValidator::TLowRangeValidator(float min, float max, const char* name)
  : TFilterValidator(TCharSet(), false)
{
  SetRange(rveFloat, min, max);
  Name = name;
}

TLowRangeValidator::TLowRangeValidator(double min, double max, const char* name)
  : TFilterValidator(TCharSet(), false)
{
  SetRange(rveDouble, min, max);
  Name = name;
}

void TLowRangeValidator::SetChars(bool noMinus, bool noPlus)
{
  switch (type) {
  case rveInt:
  case rveLong: validChars.Set("0123456789+-"); break;
  case rveFloat:
  case rveDouble: validChars.Set("0123456789.,eE+-"); break;
  case rveHex: validChars.Set("0x123456789AaBbCcDdEeFf"); break;
  default: return;
  }
  if (noMinus) validChars.Remove('-');
  if (noPlus) validChars.Remove('+');
}

void TLowRangeValidator::Error(MsgCheckValidProcess* process)
{
  // The failed check has set the code.
  TValidator::Error(process);
}

template <class T> bool TLowRangeValidator::InRange(T v)
{
  T min = As<T>(rangeMin), max = As<T>(rangeMax);
  return (min == 0 && max == 0) || (min <= v && v <= max);
}

bool TLowRangeValidator::IsValid(const char* text)
{
  if (ignoreEmptyRegime && text != nullptr && *text == 0) return true;
  Result = vrChars;
  if (text == nullptr || *text == 0 || !AllValid(text)) return false;
  Result = vrOk;
  TString s;
  s.Set(text);
  if (!s.IsNumeric()) {
    Result = vrSyntax;
    return false;
  }
  // The value is truncated toward zero before the compare, as the field keeps whole numbers in
  // its integer types. The truncation is done in double and only values known to fit are
  // narrowed, so a long run of digits is refused instead of wrapping round into the range.
  const double v = s.toReal();
  const double t = std::trunc(v);
  bool ok;
  switch (type) {
  case rveInt:
    ok = (rangeMin.i == 0 && rangeMax.i == 0) || (double(rangeMin.i) <= t && t <= double(rangeMax.i));
    break;
  case rveLong:
  case rveHex:
    if (rangeMin.l == 0 && rangeMax.l == 0)
      ok = true;
    else
      ok = t >= -0x1p63 && t < 0x1p63 && rangeMin.l <= long(t) && long(t) <= rangeMax.l;
    break;
  case rveFloat: ok = InRange<float>(Narrow<float>(v)); break;
  case rveDouble: ok = InRange<double>(t); break;
  default: ok = false; break;
  }
  if (!ok) Result = vrRange;
  return ok;
}

bool TLowRangeValidator::IsValid(short v)
{
  return IsValid(int(v));
}

namespace {
bool Checked(TError& result, bool ok)
{
  if (!ok) result = TValidator::vrRange;
  return ok;
}
} // namespace

bool TLowRangeValidator::IsValid(int v)
{
  return Checked(Result, InRange<int>(v));
}

bool TLowRangeValidator::IsValid(long v)
{
  return Checked(Result, InRange<long>(v));
}

bool TLowRangeValidator::IsValid(float v)
{
  return Checked(Result, InRange<float>(v));
}

bool TLowRangeValidator::IsValid(double v)
{
  return Checked(Result, InRange<double>(v));
}

bool TLengthValidator::IsValid(const char* text)
{
  return text == nullptr || std::uint64_t(std::strlen(text)) <= MaxLength;
}
