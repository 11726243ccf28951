// The adapter's 3D features: extrusions, rotations and sweeps of the current sketch, billets from part
// files, booleans, 3D macro objects, library objects, and the state of model objects (hidden, excluded,
// colour).
#include <cmath>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/TPointer.h"
#include "txapi/IBilletObsolete.h"
#include "txapi/IBilletsObsoletes.h"
#include "txapi/IBody.h"
#include "txapi/IBoolean.h"
#include "txapi/IBooleans.h"
#include "txapi/IColorParam.h"
#include "txapi/IEvolution.h"
#include "txapi/IEvolutions.h"
#include "txapi/IExtrusion.h"
#include "txapi/IExtrusions.h"
#include "txapi/IMacroObject3D.h"
#include "txapi/IMacroObjects3D.h"
#include "txapi/IModelContainer.h"
#include "txapi/IRotated.h"
#include "txapi/IRotateds.h"
#include "txapi/ISurfaceContainer.h"
#include "txapi/ISymbols3DContainer.h"
#include "txapi/IUserObject3D.h"
#include "txapi/IUserObjects3D.h"
#include "txapi/IUserParameters.h"

namespace drApi {

namespace {

// The feature collection C of the part's model container (solid) or surface container.
template <class C>
txapi::SmartPtr<C> Collection(const txapi::SmartPtr<txapi::IPart>& part, bool body,
                              txapi::SmartPtr<C> (txapi::IModelContainer::*solid)(),
                              txapi::SmartPtr<C> (txapi::ISurfaceContainer::*surface)())
{
  if (body) {
    txapi::SmartPtr<txapi::IModelContainer> mc = part;
    return mc ? ((*mc).*solid)() : txapi::SmartPtr<C>();
  }
  txapi::SmartPtr<txapi::ISurfaceContainer> sc = part;
  return sc ? ((*sc).*surface)() : txapi::SmartPtr<C>();
}

// The new feature of a sketch operation: the boss or cut kind of a solid, the surface kind otherwise.
template <class I, class C>
txapi::SmartPtr<I> NewFeature(const txapi::SmartPtr<C>& collection, bool body,
                              txapi::txOperationResultEnum OR, txapi::txObj3dTypeEnum boss,
                              txapi::txObj3dTypeEnum cut, txapi::txObj3dTypeEnum surface)
{
  if (!collection) return {};
  return collection->Add(!body ? surface : OR == txapi::txOperationCut ? cut : boss);
}

void SetColorParams(const txapi::SmartPtr<txapi::IColorParam>& c, int Color, double P)
{
  c->SetColorParams(Color, 0.8, 0.6, 0.95, 0.95, P, 0.8);
}

} // namespace

// The common opening of the sketch features: the sketch edit ends and the last object is forgotten.
void TModelerApi::BeginFeature()
{
  drEndEskis();
  R().Obj3D.reset();
}

void TModelerApi::EndFeature(const txapi::SmartPtr<txapi::IModelObject>& o)
{
  if (!o) return;
  // A feature the host cannot build is still the last object, as the host keeps it (failed); the failure
  // is counted for the caller that must not take the part for made.
  if (!o->Update()) ++R().FailedFeatures;
  Made(o);
}

void TModelerApi::drExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth,
                              const double& Depth, const double& Angle, bool Body,
                              txapi::txOperationResultEnum OR)
{
  BeginFeature();
  txapi::SmartPtr<txapi::IExtrusion> e = NewFeature<txapi::IExtrusion>(
      Collection(R().Part, Body, &txapi::IModelContainer::GetExtrusions,
                 &txapi::ISurfaceContainer::GetExtrusions),
      Body, OR, txapi::o3d_bossExtrusion, txapi::o3d_cutExtrusion, txapi::o3d_ExtrusionSurface);
  if (!e) return;
  e->SetProfiles({txapi::SmartPtr<txapi::IModelObject>(R().Sketch)});
  e->SetSideDepth(0, std::abs(Depth));
  e->SetSideDepth(1, std::abs(Depth));
  e->SetDirectionType(Napr);
  const double taper = std::abs(Angle);
  e->SetSideParameters(Napr == txapi::dtNormal ? 0 : 1, TypDepth, Depth, taper, Angle < 0, {});
  if (Napr == txapi::dtBoth) e->SetSideParameters(0, TypDepth, Depth, taper, Angle < 0, {});
  EndFeature(txapi::SmartPtr<txapi::IModelObject>(e));
  e.reset();

  if (!Body || !ADimension3D.IsParametric || !R().Obj3D) return;
  drGenerativeDimensions(txapi::SmartPtr<txapi::IModelObject>(R().Sketch));
  drGenerativeDimensions(R().Obj3D);
  // The depth follows the model variable bound to this very double, not to an equal value.
  const TIdVariable* v = AVariable.GetVariable(Depth);
  if (v == nullptr) return;
  txapi::SmartPtr<txapi::IFeature> f = R().Obj3D;
  if (!f) return;
  for (const auto& var : f->GetVariables(false, false)) {
    if (!var) continue;
    const std::wstring name = var->GetName();
    const double value = var->GetValue();
    if (std::abs(value) > 2e-06 && (name == L"Расстояние 1" || name == L"Расстояние 2"))
      var->SetExpression(W(v->Comment));
  }
}

