#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IView;

// The kinds of views; views of types 2, 3 and 7 are built from a model (IAssociationView).
enum LtViewType : int {
  vtUnknown = -1,
  vt_System = 0,
  vt_Normal = 1,
  vt_Arbitrary = 2,
  vt_Standart = 3,
  vt_Projected = 4,
  vt_Arrow = 5,
  vt_Remote = 6,
  vt_Section = 7,
  vt_Remote2D = 100,
};

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
  // A new view of the type, unnumbered and unnamed; empty for a type the document cannot hold.
  virtual SmartPtr<IView> Add(LtViewType type) = 0;

protected:
  ~IViews() = default;
};

} // namespace txapi
