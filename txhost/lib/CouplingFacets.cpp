// Facets of parts as members of an assembly: the mates they take part in, their rebuild and the
// standard-component switch.
#include "txapi/IMateConstraints3D.h"
#include "txapi/IPartInAssembly.h"
#include "txhost/lib/Facets.h"

namespace txhost::facets {

namespace {

class PartInAssemblyFacet final : public Facet<txapi::IPartInAssembly>
{
public:
  using Facet::Facet;

  // Mates belong to documents: a component's are its assembly's; a phantom read from its file has a
  // document of its own, so that what the user's picks mate to it never reaches the user's model.
  txapi::SmartPtr<txapi::IMateConstraints3D> GetMateConstraints() override
  {
    Log("GetMateConstraints");
    if (HandOutRefused("GetMateConstraints") || Model().Document() == nullptr) return {};
    return HandOut<txapi::IMateConstraints3D>(Model().Document());
  }
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