void TModelerApi::drRotate(int, const double& Angle, bool Body, txapi::txOperationResultEnum OR)
{
  BeginFeature();
  txapi::SmartPtr<txapi::IRotated> r = NewFeature<txapi::IRotated>(
      Collection(R().Part, Body, &txapi::IModelContainer::GetRotateds,
                 &txapi::ISurfaceContainer::GetRotateds),
      Body, OR, txapi::o3d_bossRotated, txapi::o3d_cutRotated, txapi::o3d_RotatedSurface);
  if (!r) return;
  r->SetProfile(txapi::SmartPtr<txapi::IModelObject>(R().Sketch));
  r->SetDirection(Angle <= 0 ? txapi::dtReverse : txapi::dtNormal);
  r->SetSideAngle(Angle > 0 ? 0 : 1, std::abs(Angle));
  EndFeature(txapi::SmartPtr<txapi::IModelObject>(r));
}

void TModelerApi::drEvolution(txapi::SmartPtr<txapi::IModelObject> Path, bool Body,
                              txapi::txOperationResultEnum OR)
{
  BeginFeature();
  txapi::SmartPtr<txapi::IEvolution> e = NewFeature<txapi::IEvolution>(
      Collection(R().Part, Body, &txapi::IModelContainer::GetEvolutions,
                 &txapi::ISurfaceContainer::GetEvolutions),
      Body, OR, txapi::o3d_bossEvolution, txapi::o3d_cutEvolution, txapi::o3d_EvolutionSurface);
  if (!e) return;
  e->SetProfile(txapi::SmartPtr<txapi::IModelObject>(R().Sketch));
  e->SetSketchShiftType(txapi::txEvShiftOrtogonal);
  e->SetOperationResult(OR);
  e->SetPathPartsSwitch(true);
  e->SetPath({Path});
  EndFeature(txapi::SmartPtr<txapi::IModelObject>(e));
}

void TModelerApi::drGenerativeDimensions(txapi::SmartPtr<txapi::IModelObject> E7)
{
  if (!E7) return;
  txapi::SmartPtr<txapi::ITavrixDocument3D> d = R().IDoc;
  txapi::SmartPtr<txapi::IPart> top = d ? d->GetTopPart() : txapi::SmartPtr<txapi::IPart>();
  txapi::SmartPtr<txapi::ISymbols3DContainer> s = top;
  if (s) s->CreateGenerativeDimensions({E7}, false);
}

void TModelerApi::drBaseRotate(int Napr, const double& Angle)
{
  drRotate(Napr, Angle, true, txapi::txOperationUnion);
}

void TModelerApi::drCutRotate(int Napr, const double& Angle, TMark*)
{
  drRotate(Napr, Angle, true, txapi::txOperationCut);
}

void TModelerApi::drSurfaceRotate(int Napr, const double& Angle)
{
  drRotate(Napr, Angle, false, txapi::txOperationUnion);
}

