#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IMateConstraints3D;

// A part as a member of an assembly: the mates it takes part in, its rebuild, and the switch that a
// command sets on a model it has just inserted.
class IPartInAssembly : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"73869400-85f2-49fd-94c3-be93b9022857"};

  // The mate collection of the assembly the part is placed in (a phantom's: its own).
  virtual SmartPtr<IMateConstraints3D> GetMateConstraints() = 0;
  // Rebuilds the part; full also rebuilds what depends on it.
  virtual bool RebuildModel(bool full) = 0;
  // Marks an inserted model as a standard component of the assembly.
  virtual void SetStandardComponent(bool standard) = 0;

protected:
  ~IPartInAssembly() = default;
};

} // namespace txapi
