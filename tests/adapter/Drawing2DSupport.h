#pragma once
// The global modeller drawing into view 0 of a new drawing of the stand-in host.

#include <string>
#include <vector>

#include "AdapterSupport.h"
#include "hxcadkit/geometry/Contour.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Faults.h"

namespace adaptertest {

// Empties the 2D state the global modeller keeps between operations.
inline void Reset2D()
{
  drApi::TRegistryApi& r = drApi::MA.R();
  TRegistryModeler2D& r2 = drApi::MA.R2D();
  r.Symbols2DContainer.reset();
  r.Entity2D.reset();
  r.MacroObj.reset();
  r.Hatch.reset();
  r.Colouring.reset();
  r.BoundariesObject.reset();
  r.CutLine.reset();
  r.Leader.reset();
  r.Polyline3D.reset();
  r.View.reset();
  r.DrawingContainer.reset();
  r.IDoc2D.reset();
  r.APoints.Count = 0;
  for (auto& e : r.AMacroObj)
    e.reset();
  r.AMacroObj.Count = 0;
  for (auto& g : r2.AGroup)
    g.reset();
  r2.AGroup.Count = 0;
  r2.APrevCommand.Count = 0;
  r2.AContour.Count = 0;
  r2.OnlySizes2D = false;
  r2.CurDrawingObject.reset();
  r2.PrevDrawingObject.reset();
}

class Drawing2D : public HostedModeller
{
public:
  Drawing2D()
  {
    Doc = H.NewDocument(txapi::txDocumentDrawing, true);
    MA.R().IDoc2D = txapi::SmartPtr<txapi::ITavrixDocument2D>::Attach(
        static_cast<txapi::ITavrixDocument2D*>(Doc->QueryInterface(txapi::ITavrixDocument2D::IID)));
    MA.drOpenView(0);
    View = Find(MA.R().View.get());
  }
  ~Drawing2D() { Reset2D(); }

  // The live objects of the kind in the drawing, in creation order.
  std::vector<txhost::Object*> Of(std::string_view kind) const
  {
    std::vector<txhost::Object*> out;
    for (txhost::Object* o : H.ObjectsOf(*Doc))
      if (o->Kind() == kind && !txhost::model::Deleted(*o)) out.push_back(o);
    return out;
  }
  // The object the holder denotes.
  template <class I> txhost::Object* Obj(const txapi::SmartPtr<I>& p) const { return Find(p.get()); }

  drApi::TModelerApi& MA = drApi::MA;
  txhost::Object* Doc = nullptr;
  txhost::Object* View = nullptr;
};

// A collector pushed for the life of the object.
class Collecting
{
public:
  Collecting() { drApi::MA.R2D().AContour.Push(&C); }
  ~Collecting()
  {
    if (drApi::MA.R2D().AContour.Count > 0) drApi::MA.R2D().AContour.Pop();
  }
  TContour C;
};

} // namespace adaptertest
