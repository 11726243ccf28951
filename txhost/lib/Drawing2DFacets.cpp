// Facets of the 2D objects of drawings: circles, ellipses, points, texts, macro objects with their user
// parameters, drawing groups, hatches and colourings with their boundaries, cut lines, leaders, layers, and
// the common view of every drawing object.

#include "txapi/Enums.h"
#include "txapi/IBaseLeader.h"
#include "txapi/IBoundariesObject.h"
#include "txapi/IBranchs.h"
#include "txapi/ICircle.h"
#include "txapi/ICircles.h"
#include "txapi/IColouring.h"
#include "txapi/IColourings.h"
#include "txapi/ICutLine.h"
#include "txapi/ICutLines.h"
#include "txapi/IDrawingGroup.h"
#include "txapi/IDrawingGroups.h"
#include "txapi/IDrawingObject.h"
#include "txapi/IDrawingText.h"
#include "txapi/IDrawingTexts.h"
#include "txapi/IEllipse.h"
#include "txapi/IEllipses.h"
#include "txapi/IHatch.h"
#include "txapi/IHatchParam.h"
#include "txapi/IHatches.h"
#include "txapi/ILayer.h"
#include "txapi/ILayers.h"
#include "txapi/ILeader.h"
#include "txapi/ILeaders.h"
#include "txapi/IMacroObject.h"
#include "txapi/IMacroObjects.h"
#include "txapi/IOpenDocumentParam.h"
#include "txapi/IPoint.h"
#include "txapi/IPoints.h"
#include "txapi/IPolyLine.h"
#include "txapi/IPolyLines.h"
#include "txapi/ISymbols2DContainer.h"
#include "txapi/ITavrixAPIObject.h"
#include "txapi/IText.h"
#include "txapi/ITextFont.h"
#include "txapi/ITextItem.h"
#include "txapi/ITextLine.h"
#include "txapi/IUserParameters.h"
#include "txhost/lib/Blocks.h"
#include "txhost/lib/ConstraintFacets.h"
#include "txhost/lib/DimensionFacets.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Events.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <utility>

