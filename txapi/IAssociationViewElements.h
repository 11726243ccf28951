#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// Which elements of its model a view built from a model shows.
class IAssociationViewElements : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"7f50b8c1-5e32-4f54-84cc-dcccf1aa88f5"};

  virtual void SetVisibleLines(bool show) = 0;
  virtual void SetHiddenLines(bool show) = 0;
  virtual void SetTangentEdges(bool show) = 0;
  virtual void SetThreads(bool show) = 0;
  virtual void SetAxes(bool show) = 0;
  virtual void SetDesignations(bool show) = 0;

protected:
  ~IAssociationViewElements() = default;
};

} // namespace txapi
