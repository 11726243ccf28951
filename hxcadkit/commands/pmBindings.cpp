#include "hxcadkit/commands/pmBindings.h"

#include "hxcadkit/commands/pmCommon.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/geometry/Mathemat3d.h"

#include <mutex>

using txapi::SmartPtr;

namespace {

// Whether two holders name one host object; empty holders never match.
bool Same(const SmartPtr<txapi::IAPIObject>& a, const txapi::IAPIObject* b)
{
  return a && b != nullptr && txapi::detail::SameObject(a.get(), const_cast<txapi::IAPIObject*>(b));
}

// Whether p is the address of element 1 to 15 of a bound matrix.
bool IsMatrixElement(const TPropertylVariable& v, const void* p)
{
  if (v.Type != TVariablePtr::pvMtr3D || v.PMtr3D == nullptr) return false;
  const double* m = v.PMtr3D->V;
  return p > m && p < m + 16;
}

} // namespace

TPropertylVariable& TPropertylVariable::operator=(const TPropertylVariable& other)
{
  if (this == &other) return *this;
  Type = other.Type;
  PData = other.PData;
  Delta = other.Delta;
  Control = other.Control;
  Owner = other.Owner;
  IdControl = other.IdControl;
  TeCM = other.TeCM;
  SValue = other.SValue;
  Data = other.Data;
  return *this;
}

TAPropertylVariable::TAPropertylVariable(TBaseManager& owner)
    : TArrayOf<TPropertylVariable>(64, 64), BaseManager(owner)
{
}

TPropertylVariable& TAPropertylVariable::Append()
{
  if (FSize <= Count) SetSize(Count + 1);
  int i = 0;
  {
    std::lock_guard<std::mutex> lock(mtx);
    i = Count++;
  }
  return FArray[i];
}

bool TAPropertylVariable::ChangeValue(TPropertylVariable& VI, bool Property, bool Visible, bool ReadOnly) const
{
  if (VI.PData == nullptr) return false;
  if (VI.Type == TVariablePtr::pvAOfComEntity || VI.Type == TVariablePtr::pvIModelObjectPtr ||
      VI.Type == TVariablePtr::pvIModelObjectPtrPlaneFace)
    return ShowObjects(VI, Property, Visible, ReadOnly);
  if (!VI.Control) return false;
  auto state = [&](txapi::IPropertyControl& c) {
    if (!Property) return;
    c.SetVisible(Visible);
    c.SetEnabled(!ReadOnly);
  };
  switch (VI.Type) {
  case TVariablePtr::pvReal:
  case TVariablePtr::pvRealMultiply: {
    SmartPtr<txapi::IPropertyEdit> e(VI.Control);
    if (!e) return false;
    // A scaled binding shows the value as its adder did.
    e->SetRealValue(VI.Type == TVariablePtr::pvReal ? *VI.PDataReal : *VI.PDataReal * VI.Data.Multiply);
    state(*e);
    return true;
  }
  case TVariablePtr::pvInteger:
  case TVariablePtr::pvIntegerDelta: {
    const int shown = VI.Type == TVariablePtr::pvInteger ? *VI.PDataInteger
                      : *VI.PDataInteger == std::numeric_limits<int>::max() ? *VI.PDataInteger
                                                                             : *VI.PDataInteger + 1;
    if (SmartPtr<txapi::IPropertyEdit> e(VI.Control); e) {
      e->SetIntValue(shown);
      state(*e);
      return true;
    }
    if (SmartPtr<txapi::IPropertySpinEdit> s(VI.Control); s) {
      s->SetIntValue(shown);
      s->SetVisible(Visible);
      s->SetEnabled(!ReadOnly);
      return true;
    }
    return false;
  }
  case TVariablePtr::pvStr: {
    SmartPtr<txapi::IPropertyEdit> e(VI.Control);
    if (!e) return false;
    e->SetText(VI.PDataStr->toWideChar());
    state(*e);
    return true;
  }
  case TVariablePtr::pvBoolean: {
    SmartPtr<txapi::IPropertyCheckBox> c(VI.Control);
    if (!c) return false;
    c->SetChecked(*VI.PDataBoolean);
    return true;
  }
  case TVariablePtr::pvMtr3D: {
    // The manipulator shows the bound matrix, whichever of its elements changed.
    SmartPtr<txapi::IBaseManipulator> m(VI.Control);
    SmartPtr<txapi::IPlacement3D> place = m ? m->GetPlacement() : SmartPtr<txapi::IPlacement3D>();
    if (!place) return false;
    std::vector<double> v;
    place->SetMatrix(VI.PMtr3D->to(v));
    m->Update(true);
    return false;
  }
  case TVariablePtr::pvAdapter: {
    SmartPtr<txapi::IPropertyList> l(VI.Control);
    if (!l) return false;
    TAdapter& a = *VI.PAdapter;
    const int current = a.GetCurrent();
    BaseManager.Reset(l, a.ADef, current, TString());
    state(*l);
    return true;
  }
  default:
    return false;
  }
}

