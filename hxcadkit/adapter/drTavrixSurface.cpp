// The adapter's operations on objects that already exist in the part: surface patches and ruled
// surfaces, copies, equidistant and trimmed surfaces, face removal, sewing and thickening, outlines,
// 3D contours, scalings, and faces split along their outline.
#include <cmath>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "txapi/IAuxiliaryGeomContainer.h"
#include "txapi/IContour3D.h"
#include "txapi/IContours3D.h"
#include "txapi/ICopiesGeometry.h"
#include "txapi/ICopyGeometry.h"
#include "txapi/ICurveOutLine.h"
#include "txapi/ICurveOutLines.h"
#include "txapi/IEquidistantSurface.h"
#include "txapi/IEquidistantSurfaces.h"
#include "txapi/IFace.h"
#include "txapi/IFaceRemover.h"
#include "txapi/IFaceRemovers.h"
#include "txapi/IModelContainer.h"
#include "txapi/IRuledSurface.h"
#include "txapi/IRuledSurfaceParametersByCurves.h"
#include "txapi/IRuledSurfaces.h"
#include "txapi/IScaling3D.h"
#include "txapi/IScalings3D.h"
#include "txapi/ISurfaceContainer.h"
#include "txapi/ISurfacePatch.h"
#include "txapi/ISurfacePatches.h"
#include "txapi/ISurfaceSewer.h"
#include "txapi/ISurfaceSewers.h"
#include "txapi/ISurfaceThickening.h"
#include "txapi/ISurfaceThickenings.h"
#include "txapi/IThinParameters.h"
#include "txapi/ITrimmedSurface.h"
#include "txapi/ITrimmedSurfaces.h"
#include "txapi/IVector3DByCoefficientsParameters.h"

