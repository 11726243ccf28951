#pragma once

#include "txhost/lib/Facet.h"

#include <vector>

// The facet of each txapi interface, as the kinds in Kinds.cpp offer them. One function per interface;
// the facet classes live in the .cpp files of their area.

namespace txhost {
class KindTable;
}
namespace txapi {
class IBaseManipulator;
}

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
FacetEntry DocumentSaveRecord();
FacetEntry TavrixDocument2D();
FacetEntry TavrixDocument3D();
FacetEntry MateConstraints3D();
FacetEntry SelectionManager();
FacetEntry ChooseManager();
FacetEntry MateConstraint3D();

// PartFacets.cpp
FacetEntry Part();
// A part as a member of an assembly (CouplingFacets.cpp) and the library's parameters on it.
FacetEntry PartInAssembly();
FacetEntry UserParameters3D();

// EventFacets.cpp
FacetEntry DocumentFrameEvents();
FacetEntry Process3DManipulatorsEvents();
FacetEntry Process3DEvents();
FacetEntry Process2DEvents();
FacetEntry PropertiesManagerEvents();
FacetEntry ApplicationEvents();
FacetEntry PressedKeys();
FacetEntry OpenGLObject();
FacetEntry PaintObject();

// ProcessFacets.cpp
FacetEntry Process();
FacetEntry Process3D();
FacetEntry Process2D();
FacetEntry Manipulators();

// ManipulatorFacets.cpp
FacetEntry BaseManipulator();
FacetEntry Placement3DManipulator();
FacetEntry EditDoubleManipulator();
// A new manipulator of the kind in the collection; empty for an unknown kind or a refused hand-out.
txapi::SmartPtr<txapi::IBaseManipulator> AddManipulator(Object& collection, int kind);
FacetEntry Phantom2D();
FacetEntry DrawingGroup();
FacetEntry DocumentFrame();
FacetEntry ProgressBar();
FacetEntry ProcessParam();
FacetEntry PropertyTabs();
FacetEntry PropertyTab();

// PanelFacets.cpp
FacetEntry PropertyControls();
FacetEntry PropertyControl();
FacetEntry PropertyCheckBox();
FacetEntry PropertyEdit();
FacetEntry PropertySpinEdit();
FacetEntry PropertyPoint3D();
FacetEntry PropertyEditList();
FacetEntry PropertyEditCheckBox();
FacetEntry PropertyList();
FacetEntry PropertySeparator();
FacetEntry PropertyFileName();
FacetEntry PropertyColor();
FacetEntry PropertyGrid();
FacetEntry PropertySlideBox();
FacetEntry PropertyToolBar();
FacetEntry PropertyMultiButton();

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
// The value and tolerance of any dimension, 2D or 3D.
FacetEntry DimensionText();
FacetEntry ViewsAndLayersManager();
FacetEntry Views();
FacetEntry View();
FacetEntry DrawingContainer();
FacetEntry LineSegments();
FacetEntry LineSegment();
FacetEntry Arcs();
FacetEntry Arc();

// Drawing2DFacets.cpp
FacetEntry Circles();
FacetEntry Ellipses();
FacetEntry Points();
FacetEntry DrawingTexts();
FacetEntry Hatches();
FacetEntry Colourings();
FacetEntry CutLines();
FacetEntry DrawingGroups();
FacetEntry Symbols2DContainer();
FacetEntry PolyLines();
// The leader of a leader or a tolerance frame.
FacetEntry Branchs();
// The facets of a view (or, with drawingView false, of a sketch's editing view) plus those that make the
// 2D objects of drawings.
std::vector<FacetEntry> WithDrawing2D(bool drawingView, std::vector<FacetEntry> facets);
// The kinds of drawing objects, texts, macro objects, groups and layers (txhost/lib/Drawing2D.h).
void AddDrawing2DKinds(KindTable& t);
// Attributes and properties: the application's service objects, the kinds behind them and the
// facets every document offers for them.
FacetEntry ApplicationObjects();
void AddAttributeKinds(KindTable& t);
void AddDocumentAttributeFacets(std::vector<FacetEntry>& f);
// Layout sheets of drawings and fragments.
void AddSheetFacets(std::vector<FacetEntry>& f);
// A text of lines (of a drawing text, a title-block cell, the technical requirements).
FacetEntry TextContent();
void AddSheetKinds(KindTable& t);

// MeasureFacets.cpp: surfaces and curves of faces and edges, thread sizes, a part's measurements, the
// mates of a running 3D process.
FacetEntry MathSurface3D();
FacetEntry MathCurve3D();
FacetEntry ThreadsParameters();
FacetEntry MeasurementContainer();
void AddMeasureKinds(KindTable& t);
// The named model objects of the part file's top part, copied into a component or phantom read from it.
void AdoptNamedObjects(Object& part, const Object& sourceTop);

} // namespace txhost::facets

namespace txhost {
class KindTable;
// CommandKinds.cpp: the kinds of processes, panels, controls and event objects.
void AddCommandKinds(KindTable& table);
} // namespace txhost
