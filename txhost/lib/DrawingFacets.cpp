// Facets of 2D documents' views and drawing containers, and of the curves they make. A sketch's editing
// document offers the same views, so a sketch is drawn like a drawing's view.

#include "txapi/IArc.h"
#include "txapi/IArcs.h"
#include "txapi/IDrawingContainer.h"
#include "txapi/IDrawingObject.h"
#include "txapi/ILineSegment.h"
#include "txapi/ILineSegments.h"
#include "txapi/IViews.h"
#include "txapi/IViewsAndLayersManager.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Text.h"

namespace txhost::facets {

namespace {

class ViewsAndLayersManagerFacet final : public Facet<txapi::IViewsAndLayersManager>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::IViews> GetViews() override
  {
    Log("GetViews");
    if (HandOutRefused("GetViews")) return {};
    return HandOut<txapi::IViews>(&Model());
  }
};

class DrawingContainerFacet final : public Facet<txapi::IDrawingContainer>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::ILineSegments> GetLineSegments() override
  {
    Log("GetLineSegments");
    if (HandOutRefused("GetLineSegments")) return {};
    return HandOut<txapi::ILineSegments>(&Model());
  }
  txapi::SmartPtr<txapi::IArcs> GetArcs() override
  {
    Log("GetArcs");
    if (HandOutRefused("GetArcs")) return {};
    return HandOut<txapi::IArcs>(&Model());
  }
};

class LineSegmentsFacet final : public Facet<txapi::ILineSegments>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::ILineSegment> Add() override
  {
    Log("Add");
    if (HandOutRefused("Add")) return {};
    return HandOut<txapi::ILineSegment>(model2d::NewDrawingObject(ModelHost(), Model(), model::LineSegment));
  }
};

class ArcsFacet final : public Facet<txapi::IArcs>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::IArc> Add() override
  {
    Log("Add");
    if (HandOutRefused("Add")) return {};
    return HandOut<txapi::IArc>(model2d::NewDrawingObject(ModelHost(), Model(), model::Arc));
  }
};

class LineSegmentFacet final : public Facet<txapi::ILineSegment>
{
public:
  using Facet::Facet;

  void SetPoints(double x1, double y1, double x2, double y2) override
  {
    Log("SetPoints", x1, y1, x2, y2);
    Model().Set("x1", x1);
    Model().Set("y1", y1);
    Model().Set("x2", x2);
    Model().Set("y2", y2);
  }
  void SetStyle(txapi::txCurveStyleEnum style) override
  {
    Log("SetStyle", style);
    Model().Set("style", int(style));
  }
  bool Update() override { return Model().Update(); }
};

class ArcFacet final : public Facet<txapi::IArc>
{
public:
  using Facet::Facet;

  void SetArc(double xc, double yc, double x1, double y1, double x2, double y2, double radius,
              bool clockwise) override
  {
    Log("SetArc", xc, yc, x1, y1, x2, y2, radius, clockwise);
    for (auto [key, v] : {std::pair{"xc", xc}, {"yc", yc}, {"x1", x1}, {"y1", y1}, {"x2", x2}, {"y2", y2},
                          {"radius", radius}})
      Model().Set(key, v);
    Model().Set("clockwise", clockwise);
  }
  void SetStyle(txapi::txCurveStyleEnum style) override
  {
    Log("SetStyle", style);
    Model().Set("style", int(style));
  }
  bool Update() override { return Model().Update(); }
};

} // namespace

FacetEntry ViewsAndLayersManager()
{
  return Offer<ViewsAndLayersManagerFacet>("IViewsAndLayersManager");
}
FacetEntry DrawingContainer()
{
  return Offer<DrawingContainerFacet>("IDrawingContainer");
}
FacetEntry LineSegments()
{
  return Offer<LineSegmentsFacet>("ILineSegments");
}
FacetEntry LineSegment()
{
  return Offer<LineSegmentFacet>("ILineSegment");
}
FacetEntry Arcs()
{
  return Offer<ArcsFacet>("IArcs");
}
FacetEntry Arc()
{
  return Offer<ArcFacet>("IArc");
}

} // namespace txhost::facets
