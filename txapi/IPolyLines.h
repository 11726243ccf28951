#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IPolyLine;

// The 3D polylines of a part's auxiliary geometry.
class IPolyLines : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"e6ca1b70-6474-4b87-b0d0-281484cccc3a"};

  // A new polyline, created and not yet applied (its IModelObject view applies it); empty when none.
  virtual SmartPtr<IPolyLine> Add() = 0;

protected:
  ~IPolyLines() = default;
};

} // namespace txapi
