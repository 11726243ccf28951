#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <vector>

namespace txapi {

class IProcess3D;
class ITavrixAPIObject;

class IMateConstraints3D;
class IModelObject;
class IPart;

// The 3D view of a part, assembly or technology assembly document.
class ITavrixDocument3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"12b90791-b744-45a2-a3fa-52b2faf792b7"};

  // The part that is the document's model.
  virtual SmartPtr<IPart> GetTopPart() = 0;
  // The assembly's mates.
  virtual SmartPtr<IMateConstraints3D> GetMateConstraints() = 0;
  // Deletes the objects from the model; false when one of them is not in this document.
  virtual bool DeleteObjects(const std::vector<SmartPtr<IModelObject>>& objects) = 0;
  // Rebuilds every feature of the model.
  virtual void RebuildModel() = 0;
  // Brings the model's derived data (mass, bill of materials) up to date; full also refreshes components.
  virtual void UpdateModel(bool full) = 0;

  // Whether a component is being edited in place, and that component (as a part).
  virtual bool IsEditMode() = 0;
  virtual SmartPtr<ITavrixAPIObject> GetEditedPart() = 0;
  // A new process in the document; the mode is the host's.
  virtual SmartPtr<IProcess3D> NewProcess3D(int mode) = 0;

protected:
  ~ITavrixDocument3D() = default;
};

} // namespace txapi
