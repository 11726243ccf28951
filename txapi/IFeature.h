#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <string>
#include <vector>

namespace txapi {

class IModelObject;
class IVariable;
class IBody;

// The feature view of a part, a feature or a mate: its objects, its variables and its state.
class IFeature : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"6c154a99-13a2-4474-959a-190e50bff31a"};

  // The model objects the feature holds whose type is in types (every one for o3d_unknown), in creation order.
  virtual std::vector<SmartPtr<IModelObject>> GetModelObjects(const std::vector<txObj3dTypeEnum>& types) = 0;
  // The feature's variables. The two flags select the host's kinds of internal variables; this host keeps none.
  virtual std::vector<SmartPtr<IVariable>> GetVariables(bool internal, bool informational) = 0;
  // The variable of that name (the flags as for GetVariables); empty when there is none.
  virtual SmartPtr<IVariable> GetVariable(bool internal, bool informational, const std::wstring& name) = 0;
  // A new variable of the feature (a part's user variable), or empty when the host makes none.
  virtual SmartPtr<IVariable> AddVariable(const std::wstring& name, double value, const std::wstring& comment) = 0;
  // The host's state value; 0 means the feature failed to build.
  virtual int GetStatus() = 0;
  // The bodies of a part, in creation order.
  virtual std::vector<SmartPtr<IBody>> GetBodies() = 0;
  // A feature left out of the model's calculation.
  virtual void SetExcluded(bool excluded) = 0;

protected:
  ~IFeature() = default;
};

} // namespace txapi