bool TAPropertylVariable::ChangeControlValue(SmartPtr<txapi::IPropertyControl> Control)
{
  int index = -1;
  for (int i = 0; i < Count && index < 0; ++i)
    if (FArray[i].Type != TVariablePtr::pvEmpty && Same(FArray[i].Control, Control.get())) index = i;
  if (index < 0) return false;
  Current = index;
  TPropertylVariable& v = FArray[index];
  if (v.PData == nullptr) return false;
  switch (v.Type) {
  case TVariablePtr::pvReal:
  case TVariablePtr::pvRealMultiply: {
    SmartPtr<txapi::IPropertyEdit> e(Control);
    if (!e) return false;
    double d = e->GetRealValue();
    if (v.Type == TVariablePtr::pvRealMultiply) d /= v.Data.Multiply;
    *v.PDataReal = d;
    break;
  }
  case TVariablePtr::pvInteger:
  case TVariablePtr::pvIntegerDelta: {
    int n = 0;
    if (SmartPtr<txapi::IPropertyEdit> e(Control); e)
      n = e->GetIntValue();
    else if (SmartPtr<txapi::IPropertySpinEdit> s(Control); s)
      n = s->GetIntValue();
    else
      return false;
    // The shown value of a delta binding is one more than the stored one.
    if (v.Type == TVariablePtr::pvIntegerDelta && n != std::numeric_limits<int>::min()) --n;
    *v.PDataInteger = n;
    break;
  }
  case TVariablePtr::pvStr: {
    SmartPtr<txapi::IPropertyEdit> e(Control);
    if (!e) return false;
    *v.PDataStr = e->GetText();
    break;
  }
  case TVariablePtr::pvBoolean: {
    SmartPtr<txapi::IPropertyCheckBox> c(Control);
    if (!c) return false;
    *v.PDataBoolean = c->GetChecked();
    break;
  }
  case TVariablePtr::pvAdapter: {
    SmartPtr<txapi::IPropertyList> l(Control);
    if (!l) return false;
    v.PAdapter->Set(TString(l->GetCurrentText()));
    break;
  }
  default:
    return false;
  }
  ChangeValue(v.PData, index);
  return true;
}

bool TAPropertylVariable::Refresh(int i, int) const
{
  TPropertylVariable& v = FArray[i];
  if (!v.Owner) {
    Current = i;
    return ChangeValue(v, false, true, false);
  }
  bool r = false;
  for (int j = 0; j < Count; ++j)
    if (Same(FArray[j].Owner, v.Owner.get())) {
      Current = j;
      r = ChangeValue(FArray[j], false, true, false);
    }
  return r;
}

bool TAPropertylVariable::ChangeValue(void* Pointer, int Sender) const
{
  bool r = false;
  for (int i = 0; i < Count; ++i) {
    const TPropertylVariable& v = FArray[i];
    if (i == Sender || v.Type == TVariablePtr::pvEmpty) continue;
    if (v.PData == Pointer)
      r = Refresh(i, Sender);
    else if (IsMatrixElement(v, Pointer))
      r = ChangeValue(FArray[i], false, true, false);
  }
  if (Sender != -2) BaseManager.ChangeValue(Pointer, Sender);
  return r;
}

