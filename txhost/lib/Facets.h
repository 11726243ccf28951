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
FacetEntry ProgressBar();

// DocumentFacets.cpp
FacetEntry TavrixDocument();
FacetEntry TavrixDocument2D();
FacetEntry TavrixDocument3D();
FacetEntry MateConstraints3D();
FacetEntry SelectionManager();
FacetEntry ChooseManager();
FacetEntry MateConstraint3D();

// PartFacets.cpp
FacetEntry Part();

// ModelFacets.cpp
FacetEntry ModelObject();
FacetEntry Feature();
FacetEntry Variable();
FacetEntry ColorParam();
FacetEntry Placement3D();
FacetEntry Plane3D();
FacetEntry LineSegment3D();
FacetEntry Point3D();
FacetEntry Sketch();
FacetEntry Sketches();
FacetEntry Rotated();
FacetEntry Rotateds();
FacetEntry Extrusion();
FacetEntry Extrusions();
FacetEntry ModelContainer();
FacetEntry AuxiliaryGeomContainer();
FacetEntry CylindricalSpiral();
FacetEntry Face();
FacetEntry Edge();
FacetEntry SplitLine();

// DrawingFacets.cpp
FacetEntry DrawingObject();
FacetEntry Symbols2DContainer();
FacetEntry ViewsAndLayersManager();
FacetEntry Views();
FacetEntry View();
FacetEntry DrawingContainer();
FacetEntry LineSegments();
FacetEntry LineSegment();
FacetEntry Arcs();
FacetEntry Arc();

} // namespace txhost::facets
