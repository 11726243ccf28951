#pragma once
// Inserting a part file into the active assembly: the part is shown as the command's phantom while the
// user snaps it to the assembly by picking a planar face (its base plane goes onto it), a face with an axis
// (its base axis becomes concentric with it) or a vertex (which goes onto its base axis). Confirming makes
// the component at the phantom's placement and turns the picks into permanent mates.
#include "hxcadkit/commands/pmCommon.h"
#include "txapi/IMateConstraint3D.h"
#include "txapi/IMateConstraints3D.h"
#include "txapi/ITavrixDocument.h"

#include <cstdint>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Woverloaded-virtual"

class TpmInsertModel : public TBaseManager3D
{
public:
  TpmInsertModel(const TString& DetNamePath, SmartPtr<txapi::IPart>& iEdit);
  ~TpmInsertModel() override;

  void UpdateRun() override;
  bool ButtonClick(int ButtonID) override;
  bool ControlCommand(SmartPtr<txapi::IPropertyControl> Control, int ButtonID) override;
  bool ButtonUpdate(int buttonId, bool& enable, int& checked) override;
  bool ECanSelect(SmartPtr<txapi::IModelObject> Entity) override;
  bool ESelect(SmartPtr<txapi::IModelObject> Entity) override;

  // The base axis and plane of the part: named "MateAxes" and "MatePlane" when it has them.
  void GetMateConstraintBaseEntity(SmartPtr<txapi::IPart>& Part);
  // The picks that the component's existing mates with its base axis and plane stand for.
  void GetMateConstraint(SmartPtr<txapi::IPart>& Part);
  // The plane and axis picks again as live mates of the placement process.
  bool SetStartMateConstraint();
  // The picks as permanent mates of the component just made.
  void SetMateConstraint();

  SmartPtr<txapi::IPropertyEdit> eName;
  SmartPtr<txapi::IPropertyMultiButton> bDirect;
  TString NamePath;
  // Re-orienting existing mates would rebuild around this one; nothing stores a mate here yet.
  SmartPtr<txapi::IMateConstraint3D> M1;
  SmartPtr<txapi::IMateConstraints3D> MC;
  txapi::txMateConstraintAlignmentEnum Direction = txapi::txMCAlignmentCooriented;
  SmartPtr<txapi::IModelObject> Axes;
  SmartPtr<txapi::IModelObject> Plane;
  SmartPtr<txapi::IModelObject> SelPoint;
  SmartPtr<txapi::IModelObject> SelAxes;
  SmartPtr<txapi::IModelObject> SelPlane;
  SmartPtr<txapi::ITavrixDocument> ActiveDoc;
  txapi::DocumentTypeEnum tDoc = txapi::DocumentTypeEnum(0);
  SmartPtr<txapi::IPart> Edit;
  SmartPtr<txapi::IPart> Detail;
  // Hides the receivers' Activate handlers on purpose: the first button-state query of a run has set up
  // the starting mates.
  bool Activate = false;
  bool MakeMate = true;

private:
  // A new mate of the kind in the process's collection, set up on the part's object and the picked one.
  void ProcessMate(txapi::MateConstraintType Kind, SmartPtr<txapi::IModelObject>& Own,
                   SmartPtr<txapi::IModelObject>& Picked, int Fixed);
  void ShowSelected(SmartPtr<txapi::IModelObject> Slot1, SmartPtr<txapi::IModelObject> Slot2,
                    SmartPtr<txapi::IModelObject> Slot3);
};

#pragma GCC diagnostic pop

using TPPreprocessRun = void (*)(TpmInsertModel&);

// Inserts the part file into the active assembly; the new component, empty when nothing was inserted.
txapi::SmartPtr<txapi::IPart> cmInsertModel(const TString& DetNamePath, txapi::SmartPtr<txapi::IPart>& Edit,
                                            TPPreprocessRun Preprocess);
