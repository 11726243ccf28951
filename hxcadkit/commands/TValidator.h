#pragma once
// Checks of the text typed into an in-view edit field: character by character while it is typed
// (partial input), and as a whole when it is finished.
#include <cstdint>
#include <limits>
#include <type_traits>

#include "hxcadkit/core/DString.h"

class TWindowOGL;
class MsgCheckValidProcess; // never read; callers pass null

using TError = std::int32_t;

class TValidator
{
public:
  // Result codes; each has its standard message.
  enum : TError { vrOk = 0, vrLength = 1, vrRange = 2, vrChars = 3, vrSyntax = 4 };

  TValidator() = default;
  TValidator(const TValidator& v) : Options(v.Options), Message(v.Message), Name(v.Name) {}
  TValidator& operator=(const TValidator&) = delete;
  virtual ~TValidator() = default;

  // IsValid, and the error message when the text is refused.
  bool Valid(const char* text);

  virtual void Error(MsgCheckValidProcess* process);
  virtual bool IsValidInput(const char* text, bool skipBlanks);
  virtual bool IsValid(const char* text);
  // Shows text as a hint at Wnd and gives Wnd the focus; nothing without a window.
  virtual void ShowMessage(const TString& text);

  // The message Error shows for the current Result (empty for 0 and unknown codes).
  TString ErrorText() const;

  std::int32_t Options = 0;
  TError Result = vrOk;
  TString Message;
  TString Name;
  TWindowOGL* Wnd = nullptr;
};

// A set of characters held as a string.
class TCharSet : public TString
{
public:
  TCharSet() = default;
  TCharSet(const char* chars) { Set(chars); } // 8-bit text
  bool Has(char c) const { return c != 0 && Find(c) != 0; }
  void Remove(char c);
};

class TFilterValidator : public TValidator
{
public:
  TFilterValidator(const TCharSet& chars, bool repeatDots) : validChars(chars), m_repeatDots(repeatDots) {}

  void Error(MsgCheckValidProcess* process) override;
  bool IsValidInput(const char* text, bool skipBlanks) override;
  bool IsValid(const char* text) override;

  TCharSet validChars;
  bool m_repeatDots;

protected:
  // Every character of text is in validChars.
  bool AllValid(const char* text) const;
};

enum RveType : std::int32_t { rveInt = 0, rveLong = 1, rveFloat = 2, rveDouble = 3, rveHex = 4, rveNone = 5 };

class TLowRangeValidator : public TFilterValidator
{
public:
  TLowRangeValidator(int min, int max, const char* name = "");
  TLowRangeValidator(long min, long max, const char* name = "");
  TLowRangeValidator(float min, float max, const char* name = "");
  TLowRangeValidator(double min, double max, const char* name = "");

  template <class T> void SetRange(RveType t, T min, T max);
  void SetIgnoreEmptyRegime(bool on) { ignoreEmptyRegime = on; }
  RveType GetType() const { return type; }
  TLowRangeValidator* Duplicate() const { return new TLowRangeValidator(*this); }

  void Error(MsgCheckValidProcess* process) override;
  using TFilterValidator::IsValid;
  bool IsValid(const char* text) override;
  virtual bool IsValid(short v);
  virtual bool IsValid(int v);
  virtual bool IsValid(long v);
  virtual bool IsValid(float v);
  virtual bool IsValid(double v);

  union TBound
  {
    int i;
    long l;
    float f;
    double d;
  };

  RveType type = rveNone;
  TBound rangeMin{}, rangeMax{};
  bool ignoreEmptyRegime = false;

private:
  template <class T> static T& As(TBound& b);
  template <class T> bool InRange(T v);
  template <class To, class From> static To Narrow(From v);
  void SetChars(bool noMinus, bool noPlus);
};

class TLengthValidator : public TValidator
{
public:
  explicit TLengthValidator(std::uint64_t maxLength) : MaxLength(maxLength) {}
  void SetMaxLength(std::uint64_t maxLength) { MaxLength = maxLength; }

  bool IsValid(const char* text) override;
  bool IsValidInput(const char* text, bool) override { return IsValid(text); }

  std::uint64_t MaxLength;
};

template <class T> T& TLowRangeValidator::As(TBound& b)
{
  if constexpr (std::is_same_v<T, int>)
    return b.i;
  else if constexpr (std::is_same_v<T, long>)
    return b.l;
  else if constexpr (std::is_same_v<T, float>)
    return b.f;
  else
    return b.d;
}

// v converted to To, saturating at To's limits (NaN gives 0).
template <class To, class From> To TLowRangeValidator::Narrow(From v)
{
  if constexpr (std::is_floating_point_v<From> && !std::is_floating_point_v<To>) {
    if (!(v == v)) return 0;
    if (v <= From(std::numeric_limits<To>::min())) return std::numeric_limits<To>::min();
    if (v >= -From(std::numeric_limits<To>::min())) return std::numeric_limits<To>::max();
    return To(v);
  } else if constexpr (std::is_same_v<To, float> && std::is_same_v<From, double>) {
    if (v > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (v < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    return float(v);
  } else if constexpr (!std::is_floating_point_v<From> && std::is_same_v<To, int>) {
    return v < From(INT32_MIN) ? INT32_MIN : v > From(INT32_MAX) ? INT32_MAX : int(v);
  } else {
    return To(v);
  }
}

template <class T> void TLowRangeValidator::SetRange(RveType t, T min, T max)
{
  static_assert(std::is_same_v<T, int> || std::is_same_v<T, long> || std::is_same_v<T, float> ||
                std::is_same_v<T, double>);
  type = t;
  // The bounds are kept in the form the checks read them for the type, so that a range given in
  // another type still means what it says.
  rangeMin = rangeMax = TBound{};
  switch (t) {
  case rveInt: rangeMin.i = Narrow<int>(min), rangeMax.i = Narrow<int>(max); break;
  case rveLong:
  case rveHex: rangeMin.l = Narrow<long>(min), rangeMax.l = Narrow<long>(max); break;
  case rveFloat: rangeMin.f = Narrow<float>(min), rangeMax.f = Narrow<float>(max); break;
  case rveDouble: rangeMin.d = double(min), rangeMax.d = double(max); break;
  default: As<T>(rangeMin) = min, As<T>(rangeMax) = max; break;
  }
  SetChars(min >= 0, max <= 0);
}
