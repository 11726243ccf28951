#pragma once
// The 3D coupling command: a panel bound to ControlModel, a phantom part that follows the user's
// picks of planar faces, axes and vertices, and on confirmation the coupling built as an assembly
// and inserted as a component of the active assembly, with its parameters stored on it so that the
// same command can edit it again.
#include "Duvozadu/pmCommands.h"
#include "hxcadkit/commands/pmCommon.h"
#include <vector>

#include "txapi/IMateConstraint3D.h"
#include "txapi/IModelObject.h"
#include "txapi/IPart.h"
#include "txapi/IPropertyControl.h"
#include "txapi/ITavrixDocument.h"

class TpmCoupling3D : public TBaseManager3D, public TCouplingPanel
{
public:
  TpmCoupling3D();
  ~TpmCoupling3D() override;

  void UpdateRun() override;
  bool ChangeControlValue(TControlPtr Control) override;
  bool CanSelect(const TObj& iEntity) override;
  bool Select(const TObj& iEntity) override;
  bool ButtonClick(int ButtonID) override;
  bool ControlCommand(TControlPtr Control, int ButtonID) override;

  // Writes the coupling's diameters into the phantom's variables, never into the coupling under edit; always
  // false.
  bool SetParam(SmartPtr<txapi::IPart>& Part);
  // Reads Part's plane, axis and the three objects they are mated to.
  void GetConstraint(SmartPtr<txapi::IPart>& Part);
  // Mates the component just inserted to the picked (or inherited) objects.
  void SetConstraint();

  SmartPtr<txapi::ITavrixDocument> ActiveDoc;
  SmartPtr<txapi::IPropertyCheckBox> cSpcObj;
  int Direction = 1;
  SmartPtr<txapi::IModelObject> Axes;
  SmartPtr<txapi::IModelObject> Plane;
  SmartPtr<txapi::IModelObject> SelPoint;
  SmartPtr<txapi::IModelObject> SelAxes;
  SmartPtr<txapi::IModelObject> SelPlane;

private:
  // The mates the picks added to the phantom; a cancelled edit takes them off the old instance.
  std::vector<SmartPtr<txapi::IMateConstraint3D>> PickMates;
  // Whether Control is the panel control bound to the adapter.
  bool Is(const TControlPtr& Control, TAdapter& A) const;
  void Cascade(TAdapter& Next);
  bool Confirm();
  void Cancel();
};
