#pragma once
// Dimensions and designations of drawings (DimensionFacets.cpp): linear, diameter, radius and angle
// dimensions with their texts and drawing settings, roughness signs and the sheet's corner sign, form
// tolerances with their table of cells, datum signs and view arrows.
//
// Each is a drawing object of its container (a view, a macro object; dimensions also a sketch being
// edited) and keeps what was set as properties: points as "x1", "y1", ... , "xc", "yc", "radius", the
// texts before and after a dimension's value as its "text-line" members with "place" "before" or
// "after", a roughness sign's three texts as "symbol-text" members with their "index", a tolerance's
// cells as "table-cell" members of its "table" with "row" and "column".
#include <string_view>
#include <vector>

#include "txhost/lib/Facet.h"

namespace txhost {
class KindTable;
}

namespace txhost::model2d {

inline constexpr std::string_view LineDimension = "line-dimension";
inline constexpr std::string_view DiametralDimension = "diametral-dimension";
inline constexpr std::string_view RadialDimension = "radial-dimension";
inline constexpr std::string_view AngleDimension = "angle-dimension";
inline constexpr std::string_view Rough = "rough";
inline constexpr std::string_view SpecRough = "spec-rough";
inline constexpr std::string_view Tolerance = "tolerance";
inline constexpr std::string_view Table = "table";
inline constexpr std::string_view TableCell = "table-cell";
inline constexpr std::string_view Base = "datum-sign";
inline constexpr std::string_view ViewPointer = "view-pointer";
inline constexpr std::string_view SymbolText = "symbol-text";

// The DrawingObjectTypeEnum of these kinds; txDrUnknown for any other.
int SymbolDrawingType(std::string_view kind);
// The document's corner roughness sign, made on first request.
Object& CornerRough(Object& document);

// How this host lays out a linear dimension: it measures along u; its dimension line runs at off along the
// normal n. With a line point set the line passes through it and the orientation names u (horizontal:
// along x); else the angle set names the side the line is offset to, 8 beyond the farther point, and a
// horizontal or vertical dimension measures across that side. false for coincident points of a parallel one.
struct LinearLayout
{
  double Ux = 1, Uy = 0, Nx = 0, Ny = 1, Off = 0;
};
bool LayoutOf(const Object& dimension, LinearLayout& l);
// What a dimension of these kinds measures (an angle in degrees); 0 for anything else.
double MeasuredValue(const Object& dimension);

} // namespace txhost::model2d

namespace txhost::facets {

// The collections of dimensions (and, in a drawing's view or macro, of the other designations) that a
// symbols container offers.
void AddSymbolCollections(std::vector<FacetEntry>& facets, bool drawingView);
FacetEntry DimensionParams();
void AddDimensionKinds(KindTable& t);

} // namespace txhost::facets