namespace txhost {

namespace model2d {

namespace {
// What a drawing group holds, by identifier, in the order made: emptying a phantom's group at every move
// looks at its own objects, not at the whole drawing.
struct GroupList
{
  std::vector<ObjectId> Ids;
};
// The frame of a placement stack (model::StackFrame), for the runs of objects drawn under one stack: known
// again by the numbers StackFrame reads, bit for bit, without its sines and cosines.
model::Frame StackFrameOf(const Value& stack)
{
  constexpr std::size_t Depth = 8;
  using Numbers = std::array<std::uint64_t, 4>;
  struct Memo
  {
    std::size_t Count = Depth + 1; // none yet
    Numbers Placements[Depth] = {};
    bool Placement[Depth] = {};
    model::Frame Frame = {};
  };
  thread_local Memo memo;
  if (!stack.is_array() || stack.size() > Depth) return model::StackFrame(stack);
  // Read as StackFrame reads them (model::Number), a stored fraction at once.
  const auto number = [](const Value& v, double otherwise) {
    const double* d = v.get_ptr<const double*>();
    return d != nullptr ? *d : model::Number(v, otherwise);
  };
  const auto read = [&](const Value& p, Numbers& n) {
    if (!p.is_array() || p.size() != 4) return false;
    const Value::array_t& a = p.get_ref<const Value::array_t&>();
    for (std::size_t k = 0; k < 4; ++k)
      n[k] = std::bit_cast<std::uint64_t>(number(a[k], k == 3 ? 1.0 : 0.0));
    return true;
  };
  const Value::array_t& entries = stack.get_ref<const Value::array_t&>();
  bool same = entries.size() == memo.Count;
  for (std::size_t i = 0; same && i < entries.size(); ++i) {
    Numbers n;
    const bool placement = read(entries[i], n);
    same = placement == memo.Placement[i] && (!placement || n == memo.Placements[i]);
  }
  if (same) return memo.Frame;
  memo.Count = entries.size();
  for (std::size_t i = 0; i < entries.size(); ++i)
    memo.Placement[i] = read(entries[i], memo.Placements[i]);
  memo.Frame = model::StackFrame(stack);
  return memo.Frame;
}

} // namespace

Object* NewDrawingObject(Host& host, Object& container, std::string_view kind)
{
  Object* owner = &container;
  Object* document = container.Document();
  if (container.Kind() == model::SketchView) {
    Object* editor = container.Parent();
    Object* sketch = editor != nullptr ? editor->Parent() : nullptr;
    if (sketch == nullptr || sketch->Prop("editing") != true || model::Deleted(*sketch)) return nullptr;
    owner = sketch;
    document = editor;
  }
  Object& o = host.Create(kind, container.Document(), owner);
  if (kind == model::LineSegment || kind == model::Arc || kind == Circle || kind == Ellipse)
    o.Set("style", 1);
  // Looked at where it is: a conditional with a null temporary on the other side would copy the stack.
  const Value* stack = document != nullptr ? &document->Prop("placements") : nullptr;
  if (stack != nullptr && stack->is_array() && !stack->empty()) {
    const model::Frame f = StackFrameOf(*stack);
    // Written into the frame a renewed object had, mostly of the same size: no array made and dropped.
    Value& frame = o.Overwrite("frame");
    if (!frame.is_array() || frame.size() != f.size()) frame = Value::array_t(f.size());
    for (std::size_t i = 0; i < f.size(); ++i)
      AssignValue(frame[i], f[i]);
  }
  if (container.Kind() == model::View && document != nullptr)
    if (Object* g = OpenGroup(*document)) {
      o.Set("group", RefValue(g));
      g->Extra<GroupList>().Ids.push_back(o.Id());
    }
  return &o;
}

std::vector<Object*> GroupMembers(const Object& group)
{
  std::vector<Object*> out;
  if (group.Parent() == nullptr) return out;
  auto& list = const_cast<Object&>(group).Extra<GroupList>().Ids;
  const Host& host = group.GetHost();
  // An object taken into a block since, or freed, is the group's no more.
  std::erase_if(list, [&](ObjectId id) {
    const Object* o = host.Find(id);
    return o == nullptr || RefId(o->Prop("group")) != group.Id();
  });
  for (ObjectId id : list)
    out.push_back(host.Find(id));
  return out;
}

int DrawingTypeOfKind(std::string_view kind)
{
  static const std::pair<std::string_view, int> types[] = {
      {model::LineSegment, txapi::txDrLineSeg},
      {model::Arc, txapi::txDrArc},
      {Circle, txapi::txDrCircle},
      {Ellipse, txapi::txDrEllipse},
      {Point, txapi::txDrPoint},
      {DrawingText, txapi::txDrText},
      {Macro, txapi::txDrMacro},
      {Group, txapi::txDrGroup},
      {Hatch, txapi::txDrHatch},
      {Colouring, txapi::txDrColouring},
      {CutLine, txapi::txDrCutLine},
      {Leader, txapi::txDrLeader},
      {model::View, txapi::txView},
  };
  for (const auto& [k, type] : types)
    if (k == kind) return type;
  return SymbolDrawingType(kind);
}

int DrawingType(const Object& o)
{
  return DrawingTypeOfKind(o.Kind());
}

Object* OpenGroup(const Object& document)
{
  const Value& open = document.Prop("open-groups");
  if (!open.is_array() || open.empty()) return nullptr;
  return document.GetHost().Find(RefId(open.back()));
}

void OpenGroup(Object& group, bool open)
{
  Object* doc = group.Parent();
  if (doc == nullptr || (group.Prop("open") == true) == open) return;
  Value groups = doc->Prop("open-groups");
  if (!groups.is_array()) groups = Value::array();
  if (open) {
    groups.push_back(RefValue(&group));
  } else {
    Value rest = Value::array();
    for (const Value& g : groups)
      if (RefId(g) != group.Id()) rest.push_back(g);
    groups = std::move(rest);
    group.Set("finished", true);
    group.GetHost().DropSpares(group);
  }
  doc->Set("open-groups", std::move(groups));
  group.Set("open", open);
}

void ResetGroup(Object& group)
{
  if (group.Parent() == nullptr) return;
  const std::vector<Object*> dropped = GroupMembers(group);
  for (Object* o : dropped)
    model::DeleteWithMembers(*o);
  // A phantom group is emptied at every move: what it held must not pile up in the host. What a library
  // still held at one emptying goes at a later one. Emptied while open, the group is drawn again at once,
  // mostly with the same objects: what went is kept to be made again until the group closes.
  group.GetHost().Forget(dropped, group.Prop("open") == true ? &group : nullptr);
}

std::wstring TextOf(const Object& o)
{
  std::wstring out;
  if (o.Kind() == TextLine) {
    for (Object* item : model::LiveMembers(o, TextItem))
      out += item->Text("text");
    return out;
  }
  bool first = true;
  for (Object* line : model::LiveMembers(o, TextLine)) {
    if (!first) out += L'\n';
    first = false;
    for (Object* item : model::LiveMembers(*line, TextItem))
      out += item->Text("text");
  }
  return first ? o.Text("string") : out;
}

} // namespace model2d

namespace facets {

namespace {

using namespace model2d;

// A collection of the container it is a view of: Add makes an object of its kind there.
template <class Collection, class Item, const std::string_view& Kind>
class DrawingAddFacet final : public Facet<Collection>
{
public:
  using Facet<Collection>::Facet;

