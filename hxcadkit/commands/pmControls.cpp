// The panel adders of the command base: value controls, optionally bound to the caller's variable, and
// the layout controls (tabs, separators, lists, grids, button groups).

#include "hxcadkit/commands/pmCommon.h"
#include "hxcadkit/commands/pmHost.h"
#include "hxcadkit/core/Messager.h"

#include <cstdlib>
#include <string>
#include <vector>

using txapi::SmartPtr;

template <class I> SmartPtr<I> TBaseManager::NewControl(txapi::ControlTypeEnum kind)
{
  if (!PropertyControls) return {};
  SmartPtr<txapi::IPropertyControl> c = PropertyControls->Add(kind);
  return SmartPtr<I>(c);
}

TPropertylVariable& TBaseManager::Bind(TVariablePtr::TypeVarianble type, void* address,
                                       const SmartPtr<txapi::IAPIObject>& control)
{
  TPropertylVariable& v = APropertyVariable.Append();
  v.Set(type, address);
  v.Control = control;
  v.IdControl = 0;
  v.Owner = nullptr;
  return v;
}

SmartPtr<txapi::IPropertyCheckBox> TBaseManager::AddCheckBox(const TString& Name, const TString&, bool Checked,
                                                              bool ReadOnly, bool NewStyle)
{
  auto c = NewControl<txapi::IPropertyCheckBox>(txapi::txControlCheckBox);
  if (!c) return c;
  c->SetCaption(Name.toWideChar());
  c->SetChecked(Checked);
  c->SetEnabled(!ReadOnly);
  c->SetStyle(NewStyle ? 1 : 0);
  return c;
}

SmartPtr<txapi::IPropertyEdit> TBaseManager::AddEditReal(const TString& Name, const TString&, const double& Value,
                                                          bool ReadOnly)
{
  auto c = NewControl<txapi::IPropertyEdit>(txapi::txControlEditReal);
  if (!c) return c;
  c->SetRealValue(Value);
  c->SetCaption(Name.toWideChar());
  c->SetEnabled(!ReadOnly);
  return c;
}

SmartPtr<txapi::IPropertyEdit> TBaseManager::AddEditInt(const TString& Name, const TString&, const int& Value,
                                                         bool ReadOnly)
{
  auto c = NewControl<txapi::IPropertyEdit>(txapi::txControlEditInt);
  if (!c) return c;
  c->SetIntValue(Value);
  c->SetCaption(Name.toWideChar());
  c->SetReadOnly(ReadOnly);
  return c;
}

SmartPtr<txapi::IPropertySpinEdit> TBaseManager::AddSpinEditInt(const TString& Name, const TString&,
                                                                 const int& Value, int Min, int Max)
{
  auto c = NewControl<txapi::IPropertySpinEdit>(txapi::txControlSpinInt);
  if (!c) return c;
  c->SetIntValue(Value);
  c->SetCaption(Name.toWideChar());
  c->SetRange(double(Min), double(Max));
  return c;
}

namespace {

void SetPoint(txapi::IPropertyPoint3D& c, const TString& Name, const double (&v)[3], int thirdState)
{
  c.SetCaption(Name.toWideChar());
  c.SetCoordinateState(0, 3);
  c.SetCoordinateState(1, 3);
  c.SetCoordinateState(2, thirdState);
  for (int i = 0; i < 3; ++i)
    if (SmartPtr<txapi::IPropertyEdit> e = c.GetCoordinateEdit(i)) e->SetRealValue(v[i]);
  c.SetHyperLinkName(true);
}

} // namespace

SmartPtr<txapi::IPropertyPoint3D> TBaseManager::AddEditPoint3D(const TString& Name, const TString&,
                                                                const TPoint3D& Value)
{
  auto c = NewControl<txapi::IPropertyPoint3D>(txapi::txControlPoint3D);
  if (c) SetPoint(*c, Name, {Value.x, Value.y, Value.z}, 3);
  return c;
}

