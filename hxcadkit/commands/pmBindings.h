#pragma once
// Bindings of a command's fields to its property controls. A binding ties one variable, known by its
// address and kind, to one host control; the command's set of bindings copies a changed control into its
// variable and a changed variable into every control bound to it, then tells the command.
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/TPointer.h"
#include "txapi/Enums.h"
#include "txapi/IPropertyControl.h"
#include "txapi/SmartPtr.h"

class TBaseManager;
namespace drApi {
class TAOfComEntity;
}
namespace txapi {
class IModelObject;
class ITavrixAPIObject;
}

class TPropertylVariable : public TVariablePtr
{
public:
  using TC = txapi::SmartPtr<txapi::IAPIObject>;
  using TeChooseManager = txapi::txChooseManagerTypeEnum;
  using Str = TString;

  TPropertylVariable() = default;
  TPropertylVariable(const TPropertylVariable& other) : TVariablePtr(other) { *this = other; }
  // Copies every field, Owner and Delta included: the set moves its bindings by assignment when it grows,
  // and a binding that lost its owner would leave its point control's group.
  TPropertylVariable& operator=(const TPropertylVariable& other);

  TC Control;             // the control that shows the value
  TC Owner;               // the enclosing control of a group refreshed together (a point's coordinates)
  int IdControl = 0;      // the control's identifier on the panel
  TeChooseManager TeCM{}; // the host's highlight group of an object binding
  Str SValue;             // the text an object binding's edit shows while it holds an object
  // The adder's extra datum; the bindings read only Multiply.
  union {
    void* Ptr;
    char** APChar;   // a list of zero-terminated texts
    double Multiply; // the factor of a pvRealMultiply binding
  } Data{.Multiply = 1.0};
};

class TAPropertylVariable : public TArrayOf<TPropertylVariable>
{
public:
  explicit TAPropertylVariable(TBaseManager& owner);

  // A new binding at the end (the entry is reused as it is; the caller fills it).
  TPropertylVariable& Append();

  // The control changed: its value goes into the variable of the first binding of the control, then to the
  // variable's other controls and to the command. False when no binding reads it.
  bool ChangeControlValue(txapi::SmartPtr<txapi::IPropertyControl> Control);
  // The variable at Pointer changed: every control bound to it (but binding Sender) shows the new value;
  // the command is told unless Sender is -2. The result of the last control written.
  bool ChangeValue(void* Pointer, int Sender) const;
  // The same, also setting the controls' visibility and enabled state, and binding them to NewPointer when
  // it is not null.
  bool ChangeValue(void* Pointer, bool Visible, bool ReadOnly, void* NewPointer, int Sender);
  // Writes one binding's variable into its control.
  bool ChangeValue(TPropertylVariable& VI, bool Property, bool Visible, bool ReadOnly) const;
  bool ControlCommand(txapi::SmartPtr<txapi::IPropertyControl> Control, int ButtonID);
  void SetCheckState(int I, bool MakeSelect, txapi::CheckStateEnum V);
  txapi::SmartPtr<txapi::IPropertyControl> GetControl(void* Pointer, bool NeedOwner) const;
  bool SetVisible(void* Pointer, bool iVisible) const;
  int IndexOf(void* Pointer) const;
  int Sender(txapi::SmartPtr<txapi::IAPIObject> Control) const;
  void Reset(void* Pointer, const TArrayOf<TString>& A, int Current, const TString& Name);

  // Object selection into the current target (the binding at Selected): may the picked object go in, and
  // toggling it there; the second Select toggles it in the face list Faces whichever binding is current.
  bool CanSelect(txapi::SmartPtr<txapi::IModelObject>& Entity);
  bool Select(txapi::SmartPtr<txapi::IModelObject>& Entity);
  bool Select(drApi::TAOfComEntity& Faces, txapi::SmartPtr<txapi::IModelObject>& Entity);
  bool IsSelected(void* Pointer) const;
  bool ControlIs(txapi::SmartPtr<txapi::ITavrixAPIObject> Control, void* Pointer) const;

  TBaseManager& BaseManager; // the command the set belongs to, told of every value change
  int Selected = -1;         // the binding whose control is the current selection target
  mutable int Current = -1;  // the last binding handled

private:
  // The object kinds' parts of ChangeValue and ControlCommand; ObjectCommand answers 1 for true, -1 to go on.
  bool ShowObjects(TPropertylVariable& VI, bool Property, bool Visible, bool ReadOnly) const;
  int ObjectCommand(int i, int ButtonID);
  // Writes binding i (and its owner group) for ChangeValue(Pointer, Sender).
  bool Refresh(int i, int Sender) const;
};
