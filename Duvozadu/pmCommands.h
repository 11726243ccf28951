#pragma once
// The library's coupling commands: the 3D command places a coupling into the active assembly,
// the 2D command draws it as a block into the active drawing or fragment.
#include "hxcadkit/commands/pmBindings.h"
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/TPointer.h"
#include "hxcadkit/core/TTable.h"

// The drawing kinds of the 2D command (section, view) and the bore types of a half-coupling.
extern TArrayOf<TString> LTViews;
extern TArrayOf<TString> LTHalf;

// Each runs its command in the active document and returns when the command has ended.
bool pmCouplingBlock3D();
bool PmCouplingBlock2D();

// The choice lists both coupling commands show, bound to ControlModel: the coupling type, the
// torque, the two shaft diameters and the two bore types, with the coupling type's main table
// they are filled from. A command derives from its command base first and from this second, and
// runs the cascade type -> torque -> first diameter -> second diameter in its ChangeControlValue
// with the steps below.
class TCouplingPanel
{
public:
  // listStep: the growth step of the four lists the panel owns.
  explicit TCouplingPanel(int listStep);
  virtual ~TCouplingPanel();
  TCouplingPanel(const TCouplingPanel&) = delete;
  TCouplingPanel& operator=(const TCouplingPanel&) = delete;

  // The number of a list, as the lists show and match values.
  static TString ValueText(double v) { return TString(v, 2, true, 7); }
  // The index of v's text among the adapter's choices; -1 when none shows it.
  static int IndexOf(const TAdapter& a, double v) { return a.Index(ValueText(v)); }

  // Fills the coupling-type list and selects ControlModel's coupling type in it (the first type
  // when it is none of them), writing the selection back.
  void FillDetails();
  // Replaces Table by the main table of ControlModel's coupling type when every table its builders read can
  // be read as a build reads them. Otherwise false, with why (the table and row at fault, or the text base
  // that could not be read), and the torque and shaft lists shown empty in panel: a coupling whose data
  // cannot be read offers nothing that every click would then refuse, and never another coupling's values.
  bool LoadMainTable(TAPropertylVariable& panel, TString& why);
  // "*" followed by every torque of the table, each once, ascending.
  void FillTorque();
  // Selects in the torque list the torque a type opens on: "*", so that every size is listed and the
  // shafts chosen next decide the size, as in a new command; with stored set, the model's torque when the
  // list has it, so that a coupling under edit is rebuilt as the coupling it is. The index.
  int OpeningTorque(bool stored);
  // Whether a torque other than "*" is chosen.
  bool TorqueSpecified() const { return ATorque.IsSpecified(); }
  // The first shaft's diameters, each once, ascending: of the rows of the chosen torque, or of every row; the
  // count.
  int FillD1();
  // The second shaft's diameters. With a torque chosen, M becomes the torque of the group built for
  // it (its own, or the first larger one holding P1d) and the list holds that torque's diameters; a
  // P1d above every row keeps M and lists its rows (there is no group to take a torque from). With "*",
  // every row's. Each once, ascending; the count.
  int FillD2();
  // With "*" chosen, M becomes the torque of the smallest size holding both diameters (0 when none
  // does), the coupling that is then built and designated.
  void ResolveTorque();

  // Whether the lists are empty because the chosen coupling's data cannot be read: the panel has said why,
  // and a click or Enter on it places nothing and does not say it again.
  bool Unreadable() const { return Table == nullptr; }

  TTable* Table = nullptr;
  bool Init = false;
  TArrayOf<TString>& LDetails;
  TArrayOf<TString>& LTorque;
  TArrayOf<TString>& LD1;
  TArrayOf<TString>& LD2;
  TAdapterOf<TString, TAdapter::pvStr> ADetails;
  TAdapterOf<double, TAdapter::pvReal> ATorque;
  TAdapterOf<double, TAdapter::pvReal> AD1;
  TAdapterOf<double, TAdapter::pvReal> AD2;
  TEnum T1;
  TEnum T2;

private:
  // list: the column's values, of the rows whose torque is torque (every row when it is NaN), each once,
  // ascending, after head when it is not empty.
  void FillColumn(TArrayOf<TString>& list, int column, double torque, const TString& head) const;
};
