// Facets of parts as members of an assembly: their rebuild and the standard-component switch.
#include "txapi/IPartInAssembly.h"
#include "txhost/lib/Facets.h"

namespace txhost::facets {

namespace {

class PartInAssemblyFacet final : public Facet<txapi::IPartInAssembly>
{
public:
  using Facet::Facet;

  bool RebuildModel(bool full) override
  {
    Log("RebuildModel", full);
    return true;
  }
  void SetStandardComponent(bool standard) override
  {
    Log("SetStandardComponent", standard);
    Model().Set("standard", standard);
  }
};

} // namespace

FacetEntry PartInAssembly()
{
  return Offer<PartInAssemblyFacet>("IPartInAssembly");
}

} // namespace txhost::facets
