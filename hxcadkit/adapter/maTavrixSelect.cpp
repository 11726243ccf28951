// The host's selection as the program reads it, the contour drawn through the global modeller,
// thread symbols, and the unit's globals in their load order.
#include "hxcadkit/adapter/maTavrixAssembly.h"
#include "txapi/ISymbols3DContainer.h"
#include "txapi/IThread.h"
#include "txapi/IThreads.h"

namespace drApi {

txapi::SmartPtr<txapi::IModelObject> TSelectorAPI::Get7(int I)
{
  if (!Selection7 || I < 0) return {};
  // The list is the host's: only its own length bounds the index.
  const std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>> list = Selection7->GetSelectedObjects();
  if (std::size_t(I) >= list.size()) return {};
  return txapi::SmartPtr<txapi::IModelObject>(list[std::size_t(I)]);
}

txapi::txObj3dTypeEnum TSelectorAPI::GetObjectType(int I)
{
  const txapi::SmartPtr<txapi::IModelObject> o = Get7(I);
  return o ? o->GetType() : txapi::o3d_unknown;
}

int TSelectorAPI::GetCount()
{
  if (!Selection7) return 0;
  const std::size_t n = Selection7->GetSelectedObjects().size();
  return n > std::size_t(INT32_MAX) ? INT32_MAX : int(n);
}

void TSelectorAPI::Select(const std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>>& V)
{
  if (Selection7) Selection7->Select(V);
}

void TSelectorAPI::UnChoose(txapi::SmartPtr<txapi::ITavrixAPIObject> Obj)
{
  if (Choose7) Choose7->UnChoose({std::move(Obj)});
}

TContourAPI::~TContourAPI()
{
  Clear();
}

void TContourAPI::drItem(int I, int OutAtribute) const
{
  if (I < 0 || I >= Count || FArray[I] == nullptr) return;
  const TCurve2D* c = FArray[I];
  const int style = OutAtribute != 0 ? OutAtribute : int(c->Atr);
  switch (c->IsType()) {
  case tLineSeg: {
    const TLineSeg* s = static_cast<const TLineSeg*>(c);
    MA.drLine(s->x, s->y, s->xk, s->yk, style);
    break;
  }
  case tCircle: {
    const TCircle* k = static_cast<const TCircle*>(c);
    MA.drCircle(k->x, k->y, k->Radius, style);
    break;
  }
  case tArc: {
    const TArc* a = static_cast<const TArc*>(c);
    MA.drArc(a->x, a->y, a->Radius, a->GetA1(), a->GetA2(), style, int(a->GetSense()));
    break;
  }
  default:
    break;
  }
}

void TModelerApi::drThread(txapi::SmartPtr<txapi::IModelObject> Face)
{
  R().Obj3D.reset();
  if (!R().Part) return;
  const txapi::SmartPtr<txapi::ISymbols3DContainer> symbols = R().Part;
  const txapi::SmartPtr<txapi::IThreads> threads = symbols ? symbols->GetThreads() : txapi::SmartPtr<txapi::IThreads>();
  if (!threads) return;
  const txapi::SmartPtr<txapi::IThread> t = threads->Add();
  if (!t) return;
  t->SetBaseObject(Face);
  t->SetSetting(0, 1);
  t->SetSetting(1, 1);
  t->SetSetting(2, 0);
  t->Update();
  R().Obj3D = txapi::SmartPtr<txapi::IModelObject>(t);
  R().AMacroObject3D.Add(txapi::SmartPtr<txapi::ITavrixAPIObject>(t));
}

// The unit's globals, built in this order at load and destroyed the other way round at unload.
TPoint2D CutPoint[CutPointSize];
int countCutPoint = 0;
TContourAPI ParametricData;
TADetailPart ADP;
TSelectorAPI* Selector = &TSelectorAPI::Instance();
[[maybe_unused]] const bool DimensionLinkInstalled = InstallDimensionLink();

} // namespace drApi
