#pragma once
// Thread symbols on parts (SymbolFacets.cpp).
#include <vector>

#include "txhost/lib/Facet.h"

namespace txhost {
class KindTable;
}

namespace txhost::facets {

std::vector<FacetEntry> PartSymbolFacets();
void AddSymbolKinds(KindTable& t);

} // namespace txhost::facets