SmartPtr<txapi::IPropertyPoint3D> TBaseManager::AddEditPoint2D(const TString& Name, const TString&,
                                                                const TPoint2D& Value)
{
  auto c = NewControl<txapi::IPropertyPoint3D>(txapi::txControlPoint3D);
  if (c) SetPoint(*c, Name, {Value.x, Value.y, 0.0}, 2);
  return c;
}

SmartPtr<txapi::IPropertyEdit> TBaseManager::AddEditStr(const TString& Name, const TString&, const TString& Value,
                                                         int Width)
{
  auto c = NewControl<txapi::IPropertyEdit>(txapi::txControlEditStr);
  if (!c) return c;
  c->SetText(Value.toWideChar());
  c->SetCaption(Name.toWideChar());
  if (Width != 0) c->SetWidth(Width);
  return c;
}

SmartPtr<txapi::IPropertyEditList> TBaseManager::AddEditList(const TString& Name, const TString&, bool htStyle)
{
  auto c = NewControl<txapi::IPropertyEditList>(txapi::txControlEditList);
  if (!c) return c;
  c->SetCaption(Name.toWideChar());
  c->SetIntOption(0);
  if (htStyle) c->SetHyperLinkName(true);
  return c;
}

SmartPtr<txapi::IPropertyEditCheckBox> TBaseManager::AddEditCheckBox(const TString& Name, const TString&, bool)
{
  auto edit = NewControl<txapi::IPropertyEdit>(txapi::txControlEditCheckBox);
  if (!edit) return {};
  edit->SetCaption(Name.toWideChar());
  SmartPtr<txapi::IPropertyEditCheckBox> box(edit);
  if (box) {
    box->SetOption1(true);
    box->SetOption2(true);
  }
  edit->SetHyperLinkName(true);
  return box;
}

SmartPtr<txapi::IPropertyCheckBox> TBaseManager::AddEditValue(const TString& Name, const TString& Hint, bool& Value,
                                                               bool ReadOnly, bool NewStyle)
{
  auto c = AddCheckBox(Name, Hint, Value, ReadOnly, NewStyle);
  if (c) Bind(TVariablePtr::pvBoolean, &Value, SmartPtr<txapi::IAPIObject>(c));
  return c;
}

SmartPtr<txapi::IPropertyEdit> TBaseManager::AddEditValue(const TString& Name, const TString& Hint, double& Value,
                                                           bool ReadOnly)
{
  auto c = AddEditReal(Name, Hint, Value, ReadOnly);
  if (c) Bind(TVariablePtr::pvReal, &Value, SmartPtr<txapi::IAPIObject>(c));
  return c;
}

SmartPtr<txapi::IPropertyEdit> TBaseManager::AddEditValue(const TString& Name, const TString& Hint, double& Value,
                                                           const double& K, bool ReadOnly)
{
  auto c = AddEditReal(Name, Hint, Value * K, ReadOnly);
  if (!c) return c;
  Bind(TVariablePtr::pvReal, &Value, SmartPtr<txapi::IAPIObject>(c));
  TPropertylVariable& last = APropertyVariable[APropertyVariable.MaxIndex()];
  last.Type = TVariablePtr::pvRealMultiply;
  last.Data.Multiply = K;
  return c;
}

SmartPtr<txapi::IPropertyEdit> TBaseManager::AddEditValue(const TString& Name, const TString& Hint, int& Value,
                                                           bool ReadOnly)
{
  auto c = AddEditInt(Name, Hint, Value, ReadOnly);
  if (c) Bind(TVariablePtr::pvInteger, &Value, SmartPtr<txapi::IAPIObject>(c));
  return c;
}

