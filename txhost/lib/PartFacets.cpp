// Facets of parts.

#include "txapi/IPart.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Text.h"

namespace txhost::facets {

namespace {

class PartFacet final : public Facet<txapi::IPart>
{
public:
  using Facet::Facet;

  std::wstring GetName() override
  {
    Log("GetName");
    return Model().Text("name");
  }

  void SetName(const std::wstring& name) override
  {
    Log("SetName", name);
    Model().Set("name", ToUtf8(name));
  }

  std::wstring GetMarking() override
  {
    Log("GetMarking");
    return Model().Text("marking");
  }

  void SetMarking(const std::wstring& marking) override
  {
    Log("SetMarking", marking);
    Model().Set("marking", ToUtf8(marking));
  }

  bool Update() override { return Model().Update(); }
};

} // namespace

FacetEntry Part()
{
  return Offer<PartFacet>("IPart");
}

} // namespace txhost::facets
