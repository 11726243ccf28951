// Facets of the property controls. Every value set is kept as a property of the control, where tests and
// the event script read it back.

#include "txapi/IProcess.h"
#include "txapi/IPropertyControl.h"
#include "txapi/IPropertyPanel.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Text.h"

#include <array>
#include <charconv>

namespace txhost {

namespace {

struct ControlKind
{
  txapi::ControlTypeEnum Type;
  std::string_view Kind;
};

constexpr std::array<ControlKind, 17> ControlKinds{{
    {txapi::txControlSeparator, "control-separator"},
    {txapi::txControlEditInt, "control-edit-int"},
    {txapi::txControlEditReal, "control-edit-real"},
    {txapi::txControlEditStr, "control-edit-str"},
    {txapi::txControlListInt, "control-list-int"},
    {txapi::txControlListReal, "control-list-real"},
    {txapi::txControlListStr, "control-list-str"},
    {txapi::txControlCheckBox, "control-check-box"},
    {txapi::txControlMultiButton, "control-multi-button"},
    {txapi::txControlGrid, "control-grid"},
    {txapi::txControlSlideBox, "control-slide-box"},
    {txapi::txControlSpinInt, "control-spin-int"},
    {txapi::txControlFileName, "control-file-name"},
    {txapi::txControlColor, "control-color"},
    {txapi::txControlEditList, "control-edit-list"},
    {txapi::txControlEditCheckBox, "control-edit-check-box"},
    {txapi::txControlPoint3D, "control-point-3d"},
}};

std::string_view ControlKindName(int type)
{
  for (const auto& k : ControlKinds)
    if (k.Type == type) return k.Kind;
  return {};
}

double Real(const Value& v)
{
  return v.is_number() ? v.get<double>() : 0.0;
}
int Int(const Value& v)
{
  return v.is_number_integer() ? v.get<int>() : 0;
}
bool Flag(const Value& v, bool otherwise = false)
{
  return v.is_boolean() ? v.get<bool>() : otherwise;
}

} // namespace

namespace facets {

namespace {

// Logs the call and keeps its value under the property.
#define TXHOST_PUT(Prop, v)                                                                                  \
  do {                                                                                                       \
    this->Log(__func__, v);                                                                                  \
    this->Model().Set(Prop, ToValue(v));                                                                     \
  } while (false)

class PropertyControlsFacet final : public Facet<txapi::IPropertyControls>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::IPropertyControl> Add(txapi::ControlTypeEnum kind) override
  {
    Log("Add", kind);
    const std::string_view name = ControlKindName(kind);
    if (name.empty() || HandOutRefused("Add") || HandOutRefused("Add" + std::to_string(int(kind)))) return {};
    Host& host = ModelHost();
    Object& c = host.Create(name, nullptr, &Model());
    c.Set("kind", int(kind));
    c.Set("visible", true);
    c.Set("enabled", true);
    Model().AddMember(&c);
    if (kind == txapi::txControlPoint3D)
      for (int i = 0; i < 3; ++i) {
        Object& e = host.Create("control-edit-real", nullptr, &c);
        e.Set("kind", int(txapi::txControlEditReal));
        c.AddMember(&e);
      }
    return HandOut<txapi::IPropertyControl>(&c);
  }
  int GetCount() override
  {
    Log("GetCount");
    return int(Model().Members().size());
  }
};

template <class I> class ControlFacet : public Facet<I>
{
public:
  using Facet<I>::Facet;

  txapi::ControlTypeEnum GetKind() override { return txapi::ControlTypeEnum(Int(this->Model().Prop("kind"))); }
  void SetCaption(const std::wstring& caption) override { TXHOST_PUT("caption", caption); }
  std::wstring GetCaption() override { return this->Model().Text("caption"); }
  void SetEnabled(bool enabled) override { TXHOST_PUT("enabled", enabled); }
  bool GetEnabled() override { return Flag(this->Model().Prop("enabled"), true); }
  void SetVisible(bool visible) override { TXHOST_PUT("visible", visible); }
  bool GetVisible() override { return Flag(this->Model().Prop("visible"), true); }
  void SetHyperLinkName(bool value) override { TXHOST_PUT("hyperLink", value); }
  void AddButton(int id, int image, const std::wstring& tip, const std::wstring& font) override
  {
    this->Log("AddButton", id, image, tip, font);
  }
  void AddCheckButton(int id, int imageChecked, int imageUnchecked, const std::wstring& tip,
                      const std::wstring& font) override
  {
    this->Log("AddCheckButton", id, imageChecked, imageUnchecked, tip, font);
  }
  void SetButtonChecked(int id, bool checked) override
  {
    this->Log("SetButtonChecked", id, checked);
    this->Model().Set("button" + std::to_string(id), checked);
  }
};

class PropertyControlFacet final : public ControlFacet<txapi::IPropertyControl>
{
public:
  using ControlFacet::ControlFacet;
};

class CheckBoxFacet final : public ControlFacet<txapi::IPropertyCheckBox>
{
public:
  using ControlFacet::ControlFacet;
  void SetChecked(bool checked) override { TXHOST_PUT("checked", checked); }
  bool GetChecked() override { return Flag(Model().Prop("checked")); }
  void SetStyle(int style) override { TXHOST_PUT("style", style); }
};

class EditFacet final : public ControlFacet<txapi::IPropertyEdit>
{
public:
  using ControlFacet::ControlFacet;
  // The field shows the number as its text too (shortest form that reads back as the same number).
  void SetRealValue(double value) override
  {
    TXHOST_PUT("realValue", value);
    char text[32];
    auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    Model().Set("text", ec == std::errc() ? std::string(text, end) : std::string());
  }
  double GetRealValue() override { return Real(Model().Prop("realValue")); }
  void SetIntValue(int value) override { TXHOST_PUT("intValue", value); }
  int GetIntValue() override { return Int(Model().Prop("intValue")); }
  void SetText(const std::wstring& text) override { TXHOST_PUT("text", text); }
  std::wstring GetText() override { return Model().Text("text"); }
  void SetReadOnly(bool value) override { TXHOST_PUT("readOnly", value); }
  void SetWidth(int width) override { TXHOST_PUT("width", width); }
  void SetCheckState(txapi::CheckStateEnum state) override { TXHOST_PUT("checkState", state); }
  txapi::CheckStateEnum GetCheckState() override
  {
    return txapi::CheckStateEnum(Int(Model().Prop("checkState")));
  }
};

class SpinEditFacet final : public ControlFacet<txapi::IPropertySpinEdit>
{
public:
  using ControlFacet::ControlFacet;
  void SetIntValue(int value) override { TXHOST_PUT("intValue", value); }
  int GetIntValue() override { return Int(Model().Prop("intValue")); }
  void SetRange(double min, double max) override
  {
    Log("SetRange", min, max);
    Model().Set("min", min);
    Model().Set("max", max);
  }
};

class PropertyPoint3DFacet final : public ControlFacet<txapi::IPropertyPoint3D>
{
public:
  using ControlFacet::ControlFacet;
  void SetCoordinateState(int index, int state) override
  {
    Log("SetCoordinateState", index, state);
    Model().Set("state" + std::to_string(index), state);
  }
  txapi::SmartPtr<txapi::IPropertyEdit> GetCoordinateEdit(int index) override
  {
    Log("GetCoordinateEdit", index);
    const auto& edits = Model().Members();
    if (index < 0 || std::size_t(index) >= edits.size() ||
        HandOutRefused("GetCoordinateEdit" + std::to_string(index)))
      return {};
    return HandOut<txapi::IPropertyEdit>(edits[std::size_t(index)]);
  }
};

class EditListFacet final : public ControlFacet<txapi::IPropertyEditList>
{
public:
  using ControlFacet::ControlFacet;
  void SetIntOption(int value) override { TXHOST_PUT("intOption", value); }
  void SetBoolOption(bool value) override { TXHOST_PUT("boolOption", value); }
  void SetCheckState(txapi::CheckStateEnum state) override { TXHOST_PUT("checkState", state); }
  txapi::CheckStateEnum GetCheckState() override
  {
    return txapi::CheckStateEnum(Int(Model().Prop("checkState")));
  }
  void ClearRows() override
  {
    Log("ClearRows");
    Model().Set("rows", Value::array());
  }
  void AddRow(const std::wstring& text) override
  {
    Log("AddRow", text);
    Value rows = Model().Prop("rows").is_array() ? Model().Prop("rows") : Value::array();
    rows.push_back(ToUtf8(text));
    Model().Set("rows", std::move(rows));
  }
  int GetRowCount() override { return Model().Prop("rows").is_array() ? int(Model().Prop("rows").size()) : 0; }
  void RemoveRow(int index) override
  {
    Log("RemoveRow", index);
    Value rows = Model().Prop("rows");
    if (rows.is_array() && index >= 0 && std::size_t(index) < rows.size()) {
      rows.erase(std::size_t(index));
      Model().Set("rows", std::move(rows));
    }
  }
  bool IsRowSelected(int index) override
  {
    const Value& s = Model().Prop("selectedRows");
    if (!s.is_array()) return false;
    for (const auto& v : s)
      if (v == index) return true;
    return false;
  }
};

class EditCheckBoxFacet final : public Facet<txapi::IPropertyEditCheckBox>
{
public:
  using Facet::Facet;
  void SetOption1(bool value) override { TXHOST_PUT("option1", value); }
  void SetOption2(bool value) override { TXHOST_PUT("option2", value); }
  void SetCheckText(const std::wstring& text) override { TXHOST_PUT("checkText", text); }
};

class ListFacet final : public ControlFacet<txapi::IPropertyList>
{
public:
  using ControlFacet::ControlFacet;
  void SetListOption(bool value) override { TXHOST_PUT("listOption", value); }
  void SetItems(const std::vector<std::wstring>& items) override { TXHOST_PUT("items", items); }
  void SetIntItems(const std::vector<int>& items) override { TXHOST_PUT("items", items); }
  void SetRealItems(const std::vector<double>& items) override { TXHOST_PUT("items", items); }
  void ClearItems() override
  {
    Log("ClearItems");
    Model().Set("items", Value::array());
  }
  int GetItemCount() override { return Model().Prop("items").is_array() ? int(Model().Prop("items").size()) : 0; }
  void SetCurrentIndex(int index) override { TXHOST_PUT("currentIndex", index); }
  int GetCurrentIndex() override { return Int(Model().Prop("currentIndex")); }
  std::wstring GetCurrentText() override
  {
    const Value& items = Model().Prop("items");
    const int i = GetCurrentIndex();
    if (!items.is_array() || i < 0 || std::size_t(i) >= items.size()) return {};
    const Value& v = items[std::size_t(i)];
    return v.is_string() ? WideText(v) : FromUtf8(v.dump());
  }
  int IndexOf(const std::wstring& text) override
  {
    Log("IndexOf", text);
    const Value& items = Model().Prop("items");
    if (items.is_array())
      for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].is_string() && WideText(items[i]) == text) return int(i);
    return -1;
  }
  void SetReadOnly(bool value) override { TXHOST_PUT("readOnly", value); }
  void SetWidth(int width) override { TXHOST_PUT("width", width); }
};