  txapi::SmartPtr<Item> Add() override
  {
    this->Log("Add");
    if (this->HandOutRefused("Add")) return {};
    return FacetBase::HandOut<Item>(NewDrawingObject(this->ModelHost(), this->Model(), Kind));
  }
};

void SetAll(Object& o, std::initializer_list<std::pair<const char*, Value>> values)
{
  for (const auto& [key, v] : values)
    o.Set(key, v);
}

class CircleFacet final : public Facet<txapi::ICircle>
{
public:
  using Facet::Facet;
  void SetCircle(double xc, double yc, double radius) override
  {
    Log("SetCircle", xc, yc, radius);
    SetAll(Model(), {{"xc", xc}, {"yc", yc}, {"radius", radius}});
  }
  void SetStyle(txapi::txCurveStyleEnum style) override
  {
    Log("SetStyle", style);
    Model().Set("style", int(style));
  }
  bool Update() override { return Model().Update(); }
};

class EllipseFacet final : public Facet<txapi::IEllipse>
{
public:
  using Facet::Facet;
  void SetEllipse(double xc, double yc, double a, double b, double angle) override
  {
    Log("SetEllipse", xc, yc, a, b, angle);
    SetAll(Model(), {{"xc", xc}, {"yc", yc}, {"a", a}, {"b", b}, {"angle", angle}});
  }
  void SetStyle(txapi::txCurveStyleEnum style) override
  {
    Log("SetStyle", style);
    Model().Set("style", int(style));
  }
  bool Update() override { return Model().Update(); }
};

class PointFacet final : public Facet<txapi::IPoint>
{
public:
  using Facet::Facet;
  void SetPoint(double x, double y) override
  {
    Log("SetPoint", x, y);
    SetAll(Model(), {{"x", x}, {"y", y}});
  }
  void SetStyle(int style) override
  {
    Log("SetStyle", style);
    Model().Set("style", style);
  }
  bool Update() override { return Model().Update(); }
};

class DrawingTextFacet final : public Facet<txapi::IDrawingText>
{
public:
  using Facet::Facet;
  void SetPosition(double x, double y) override
  {
    Log("SetPosition", x, y);
    SetAll(Model(), {{"x", x}, {"y", y}});
  }
  void SetAngle(double angle) override
  {
    Log("SetAngle", angle);
    Model().Set("angle", angle);
  }
  txapi::SmartPtr<txapi::IText> GetText() override
  {
    Log("GetText");
    if (HandOutRefused("GetText")) return {};
    return HandOut<txapi::IText>(&Model());
  }
  bool Update() override { return Model().Update(); }
};

class TextFacet final : public Facet<txapi::IText>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::ITextLine> AddLine() override
  {
    Log("AddLine");
    if (HandOutRefused("AddLine")) return {};
    return HandOut<txapi::ITextLine>(&ModelHost().Create(TextLine, Model().Document(), &Model()));
  }
  void SetString(const std::wstring& text) override
  {
    Log("SetString", text);
    for (Object* line : model::LiveMembers(Model(), TextLine))
      line->Set("deleted", true);
    Model().Set("string", ToUtf8(text));
  }
};

class TextLineFacet final : public Facet<txapi::ITextLine>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::ITextItem> AddItem() override
  {
    Log("AddItem");
    if (HandOutRefused("AddItem")) return {};
    return HandOut<txapi::ITextItem>(&ModelHost().Create(TextItem, Model().Document(), &Model()));
  }
  void SetString(const std::wstring& text) override
  {
    Log("SetString", text);
    for (Object* item : model::LiveMembers(Model(), TextItem))
      item->Set("deleted", true);
    ModelHost().Create(TextItem, Model().Document(), &Model()).Set("text", ToUtf8(text));
  }
};

class TextItemFacet final : public Facet<txapi::ITextItem>
{
public:
  using Facet::Facet;
  void SetText(const std::wstring& text) override
  {
    Log("SetText", text);
    Model().Set("text", ToUtf8(text));
  }
  bool Update() override { return Model().Update(); }
};

class TextFontFacet final : public Facet<txapi::ITextFont>
{
public:
  using Facet::Facet;
  void SetHeight(double height) override
  {
    Log("SetHeight", height);
    Model().Set("height", height);
  }
};

class MacroObjectsFacet final : public Facet<txapi::IMacroObjects>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IMacroObject> Add(int mode) override
  {
    Log("Add", mode);
    if (HandOutRefused("Add")) return {};
    Object* m = NewDrawingObject(ModelHost(), Model(), Macro);
    if (m != nullptr) m->Set("mode", mode);
    return HandOut<txapi::IMacroObject>(m);
  }
};

