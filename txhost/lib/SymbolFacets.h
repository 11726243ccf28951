#pragma once
// Thread symbols on parts and the view projections of 3D documents (SymbolFacets.cpp) and the specifications of documents
// (SpecificationFacets.cpp).
#include <string_view>
#include <vector>

#include "txhost/lib/Facet.h"

namespace txhost {
class KindTable;
}

namespace txhost::spec {

// Kind names: a description is a member of its document, an entry of its description, columns and
// attached documents of their entry.
inline constexpr std::string_view Description = "spec-description";
inline constexpr std::string_view Entry = "spec-object";
inline constexpr std::string_view Column = "spec-column";
inline constexpr std::string_view Attached = "attached-document";

} // namespace txhost::spec

namespace txhost::facets {

std::vector<FacetEntry> PartSymbolFacets();
void AddSymbolKinds(KindTable& t);
// The 3D dimension as the annotations see it: distance, hidden state, tolerance and settings.
std::vector<FacetEntry> Dimension3DFacets();
// Offered by 3D documents.
FacetEntry ViewProjectionManager();
// Offered by every document.
FacetEntry SpecificationDescriptions();
// A specification document as such (documents of type 3).
FacetEntry SpecificationDocument();
void AddSpecificationKinds(KindTable& t);
// Offered by every document (UserDataFacets.cpp).
FacetEntry UserDataStoragesMng();
void AddUserDataKinds(KindTable& t);

} // namespace txhost::facets