class SeparatorFacet final : public ControlFacet<txapi::IPropertySeparator>
{
public:
  using ControlFacet::ControlFacet;
};

class FileNameFacet final : public ControlFacet<txapi::IPropertyFileName>
{
public:
  using ControlFacet::ControlFacet;
  void SetFileName(const std::wstring& name) override { TXHOST_PUT("fileName", name); }
  std::wstring GetFileName() override { return Model().Text("fileName"); }
};

class ColorFacet final : public ControlFacet<txapi::IPropertyColor>
{
public:
  using ControlFacet::ControlFacet;
};

class GridFacet final : public ControlFacet<txapi::IPropertyGrid>
{
public:
  using ControlFacet::ControlFacet;
  void SetColumnCount(int n) override { TXHOST_PUT("columns", n); }
  void SetFixedColumnCount(int n) override { TXHOST_PUT("fixedColumns", n); }
  void SetRowCount(int n) override { TXHOST_PUT("rows", n); }
  void SetFixedRowCount(int n) override { TXHOST_PUT("fixedRows", n); }
  void SetReadOnly(bool value) override { TXHOST_PUT("readOnly", value); }
  void SetSize(int size) override { TXHOST_PUT("size", size); }
};

class SlideBoxFacet final : public ControlFacet<txapi::IPropertySlideBox>
{
public:
  using ControlFacet::ControlFacet;
  void SetPicture(const txapi::SmartPtr<txapi::IDrawingGroup>& group) override { TXHOST_PUT("picture", group); }
  void SetOption(bool value) override { TXHOST_PUT("option", value); }
};