class MacroObjectFacet final : public Facet<txapi::IMacroObject>
{
public:
  using Facet::Facet;
  void SetFirstSwitch(bool on) override
  {
    Log("SetFirstSwitch", on);
    Model().Set("switch1", on);
  }
  void SetSecondSwitch(bool on) override
  {
    Log("SetSecondSwitch", on);
    Model().Set("switch2", on);
  }
  void SetPlacement(double x, double y, double angle, int first, int second) override
  {
    Log("SetPlacement", x, y, angle, first, second);
    SetAll(Model(),
           {{"x", x}, {"y", y}, {"angle", angle}, {"placement-flags", Value::array({first, second})}});
  }
  bool GetPlacement(double& x, double& y, double& angle) override
  {
    Log("GetPlacement");
    if (!Model().Prop("x").is_number()) return false;
    x = Model().Prop("x").get<double>();
    y = Model().Prop("y").get<double>();
    angle = Model().Prop("angle").get<double>();
    return true;
  }
  bool Update() override { return Model().Update(); }
};

// The data block is kept as hexadecimal text, two digits a byte, so that a saved document carries it whole.
class UserParametersFacet final : public Facet<txapi::IUserParameters>
{
public:
  using Facet::Facet;
  void SetLibraryFileName(const std::wstring& name) override
  {
    Log("SetLibraryFileName", name);
    Model().Set("library-file", ToUtf8(name));
  }
  void SetSecondText(const std::wstring& text) override
  {
    Log("SetSecondText", text);
    Model().Set("second-text", ToUtf8(text));
  }
  void SetCommand(int command) override
  {
    Log("SetCommand", command);
    Model().Set("command", command);
  }
  void SetUserData(const std::vector<std::uint8_t>& data) override
  {
    static const char digits[] = "0123456789abcdef";
    Log("SetUserData", int(data.size()));
    std::string hex;
    hex.reserve(data.size() * 2);
    for (std::uint8_t b : data) {
      hex += digits[b >> 4];
      hex += digits[b & 15];
    }
    Model().Set("user-data", hex);
  }
  std::wstring GetLibraryFileName() override
  {
    Log("GetLibraryFileName");
    return Model().Text("library-file");
  }
  int GetCommand() override
  {
    Log("GetCommand");
    const Value& c = Model().Prop("command");
    return c.is_number_integer() ? c.get<int>() : 0;
  }
  std::vector<std::uint8_t> GetUserData() override
  {
    Log("GetUserData");
    const Value& v = Model().Prop("user-data");
    std::vector<std::uint8_t> out;
    if (!v.is_string()) return out;
    const std::string& hex = v.get_ref<const std::string&>();
    auto digit = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
      out.push_back(std::uint8_t(digit(hex[i]) * 16 + digit(hex[i + 1])));
    return out;
  }
};

class DrawingGroupsFacet final : public Facet<txapi::IDrawingGroups>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IDrawingGroup> Add(bool temporary, const std::wstring& name) override
  {
    Log("Add", temporary, name);
    if (HandOutRefused("Add")) return {};
    Object& g = NewDrawingGroup(ModelHost(), Model(), temporary);
    SetAll(g, {{"name", ToUtf8(name)}, {"open", false}});
    return HandOut<txapi::IDrawingGroup>(&g);
  }
  txapi::SmartPtr<txapi::IDrawingGroup> GetOpenGroup() override
  {
    Log("GetOpenGroup");
    if (HandOutRefused("GetOpenGroup")) return {};
    return HandOut<txapi::IDrawingGroup>(OpenGroup(Model()));
  }
};

