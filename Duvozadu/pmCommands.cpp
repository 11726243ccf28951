#include "Duvozadu/pmCommands.h"

#include <memory>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/CplgShared.h"
#include "hxcadkit/core/TextBase.h"

TArrayOf<TString> LTViews{TString("Разрез "), TString("Вид ")};
TArrayOf<TString> LTHalf{TString("Цилиндрическое длинное"), TString("Цилиндрическое короткое"),
                         TString("Коническое длинное"), TString("Коническое короткое")};

TCouplingPanel::TCouplingPanel(int listStep)
    : LDetails(*new TArrayOf<TString>(128, listStep)), LTorque(*new TArrayOf<TString>(128, listStep)),
      LD1(*new TArrayOf<TString>(128, listStep)), LD2(*new TArrayOf<TString>(128, listStep)),
      ADetails(TString("Муфта"), &ControlModel.CouplingName, false, LDetails, false),
      ATorque(TString("Момент"), &ControlModel.M, false, LTorque, false),
      AD1(TString("Вал 1"), &ControlModel.P1d, false, LD1, false),
      AD2(TString("Вал 2"), &ControlModel.P2d, false, LD2, false),
      T1(TString("Тип "), &ControlModel.T1, false, LTHalf, false),
      T2(TString("Тип "), &ControlModel.T2, false, LTHalf, false)
{
}

TCouplingPanel::~TCouplingPanel()
{
  delete Table;
  delete &LDetails;
  delete &LTorque;
  delete &LD1;
  delete &LD2;
}

void TCouplingPanel::FillDetails()
{
  LDetails.Count = 0;
  Couplings.GetNames(LDetails);
  const int i = ADetails.Index(ControlModel.CouplingName);
  LDetails.Current = i >= 0 ? i : 0;
  ADetails.SetI(0);
}

bool TCouplingPanel::LoadMainTable(TString& Name)
{
  delete Table;
  Table = nullptr;
  Name = Couplings.GetNameTable(ControlModel.CouplingName, 1);
  Table = TextBase.GetTable(Name);
  return Table != nullptr;
}

void TCouplingPanel::FillTorque()
{
  if (Table == nullptr) return;
  Table->toLD(0, LTorque, TAdapter::strNotSpecified);
  // Each size is listed once, not once per bore of it.
  int kept = LTorque.Count > 0 ? 1 : 0;
  for (int i = 1; i < LTorque.Count; ++i)
    if (kept < 2 || !(LTorque[i] == LTorque[kept - 1])) LTorque[kept++] = LTorque[i];
  LTorque.Count = kept;
}

int TCouplingPanel::OpeningTorque(bool stored)
{
  const int i = stored ? IndexOf(ATorque, ControlModel.M) : -1;
  LTorque.Current = i > 0 ? i : 0;
  return LTorque.Current;
}

int TCouplingPanel::FillD1()
{
  if (Table == nullptr) return 0;
  if (TorqueSpecified())
    Table->toLDfrom(Table->Control, ControlModel.M, 0, LD1);
  else
    Table->toLD(Table->Control, LD1, TString());
  return LD1.Count;
}

int TCouplingPanel::FillD2()
{
  if (Table == nullptr) return 0;
  if (TorqueSpecified()) {
    // The size of the chosen torque, never a smaller one whose largest bore is this diameter.
    const TGroupRows g = GroupRows(Table, ControlModel.M, ControlModel.P1d, ControlModel.P1d);
    if (g.R1) ControlModel.M = g.Torque;
    Table->toLDfrom(Table->Control, ControlModel.M, 0, LD2);
  } else {
    Table->toLD(Table->Control, LD2, TString());
  }
  return LD2.Count;
}

void TCouplingPanel::ResolveTorque()
{
  if (TorqueSpecified() || Table == nullptr) return;
  ControlModel.M = GroupRows(Table, 0.0, ControlModel.P2d, ControlModel.P1d).Torque;
}