template <class I> class ToolBarFacet : public ControlFacet<I>
{
public:
  using ControlFacet<I>::ControlFacet;
  void AddBarButton(int id, int image, int image2) override { this->Log("AddBarButton", id, image, image2); }
  void SetBarButtonEnabled(int id, bool enabled) override { this->Log("SetBarButtonEnabled", id, enabled); }
  void SetBarButtonChecked(int id, bool checked) override
  {
    this->Log("SetBarButtonChecked", id, checked);
    this->Model().Set("button" + std::to_string(id), checked);
  }
  bool GetBarButtonChecked(int id) override { return Flag(this->Model().Prop("button" + std::to_string(id))); }
  void SetBarButtonTip(int id, const std::wstring& tip) override { this->Log("SetBarButtonTip", id, tip); }
  void SetBarButtonFont(int id, const std::wstring& font) override { this->Log("SetBarButtonFont", id, font); }
};

class ToolBarOnlyFacet final : public ToolBarFacet<txapi::IPropertyToolBar>
{
public:
  using ToolBarFacet::ToolBarFacet;
};

class MultiButtonFacet final : public ToolBarFacet<txapi::IPropertyMultiButton>
{
public:
  using ToolBarFacet::ToolBarFacet;
  void SetButtonKind(txapi::ButtonTypeEnum kind) override { TXHOST_PUT("buttonKind", kind); }
};