class HatchFacet final : public Facet<txapi::IHatch>
{
public:
  using Facet::Facet;
  void SetSwitch(bool on) override
  {
    Log("SetSwitch", on);
    Model().Set("switch", on);
  }
  bool Update() override { return Model().Update(); }
};

class HatchParamFacet final : public Facet<txapi::IHatchParam>
{
public:
  using Facet::Facet;
  void SetStyle(int style) override
  {
    Log("SetStyle", style);
    Model().Set("hatch-style", style);
  }
  void SetStep(double step) override
  {
    Log("SetStep", step);
    Model().Set("step", step);
  }
  void SetAngle(double angle) override
  {
    Log("SetAngle", angle);
    Model().Set("angle", angle);
  }
};

class BoundariesObjectFacet final : public Facet<txapi::IBoundariesObject>
{
public:
  using Facet::Facet;
  void AddBoundaries(const std::vector<txapi::SmartPtr<txapi::IDrawingObject>>& objects, bool flag) override
  {
    Log("AddBoundaries", objects, flag);
    // Added to in place: a hatch gets its boundary one curve at a time. Not set before, it is written over
    // what a renewed object's former life left there.
    bool wasSet = false;
    Value& b = Model().Overwrite("boundaries", wasSet);
    if (!b.is_array()) b = Value::array();
    Value::array_t& list = b.get_ref<Value::array_t&>();
    std::size_t n = wasSet ? list.size() : 0;
    for (const auto& o : objects)
      if (o) ++n;
    const std::size_t from = wasSet ? list.size() : 0;
    list.resize(n);
    for (std::size_t i = from; const auto& o : objects)
      if (o) AssignValue(list[i++], o);
  }
};

class ColouringFacet final : public Facet<txapi::IColouring>
{
public:
  using Facet::Facet;
  void SetColor(std::uint32_t color) override
  {
    Log("SetColor", color);
    Model().Set("color", color);
  }
  bool Update() override { return Model().Update(); }
};

class Symbols2DContainerFacet final : public Facet<txapi::ISymbols2DContainer>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::ICutLines> GetCutLines() override
  {
    Log("GetCutLines");
    if (HandOutRefused("GetCutLines")) return {};
    return HandOut<txapi::ICutLines>(&Model());
  }
  txapi::SmartPtr<txapi::ILeaders> GetLeaders() override
  {
    Log("GetLeaders");
    if (HandOutRefused("GetLeaders")) return {};
    return HandOut<txapi::ILeaders>(&Model());
  }
};

class CutLineFacet final : public Facet<txapi::ICutLine>
{
public:
  using Facet::Facet;
  void SetDirection(bool left) override
  {
    Log("SetDirection", left);
    Model().Set("left", left);
  }
  void SetPoints(double x1, double y1, double x2, double y2) override
  {
    Log("SetPoints", x1, y1, x2, y2);
    SetAll(Model(), {{"x1", x1}, {"y1", y1}, {"x2", x2}, {"y2", y2}});
  }
  void SetSwitch(bool on) override
  {
    Log("SetSwitch", on);
    Model().Set("switch", on);
  }
  txapi::SmartPtr<txapi::IText> GetText() override
  {
    Log("GetText");
    if (HandOutRefused("GetText")) return {};
    return HandOut<txapi::IText>(&Model());
  }
  void SetPointsArray(const std::vector<double>& points) override
  {
    Log("SetPointsArray", points);
    Model().Set("points", ToValue(points));
  }
  bool Update() override { return Model().Update(); }
};

class LeadersFacet final : public Facet<txapi::ILeaders>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::ILeader> Add(int type) override
  {
    Log("Add", type);
    if (HandOutRefused("Add")) return {};
    Object* l = NewDrawingObject(ModelHost(), Model(), Leader);
    if (l != nullptr) l->Set("leader-type", type);
    return HandOut<txapi::ILeader>(l);
  }
};

class LeaderFacet final : public Facet<txapi::ILeader>
{
public:
  using Facet::Facet;
  void SetShelfDirection(txapi::txShelfDirectionEnum direction) override
  {
    Log("SetShelfDirection", direction);
    Model().Set("shelf-direction", int(direction));
  }
};