SmartPtr<txapi::IPropertySpinEdit> TBaseManager::AddEditValue(const TString& Name, const TString& Hint, int& Value,
                                                               int Min, int Max, bool isDelta)
{
  auto c = AddSpinEditInt(Name, Hint, isDelta ? Value + 1 : Value, Min, Max);
  if (c)
    Bind(isDelta ? TVariablePtr::pvIntegerDelta : TVariablePtr::pvInteger, &Value, SmartPtr<txapi::IAPIObject>(c));
  return c;
}

SmartPtr<txapi::IPropertyEdit> TBaseManager::AddEditValue(const TString& Name, const TString& Hint, TString& Value,
                                                           int Width)
{
  auto c = AddEditStr(Name, Hint, Value, Width);
  if (c) Bind(TVariablePtr::pvStr, &Value, SmartPtr<txapi::IAPIObject>(c));
  return c;
}

namespace {

// Binds the coordinate edits of a point control, each owned by the point control.
void BindPoint(TAPropertylVariable& set, txapi::IPropertyPoint3D& point, double* const (&address)[3])
{
  const SmartPtr<txapi::IAPIObject> owner{SmartPtr<txapi::IPropertyPoint3D>(&point)};
  for (int i = 0; i < 3; ++i) {
    SmartPtr<txapi::IPropertyEdit> e = point.GetCoordinateEdit(i);
    if (!e) continue;
    TPropertylVariable& v = set.Append();
    v.Set(TVariablePtr::pvReal, address[i]);
    v.Control = SmartPtr<txapi::IAPIObject>(e);
    v.IdControl = 0;
    v.Owner = owner;
  }
}

} // namespace

SmartPtr<txapi::IPropertyPoint3D> TBaseManager::AddEditValue(const TString& Name, const TString& Hint,
                                                              TPoint3D& Value)
{
  auto c = AddEditPoint3D(Name, Hint, Value);
  if (c) BindPoint(APropertyVariable, *c, {&Value.x, &Value.y, &Value.z});
  return c;
}

SmartPtr<txapi::IPropertyPoint3D> TBaseManager::AddEditValue(const TString& Name, const TString& Hint,
                                                              TPoint2D& Value)
{
  auto c = AddEditPoint2D(Name, Hint, Value);
  if (c) BindPoint(APropertyVariable, *c, {&Value.x, &Value.y, &EmptyValue});
  return c;
}

// ---------------------------------------------------------------------------------------------
// Layout controls

SmartPtr<txapi::IPropertySeparator> TBaseManager::AddSeparator(const wchar_t* pName, txapi::SeparatorTypeEnum)
{
  auto c = NewControl<txapi::IPropertySeparator>(txapi::txControlSeparator);
  if (c && pName != nullptr) c->SetCaption(pName);
  return c;
}

SmartPtr<txapi::IPropertyTab> TBaseManager::AddTab(const TString& Name, bool Visible)
{
  // Without a tab from the host the current tab stays as it was.
  SmartPtr<txapi::IPropertyTab> tab = PropertyTabs ? PropertyTabs->Add(Name.toWideChar()) : nullptr;
  if (!tab) return tab;
  PropertyTab = tab;
  PropertyTab->SetVisible(Visible);
  PropertyTab->SetExpanded(false);
  PropertyControls = PropertyTab->GetControls();
  return PropertyTab;
}

SmartPtr<txapi::IPropertyTab> TBaseManager::Tab(int I)
{
  return PropertyTabs ? PropertyTabs->GetItem(I) : nullptr;
}

SmartPtr<txapi::IPropertyFileName> TBaseManager::AddFileNameStr(const TString& Name, const TString&, TString& Value)
{
  auto c = NewControl<txapi::IPropertyFileName>(txapi::txControlFileName);
  if (!c) return c;
  c->SetFileName(Value.toWideChar());
  c->SetCaption(Name.toWideChar());
  return c;
}

SmartPtr<txapi::IPropertyColor> TBaseManager::AddControlColor(const TString& Name, const TString&)
{
  auto c = NewControl<txapi::IPropertyColor>(txapi::txControlColor);
  if (c) c->SetCaption(Name.toWideChar());
  return c;
}

