#include "Duvozadu/pmCommands.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

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

bool TCouplingPanel::LoadMainTable(TAPropertylVariable& panel, TString& why)
{
  delete Table;
  Table = Couplings.ReadMain(ControlModel.CouplingName, why);
  if (Table) return true;
  for (auto [adapter, list] :
       {std::pair<TAdapter*, TArrayOf<TString>*>{&ATorque, &LTorque}, {&AD1, &LD1}, {&AD2, &LD2}}) {
    list->Count = 0;
    panel.Reset(adapter, *list, 0, TString());
  }
  return false;
}

void TCouplingPanel::FillColumn(TArrayOf<TString>& list, int column, double torque, const TString& head) const
{
  list.Clear();
  if (!head.Empty()) list.Add(head);
  if (Table == nullptr || column < 0 || column >= Table->CountColumn) return;
  std::vector<double> values;
  for (int i = 0; i < Table->CountRow; ++i)
    if (std::isnan(torque) || Table->Row(i)[0] == torque) values.push_back(Table->Row(i)[column]);
  std::sort(values.begin(), values.end());
  list.ReserveSize(list.Count + Integer(values.size()));
  // Values that show alike are one entry: the lists match values by their text.
  for (const double v : values)
    if (list.Count == (head.Empty() ? 0 : 1) || !(ValueText(v) == list.Last())) list.Add(ValueText(v));
}

void TCouplingPanel::FillTorque()
{
  FillColumn(LTorque, 0, NAN, TAdapter::strNotSpecified);
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
  FillColumn(LD1, Table->Control, TorqueSpecified() ? ControlModel.M : NAN, TString());
  return LD1.Count;
}

int TCouplingPanel::FillD2()
{
  if (Table == nullptr) return 0;
  if (TorqueSpecified()) {
    // The size of the chosen torque, never a smaller one whose largest bore is this diameter.
    const TGroupRows g = GroupRows(Table, ControlModel.M, ControlModel.P1d, ControlModel.P1d);
    if (g.R1) ControlModel.M = g.Torque;
  }
  FillColumn(LD2, Table->Control, TorqueSpecified() ? ControlModel.M : NAN, TString());
  return LD2.Count;
}

void TCouplingPanel::ResolveTorque()
{
  if (TorqueSpecified() || Table == nullptr) return;
  ControlModel.M = GroupRows(Table, 0.0, ControlModel.P2d, ControlModel.P1d).Torque;
}
