#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// The drawing settings of a dimension, numbered; their meaning is the host's.
class IDimensionParams : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"fa00be82-eb84-4029-abc5-0864c4a2206c"};

  virtual void SetParameter(int index, double value) = 0;
  // The ends: whether each is drawn and its kind.
  virtual void SetEnd1On(bool on) = 0;
  virtual void SetEnd2On(bool on) = 0;
  virtual void SetEnd1Kind(int kind) = 0;
  virtual void SetEnd2Kind(int kind) = 0;
  // How far the text is shifted and to which side (0 none, 1 one side, 2 the other).
  virtual void SetTextShift(int shift) = 0;
  virtual void SetTextShiftSide(int side) = 0;
  // The leader: its code, angle (degrees) and length.
  virtual void SetLeaderCode(int code) = 0;
  virtual void SetLeaderAngle(double angle) = 0;
  virtual void SetLeaderLength(double length) = 0;

protected:
  ~IDimensionParams() = default;
};

} // namespace txapi
