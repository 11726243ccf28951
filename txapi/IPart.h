#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <string>

namespace txapi {

class IMateConstraints3D;
class IModelObject;
class IOpenDocumentParam;
class IPlacement3D;
class ITavrixAPIObject;

// A part of a 3D document: the document's top part, or a component of an assembly.
class IPart : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"005fe448-9e10-4eb5-a606-f8fab1505bf4"};

  virtual std::wstring GetName() = 0;
  virtual void SetName(const std::wstring& name) = 0;
  // The designation of the part.
  virtual std::wstring GetMarking() = 0;
  virtual void SetMarking(const std::wstring& marking) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

  // The part's standard object of the type (o3d_planeXOY .. o3d_planeYOZ, o3d_pointCS, o3d_axisOX ..
  // o3d_axisOZ); empty for any other type.
  virtual SmartPtr<IModelObject> GetDefaultEntity(txObj3dTypeEnum type) = 0;
  // Inserts the part file as a new component of this part, with the identity placement; empty when the file
  // cannot be read. external: the component stays a link to the file rather than a copy.
  virtual SmartPtr<IPart> AddComponent(const std::wstring& fileName, bool external) = 0;
  // The component's placement in its parent (a copy: changing it changes nothing until SetPlacement).
  virtual SmartPtr<IPlacement3D> GetPlacement() = 0;
  // Takes the placement's matrix; it is applied by the next update.
  virtual void SetPlacement(const SmartPtr<IPlacement3D>& placement) = 0;
  // The part's mass as the host computes it; 0 when it has none.
  virtual double GetMass() = 0;
  // The file a component was inserted from; empty for a document's top part.
  virtual std::wstring GetFileName() = 0;
  // The host's defaults for opening a document.
  virtual SmartPtr<IOpenDocumentParam> GetOpenDocumentParam() = 0;
  // Starts editing the component in place, in its assembly; what the host hands back is its own.
  virtual SmartPtr<ITavrixAPIObject> BeginEditOnPlace(const SmartPtr<IOpenDocumentParam>& param) = 0;
  // Ends the editing in place (the value is the host's).
  virtual void EndEditOnPlace(bool value) = 0;
  // The mates of the assembly the part is a component of; empty for a part outside a document.
  virtual SmartPtr<IMateConstraints3D> GetMateConstraints() = 0;

protected:
  ~IPart() = default;
};

} // namespace txapi
