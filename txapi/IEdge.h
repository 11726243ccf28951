#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <vector>

namespace txapi {

class IFace;
class IMathCurve3D;

// An edge of a body.
class IEdge : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"82c97311-2591-4b07-8442-e2a4c5a1ee00"};

  // The faces the edge bounds.
  virtual std::vector<SmartPtr<IFace>> GetFaces() = 0;
  virtual bool IsStraight() = 0;
  // The length in the host's units (unit 1: the document's length unit).
  virtual double GetLength(int unit) = 0;
  // A whole circle.
  virtual bool IsCircle() = 0;
  // A part of a circle.
  virtual bool IsArc() = 0;
  virtual SmartPtr<IMathCurve3D> GetMathCurve() = 0;

protected:
  ~IEdge() = default;
};

} // namespace txapi
