// The host's driving dimensions of the recorded control points: placed beside the part, annotated
// with the record's quality, and bound to the program's variables.
#include "hxcadkit/adapter/drModelerAPI.h"
#include "txapi/IBaseLineDimension3D.h"
#include "txapi/IDimension3D.h"
#include "txapi/IDimensionParams.h"
#include "txapi/IDimensionText.h"
#include "txapi/ISymbols3DContainer.h"

namespace drApi {

namespace {

// The position of a point's X and Y coordinate variables in its feature's list.
constexpr std::size_t XVariable = 4, YVariable = 5;

void Annotate(const TDimension3D& r, const txapi::SmartPtr<txapi::IDimension3D>& d,
              const txapi::SmartPtr<txapi::IVariable>& v, const std::wstring& x, const std::wstring& y, double LX,
              double LY)
{
  const std::wstring name = v->GetName();
  const bool isX = name == x, isY = !isX && name == y;
  if (isX || isY) {
    d->SetDistance(d->GetDistance() + (isX ? LY - r.O.y : LX - r.O.x) - 30.0);
    v->SetExpression(W(isX ? r.ExpressionX : r.ExpressionY));
  }
  if (const txapi::SmartPtr<txapi::IDimensionText> t = d) {
    t->SetTolerance(W(r.Q));
    t->SetToleranceOn(1);
  }
  if (const txapi::SmartPtr<txapi::IDimensionParams> p = d) {
    const double values[] = {3, 1, 5.0, 90.0, -1};
    for (int i = 0; i < 5; ++i)
      p->SetParameter(i, values[i]);
  }
  if (isX || isY) d->SetHidden(true);
  d->Update();
}

void Place(const TADimension3D& list, double LX, double LY, const txapi::SmartPtr<txapi::ISymbols3DContainer>& symbols)
{
  for (const TDimension3D& r : list) {
    if (r.Type != TDimension3D::tdPoint3D || !r.Point) continue;
    const txapi::SmartPtr<txapi::IFeature> f = r.Point;
    if (!f) continue;
    const std::vector<txapi::SmartPtr<txapi::IFeature>> subs = f->GetSubFeatures(false, true, true);
    const std::vector<txapi::SmartPtr<txapi::IVariable>> vars = f->GetVariables(false, false);
    // A point whose list lacks its coordinates has nothing to bind to.
    if (vars.size() <= YVariable || !vars[XVariable] || !vars[YVariable]) continue;
    const std::wstring x = vars[XVariable]->GetName(), y = vars[YVariable]->GetName();
    for (const auto& s : subs) {
      if (!txapi::SmartPtr<txapi::IBaseLineDimension3D>(s)) continue;
      const txapi::SmartPtr<txapi::IDimension3D> d = s;
      const txapi::SmartPtr<txapi::IVariable> v = d ? symbols->GetDimensionVariable(d) : nullptr;
      if (v) Annotate(r, d, v, x, y, LX, LY);
    }
  }
}

class TAdapterDimensions final : public TDimensionLink
{
public:
  TAdapterDimensions() { Previous = TDimensionLink::Set(this); }
  ~TAdapterDimensions() override
  {
    if (TDimensionLink::Get() == this) TDimensionLink::Set(Previous);
  }
  void drDimension(const TADimension3D& list, double LX, double LY, TModeler3D* M) override
  {
    const TModelerApi* api = dynamic_cast<const TModelerApi*>(M);
    if (api == nullptr || !api->R().IDoc) return;
    try {
      const txapi::SmartPtr<txapi::ITavrixDocument3D> doc = api->R().IDoc;
      const txapi::SmartPtr<txapi::IPart> top = doc ? doc->GetTopPart() : nullptr;
      const txapi::SmartPtr<txapi::ISymbols3DContainer> symbols = top;
      if (symbols) Place(list, LX, LY, symbols);
    } catch (...) {
      // A host failure ends the placing; what is placed stays.
    }
  }

private:
  TDimensionLink* Previous = nullptr;
};

} // namespace

bool InstallDimensionLink()
{
  static TAdapterDimensions dimensions;
  return TDimensionLink::Get() == &dimensions;
}

} // namespace drApi