void TModelerApi::drBaseExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth,
                                  const double& Depth, const double& Angle)
{
  drExtrusion(Napr, TypDepth, Depth, Angle, true, txapi::txOperationNewBody);
}

void TModelerApi::drCutExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth,
                                 const double& Depth, const double& Angle)
{
  drExtrusion(Napr, TypDepth, Depth, Angle, true, txapi::txOperationCut);
}

void TModelerApi::drSurfaceExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth,
                                     const double& Depth, const double& Angle)
{
  drExtrusion(Napr, TypDepth, Depth, Angle, false, txapi::txOperationNewBody);
}

// ---------------------------------------------------------------------------------------------
// Billets and booleans

void TModelerApi::drPutStorage(TString& Name, bool, bool Mirror)
{
  R().Obj3D.reset();
  if (!FileExists(Name) || !R().Part) return;
  txapi::SmartPtr<txapi::IModelContainer> mc = R().Part;
  txapi::SmartPtr<txapi::IBilletsObsoletes> billets =
      mc ? mc->GetBilletsObsoletes() : txapi::SmartPtr<txapi::IBilletsObsoletes>();
  txapi::SmartPtr<txapi::IBilletObsolete> b =
      billets ? billets->Add(W(Name), Mirror) : txapi::SmartPtr<txapi::IBilletObsolete>();
  txapi::SmartPtr<txapi::IModelObject> o = b;
  if (o && !o->Update()) ++R().FailedFeatures;
  Made(o);
}

void TModelerApi::drBoolean(txapi::txBooleanType Op, txapi::SmartPtr<txapi::IPart> P1, int BodyPart1,
                            txapi::SmartPtr<txapi::IPart> P2, int BodyPart2)
{
  txapi::SmartPtr<txapi::IModelContainer> mc = R().Part;
  txapi::SmartPtr<txapi::IBooleans> booleans = mc ? mc->GetBooleans() : txapi::SmartPtr<txapi::IBooleans>();
  if (!booleans) return;
  // A part that is none or a body index outside its list makes no boolean: the operands are found before
  // the host is asked for one, so that none is left behind unapplied.
  auto body = [](const txapi::SmartPtr<txapi::IPart>& p, int i) -> txapi::SmartPtr<txapi::IModelObject> {
    txapi::SmartPtr<txapi::IFeature> f = p;
    if (!f || i < 0) return {};
    const std::vector<txapi::SmartPtr<txapi::IBody>> bodies = f->GetBodies();
    return std::size_t(i) < bodies.size() ? txapi::SmartPtr<txapi::IModelObject>(bodies[std::size_t(i)])
                                          : txapi::SmartPtr<txapi::IModelObject>();
  };
  txapi::SmartPtr<txapi::IModelObject> b1 = body(P1, BodyPart1);
  txapi::SmartPtr<txapi::IModelObject> b2 = b1 ? body(P2, BodyPart2) : txapi::SmartPtr<txapi::IModelObject>();
  txapi::SmartPtr<txapi::IBoolean> b = b2 ? booleans->Add() : txapi::SmartPtr<txapi::IBoolean>();
  if (!b) return;
  b->SetOperands({b1, b2});
  b->SetBooleanType(Op);
  txapi::SmartPtr<txapi::IModelObject> o = b;
  if (o && !o->Update()) ++R().FailedFeatures;
  Made(o);
}

// ---------------------------------------------------------------------------------------------
// 3D macro objects

void TModelerApi::drMacro3D(const TString& Name, bool MStaffVisible)
{
  txapi::SmartPtr<txapi::IModelContainer> mc = R().Part;
  txapi::SmartPtr<txapi::IMacroObjects3D> macros =
      mc ? mc->GetMacroObjects3D() : txapi::SmartPtr<txapi::IMacroObjects3D>();
  txapi::SmartPtr<txapi::IMacroObject3D> m =
      macros ? macros->Add() : txapi::SmartPtr<txapi::IMacroObject3D>();
  if (m) {
    m->SetStaffVisible(MStaffVisible);
    m->SetName(W(Name));
  }
  // A macro the host refused still takes a level, so that its drEndMacro3D closes it and not the
  // enclosing one.
  static_cast<TArrayOf<txapi::SmartPtr<txapi::ITavrixAPIObject>>&>(R().AMacroObject3D)
      .Add(txapi::SmartPtr<txapi::ITavrixAPIObject>(m));
}

