#include "txhost/lib/Facet.h"

#include "txhost/lib/Host.h"

namespace txhost {

bool FacetBase::HandOutRefused(std::string_view op) const
{
  return Owner.Attached() && Owner.GetHost().GetFaults().HandOutRefused(Name, op);
}

} // namespace txhost