class BranchsFacet final : public Facet<txapi::IBranchs>
{
public:
  using Facet::Facet;
  void SetOrigin(double x, double y) override
  {
    Log("SetOrigin", x, y);
    SetAll(Model(), {{"x", x}, {"y", y}});
  }
  void AddBranch(int position, double x, double y) override
  {
    Log("AddBranch", position, x, y);
    Value b = Model().Prop("branches");
    if (!b.is_array()) b = Value::array();
    const Value branch = Value::array({x, y});
    if (position < 0 || std::size_t(position) >= b.size())
      b.push_back(branch);
    else
      b.insert(b.begin() + position, branch);
    Model().Set("branches", std::move(b));
  }
};

class BaseLeaderFacet final : public Facet<txapi::IBaseLeader>
{
public:
  using Facet::Facet;
  bool Update() override { return Model().Update(); }
};

class LayersFacet final : public Facet<txapi::ILayers>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::ILayer> GetLayer(int number) override
  {
    Log("GetLayer", number);
    if (HandOutRefused("GetLayer")) return {};
    for (Object* l : model::LiveMembers(Model(), Layer))
      if (l->Prop("number") == number) return HandOut<txapi::ILayer>(l);
    return {};
  }
  // The view's layer 0, made on first request.
  txapi::SmartPtr<txapi::ILayer> GetLayer() override
  {
    Log("GetLayer");
    if (HandOutRefused("GetLayer")) return {};
    for (Object* l : model::LiveMembers(Model(), Layer))
      if (l->Prop("number") == 0) return HandOut<txapi::ILayer>(l);
    Object& l = ModelHost().Create(Layer, Model().Document(), &Model());
    l.Set("number", 0);
    l.MarkApplied();
    return HandOut<txapi::ILayer>(&l);
  }
};

class LayerFacet final : public Facet<txapi::ILayer>
{
public:
  using Facet::Facet;
  void MakeCurrent() override
  {
    Log("MakeCurrent");
    if (Object* view = Model().Parent()) view->Set("layer", Model().Prop("number"));
  }
  bool Update() override { return Model().Update(); }
};

class PolyLinesFacet final : public Facet<txapi::IPolyLines>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IPolyLine> Add() override
  {
    Log("Add");
    if (HandOutRefused("Add")) return {};
    return HandOut<txapi::IPolyLine>(
        &model::NewObject(ModelHost(), PolyLine3D, Model(), txapi::o3d_polyline));
  }
};

class PolyLineFacet final : public Facet<txapi::IPolyLine>
{
public:
  using Facet::Facet;
  void SetClosed(bool closed) override
  {
    Log("SetClosed", closed);
    Model().Set("closed", closed);
  }
};

class OpenDocumentParamFacet final : public Facet<txapi::IOpenDocumentParam>
{
public:
  using Facet::Facet;
  bool GetVisible() override
  {
    Log("GetVisible");
    return true;
  }
};

class DrawingObjectFacet final : public Facet<txapi::IDrawingObject>
{
public:
  using Facet::Facet;
  int GetType() override
  {
    Log("GetType");
    return DrawingType(Model());
  }
  txapi::SmartPtr<txapi::ITavrixAPIObject> GetParent() override
  {
    Log("GetParent");
    if (HandOutRefused("GetParent")) return {};
    return HandOut<txapi::ITavrixAPIObject>(Model().Parent());
  }
  void Delete() override
  {
    Log("Delete");
    // A macro goes with its content, a group with what it holds.
    if (Model().Kind() == Group)
      for (Object* held : GroupMembers(Model()))
        model::DeleteWithMembers(*held);
    model::DeleteWithMembers(Model());
  }
  bool PrepareConstraints() override
  {
    Log("PrepareConstraints");
    return !model::Deleted(Model());
  }
  txapi::SmartPtr<txapi::IParametricConstraint> NewConstraint() override
  {
    Log("NewConstraint");
    return constraints::NewConstraint(Model(), HandOutRefused("NewConstraint"));
  }
};

} // namespace

