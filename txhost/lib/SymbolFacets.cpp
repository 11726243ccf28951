// Thread symbols: a part's collection hands out new symbols, each keeping its face and its
// numbered settings in call order.
#include "txapi/IModelObject.h"
#include "txapi/IThread.h"
#include "txapi/IThreads.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/SymbolFacets.h"

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
};

} // namespace

std::vector<FacetEntry> PartSymbolFacets()
{
  return {Offer<ThreadsFacet>("IThreads")};
}

void AddSymbolKinds(KindTable& t)
{
  t.Add(std::string(ThreadKind), 0, {Offer<ThreadFacet>("IThread"), ModelObject()});
}

} // namespace txhost::facets
