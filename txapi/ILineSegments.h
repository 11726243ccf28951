#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ILineSegment;

// The segments of a drawing container.
class ILineSegments : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"625e15c9-3753-47ae-ae35-1b638af2f2bc"};

  // A new segment, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<ILineSegment> Add() = 0;

protected:
  ~ILineSegments() = default;
};

} // namespace txapi