bool TAPropertylVariable::ChangeValue(void* Pointer, bool Visible, bool ReadOnly, void* NewPointer, int Sender)
{
  bool r = false;
  for (int i = 0; i < Count; ++i) {
    TPropertylVariable& v = FArray[i];
    if (i == Sender || v.Type == TVariablePtr::pvEmpty) continue;
    if (v.PData == Pointer) {
      if (NewPointer != nullptr) v.PData = NewPointer;
      Current = i;
      r = ChangeValue(v, true, Visible, ReadOnly);
    } else if (IsMatrixElement(v, Pointer)) {
      r = ChangeValue(v, true, Visible, ReadOnly);
    }
  }
  if (Sender != -2) BaseManager.ChangeValue(Pointer, Sender);
  return r;
}

bool TAPropertylVariable::ControlCommand(SmartPtr<txapi::IPropertyControl> Control, int ButtonID)
{
  // Only object controls answer their buttons.
  for (int i = 0; i < Count; ++i)
    if (FArray[i].Type != TVariablePtr::pvEmpty && Same(FArray[i].Control, Control.get())) {
      Current = i;
      if (ObjectCommand(i, ButtonID) > 0) return true;
    }
  return false;
}

void TAPropertylVariable::SetCheckState(int I, bool MakeSelect, txapi::CheckStateEnum V)
{
  if (!ValidIndex(I)) return;
  auto mark = [&](int i, txapi::CheckStateEnum state) {
    const TPropertylVariable& v = FArray[i];
    if (v.Type == TVariablePtr::pvAOfComEntity) {
      if (SmartPtr<txapi::IPropertyEditList> l(v.Control); l) l->SetCheckState(state);
    } else if (SmartPtr<txapi::IPropertyEdit> e(v.Control); e) {
      e->SetCheckState(state);
    }
  };
  if (ValidIndex(Selected)) mark(Selected, txapi::txCheckVariable);
  if (MakeSelect) Selected = I;
  mark(I, V);
}

SmartPtr<txapi::IPropertyControl> TAPropertylVariable::GetControl(void* Pointer, bool NeedOwner) const
{
  for (int i = 0; i < Count; ++i) {
    const TPropertylVariable& v = FArray[i];
    if (v.Type == TVariablePtr::pvEmpty || v.PData != Pointer) continue;
    return SmartPtr<txapi::IPropertyControl>(NeedOwner && v.Owner ? v.Owner : v.Control);
  }
  return {};
}

bool TAPropertylVariable::SetVisible(void* Pointer, bool iVisible) const
{
  SmartPtr<txapi::IPropertyControl> c = GetControl(Pointer, true);
  if (!c) return false;
  c->SetVisible(iVisible);
  return true;
}

int TAPropertylVariable::IndexOf(void* Pointer) const
{
  for (int i = 0; i < Count; ++i)
    if (FArray[i].Type != TVariablePtr::pvEmpty && FArray[i].PData == Pointer) return i;
  return -1;
}

int TAPropertylVariable::Sender(SmartPtr<txapi::IAPIObject> Control) const
{
  for (int i = 0; i < Count; ++i)
    if (FArray[i].Type != TVariablePtr::pvEmpty && Same(FArray[i].Control, Control.get())) return i;
  return -1;
}

void TAPropertylVariable::Reset(void* Pointer, const TArrayOf<TString>& A, int Current, const TString& Name)
{
  const int i = IndexOf(Pointer);
  if (i < 0 || FArray[i].Type != TVariablePtr::pvAdapter) return;
  SmartPtr<txapi::IPropertyList> l(FArray[i].Control);
  if (!l) return;
  if (!Name.Empty()) l->SetCaption(DC(Name).toWideChar());
  l->ClearItems();
  std::vector<std::wstring> items;
  for (const TString& s : A)
    items.emplace_back(s.toWideChar());
  l->SetItems(items);
  l->SetCurrentIndex(Current == -1 ? 0 : Current);
  l->SetVisible(true);
}
