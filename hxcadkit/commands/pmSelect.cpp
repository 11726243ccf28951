// Object-selection controls of a command and the selection through their bindings: the objects the user
// picks in the 3D view go into the current target (one object, or a list of adjacent faces) and are
// highlighted in the target's highlight group.
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/commands/pmCommon.h"
#include "txapi/IFace.h"

#include <cstdio>

using txapi::SmartPtr;
using Obj = SmartPtr<txapi::IModelObject>;

namespace {

drApi::TSelectorAPI& Sel()
{
  return drApi::TSelectorAPI::Instance();
}

SmartPtr<txapi::ITavrixAPIObject> Tav(const Obj& o)
{
  return SmartPtr<txapi::ITavrixAPIObject>(o);
}

TString RowText(const char* utf8, int n)
{
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", n);
  return TString(utf8) + TString(digits);
}

// The variables of the object kinds, as their adders bound them.
Obj& HeldOf(const TPropertylVariable& v)
{
  return *static_cast<Obj*>(v.PIModelObjectPtr);
}
drApi::TAOfComEntity& FacesOf(const TPropertylVariable& v)
{
  return *static_cast<drApi::TAOfComEntity*>(v.PAOfComEntity);
}

bool SameObject(const Obj& a, const Obj& b)
{
  return a && b && a == b;
}

bool IsObjectKind(int type)
{
  return type == TVariablePtr::pvIModelObjectPtr || type == TVariablePtr::pvIModelObjectPtrPlaneFace;
}

void SetEditText(const TPropertylVariable& v, const TString& text)
{
  if (SmartPtr<txapi::IPropertyEdit> e(v.Control); e) e->SetText(text.toWideChar());
}

// Adds Entity to the face list or takes it out, keeping the rows numbered 1 to n.
bool Toggle(drApi::TAOfComEntity& faces, txapi::IPropertyEditList& list, Obj& Entity)
{
  const int k = faces.IndexOfByEqu(Entity);
  if (k < 0) {
    faces.Add(Entity);
    list.AddRow(RowText("Поверхность ", faces.Count).toWideChar());
    Sel().Choose(Tav(Entity));
  } else {
    list.RemoveRow(faces.Count - 1);
    faces.Delete(k);
    Sel().UnChoose(Tav(Entity));
  }
  return true;
}

} // namespace

SmartPtr<txapi::IPropertyEditList> TBaseManager::AddEditValue(const TString& Name, const TString& Hint,
                                                              drApi::TAOfComEntity& ValueFaces, bool,
                                                              bool Visible,
                                                              txapi::txChooseManagerTypeEnum TE1)
{
  const TString name = DC(Name);
  auto list = AddEditList(name, Hint, true);
  if (!list) return list;
  list->SetBoolOption(true);
  TPropertylVariable& v = Bind(TVariablePtr::pvAOfComEntity, &ValueFaces, SmartPtr<txapi::IAPIObject>(list));
  v.TeCM = TE1;
  v.SValue = TString();
  list->SetVisible(Visible);
  const bool first = APropertyVariable.Selected == -1;
  APropertyVariable.SetCheckState(APropertyVariable.Count - 1, first,
                                  first ? txapi::txCheckCurrent : txapi::txCheckVariable);
  APropertyVariable.ChangeValue(&ValueFaces, true, false, nullptr, -1);
  return list;
}

SmartPtr<txapi::IPropertyEditCheckBox> TBaseManager::AddEditObj(const TString& Name, const TString& Hint,
                                                                const TString& Value, Obj& Entity,
                                                                bool Visible,
                                                                txapi::txChooseManagerTypeEnum TE1, bool)
{
  const TString name = DC(Name);
  auto box = AddEditCheckBox(name, Hint, false);
  if (!box) return box;
  const TString what = DC(Value);
  box->SetCheckText((DC(TString("Укажите")) + TString(" ") + what).toWideChar());
  TPropertylVariable& v = Bind(TVariablePtr::pvIModelObjectPtr, &Entity, SmartPtr<txapi::IAPIObject>(box));
  v.SValue = what;
  v.TeCM = TE1;
  if (SmartPtr<txapi::IPropertyEdit> edit(box); edit) {
    const bool first = APropertyVariable.Selected == -1;
    APropertyVariable.SetCheckState(APropertyVariable.Count - 1, first,
                                    first ? txapi::txCheckCurrent : txapi::txCheckVariable);
    edit->SetText(Entity ? what.toWideChar() : TString().toWideChar());
  }
  if (Visible) {
    Sel().SetCurrentManagerType(TE1);
    Sel().Choose(Tav(Entity));
  } else if (SmartPtr<txapi::IPropertyControl> c(box); c) {
    c->SetVisible(false);
  }
  return box;
}

SmartPtr<txapi::IPropertyEditCheckBox>
TBaseManager::AddEditPlaneFace(const TString& Name, const TString& Hint, const TString& Value, Obj& Entity,
                               bool Visible, txapi::txChooseManagerTypeEnum TE1, bool)
{
  auto box = AddEditObj(Name, Hint, Value, Entity, Visible, TE1, false);
  if (box) APropertyVariable[APropertyVariable.Count - 1].Type = TVariablePtr::pvIModelObjectPtrPlaneFace;
  return box;
}

