#include "txhost/lib/DimensionFacets.h"

#include "txhost/lib/ConstraintFacets.h"

#include "txapi/Enums.h"
#include "txapi/IAngleDimension.h"
#include "txapi/IAngleDimensions.h"
#include "txapi/IBase.h"
#include "txapi/IBases.h"
#include "txapi/IDiametralDimension.h"
#include "txapi/IDiametralDimensions.h"
#include "txapi/IDimensionParams.h"
#include "txapi/IDimensionText.h"
#include "txapi/ILineDimension.h"
#include "txapi/ILineDimensions.h"
#include "txapi/IRadialDimension.h"
#include "txapi/IRadialDimensions.h"
#include "txapi/IRough.h"
#include "txapi/IRoughParams.h"
#include "txapi/IRoughs.h"
#include "txapi/ISpecRough.h"
#include "txapi/ITable.h"
#include "txapi/ITableCell.h"
#include "txapi/IText.h"
#include "txapi/ITextLine.h"
#include "txapi/ITolerance.h"
#include "txapi/IToleranceParam.h"
#include "txapi/ITolerances.h"
#include "txapi/IViewPointer.h"
#include "txapi/IViewPointers.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Text.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace txhost {

namespace model2d {

int SymbolDrawingType(std::string_view kind)
{
  static const std::pair<std::string_view, int> types[] = {
      {LineDimension, txapi::txDrLDimension}, {DiametralDimension, txapi::txDrDDimension},
      {RadialDimension, txapi::txDrRDimension}, {AngleDimension, txapi::txDrADimension},
      {Rough, txapi::txDrRough},               {Base, txapi::txDrBase},
      {ViewPointer, txapi::txDrViewPointer},   {Tolerance, txapi::txDrTolerance},
  };
  for (const auto& [k, type] : types)
    if (k == kind) return type;
  return txapi::txDrUnknown;
}

bool LayoutOf(const Object& d, LinearLayout& l)
{
  const double x1 = model::Number(d.Prop("x1")), y1 = model::Number(d.Prop("y1"));
  const double x2 = model::Number(d.Prop("x2")), y2 = model::Number(d.Prop("y2"));
  const int orientation = int(std::clamp(model::Number(d.Prop("orientation")), -1.0, 3.0));
  const bool through = d.Has("line-x");
  // The side the line lies on: the angle set, else above or to the right.
  const double a = model::Number(d.Prop("angle"), orientation == txapi::txLinDVertical ? 0 : std::numbers::pi / 2);
  const double sx = std::cos(a), sy = std::sin(a);
  if (orientation == txapi::txLinDParallel) {
    l.Ux = x2 - x1, l.Uy = y2 - y1;
  } else if (through) {
    l.Ux = orientation == txapi::txLinDHorizontal ? 1 : 0, l.Uy = 1 - l.Ux;
  } else {
    l.Ux = std::fabs(sx) < std::fabs(sy) ? 1 : 0, l.Uy = 1 - l.Ux;
  }
  const double len = std::hypot(l.Ux, l.Uy);
  if (!(len > 0)) return false;
  l.Ux /= len, l.Uy /= len;
  const double flip = through || -l.Uy * sx + l.Ux * sy >= 0 ? 1 : -1;
  l.Nx = -l.Uy * flip, l.Ny = l.Ux * flip;
  l.Off = through ? model::Number(d.Prop("line-x")) * l.Nx + model::Number(d.Prop("line-y")) * l.Ny
                  : std::max(x1 * l.Nx + y1 * l.Ny, x2 * l.Nx + y2 * l.Ny) + 8;
  return std::isfinite(l.Off);
}

double MeasuredValue(const Object& d)
{
  auto n = [&](const char* key) { return model::Number(d.Prop(key)); };
  const std::string& kind = d.Kind();
  LinearLayout l;
  if (kind == LineDimension)
    return LayoutOf(d, l) ? std::fabs((n("x2") - n("x1")) * l.Ux + (n("y2") - n("y1")) * l.Uy) : 0.0;
  if (kind == DiametralDimension) return 2 * std::fabs(n("radius"));
  if (kind == RadialDimension) return std::fabs(n("radius"));
  if (kind == AngleDimension) return std::fabs(n("angle2") - n("angle1"));
  return 0.0;
}

Object& CornerRough(Object& document)
{
  if (auto signs = model::LiveMembers(document, SpecRough); !signs.empty()) return *signs.front();
  return document.GetHost().Create(SpecRough, &document, &document);
}

} // namespace model2d

