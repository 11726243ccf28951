#pragma once

// The host's manipulators: frames and value fields that the user drags or types into inside a 3D process.

#include "txapi/IAPIObject.h"
#include "txapi/IPlacement3D.h"
#include "txapi/SmartPtr.h"

namespace txapi {

enum txManipulatorTypeEnum : int {
  txPlacement3DManipulator = 1,
  txEditDoubleManipulator = 2,
};

// What every manipulator offers: its identifier (reported with its events), its visibility, its frame.
class IBaseManipulator : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"3e0f4a52-7f1c-4b8e-a4d1-6c2b9e0f5a17"};

  virtual void SetId(int id) = 0;
  virtual int GetId() = 0;
  virtual void SetVisible(bool visible) = 0;
  // The host's first further switch; its meaning is the host's.
  virtual void SetFlag(bool value) = 0;
  // The host's second further operation; its meaning is the host's.
  virtual void Prepare() = 0;
  virtual SmartPtr<IPlacement3D> GetPlacement() = 0;
  // Shows the manipulator with its current frame and switches.
  virtual void Update(bool redraw) = 0;

protected:
  ~IBaseManipulator() = default;
};

// A frame the user moves or turns; kind is a txManipulatorPrimitiveEnum value from 1 to 13.
class IPlacement3DManipulator : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"a8c51d0e-2b64-4f37-9e83-15d7c4b0e6f2"};

  virtual void SetPrimitiveVisible(int kind, bool value) = 0;
  virtual void SetPrimitiveActive(int kind, bool value) = 0;

protected:
  ~IPlacement3DManipulator() = default;
};

// A number shown beside a frame, which the user can type over.
class IEditDoubleManipulator : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"f14b2e97-5c0a-4d6b-8a3e-7b9d2c61e048"};

  virtual void SetValue(double value) = 0;
  virtual double GetValue() = 0;

protected:
  ~IEditDoubleManipulator() = default;
};

} // namespace txapi