#undef TXHOST_PUT

} // namespace

FacetEntry PropertyControls()
{
  return Offer<PropertyControlsFacet>("IPropertyControls");
}
FacetEntry PropertyControl()
{
  return Offer<PropertyControlFacet>("IPropertyControl");
}
FacetEntry PropertyCheckBox()
{
  return Offer<CheckBoxFacet>("IPropertyCheckBox");
}
FacetEntry PropertyEdit()
{
  return Offer<EditFacet>("IPropertyEdit");
}
FacetEntry PropertySpinEdit()
{
  return Offer<SpinEditFacet>("IPropertySpinEdit");
}
FacetEntry PropertyPoint3D()
{
  return Offer<PropertyPoint3DFacet>("IPropertyPoint3D");
}
FacetEntry PropertyEditList()
{
  return Offer<EditListFacet>("IPropertyEditList");
}
FacetEntry PropertyEditCheckBox()
{
  return Offer<EditCheckBoxFacet>("IPropertyEditCheckBox");
}
FacetEntry PropertyList()
{
  return Offer<ListFacet>("IPropertyList");
}
FacetEntry PropertySeparator()
{
  return Offer<SeparatorFacet>("IPropertySeparator");
}
FacetEntry PropertyFileName()
{
  return Offer<FileNameFacet>("IPropertyFileName");
}
FacetEntry PropertyColor()
{
  return Offer<ColorFacet>("IPropertyColor");
}
FacetEntry PropertyGrid()
{
  return Offer<GridFacet>("IPropertyGrid");
}
FacetEntry PropertySlideBox()
{
  return Offer<SlideBoxFacet>("IPropertySlideBox");
}
FacetEntry PropertyToolBar()
{
  return Offer<ToolBarOnlyFacet>("IPropertyToolBar");
}
FacetEntry PropertyMultiButton()
{
  return Offer<MultiButtonFacet>("IPropertyMultiButton");
}

} // namespace facets

} // namespace txhost