namespace drApi {

namespace {

// A new element of the part's container collection; empty when any step hands out nothing.
template <class Container, class Collection>
auto NewElement(const txapi::SmartPtr<txapi::IPart>& part, txapi::SmartPtr<Collection> (Container::*get)())
    -> decltype(std::declval<Collection&>().Add())
{
  txapi::SmartPtr<Container> c = part;
  txapi::SmartPtr<Collection> collection = c ? ((*c).*get)() : txapi::SmartPtr<Collection>();
  return collection ? collection->Add() : decltype(collection->Add())();
}

} // namespace

bool TModelerApi::Applied(const txapi::SmartPtr<txapi::IModelObject>& o, int times)
{
  bool ok = false;
  for (int i = 0; o && i < times; ++i)
    ok = o->Update();
  R().Obj3D.reset();
  // A refused object is no last object, and no macro gets it.
  Made(ok ? o : txapi::SmartPtr<txapi::IModelObject>());
  return ok;
}

void TModelerApi::drSurfacePatchEdges(const TVOfMO& Edges)
{
  drEndEskis();
  auto p = NewElement(R().Part, &txapi::ISurfaceContainer::GetSurfacePatches);
  if (!p) return;
  p->SetEdges(Edges);
  Applied(txapi::SmartPtr<txapi::IModelObject>(p));
}

void TModelerApi::drRuledSurface(const TVOfMO& Edges1, const TVOfMO& Edges2)
{
  drEndEskis();
  auto s = NewElement(R().Part, &txapi::ISurfaceContainer::GetRuledSurfaces);
  if (!s) return;
  s->SetBuildingType(txapi::txRuledSurfaceByCurves);
  txapi::SmartPtr<txapi::IRuledSurfaceParametersByCurves> p = s->GetParameters();
  // Without its chains the surface cannot be built: nothing is applied.
  if (!p) return;
  p->SetCurves1(Edges1);
  p->SetCurves2(Edges2);
  p->SetSenseSwitch(true);
  p.reset();
  Applied(txapi::SmartPtr<txapi::IModelObject>(s));
}

void TModelerApi::drCopyObj(const TVOfMO& Objects, txapi::SmartPtr<txapi::ILocalCoordinateSystem> Lsk,
                            txapi::SmartPtr<txapi::ITavrixDocument3D> NewDoc)
{
  auto c = NewElement(R().Part, &txapi::IModelContainer::GetCopiesGeometry);
  if (!c) return;
  if (NewDoc)
    c->SetSource(NewDoc, {}, Objects);
  else
    c->SetObjects(Objects);
  c->SetLocalCoordinateSystem(Lsk);
  Applied(txapi::SmartPtr<txapi::IModelObject>(c));
}

void TModelerApi::drEquidistSurface(const TVOfMO& Objects, bool Direction, const double& Distance)
{
  R().Obj3D.reset();
  auto e = NewElement(R().Part, &txapi::ISurfaceContainer::GetEquidistantSurfaces);
  if (!e) return;
  e->SetBaseObjects(Objects);
  e->SetDirection(Direction);
  e->SetDistance(Distance);
  Applied(txapi::SmartPtr<txapi::IModelObject>(e));
}

void TModelerApi::drTrimmSurface(const TVOfMO& Surfaces, const TVOfMO& Objects, bool Sense)
{
  auto t = NewElement(R().Part, &txapi::ISurfaceContainer::GetTrimmedSurfaces);
  if (!t) return;
  t->SetSurfaces(Surfaces);
  t->SetCuttingObjects(Objects);
  t->SetSense(Sense);
  // Applied twice; the second verdict counts.
  Applied(txapi::SmartPtr<txapi::IModelObject>(t), 2);
}

void TModelerApi::drFaceRemove(const TVOfMO& Faces)
{
  if (Faces.empty()) return;
  auto f = NewElement(R().Part, &txapi::ISurfaceContainer::GetFaceRemovers);
  if (!f) return;
  f->SetFaces(Faces);
  Applied(txapi::SmartPtr<txapi::IModelObject>(f));
}

void TModelerApi::drFaceSewer(const TVOfMO& Faces, bool CreateBody)
{
  if (Faces.empty()) return;
  auto s = NewElement(R().Part, &txapi::ISurfaceContainer::GetSurfaceSewers);
  if (!s) return;
  s->SetFaces(Faces);
  s->SetCreateBody(CreateBody);
  Applied(txapi::SmartPtr<txapi::IModelObject>(s));
}

void TModelerApi::drFaceThickness(const TVOfMO& Faces, double T)
{
  if (Faces.empty()) return;
  auto t = NewElement(R().Part, &txapi::IModelContainer::GetSurfaceThickenings);
  if (!t) return;
  t->SetSurfaces(Faces);
  if (txapi::SmartPtr<txapi::IThinParameters> thin = t) {
    thin->SetThinType(T <= 0 ? 1 : 0);
    thin->SetThickness(1, std::abs(T));
    thin->SetThickness(0, std::abs(T));
  }
  Applied(txapi::SmartPtr<txapi::IModelObject>(t));
}

void TModelerApi::drCurveOutLine(const TVOfMO& Faces, TVector3D V)
{
  if (Faces.empty()) return;
  auto o = NewElement(R().Part, &txapi::IAuxiliaryGeomContainer::GetCurveOutLines);
  if (!o) return;
  o->SetFaces(Faces);
  o->SetDirectionType(txapi::txVector3DCoefficients);
  txapi::SmartPtr<txapi::IVector3DByCoefficientsParameters> d = o->GetDirectionParameters();
  if (d) d->SetCoefficients(V.x, V.y, V.z);
  d.reset();
  Applied(txapi::SmartPtr<txapi::IModelObject>(o));
}

void TModelerApi::drContour3D(const TVOfMO& Edges)
{
  if (Edges.empty()) return;
  auto c = NewElement(R().Part, &txapi::IAuxiliaryGeomContainer::GetContours3D);
  if (!c) return;
  c->SetSegments(Edges);
  Applied(txapi::SmartPtr<txapi::IModelObject>(c));
}

void TModelerApi::drScalings3D(txapi::SmartPtr<txapi::ITavrixAPIObject> Body, double Scale,
                               txapi::SmartPtr<txapi::IModelObject> Point)
{
  auto s = NewElement(R().Part, &txapi::IModelContainer::GetScalings3D);
  if (!s) return;
  s->SetObject(txapi::SmartPtr<txapi::IModelObject>(Body));
  s->SetScale(Scale);
  if (Point) s->SetBasePoint(Point);
  // The host keeps the error of a refused scaling; it is not the caller's to see.
  if (!Applied(txapi::SmartPtr<txapi::IModelObject>(s)) && R().TavrixError) R().TavrixError->Reset();
}

void TModelerApi::drAllSurfaceSewer()
{
  txapi::SmartPtr<txapi::IFeature> f = R().Part;
  if (!f) return;
  drFaceSewer(f->GetModelObjects({txapi::o3d_face}), true);
}

void TModelerApi::drSplitFaceOutLine(txapi::SmartPtr<txapi::IFace> EFace, TVector3D V)
{
  const std::vector<txapi::SmartPtr<txapi::IFace>> faces{EFace};
  drCurveOutLine({txapi::SmartPtr<txapi::IModelObject>(EFace)}, V);
  if (txapi::SmartPtr<txapi::ICurveOutLine>(R().Obj3D)) drSplitFaceObjects(faces, {R().Obj3D}, txapi::dtBoth);
}

} // namespace drApi