// The collections and their kinds.
FacetEntry Circles()
{
  return Offer<DrawingAddFacet<txapi::ICircles, txapi::ICircle, model2d::Circle>>("ICircles");
}
FacetEntry Ellipses()
{
  return Offer<DrawingAddFacet<txapi::IEllipses, txapi::IEllipse, model2d::Ellipse>>("IEllipses");
}
FacetEntry Points()
{
  return Offer<DrawingAddFacet<txapi::IPoints, txapi::IPoint, model2d::Point>>("IPoints");
}
FacetEntry DrawingTexts()
{
  return Offer<DrawingAddFacet<txapi::IDrawingTexts, txapi::IDrawingText, model2d::DrawingText>>(
      "IDrawingTexts");
}
FacetEntry Hatches()
{
  return Offer<DrawingAddFacet<txapi::IHatches, txapi::IHatch, model2d::Hatch>>("IHatches");
}
FacetEntry Colourings()
{
  return Offer<DrawingAddFacet<txapi::IColourings, txapi::IColouring, model2d::Colouring>>("IColourings");
}
FacetEntry CutLines()
{
  return Offer<DrawingAddFacet<txapi::ICutLines, txapi::ICutLine, model2d::CutLine>>("ICutLines");
}
FacetEntry Symbols2DContainer()
{
  return Offer<Symbols2DContainerFacet>("ISymbols2DContainer");
}
FacetEntry PolyLines()
{
  return Offer<PolyLinesFacet>("IPolyLines");
}
FacetEntry Branchs()
{
  return Offer<BranchsFacet>("IBranchs");
}
FacetEntry DrawingObject()
{
  return Offer<DrawingObjectFacet>("IDrawingObject");
}

std::vector<FacetEntry> WithDrawing2D(bool drawingView, std::vector<FacetEntry> facets)
{
  facets.push_back(Circles());
  facets.push_back(Ellipses());
  AddSymbolCollections(facets, drawingView);
  if (!drawingView) return facets;
  for (FacetEntry f : {Points(), DrawingTexts(), Offer<MacroObjectsFacet>("IMacroObjects"), Hatches(),
                       Colourings(), CutLines(),
                       Offer<LeadersFacet>("ILeaders"), Offer<LayersFacet>("ILayers"), DrawingObject()})
    facets.push_back(f);
  return facets;
}

FacetEntry TextContent()
{
  return Offer<TextFacet>("IText");
}

FacetEntry DrawingGroups()
{
  return Offer<DrawingGroupsFacet>("IDrawingGroups");
}

void AddDrawing2DKinds(KindTable& t)
{
  auto add = [&](std::string_view kind, std::vector<FacetEntry> f) {
    f.push_back(DrawingObject());
    t.Add(std::string(kind), DrawingTypeOfKind(kind), std::move(f));
  };
  const FacetEntry text = Offer<TextFacet>("IText");
  add(model2d::Circle, {Offer<CircleFacet>("ICircle")});
  add(model2d::Ellipse, {Offer<EllipseFacet>("IEllipse")});
  add(model2d::Point, {Offer<PointFacet>("IPoint")});
  add(model2d::DrawingText, {Offer<DrawingTextFacet>("IDrawingText"), text});
  t.Add(std::string(model2d::TextLine), 0, {Offer<TextLineFacet>("ITextLine")});
  t.Add(std::string(model2d::TextItem), 0,
        {Offer<TextItemFacet>("ITextItem"), Offer<TextFontFacet>("ITextFont")});
  add(model2d::Macro, WithDrawing2D(true, {Offer<MacroObjectFacet>("IMacroObject"),
                                           Offer<UserParametersFacet>("IUserParameters"), MacroContent(), DrawingContainer(),
                                           Symbols2DContainer(),
                                           LineSegments(), Arcs()}));
  const FacetEntry boundaries = Offer<BoundariesObjectFacet>("IBoundariesObject");
  add(model2d::Hatch, {Offer<HatchFacet>("IHatch"), Offer<HatchParamFacet>("IHatchParam"), boundaries});
  add(model2d::Colouring, {Offer<ColouringFacet>("IColouring"), boundaries});
  add(model2d::CutLine, {Offer<CutLineFacet>("ICutLine"), text});
  add(model2d::Leader, {Offer<LeaderFacet>("ILeader"), Branchs(),
                        Offer<BaseLeaderFacet>("IBaseLeader"), text});
  t.Add(std::string(model2d::Layer), 0, {Offer<LayerFacet>("ILayer")});
  add(model2d::Dimension, {DimensionText(), Dimension2D()});
  t.Add(std::string(model2d::PolyLine3D), 0, {Offer<PolyLineFacet>("IPolyLine"), ModelObject()});
  t.Add("open-document-param", 0, {Offer<OpenDocumentParamFacet>("IOpenDocumentParam")});
}

} // namespace facets

} // namespace txhost
