#pragma once

#include "txhost/lib/Facet.h"

// The facet of each txapi interface, as the kinds in Kinds.cpp offer them. One function per interface;
// the facet classes live in the .cpp files of their area.

namespace txhost::facets {

// ApplicationFacets.cpp
FacetEntry TavrixAPIObject();
FacetEntry Application();
FacetEntry Documents();
FacetEntry TavrixError();
FacetEntry Translator();
FacetEntry LibraryRecord();
FacetEntry LibraryActions();

// DocumentFacets.cpp
FacetEntry TavrixDocument();
FacetEntry TavrixDocument2D();
FacetEntry TavrixDocument3D();

// PartFacets.cpp
FacetEntry Part();

} // namespace txhost::facets
