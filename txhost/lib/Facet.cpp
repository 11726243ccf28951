#include "txhost/lib/Facet.h"

#include "txhost/lib/Host.h"

namespace txhost {

bool FacetBase::HandOutRefused(std::string_view op) const
{
  Faults::NoteHandOut(Owner.Spec(), op);
  if (!Owner.Attached()) return false;
  Faults& faults = Owner.GetHost().GetFaults();
  return faults.TakeAnswer(Owner, op) || faults.HandOutRefused(Name, op);
}

} // namespace txhost
