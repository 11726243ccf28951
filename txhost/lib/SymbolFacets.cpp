// Thread symbols (a part's collection hands out new symbols, each keeping its face and its numbered
// settings in call order), the annotation side of 3D dimensions, and the view projections of 3D documents.
#include "txapi/IDimension3D.h"
#include "txapi/IModelObject.h"
#include "txapi/IThread.h"
#include "txapi/IThreads.h"
#include "txapi/IViewProjection.h"
#include "txapi/IViewProjectionManager.h"
#include "txhost/lib/DimensionFacets.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/SymbolFacets.h"
#include "txhost/lib/Text.h"

namespace txhost::facets {

namespace {

constexpr std::string_view ThreadKind = "thread";

class ThreadsFacet final : public Facet<txapi::IThreads>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IThread> Add() override
  {
    Log("Add");
    if (HandOutRefused("Add")) return {};
    Object& t = model::NewObject(ModelHost(), ThreadKind, Model(), txapi::o3d_thread);
    t.Set("hidden", false);
    t.Set("settings", Value::array());
    return HandOut<txapi::IThread>(&t);
  }
};

class ThreadFacet final : public Facet<txapi::IThread>
{
public:
  using Facet::Facet;
  void SetBaseObject(const txapi::SmartPtr<txapi::IModelObject>& face) override
  {
    Log("SetBaseObject", face);
    Model().Set("base", ToValue(face));
  }
  void SetSetting(int index, int value) override
  {
    Log("SetSetting", index, value);
    Value s = Model().Prop("settings");
    s.push_back(Value::array({index, value}));
    Model().Set("settings", s);
  }
  bool Update() override { return Model().Update(); }
  double GetPitch() override
  {
    Log("GetPitch");
    return model::Number(Model().Prop("pitch"));
  }
};

class Dimension3DFacet final : public Facet<txapi::IDimension3D>
{
public:
  using Facet::Facet;
  double GetDistance() override
  {
    Log("GetDistance");
    return model::Number(Model().Prop("distance"));
  }
  void SetDistance(double distance) override
  {
    Log("SetDistance", distance);
    Model().Set("distance", distance);
  }
  void SetHidden(bool hidden) override
  {
    Log("SetHidden", hidden);
    Model().Set("hidden", hidden);
  }
  bool Update() override { return Model().Update(); }
};

constexpr std::string_view ProjectionKind = "view-projection";

// Standard projections are made on first request, one per type; the document's window shows the last
// one applied (its "projection" property).
class ViewProjectionManagerFacet final : public Facet<txapi::IViewProjectionManager>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IViewProjection> GetStandardProjection(txapi::txViewProjectionType type) override
  {
    Log("GetStandardProjection", int(type));
    if (HandOutRefused("GetStandardProjection") || type < txapi::txVPNormalTo || type > txapi::txVPUser) return {};
    for (Object* p : model::LiveMembers(Model(), ProjectionKind))
      if (p->Prop("type") == int(type)) return HandOut<txapi::IViewProjection>(p);
    return HandOut<txapi::IViewProjection>(&Make(int(type)));
  }
  txapi::SmartPtr<txapi::IViewProjection> NewProjection() override
  {
    Log("NewProjection");
    if (HandOutRefused("NewProjection")) return {};
    return HandOut<txapi::IViewProjection>(&Make(txapi::txVPUser));
  }

private:
  Object& Make(int type)
  {
    Object& p = ModelHost().Create(ProjectionKind, &Model(), &Model());
    p.Set("type", type);
    return p;
  }
};

class ViewProjectionFacet final : public Facet<txapi::IViewProjection>
{
public:
  using Facet::Facet;
  void SetMatrix(const std::vector<double>& matrix) override
  {
    Log("SetMatrix", matrix);
    Model().Set("matrix", ToValue(matrix));
  }
  bool Apply(bool redraw) override
  {
    Log("Apply", redraw);
    if (Object* d = Model().Parent()) d->Set("projection", Model().Id());
    return Model().Update();
  }
};

} // namespace

std::vector<FacetEntry> Dimension3DFacets()
{
  return {Offer<Dimension3DFacet>("IDimension3D"), DimensionText(),
          DimensionParams()};
}

FacetEntry ViewProjectionManager()
{
  return Offer<ViewProjectionManagerFacet>("IViewProjectionManager");
}

std::vector<FacetEntry> PartSymbolFacets()
{
  return {Offer<ThreadsFacet>("IThreads")};
}

void AddSymbolKinds(KindTable& t)
{
  t.Add(std::string(ThreadKind), 0, {Offer<ThreadFacet>("IThread"), ModelObject(), ThreadsParameters()});
  t.Add(std::string(ProjectionKind), 0, {Offer<ViewProjectionFacet>("IViewProjection"), DrawingObject()});
}

} // namespace txhost::facets
