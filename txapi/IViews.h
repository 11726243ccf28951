#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IView;

// The views of a 2D document. A sketch's editing document has one view, numbered 0.
class IViews : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"772fbc16-493b-4f28-9bdd-907c3d8d0d56"};

  virtual int GetCount() = 0;
  // The view numbered number; empty when there is none.
  virtual SmartPtr<IView> GetViewByNumber(int number) = 0;
  // The view the user works in; empty when there is none.
  virtual SmartPtr<IView> GetActiveView() = 0;

protected:
  ~IViews() = default;
};

} // namespace txapi
