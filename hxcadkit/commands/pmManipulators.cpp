// Manipulators of a 3D command: each is bound to a field of the command through a binding whose index is
// the manipulator's identifier, by which the host reports its events.
#include "hxcadkit/commands/pmCommon.h"

#include <cmath>

namespace {

using txapi::SmartPtr;

// The host's frame of the binding's manipulator; empty when it has none.
SmartPtr<txapi::IPlacement3D> PlacementOf(const TPropertylVariable& v)
{
  SmartPtr<txapi::IBaseManipulator> m(v.Control);
  return m ? m->GetPlacement() : SmartPtr<txapi::IPlacement3D>();
}

// The host's matrix into m, all or nothing: a matrix of another length or with an entry that is not a
// finite number would leave the command's frame unusable.
bool ReadMatrix(txapi::IPlacement3D& p, TMtr3D& m)
{
  const std::vector<double> v = p.GetMatrix();
  for (double d : v)
    if (!std::isfinite(d)) return false;
  return m.from(v);
}

bool IsBound(const TPropertylVariable& v, TVariablePtr::TypeVarianble type, long id)
{
  return v.Type == type && v.Ptr != nullptr && v.IdControl == std::int32_t(id);
}

} // namespace

SmartPtr<txapi::IPlacement3DManipulator> TBaseManager::AddManipulator(bool Visible, TMtr3D& Value,
                                                                      txapi::txManipulatorPrimitiveEnum* P)
{
  if (!Manipulators) return {};
  SmartPtr<txapi::IBaseManipulator> base = Manipulators->Add(txapi::txPlacement3DManipulator);
  if (!base) return {};
  const int id = APropertyVariable.Count;
  base->SetId(id);
  base->SetFlag(true);
  base->SetVisible(Visible);
  std::vector<double> v;
  if (auto place = base->GetPlacement()) place->SetMatrix(Value.to(v));
  SmartPtr<txapi::IPlacement3DManipulator> result(base);
  if (!result) return {};
  bool listed[14] = {};
  for (auto* p = P; p != nullptr && *p >= 1 && *p <= 13; ++p)
    listed[*p] = true;
  for (int k = 1; k <= 13; ++k) {
    result->SetPrimitiveVisible(k, listed[k]);
    result->SetPrimitiveActive(k, false);
  }
  base->Update(true);
  Bind(TVariablePtr::pvMtr3D, &Value, SmartPtr<txapi::IAPIObject>(result)).IdControl = id;
  return result;
}

SmartPtr<txapi::IEditDoubleManipulator> TBaseManager::AddManipulatorEdit(bool Visible, double& Value,
                                                                         const TMtr3D& M)
{
  if (!Manipulators) return {};
  SmartPtr<txapi::IEditDoubleManipulator> result(Manipulators->Add(txapi::txEditDoubleManipulator));
  if (!result) return {};
  SmartPtr<txapi::IBaseManipulator> base(result);
  if (!base) return result;
  const int id = APropertyVariable.Count;
  base->SetId(id);
  std::vector<double> v;
  if (auto place = base->GetPlacement()) {
    place->SetMatrix(M.to(v));
    base->Update(true);
  }
  base->Prepare();
  result->SetValue(Value);
  base->SetVisible(Visible);
  Bind(TVariablePtr::pvReal, &Value, SmartPtr<txapi::IAPIObject>(result)).IdControl = id;
  return result;
}

// The command's frame follows the manipulator's, and every control bound to one of its elements shows it.
static void TakeMatrix(TBaseManager& c, TPropertylVariable& v, txapi::IPlacement3D& place, int i)
{
  if (!ReadMatrix(place, *v.PMtr3D)) return;
  for (auto& e : v.PMtr3D->V)
    c.APropertyVariable.ChangeValue(&e, true, false, nullptr, i);
}

bool TBaseManager::MoveManipulator(int Id, double, double, double, double, bool)
{
  bool result = false;
  for (int i = 0; i < APropertyVariable.Count; ++i) {
    TPropertylVariable& v = APropertyVariable[i];
    if (IsBound(v, TVariablePtr::pvReal, Id)) {
      SmartPtr<txapi::IEditDoubleManipulator> m(v.Control);
      if (!m) continue;
      m->SetValue(*v.PDataReal);
      APropertyVariable.ChangeValue(v.Ptr, true, false, nullptr, i);
      if (!DragManipulator) RedrawPhantom();
      result = true;
    } else if (IsBound(v, TVariablePtr::pvMtr3D, Id)) {
      auto place = PlacementOf(v);
      if (!place) continue;
      TakeMatrix(*this, v, *place, i);
      if (!DragManipulator) RedrawPhantom();
    }
  }
  return result;
}

bool TBaseManager::RotateManipulator(int Id, double, double, double, double axisX, double axisY, double axisZ,
                                     double angle, bool)
{
  for (int i = 0; i < APropertyVariable.Count; ++i) {
    TPropertylVariable& v = APropertyVariable[i];
    if (!IsBound(v, TVariablePtr::pvMtr3D, Id)) continue;
    auto place = PlacementOf(v);
    if (!place) continue;
    const bool handled = axisX != 0.0   ? RotateManipulatorAxisX(Id, angle)
                         : axisY != 0.0 ? RotateManipulatorAxisY(Id, angle)
                         : axisZ != 0.0 ? RotateManipulatorAxisZ(Id, angle)
                                        : false;
    std::vector<double> m;
    if (handled)
      place->SetMatrix(v.PMtr3D->to(m));
    else
      TakeMatrix(*this, v, *place, i);
    if (!DragManipulator) RedrawPhantom();
  }
  return false;
}

bool TBaseManager::ChangeManipulatorValue(long Id, long, double)
{
  bool result = false;
  for (int i = 0; i < APropertyVariable.Count; ++i) {
    TPropertylVariable& v = APropertyVariable[i];
    if (!IsBound(v, TVariablePtr::pvReal, Id)) continue;
    result = true;
    SmartPtr<txapi::IEditDoubleManipulator> m(v.Control);
    if (!m) continue;
    const double typed = m->GetValue();
    if (!std::isfinite(typed)) continue;
    *v.PDataReal = typed;
    APropertyVariable.ChangeValue(v.Ptr, true, false, nullptr, i);
    RedrawPhantom();
  }
  return result;
}

// The host's value-change event reaches the bound double (the receiver's own answer would drop it).
bool TBaseManager::ChangeManipulatorValue(int Id, txapi::txManipulatorPrimitiveEnum primitiveType,
                                          double newValue)
{
  return ChangeManipulatorValue(long(Id), long(primitiveType), newValue);
}
