// The adapter's linear dimension of the 3D model.
#include "hxcadkit/adapter/drModelerAPI.h"
#include "txapi/IBaseLineDimension3D.h"
#include "txapi/ILineDimensions3D.h"
#include "txapi/ISymbols3DContainer.h"

namespace drApi {

void TModelerApi::drDimL3D(txapi::SmartPtr<txapi::IModelObject> A, txapi::SmartPtr<txapi::IModelObject> P)
{
  txapi::SmartPtr<txapi::ISymbols3DContainer> s = R().Part;
  txapi::SmartPtr<txapi::ILineDimensions3D> dims =
      s ? s->GetLineDimensions3D() : txapi::SmartPtr<txapi::ILineDimensions3D>();
  txapi::SmartPtr<txapi::IBaseLineDimension3D> d =
      dims ? dims->Add(txapi::o3d_baselineDimension3D) : txapi::SmartPtr<txapi::IBaseLineDimension3D>();
  if (!d) return;
  // What the host makes of objects it cannot measure is its own affair.
  d->SetObject1(A);
  d->SetObject2(P);
  d->Update();
  R().Obj3D.reset();
  Made(txapi::SmartPtr<txapi::IModelObject>(d));
}

} // namespace drApi
