// The adapter's assembly side: components from part files, their placements, mates, and the
// variables of a given part.
#include <cmath>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/TPointer.h"

namespace drApi {

namespace {

// Places the component at (x, y, z) with the axes X and Y (unit and orthogonal); Z = X x Y.
void Place(txapi::SmartPtr<txapi::IPart>& c, double x, double y, double z, const TVector3D& X, const TVector3D& Y)
{
  txapi::SmartPtr<txapi::IPlacement3D> p = c->GetPlacement();
  if (!p) return;
  const TVector3D Z(X.y * Y.z - X.z * Y.y, X.z * Y.x - X.x * Y.z, X.x * Y.y - X.y * Y.x);
  p->SetMatrix({X.x, X.y, X.z, 0, Y.x, Y.y, Y.z, 0, Z.x, Z.y, Z.z, 0, x, y, z, 1});
  c->SetPlacement(p);
  c->Update();
}

} // namespace

txapi::SmartPtr<txapi::IPart> TModelerApi::InsertComponent(const TString& Name, bool ExternalFile)
{
  // The assembly is the 3D document's own top part, whatever part is current.
  if (!R().IDoc3D || !FileExists(Name)) return {};
  txapi::SmartPtr<txapi::IPart> top = R().IDoc3D->GetTopPart();
  return top ? top->AddComponent(W(Name), ExternalFile) : txapi::SmartPtr<txapi::IPart>();
}

void TModelerApi::AddDetail(const double& x, const double& y, const double& z, const TString& DetailName,
                            bool ReverseZ, bool ExternalFile)
{
  txapi::SmartPtr<txapi::IPart> c = InsertComponent(DetailName, ExternalFile);
  if (!c) return;
  // Turned round: half a turn about Y, so that X and Z point the other way.
  Place(c, x, y, z, TVector3D(ReverseZ ? -1.0 : 1.0, 0.0, 0.0), TVector3D(0.0, 1.0, 0.0));
  Made(txapi::SmartPtr<txapi::IModelObject>(c));
}

void TModelerApi::AddDetailAxle(const double& x, const double& y, const double& z, const TString& DetailName,
                                const double& xDx, const double& xDy, const double& xDz, const double& yDx,
                                const double& yDy, const double& yDz, bool ExternalFile)
{
  const double lx = std::sqrt(xDx * xDx + xDy * xDy + xDz * xDz);
  if (!(lx > 1e-12) || !std::isfinite(lx)) return;
  const TVector3D X(xDx / lx, xDy / lx, xDz / lx);
  const double d = yDx * X.x + yDy * X.y + yDz * X.z;
  TVector3D Y(yDx - d * X.x, yDy - d * X.y, yDz - d * X.z);
  const double ly = std::sqrt(Y.x * Y.x + Y.y * Y.y + Y.z * Y.z);
  if (!(ly > 1e-12) || !std::isfinite(ly)) return;
  Y = TVector3D(Y.x / ly, Y.y / ly, Y.z / ly);
  txapi::SmartPtr<txapi::IPart> c = InsertComponent(DetailName, ExternalFile);
  if (!c) return;
  Place(c, x, y, z, X, Y);
  Made(txapi::SmartPtr<txapi::IModelObject>(c));
}

txapi::SmartPtr<txapi::IPart> TModelerApi::drCreatePartFromFile(const TString& Name, bool ExternalFile)
{
  txapi::SmartPtr<txapi::IPart> c = InsertComponent(Name, ExternalFile);
  // A failed insertion leaves no part current, so that what follows cannot act on the
  // assembly's own top part.
  R().Part = c;
  if (!c) {
    R().Obj3D.reset();
    return c;
  }
  Made(txapi::SmartPtr<txapi::IModelObject>(c));
  return c;
}

void TModelerApi::drPartSetPlacement(txapi::SmartPtr<txapi::IPlacement3D>& Place)
{
  if (!R().Part || !Place) return;
  R().Part->SetPlacement(Place);
  R().Part->Update();
}

bool TModelerApi::drSetMate(txapi::SmartPtr<txapi::IMateConstraint3D>& Mate, txapi::SmartPtr<txapi::IModelObject> O1,
                            txapi::SmartPtr<txapi::IModelObject> O2, int Direction, int Fixed, const double& V)
{
  if (!Mate) return false;
  Mate->SetFirstObject(O1);
  Mate->SetSecondObject(O2);
  Mate->SetFixing(Fixed != 0 ? 2 : 1);
  Mate->SetDirection(Direction);
  Mate->SetValue(V);
  return Mate->Update();
}

bool TModelerApi::drMate(txapi::MateConstraintType MT, txapi::SmartPtr<txapi::IModelObject> O1,
                         txapi::SmartPtr<txapi::IModelObject> O2, int Direction, int Fixed, const double& V,
                         const TString& iExpresion)
{
  if (!R().IDoc3D || !O1 || !O2) return false;
  txapi::SmartPtr<txapi::IMateConstraints3D> mates = R().IDoc3D->GetMateConstraints();
  txapi::SmartPtr<txapi::IMateConstraint3D> mate = mates ? mates->Add(MT) : txapi::SmartPtr<txapi::IMateConstraint3D>();
  if (!mate) return false;
  drSetMate(mate, O1, O2, Direction, Fixed, V);
  TString e = iExpresion;
  if (e.Empty()) {
    if (const TIdVariable* v = AVariable.GetVariable(V)) e = v->Comment;
  }
  if (e.Empty()) return true;
  txapi::SmartPtr<txapi::IFeature> f = mate;
  if (!f) return true;
  for (const auto& var : f->GetVariables(false, false))
    if (var && var->GetName() == L"Расстояние") {
      var->SetExpression(W(e));
      mate->Update();
      break;
    }
  return true;
}

txapi::SmartPtr<txapi::IModelObject> TModelerApi::FindMate(txapi::SmartPtr<txapi::IMateConstraints3D>& Mates,
                                                           txapi::MateConstraintType TC,
                                                           txapi::SmartPtr<txapi::IModelObject>& fromEntity)
{
  if (!Mates || !fromEntity) return {};
  const int n = Mates->GetCount();
  for (int i = 0; i < n; ++i) {
    txapi::SmartPtr<txapi::IMateConstraint3D> m = Mates->GetItem(i);
    if (!m || m->GetKind() != TC) continue;
    txapi::SmartPtr<txapi::IModelObject> a = m->GetFirstObject();
    txapi::SmartPtr<txapi::IModelObject> b = m->GetSecondObject();
    if (a == fromEntity) return b;
    if (b == fromEntity) return a;
  }
  return {};
}

void TModelerApi::drClear(txapi::SmartPtr<txapi::IMateConstraints3D>& Mates)
{
  if (!Mates) return;
  for (int i = Mates->GetCount() - 1; i >= 0; --i)
    Mates->Remove(Mates->GetItem(i));
}

txapi::SmartPtr<txapi::IVariable> TModelerApi::drAddVariable(const TString& Name, double Value, const TString& Comment)
{
  txapi::SmartPtr<txapi::IPart> top = R().IDoc3D ? R().IDoc3D->GetTopPart() : txapi::SmartPtr<txapi::IPart>();
  return drAddVariable(top, Name, Value, Comment);
}

void TModelerApi::drSetValue(const TString& name, const double& value)
{
  drAddVariable(name, value, TString());
}

txapi::SmartPtr<txapi::IVariable> TModelerApi::drAddVariable(txapi::SmartPtr<txapi::IPart>& Part, const TString& name,
                                                             const double& value, const TString& comment)
{
  txapi::SmartPtr<txapi::IFeature> f = Part;
  if (!f) return {};
  txapi::SmartPtr<txapi::IVariable> v = f->GetVariable(false, false, W(name));
  if (v) {
    v->SetValue(value);
    return v;
  }
  return f->AddVariable(W(name), value, W(comment));
}

void TModelerApi::drSetValue(txapi::SmartPtr<txapi::IPart>& Part, const TString& name, const double& value)
{
  drAddVariable(Part, name, value, TString());
}

} // namespace drApi