void TModelerApi::drEndMacro3D()
{
  TNestedArrayOf& stack = R().AMacroObject3D;
  TVOfMO members = stack.Objects();
  if (stack.Count < 1) return;
  txapi::SmartPtr<txapi::ITavrixAPIObject> top = stack[stack.Count - 1];
  stack[stack.Count - 1].reset();
  --stack.Count;
  txapi::SmartPtr<txapi::IMacroObject3D> m = top;
  if (!m) return;
  m->SetMembers(members);
  txapi::SmartPtr<txapi::IModelObject> o = m;
  if (o) o->Update();
  if (stack.Count > 0 && txapi::SmartPtr<txapi::IMacroObject3D>(stack[stack.Count - 1])) stack.Add(top);
}

// ---------------------------------------------------------------------------------------------
// Library objects

txapi::SmartPtr<txapi::IModelObject> TModelerApi::NewUserObject(txapi::txObj3dTypeEnum Type,
                                                                const TString& OGUID, const TString& File,
                                                                const TString& Library, int Command)
{
  R().Obj3D.reset();
  txapi::SmartPtr<txapi::IModelContainer> mc = R().Part;
  txapi::SmartPtr<txapi::IUserObjects3D> users =
      mc ? mc->GetUserObjects3D() : txapi::SmartPtr<txapi::IUserObjects3D>();
  txapi::SmartPtr<txapi::IUserObject3D> u =
      users ? users->Add(Type) : txapi::SmartPtr<txapi::IUserObject3D>();
  txapi::SmartPtr<txapi::IUserParameters> p = u;
  if (!p) return R().Obj3D;
  u->SetObjectTypeId(W(OGUID));
  p->SetLibraryFileName(W(File));
  p->SetSecondText(W(Library));
  p->SetCommand(Command);
  R().Obj3D = u;
  return R().Obj3D;
}

txapi::SmartPtr<txapi::IModelObject> TModelerApi::drPlugin(const TString& OGUID, int Command)
{
  return NewUserObject(txapi::o3d_UserObjectOperation, OGUID, R().FileName, TString(), Command);
}

txapi::SmartPtr<txapi::IModelObject> TModelerApi::drPluginWF(const TString& OGUID, int Command)
{
  return NewUserObject(txapi::o3d_UserWireFrame3D, OGUID, R().PathFileName, R().FileName, Command);
}

// ---------------------------------------------------------------------------------------------
// State of model objects

void TModelerApi::SetColor(txapi::SmartPtr<txapi::IModelObject> E, int Color, double P)
{
  txapi::SmartPtr<txapi::IColorParam> c = E;
  if (!c) return;
  SetColorParams(c, Color, P);
  E->Update();
}

void TModelerApi::SetExcluded(txapi::SmartPtr<txapi::IModelObject> E)
{
  txapi::SmartPtr<txapi::IFeature> f = E;
  if (!f) return;
  f->SetExcluded(true);
  E->Update();
}

bool TModelerApi::SetExludedOrColor(txapi::SmartPtr<txapi::IModelObject> E, int Color, double P)
{
  txapi::SmartPtr<txapi::IFeature> f = E;
  if (!f) return true;
  if (f->GetStatus() != 0) {
    f->SetExcluded(true);
  } else if (txapi::SmartPtr<txapi::IColorParam> c = E) {
    SetColorParams(c, Color, P);
  }
  E->Update();
  return false;
}

void TAOfComEntity::SetColor(int Color)
{
  for (Integer i = 0; i < Count; ++i)
    MA.SetColor((*this)[i], Color, 1.0);
}

void TModelerApi::ReSet(txapi::SmartPtr<txapi::IModelObject> Obj)
{
  if (!Obj) return;
  txapi::SmartPtr<txapi::IModelObject> held = Obj;
  held->Reset();
}

} // namespace drApi
