// Facets of layout sheets. A sheet is an object of its document (saved with it) that also offers
// its own format: "sheetType", "layoutStyle", "format", "multiplicity", "orientation". Its title
// block is made on first request, with a text object per cell asked for ("cell": the number); the
// technical requirements of a document are one object holding its text and "box".

#include <cstdint>

#include "txapi/ILayoutSheet.h"
#include "txapi/ILayoutSheets.h"
#include "txapi/IDrawingDocument.h"
#include "txapi/ISpecRough.h"
#include "txapi/ISheetFormat.h"
#include "txapi/IStamp.h"
#include "txapi/ITechnicalDemand.h"
#include "txapi/IText.h"
#include "txhost/lib/DimensionFacets.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"

namespace txhost::facets {

namespace {

constexpr std::string_view LayoutSheetKind = "LayoutSheet";
constexpr std::string_view StampKind = "Stamp";
constexpr std::string_view StampCellKind = "StampCell";
constexpr std::string_view TechnicalDemandKind = "TechnicalDemand";

// The child of a kind (with a matching "cell" when cell is not 0), made when there is none.
Object& ChildOf(Host& host, Object& parent, std::string_view kind, int cell = 0)
{
  for (Object* m : parent.Members())
    if (m->Kind() == kind && (cell == 0 || m->Prop("cell") == cell)) return *m;
  Object& o = host.Create(kind, parent.Document(), &parent);
  if (cell != 0) o.Set("cell", cell);
  parent.AddMember(&o);
  return o;
}

std::vector<Object*> SheetsOf(Host& host, const Object& document)
{
  std::vector<Object*> out;
  for (Object* o : host.ObjectsOf(document))
    if (o->Kind() == LayoutSheetKind) out.push_back(o);
  return out;
}

class LayoutSheetsFacet final : public Facet<txapi::ILayoutSheets>
{
public:
  using Facet::Facet;
  int GetCount() override
  {
    Log("GetCount");
    return static_cast<int>(SheetsOf(ModelHost(), Model()).size());
  }
  txapi::SmartPtr<txapi::ILayoutSheet> GetItem(int index) override
  {
    Log("GetItem", index);
    const std::vector<Object*> sheets = SheetsOf(ModelHost(), Model());
    if (index < 0 || static_cast<std::size_t>(index) >= sheets.size()) return {};
    return HandOut<txapi::ILayoutSheet>(sheets[static_cast<std::size_t>(index)]);
  }
  txapi::SmartPtr<txapi::ILayoutSheet> Add() override
  {
    Log("Add");
    if (HandOutRefused("Add")) return {};
    Object& s = ModelHost().Create(LayoutSheetKind, &Model(), &Model());
    s.MarkApplied();
    return HandOut<txapi::ILayoutSheet>(&s);
  }
};

class LayoutSheetFacet final : public Facet<txapi::ILayoutSheet>
{
public:
  using Facet::Facet;
  void SetSheetType(txapi::txSheetTypeEnum type) override
  {
    Log("SetSheetType", static_cast<int>(type));
    Model().Set("sheetType", static_cast<int>(type));
  }
  void SetLayoutStyleNumber(std::int64_t number) override
  {
    Log("SetLayoutStyleNumber", number);
    Model().Set("layoutStyle", number);
  }
  txapi::SmartPtr<txapi::ISheetFormat> GetFormat() override
  {
    Log("GetFormat");
    if (HandOutRefused("GetFormat")) return {};
    return HandOut<txapi::ISheetFormat>(&Model());
  }
  txapi::SmartPtr<txapi::IStamp> GetStamp() override
  {
    Log("GetStamp");
    if (HandOutRefused("GetStamp")) return {};
    return HandOut<txapi::IStamp>(&ChildOf(ModelHost(), Model(), StampKind));
  }
};

class StampFacet final : public Facet<txapi::IStamp>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IText> GetText(txapi::txStampEnum cell) override
  {
    Log("GetText", static_cast<int>(cell));
    if (cell <= 0 || HandOutRefused("GetText")) return {};
    return HandOut<txapi::IText>(&ChildOf(ModelHost(), Model(), StampCellKind, cell));
  }
  bool Update() override { return Model().Update(); }
};

class TechnicalDemandFacet final : public Facet<txapi::ITechnicalDemand>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IText> GetText() override
  {
    Log("GetText");
    return HandOut<txapi::IText>(&Model());
  }
  void SetBox(const std::vector<double>& box) override
  {
    Log("SetBox", static_cast<int>(box.size()));
    Model().Set("box", Value(box));
  }
  bool Update() override { return Model().Update(); }
};

class DrawingDocumentFacet final : public Facet<txapi::IDrawingDocument>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::ITechnicalDemand> GetTechnicalDemand() override
  {
    Log("GetTechnicalDemand");
    if (HandOutRefused("GetTechnicalDemand")) return {};
    return HandOut<txapi::ITechnicalDemand>(&ChildOf(ModelHost(), Model(), TechnicalDemandKind));
  }
  txapi::SmartPtr<txapi::ISpecRough> GetSpecRough() override
  {
    Log("GetSpecRough");
    if (HandOutRefused("GetSpecRough")) return {};
    return HandOut<txapi::ISpecRough>(&model2d::CornerRough(Model()));
  }
};

class SheetFormatFacet final : public Facet<txapi::ISheetFormat>
{
public:
  using Facet::Facet;
  void SetFormat(txapi::txDocumentFormatEnum format) override
  {
    Log("SetFormat", static_cast<int>(format));
    Model().Set("format", static_cast<int>(format));
  }
  void SetMultiplicity(int value) override
  {
    Log("SetMultiplicity", value);
    Model().Set("multiplicity", value);
  }
  void SetOrientation(bool lying) override
  {
    Log("SetOrientation", lying);
    Model().Set("orientation", lying);
  }
};

} // namespace

void AddSheetFacets(std::vector<FacetEntry>& f)
{
  f.push_back(Offer<LayoutSheetsFacet>("ILayoutSheets"));
  f.push_back(Offer<DrawingDocumentFacet>("IDrawingDocument"));
}

void AddSheetKinds(KindTable& t)
{
  t.Add(std::string(LayoutSheetKind), 0,
        {Offer<LayoutSheetFacet>("ILayoutSheet"), Offer<SheetFormatFacet>("ISheetFormat")});
  t.Add(std::string(StampKind), 0, {Offer<StampFacet>("IStamp")});
  t.Add(std::string(StampCellKind), 0, {TextContent()});
  t.Add(std::string(TechnicalDemandKind), 0, {Offer<TechnicalDemandFacet>("ITechnicalDemand"), TextContent()});
}

} // namespace txhost::facets
