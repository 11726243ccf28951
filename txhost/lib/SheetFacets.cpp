// Facets of layout sheets. A sheet is an object of its document (saved with it) that also offers
// its own format: "sheetType", "layoutStyle", "format", "multiplicity", "orientation".

#include <cstdint>

#include "txapi/ILayoutSheet.h"
#include "txapi/ILayoutSheets.h"
#include "txapi/ISheetFormat.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"

namespace txhost::facets {

namespace {

constexpr std::string_view LayoutSheetKind = "LayoutSheet";

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

FacetEntry LayoutSheets()
{
  return Offer<LayoutSheetsFacet>("ILayoutSheets");
}

void AddSheetKinds(KindTable& t)
{
  t.Add(std::string(LayoutSheetKind), 0,
        {Offer<LayoutSheetFacet>("ILayoutSheet"), Offer<SheetFormatFacet>("ISheetFormat")});
}

} // namespace txhost::facets