namespace {

template <class T> std::vector<T> Items(const TArrayOf<T>& A)
{
  std::vector<T> items;
  for (const T& x : A)
    items.push_back(x);
  return items;
}

} // namespace

SmartPtr<txapi::IPropertyList> TBaseManager::AddListInt(const TString& Name, const TString&, int Current,
                                                         const TArrayOf<int>& P)
{
  auto c = NewControl<txapi::IPropertyList>(txapi::txControlListInt);
  if (!c) return c;
  c->SetCaption(Name.toWideChar());
  c->SetIntItems(Items<int>(P));
  c->SetCurrentIndex(Current);
  c->SetReadOnly(true);
  return c;
}

SmartPtr<txapi::IPropertyList> TBaseManager::AddListReal(const TString& Name, const TString&, int Current,
                                                          const TArrayOf<double>& P)
{
  auto c = NewControl<txapi::IPropertyList>(txapi::txControlListReal);
  if (!c) return c;
  c->SetCaption(Name.toWideChar());
  c->SetRealItems(Items<double>(P));
  c->SetCurrentIndex(Current);
  c->SetReadOnly(true);
  return c;
}

namespace {

std::vector<std::wstring> WideItems(const TArrayOf<TString>& A)
{
  std::vector<std::wstring> items;
  items.reserve(std::size_t(std::max(A.Count, 0)));
  for (const TString& s : A)
    items.emplace_back(s.toWideChar());
  return items;
}

} // namespace

SmartPtr<txapi::IPropertyList> TBaseManager::AddListStr(const TString& Name, const TString&,
                                                         const TArrayOf<TString>& AS)
{
  auto c = NewControl<txapi::IPropertyList>(txapi::txControlListStr);
  if (!c) return c;
  c->SetCaption(Name.toWideChar());
  c->SetListOption(false);
  if (AS.Count <= 0) {
    c->SetVisible(false);
    return c;
  }
  c->SetItems(WideItems(AS));
  c->SetCurrentIndex(AS.Current < 0 ? 0 : AS.Current);
  c->SetReadOnly(true);
  c->SetWidth(6);
  return c;
}

SmartPtr<txapi::IPropertyList> TBaseManager::AddEditValue(const TString& Name, const TString& Hint, TAdapter& AS)
{
  auto c = AddListStr(Name, Hint, AS.ADef);
  if (c) Bind(TVariablePtr::pvAdapter, &AS, SmartPtr<txapi::IAPIObject>(c));
  return c;
}

SmartPtr<txapi::IPropertyGrid> TBaseManager::AddGrid(const TString& Name, const TString&, int Column, int Row,
                                                      bool iReadOnly, int FColumn, int FRow)
{
  auto c = NewControl<txapi::IPropertyGrid>(txapi::txControlGrid);
  if (!c) return c;
  c->SetColumnCount(Column);
  c->SetFixedColumnCount(FColumn);
  c->SetRowCount(Row);
  c->SetFixedRowCount(FRow);
  c->SetCaption(Name.toWideChar());
  c->SetReadOnly(iReadOnly);
  c->SetSize(Row * 20);
  return c;
}

SmartPtr<txapi::IPropertySlideBox> TBaseManager::AddSlideBox(const TString& Name, const TString&, txapi::SlideTypeEnum,
                                                              SmartPtr<txapi::IDrawingGroup> Object)
{
  auto c = NewControl<txapi::IPropertySlideBox>(txapi::txControlSlideBox);
  if (!c) return c;
  c->SetCaption(Name.toWideChar());
  c->SetPicture(Object);
  c->SetOption(false);
  return c;
}

bool TBaseManager::SetValue(SmartPtr<txapi::IPropertyList> List, const TString& Value)
{
  if (!List) return false;
  const TString text = DC(Value);
  const int i = List->IndexOf(text.toWideChar());
  List->SetCurrentIndex(i == -1 ? 0 : i);
  return i != -1;
}