namespace facets {

namespace {

using namespace model2d;

// The member of o of the kind whose property key is value, made on first request.
Object& MemberOf(Object& o, std::string_view kind, const char* key, const Value& value)
{
  for (Object* m : model::LiveMembers(o, kind))
    if (m->Prop(key) == value) return *m;
  Object& m = o.GetHost().Create(kind, o.Document(), &o);
  m.Set(key, value);
  return m;
}

// A dimension keeps what it measures as its "value" (what a driving constraint on it starts from).
bool Measured(Object& d)
{
  d.Set("value", MeasuredValue(d));
  return d.Update();
}

// A collection of the symbols container it is a view of: Add makes an object of its kind there. A
// collection whose Add takes the object's type logs it.
template <class Collection, class Item, const std::string_view& Kind, class... TypeArg>
class SymbolsFacet final : public Facet<Collection>
{
public:
  using Facet<Collection>::Facet;

  txapi::SmartPtr<Item> Add(TypeArg... type) override
  {
    this->Log("Add", type...);
    if (this->HandOutRefused("Add")) return {};
    return FacetBase::HandOut<Item>(NewDrawingObject(this->ModelHost(), this->Model(), Kind));
  }
};

// What every facet here does with its object: set named values, apply.
template <class I> class SymbolFacet : public Facet<I>
{
public:
  using Facet<I>::Facet;

protected:
  template <class... A> void Put(std::string_view op, std::initializer_list<std::pair<const char*, Value>> values,
                                 const A&... args)
  {
    this->Log(op, args...);
    for (const auto& [key, v] : values)
      this->Model().Set(key, v);
  }
  double Get(std::string_view op, const char* key)
  {
    this->Log(op);
    return model::Number(this->Model().Prop(key));
  }
  // The object itself as the text it holds.
  txapi::SmartPtr<txapi::IText> OwnText()
  {
    this->Log("GetText");
    if (this->HandOutRefused("GetText")) return {};
    return FacetBase::HandOut<txapi::IText>(&this->Model());
  }
};

class LineDimensionFacet final : public SymbolFacet<txapi::ILineDimension>
{
public:
  using SymbolFacet::SymbolFacet;
  void SetPoint1(double x, double y) override { Put("SetPoint1", {{"x1", x}, {"y1", y}}, x, y); }
  void SetPoint2(double x, double y) override { Put("SetPoint2", {{"x2", x}, {"y2", y}}, x, y); }
  void SetLinePoint(double x, double y) override { Put("SetLinePoint", {{"line-x", x}, {"line-y", y}}, x, y); }
  double GetLineX() override { return Get("GetLineX", "line-x"); }
  double GetLineY() override { return Get("GetLineY", "line-y"); }
  void SetTextX(double x) override { Put("SetTextX", {{"text-x", x}}, x); }
  void SetTextY(double y) override { Put("SetTextY", {{"text-y", y}}, y); }
  void SetOrientation(txapi::txLineDimensionOrientationEnum o) override
  {
    Put("SetOrientation", {{"orientation", int(o)}}, int(o));
  }
  void SetAngle(double angle) override { Put("SetAngle", {{"angle", angle}}, angle); }
  bool Update() override { return Measured(Model()); }
};

// A diameter and a radius dimension set the same things.
template <class I> class CircleDimensionFacet final : public SymbolFacet<I>
{
public:
  using SymbolFacet<I>::SymbolFacet;
  void SetCentre(double x, double y) override { this->Put("SetCentre", {{"xc", x}, {"yc", y}}, x, y); }
  void SetRadius(double r) override { this->Put("SetRadius", {{"radius", r}}, r); }
  void SetStyle(int style) override { this->Put("SetStyle", {{"style", style}}, style); }
  void SetAngle(double angle) override { this->Put("SetAngle", {{"angle", angle}}, angle); }
  bool Update() override { return Measured(this->Model()); }
};

class AngleDimensionFacet final : public SymbolFacet<txapi::IAngleDimension>
{
public:
  using SymbolFacet::SymbolFacet;
  void SetVertex(double x, double y) override { Put("SetVertex", {{"xc", x}, {"yc", y}}, x, y); }
  void SetRadius(double r) override { Put("SetRadius", {{"radius", r}}, r); }
  void SetAngle1(double a) override { Put("SetAngle1", {{"angle1", a}}, a); }
  void SetAngle2(double a) override { Put("SetAngle2", {{"angle2", a}}, a); }
  void SetPoint1(double x, double y) override { Put("SetPoint1", {{"x1", x}, {"y1", y}}, x, y); }
  void SetPoint2(double x, double y) override { Put("SetPoint2", {{"x2", x}, {"y2", y}}, x, y); }
  void SetDirection(bool on) override { Put("SetDirection", {{"direction", on}}, on); }
  bool Update() override { return Measured(Model()); }
};

// What a test presets on a dimension: "auto-nominal", "nominal-value", "nominal-text", "tolerance",
// "upper" and "lower".
class DimensionTextFacet final : public SymbolFacet<txapi::IDimensionText>
{
public:
  using SymbolFacet::SymbolFacet;
  bool GetAutoNominal() override
  {
    Log("GetAutoNominal");
    return Model().Prop("auto-nominal") == true;
  }
  double GetNominalValue() override { return Get("GetNominalValue", "nominal-value"); }
  std::wstring GetNominalText() override { return Read("GetNominalText", "nominal-text"); }
  std::wstring GetTolerance() override { return Read("GetTolerance", "tolerance"); }
  std::wstring GetUpperDeviation() override { return Read("GetUpperDeviation", "upper"); }
  std::wstring GetLowerDeviation() override { return Read("GetLowerDeviation", "lower"); }
  void SetTolerance(const std::wstring& tolerance) override
  {
    Put("SetTolerance", {{"tolerance", ToUtf8(tolerance)}}, tolerance);
  }
  void SetToleranceOn(int on) override { Put("SetToleranceOn", {{"tolerance-on", on}}, on); }
  txapi::SmartPtr<txapi::ITextLine> GetTextBefore() override { return Line("GetTextBefore", "before"); }
  txapi::SmartPtr<txapi::ITextLine> GetTextAfter() override { return Line("GetTextAfter", "after"); }
  void SetAutoNominal(bool on) override { Put("SetAutoNominal", {{"auto-nominal", on}}, on); }
  void SetDeviationValues(double upper, double lower) override
  {
    Put("SetDeviationValues", {{"upper-value", upper}, {"lower-value", lower}}, upper, lower);
  }

private:
  std::wstring Read(std::string_view op, const char* key)
  {
    Log(op);
    return Model().Text(key);
  }
  txapi::SmartPtr<txapi::ITextLine> Line(std::string_view op, const char* place)
  {
    Log(op);
    if (HandOutRefused(op)) return {};
    return HandOut<txapi::ITextLine>(&MemberOf(Model(), TextLine, "place", place));
  }
};

// The settings in call order: [index, value] pairs in "parameters" for the numbered form, named
// properties for the others.
class DimensionParamsFacet final : public SymbolFacet<txapi::IDimensionParams>
{
public:
  using SymbolFacet::SymbolFacet;
  void SetParameter(int index, double value) override
  {
    Log("SetParameter", index, value);
    Value p = Model().Prop("parameters");
    if (!p.is_array()) p = Value::array();
    p.push_back(Value::array({index, value}));
    Model().Set("parameters", p);
  }
  void SetEnd1On(bool on) override { Put("SetEnd1On", {{"end1-on", on}}, on); }
  void SetEnd2On(bool on) override { Put("SetEnd2On", {{"end2-on", on}}, on); }
  void SetEnd1Kind(int k) override { Put("SetEnd1Kind", {{"end1-kind", k}}, k); }
  void SetEnd2Kind(int k) override { Put("SetEnd2Kind", {{"end2-kind", k}}, k); }
  void SetTextShift(int s) override { Put("SetTextShift", {{"text-shift", s}}, s); }
  void SetTextShiftSide(int s) override { Put("SetTextShiftSide", {{"text-shift-side", s}}, s); }
  void SetLeaderCode(int c) override { Put("SetLeaderCode", {{"leader-code", c}}, c); }
  void SetLeaderAngle(double a) override { Put("SetLeaderAngle", {{"leader-angle", a}}, a); }
  void SetLeaderLength(double l) override { Put("SetLeaderLength", {{"leader-length", l}}, l); }
};

class RoughFacet final : public SymbolFacet<txapi::IRough>
{
public:
  using SymbolFacet::SymbolFacet;
  void SetPoint(double x, double y) override { Put("SetPoint", {{"x", x}, {"y", y}}, x, y); }
  bool Update() override { return Model().Update(); }
};

class RoughParamsFacet final : public SymbolFacet<txapi::IRoughParams>
{
public:
  using SymbolFacet::SymbolFacet;
  void SetSignType(txapi::txRoughSignEnum t) override { Put("SetSignType", {{"sign-type", int(t)}}, int(t)); }
  void SetSwitchA(int on) override { Put("SetSwitchA", {{"switch-a", on}}, on); }
  void SetSwitchB(int on) override { Put("SetSwitchB", {{"switch-b", on}}, on); }
  void SetLength(double l) override { Put("SetLength", {{"length", l}}, l); }
  void SetAngle(double a) override { Put("SetAngle", {{"angle", a}}, a); }
  txapi::SmartPtr<txapi::IText> GetText(int index) override
  {
    Log("GetText", index);
    if (HandOutRefused("GetText") || index < 0 || index > 2) return {};
    return HandOut<txapi::IText>(&MemberOf(Model(), SymbolText, "index", index));
  }
};

class SpecRoughFacet final : public SymbolFacet<txapi::ISpecRough>
{
public:
  using SymbolFacet::SymbolFacet;
  void SetCode(int code) override { Put("SetCode", {{"code", code}}, code); }
  void SetText(const std::wstring& text) override { Put("SetText", {{"text", ToUtf8(text)}}, text); }
  void SetFirstSwitch(bool on) override { Put("SetFirstSwitch", {{"switch1", on}}, on); }
  void SetSecondSwitch(bool on) override { Put("SetSecondSwitch", {{"switch2", on}}, on); }
  bool Update() override { return Model().Update(); }
};

// P and Q as two-element arrays.
class ToleranceFacet final : public SymbolFacet<txapi::ITolerance>
{
public:
  using SymbolFacet::SymbolFacet;
  void SetP(int position, int value) override { At("SetP", "p", position, value); }
  void SetQ(int position, int value) override { At("SetQ", "q", position, value); }
  bool Update() override { return Model().Update(); }

private:
  void At(std::string_view op, const char* key, int position, int value)
  {
    Log(op, position, value);
    if (position < 0 || position > 1) return;
    Value v = Model().Prop(key);
    if (!v.is_array()) v = Value::array({0, 0});
    v[std::size_t(position)] = value;
    Model().Set(key, std::move(v));
  }
};

class ToleranceParamFacet final : public SymbolFacet<txapi::IToleranceParam>
{
public:
  using SymbolFacet::SymbolFacet;
  void SetLayout(int layout) override { Put("SetLayout", {{"layout", layout}}, layout); }
  txapi::SmartPtr<txapi::ITable> GetTable() override
  {
    Log("GetTable");
    if (HandOutRefused("GetTable")) return {};
    auto tables = model::LiveMembers(Model(), Table);
    if (!tables.empty()) return HandOut<txapi::ITable>(tables.front());
    Object& t = ModelHost().Create(Table, Model().Document(), &Model());
    t.Set("rows", 1);
    t.Set("columns", 1);
    return HandOut<txapi::ITable>(&t);
  }
};

class TableFacet final : public SymbolFacet<txapi::ITable>
{
public:
  using SymbolFacet::SymbolFacet;
  void AddColumn(int index, int flag) override
  {
    // Counted as a whole number whatever a damaged file holds.
    const double columns = std::clamp(model::Number(Model().Prop("columns")), 0.0, 1e6);
    Put("AddColumn", {{"columns", int(columns) + 1}}, index, flag);
  }
  txapi::SmartPtr<txapi::ITableCell> GetCell(int row, int column) override
  {
    Log("GetCell", row, column);
    if (HandOutRefused("GetCell") || row < 0 || column < 0 || row >= model::Number(Model().Prop("rows")) ||
        column >= model::Number(Model().Prop("columns")))
      return {};
    for (Object* c : model::LiveMembers(Model(), TableCell))
      if (c->Prop("row") == row && c->Prop("column") == column) return HandOut<txapi::ITableCell>(c);
    Object& c = ModelHost().Create(TableCell, Model().Document(), &Model());
    c.Set("row", row);
    c.Set("column", column);
    return HandOut<txapi::ITableCell>(&c);
  }
};

class TableCellFacet final : public SymbolFacet<txapi::ITableCell>
{
public:
  using SymbolFacet::SymbolFacet;
  txapi::SmartPtr<txapi::ITextLine> GetText() override
  {
    Log("GetText");
    if (HandOutRefused("GetText")) return {};
    return HandOut<txapi::ITextLine>(&MemberOf(Model(), TextLine, "place", "cell"));
  }
};

class BaseFacet final : public SymbolFacet<txapi::IBase>
{
public:
  using SymbolFacet::SymbolFacet;
  void SetPoint1(double x, double y) override { Put("SetPoint1", {{"x1", x}, {"y1", y}}, x, y); }
  void SetPoint2(double x, double y) override { Put("SetPoint2", {{"x2", x}, {"y2", y}}, x, y); }
  void SetStyle(int style) override { Put("SetStyle", {{"style", style}}, style); }
  txapi::SmartPtr<txapi::IText> GetText() override { return OwnText(); }
  bool Update() override { return Model().Update(); }
};

class ViewPointerFacet final : public SymbolFacet<txapi::IViewPointer>
{
public:
  using SymbolFacet::SymbolFacet;
  void SetStart(double x, double y) override { Put("SetStart", {{"x1", x}, {"y1", y}}, x, y); }
  void SetEnd(double x, double y) override { Put("SetEnd", {{"x2", x}, {"y2", y}}, x, y); }
  void SetTextPoint(double x, double y) override { Put("SetTextPoint", {{"text-x", x}, {"text-y", y}}, x, y); }
  txapi::SmartPtr<txapi::IText> GetText() override { return OwnText(); }
  bool Update() override { return Model().Update(); }
};

} // namespace

void AddSymbolCollections(std::vector<FacetEntry>& facets, bool drawingView)
{
  facets.push_back(Offer<SymbolsFacet<txapi::ILineDimensions, txapi::ILineDimension, LineDimension>>(
      "ILineDimensions"));
  facets.push_back(Offer<SymbolsFacet<txapi::IDiametralDimensions, txapi::IDiametralDimension, DiametralDimension>>(
      "IDiametralDimensions"));
  facets.push_back(Offer<SymbolsFacet<txapi::IRadialDimensions, txapi::IRadialDimension, RadialDimension>>(
      "IRadialDimensions"));
  facets.push_back(Offer<SymbolsFacet<txapi::IAngleDimensions, txapi::IAngleDimension, AngleDimension, int>>(
      "IAngleDimensions"));
  if (!drawingView) return;
  facets.push_back(Offer<SymbolsFacet<txapi::IRoughs, txapi::IRough, Rough>>("IRoughs"));
  facets.push_back(Offer<SymbolsFacet<txapi::ITolerances, txapi::ITolerance, Tolerance>>("ITolerances"));
  facets.push_back(Offer<SymbolsFacet<txapi::IBases, txapi::IBase, Base>>("IBases"));
  facets.push_back(Offer<SymbolsFacet<txapi::IViewPointers, txapi::IViewPointer, ViewPointer>>("IViewPointers"));
}

FacetEntry DimensionText()
{
  return Offer<DimensionTextFacet>("IDimensionText");
}

FacetEntry DimensionParams()
{
  return Offer<DimensionParamsFacet>("IDimensionParams");
}

void AddDimensionKinds(KindTable& t)
{
  auto add = [&](std::string_view kind, std::vector<FacetEntry> f) {
    f.push_back(DrawingObject());
    t.Add(std::string(kind), SymbolDrawingType(kind), std::move(f));
  };
  auto dimension = [](FacetEntry own) {
    return std::vector<FacetEntry>{own, DimensionText(), DimensionParams(), Dimension2D(), ModelObject()};
  };
  add(LineDimension, dimension(Offer<LineDimensionFacet>("ILineDimension")));
  add(DiametralDimension, dimension(Offer<CircleDimensionFacet<txapi::IDiametralDimension>>("IDiametralDimension")));
  add(RadialDimension, dimension(Offer<CircleDimensionFacet<txapi::IRadialDimension>>("IRadialDimension")));
  add(AngleDimension, dimension(Offer<AngleDimensionFacet>("IAngleDimension")));
  add(Rough, {Offer<RoughFacet>("IRough"), Offer<RoughParamsFacet>("IRoughParams")});
  add(Tolerance, {Offer<ToleranceFacet>("ITolerance"), Branchs(), Offer<ToleranceParamFacet>("IToleranceParam")});
  add(Base, {Offer<BaseFacet>("IBase"), TextContent()});
  add(ViewPointer, {Offer<ViewPointerFacet>("IViewPointer"), TextContent()});
  t.Add(std::string(SpecRough), 0, {Offer<SpecRoughFacet>("ISpecRough")});
  t.Add(std::string(Table), 0, {Offer<TableFacet>("ITable")});
  t.Add(std::string(TableCell), 0, {Offer<TableCellFacet>("ITableCell")});
  t.Add(std::string(SymbolText), 0, {TextContent()});
}

} // namespace facets

} // namespace txhost