bool TAPropertylVariable::CanSelect(Obj& Entity)
{
  if (!Entity || Count == 0 || !ValidIndex(Selected)) return false;
  Current = Selected;
  TPropertylVariable& v = FArray[Selected];
  if (v.PData == nullptr) return false;
  switch (v.Type) {
  case TVariablePtr::pvIModelObjectPtrPlaneFace: {
    if (Entity->GetType() != txapi::o3d_face) return false;
    SmartPtr<txapi::IFace> f(Entity);
    return f && f->IsPlanar();
  }
  case TVariablePtr::pvIModelObjectPtr:
    return !HeldOf(v) || SameObject(HeldOf(v), Entity);
  case TVariablePtr::pvAOfComEntity: {
    drApi::TAOfComEntity& faces = FacesOf(v);
    if (faces.Count == 0 || faces.IndexOfByEqu(Entity) >= 0) return true;
    SmartPtr<txapi::IFace> f(Entity);
    return f && faces.IsLinked(f);
  }
  default:
    return false;
  }
}

bool TAPropertylVariable::Select(Obj& Entity)
{
  if (!Entity || Count == 0 || !ValidIndex(Selected)) return false;
  Current = Selected;
  TPropertylVariable& v = FArray[Selected];
  if (v.PData == nullptr) return false;
  if (v.Type == TVariablePtr::pvAOfComEntity) {
    SmartPtr<txapi::IPropertyEditList> list(v.Control);
    if (!list) return false;
    Sel().SetCurrentManagerType(v.TeCM);
    return Toggle(FacesOf(v), *list, Entity);
  }
  if (!IsObjectKind(v.Type)) return false;
  Sel().SetCurrentManagerType(v.TeCM);
  Obj& held = HeldOf(v);
  if (SameObject(held, Entity)) {
    Sel().UnChoose(Tav(held));
    held = nullptr;
    SetEditText(v, TString());
  } else {
    Sel().Choose(Tav(Entity));
    held = Entity;
    SetEditText(v, v.SValue);
  }
  return true;
}

bool TAPropertylVariable::Select(drApi::TAOfComEntity& Faces, Obj& Entity)
{
  if (!Entity || Count == 0) return false;
  for (int i = 0; i < Count; ++i) {
    TPropertylVariable& v = FArray[i];
    if (v.Type != TVariablePtr::pvAOfComEntity || v.PData != &Faces) continue;
    SmartPtr<txapi::IPropertyEditList> list(v.Control);
    if (!list) continue;
    Current = i;
    return Toggle(Faces, *list, Entity);
  }
  return false;
}

bool TAPropertylVariable::IsSelected(void* Pointer) const
{
  return ValidIndex(Selected) && FArray[Selected].PData == Pointer;
}

bool TAPropertylVariable::ControlIs(SmartPtr<txapi::ITavrixAPIObject> Control, void* Pointer) const
{
  for (int i = 0; i < Count; ++i) {
    const TPropertylVariable& v = FArray[i];
    if (v.Type != TVariablePtr::pvEmpty && v.Control && Control && v.Control == Control)
      return v.PData == Pointer;
  }
  return false;
}

// An object binding's control shows what it holds, and its objects are highlighted.
bool TAPropertylVariable::ShowObjects(TPropertylVariable& VI, bool Property, bool Visible,
                                      bool ReadOnly) const
{
  if (VI.Type == TVariablePtr::pvAOfComEntity) {
    SmartPtr<txapi::IPropertyEditList> list(VI.Control);
    if (!list) return false;
    list->ClearRows();
    const drApi::TAOfComEntity& faces = FacesOf(VI);
    for (int k = 0; k < faces.Count; ++k) {
      list->AddRow(RowText(faces[k] ? "Поверхность " : "Потерян обект", k + 1).toWideChar());
      Sel().Choose(Tav(faces[k]));
    }
    return false;
  }
  if (SmartPtr<txapi::IPropertyEdit> e(VI.Control); e) {
    e->SetText(HeldOf(VI) ? VI.SValue.toWideChar() : TString().toWideChar());
    if (Property) {
      e->SetVisible(Visible);
      e->SetEnabled(!ReadOnly);
    }
  }
  Sel().SetCurrentManagerType(VI.TeCM);
  Sel().UnChooseAll();
  Sel().Choose(Tav(HeldOf(VI)));
  return false;
}

// Button 0 of an object control makes it the current target; button 2 clears what it holds.
int TAPropertylVariable::ObjectCommand(int i, int ButtonID)
{
  TPropertylVariable& v = FArray[i];
  if (v.PData == nullptr) return -1;
  if (IsObjectKind(v.Type)) {
    if (ButtonID == 0) SetCheckState(i, true, txapi::txCheckCurrent);
    if (ButtonID != 2) return -1;
    SetCheckState(i, true, txapi::txCheckCurrent);
    SetEditText(v, TString());
    Sel().SetCurrentManagerType(v.TeCM);
    Sel().UnChoose(Tav(HeldOf(v)));
    HeldOf(v) = nullptr;
    return 1;
  }
  if (v.Type != TVariablePtr::pvAOfComEntity) return -1;
  SmartPtr<txapi::IPropertyEditList> list(v.Control);
  if (!list) return -1;
  if (ButtonID == 0) SetCheckState(Current, true, txapi::txCheckCurrent);
  if (ButtonID != 2) return 1;
  SetCheckState(Current, true, txapi::txCheckCurrent);
  Sel().SetCurrentManagerType(v.TeCM);
  drApi::TAOfComEntity& faces = FacesOf(v);
  for (int k = list->GetRowCount() - 1; k >= 0; --k)
    if (k < faces.Count && list->IsRowSelected(k)) {
      Sel().UnChoose(Tav(faces[k]));
      list->RemoveRow(faces.Count - 1);
      faces.Delete(k);
    }
  return 1;
}
