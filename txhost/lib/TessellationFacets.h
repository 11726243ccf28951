#pragma once
// The 3D documents' tessellation manager and the display objects it makes (TessellationFacets.cpp).
#include "txhost/lib/Facet.h"

namespace txhost {
class KindTable;
}

namespace txhost::facets {

// Offered by 3D documents.
FacetEntry ExternalTessellationManager();
// The kinds "tessellation-object" (type code 10704) and "text-object".
void AddTessellationKinds(KindTable& t);

} // namespace txhost::facets