void TBaseManager::Reset(SmartPtr<txapi::IPropertyList> List, const TArrayOf<TString>& A, int Current,
                         const TString& Name)
{
  if (!List || A.Count <= 0) return;
  if (!Name.Empty()) List->SetCaption(DC(Name).toWideChar());
  List->ClearItems();
  List->SetItems(WideItems(A));
  List->SetCurrentIndex(Current);
  List->SetVisible(true);
}

namespace {

// The per-button steps of a push-button group or tool bar.
void AddPushButtons(txapi::IPropertyToolBar& bar, std::initializer_list<TButtonData> L)
{
  int i = 0;
  for (const TButtonData& b : L) {
    ++i;
    bar.AddBarButton(i, std::abs(b.Icon), -1);
    bar.SetBarButtonEnabled(i, true);
    bar.SetBarButtonChecked(i, false);
    bar.SetBarButtonTip(i, DC(b.Tips).toWideChar());
    if (b.Icon < 0 && !CommandHost.LibFont().Empty()) bar.SetBarButtonFont(i, CommandHost.LibFont().toWideChar());
  }
}

} // namespace

SmartPtr<txapi::IPropertyMultiButton> TBaseManager::AddRadioButton(const TString& Name, const TString&, int Checked,
                                                                    std::initializer_list<TButtonData> L)
{
  auto c = NewControl<txapi::IPropertyMultiButton>(txapi::txControlMultiButton);
  if (!c) return c;
  c->SetCaption(DC(Name).toWideChar());
  c->SetButtonKind(txapi::txRadioButton);
  int i = 0;
  for (const TButtonData& b : L) {
    ++i;
    c->AddBarButton(i, b.Icon, -1);
    c->SetBarButtonEnabled(i, true);
    c->SetBarButtonTip(i, DC(b.Tips).toWideChar());
  }
  c->SetBarButtonChecked(Checked, true);
  return c;
}

SmartPtr<txapi::IPropertyMultiButton> TBaseManager::AddPushButton(const TString& Name, int,
                                                                   std::initializer_list<TButtonData> L)
{
  auto c = NewControl<txapi::IPropertyMultiButton>(txapi::txControlMultiButton);
  if (!c) return c;
  c->SetCaption(DC(Name).toWideChar());
  c->SetButtonKind(txapi::txPushButton);
  c->SetEnabled(true);
  c->SetVisible(true);
  AddPushButtons(*c, L);
  return c;
}

void TBaseManager::AddPushButtonTo(SmartPtr<txapi::IPropertyToolBar>& ToolBar, int, std::initializer_list<TButtonData> L)
{
  if (ToolBar) AddPushButtons(*ToolBar, L);
}

void TBaseManager::AddButtonTo(SmartPtr<txapi::IPropertyControl> TC, int IdButton, int IdBmp, const TString& Hint,
                               bool HyperLinkNameStyle)
{
  if (!TC) return;
  const TString font = IdBmp < 0 ? CommandHost.LibFont() : TString();
  TC->AddButton(IdButton, std::abs(IdBmp), Hint.toWideChar(), font.toWideChar());
  TC->SetHyperLinkName(HyperLinkNameStyle);
}

void TBaseManager::AddCheckButtonTo(SmartPtr<txapi::IPropertyControl> TC, int IdButton, int IdBmpChecked,
                                    int IdBmpUnChecked, const TString& Hint, bool HyperLinkNameStyle)
{
  if (!TC) return;
  const TString font = IdBmpChecked < 0 ? CommandHost.LibFont() : TString();
  TC->AddCheckButton(std::abs(IdButton), IdBmpChecked, IdBmpUnChecked, Hint.toWideChar(), font.toWideChar());
  TC->SetHyperLinkName(HyperLinkNameStyle);
  TC->SetButtonChecked(std::abs(IdButton), IdButton > 0);
}
