#pragma once

#include <string>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ITextLine;

// The value and tolerance of a dimension as its text shows them.
class IDimensionText : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"eed679e6-c871-4847-9ac5-c8737f77c26a"};

  // True when the nominal shown is the measured value.
  virtual bool GetAutoNominal() = 0;
  // The measured value.
  virtual double GetNominalValue() = 0;
  // The nominal as written when it is not the measured one.
  virtual std::wstring GetNominalText() = 0;
  // The tolerance field, such as "h14".
  virtual std::wstring GetTolerance() = 0;
  virtual std::wstring GetUpperDeviation() = 0;
  virtual std::wstring GetLowerDeviation() = 0;
  virtual void SetTolerance(const std::wstring& tolerance) = 0;
  // Non-zero shows the tolerance field.
  virtual void SetToleranceOn(int on) = 0;
  // The texts before and after the value, each one line; empty when the host gives none.
  virtual SmartPtr<ITextLine> GetTextBefore() = 0;
  virtual SmartPtr<ITextLine> GetTextAfter() = 0;
  virtual void SetAutoNominal(bool on) = 0;
  // The upper and lower deviation as numbers.
  virtual void SetDeviationValues(double upper, double lower) = 0;

protected:
  ~IDimensionText() = default;
};

} // namespace txapi
