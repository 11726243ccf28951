#pragma once
// The 2D coupling command: a phantom of the chosen coupling follows the cursor, and each click draws it
// as one block (a macro object inside a drawing group) that carries its parameter block, so that the
// same command can rebuild the block in place later.
#include "Duvozadu/pmCommands.h"
#include "hxcadkit/commands/pmCommon.h"
#include "txapi/IPropertyControl.h"

class TpmCouplingBlock2D : public TProcessManager2D, public TCouplingPanel
{
public:
  TpmCouplingBlock2D();
  ~TpmCouplingBlock2D() override;

  bool ChangeControlValue(TControlPtr Control) override;
  bool ButtonClick(int ButtonID) override;
  void RedrawPhantom(double x, double y, double angle) override;
  bool CreateObject(double x, double y, double angle) override;
  using TProcessManager2D::RedrawPhantom;

  SmartPtr<txapi::IPropertyCheckBox> cSpcObj;
  SmartPtr<txapi::IPropertyCheckBox> cPosLeader;
  TEnum ATView;

  // The cascade's steps, each ending by handing on to the control of the next field.
  void CouplingStep();
  void TorqueStep();
  void FirstDiameterStep();
  void FinalStep();

private:
  // A block under edit whose stored bytes name a coupling type of the catalogue that can be drawn.
  bool StoredBlockDrawable = false;
  // Whether a preview has drawn the block under edit anew since it was read or restored.
  bool EditedBlockRedrawn = false;
  bool Next(TAdapter& field);
  // Draws the coupling anew into a temporary group that becomes the content of the block under edit;
  // false, with the block as it was, when the document gives no group.
  bool RedrawEditedBlock();
  // Draws the block under edit again as it stands stored, when a preview has drawn it anew: Esc, and an Enter
  // whose coupling cannot be drawn, leave the drawing as it was before the edit.
  void RestoreEditedBlock();
};

// The running 2D command; null when none runs.
extern TpmCouplingBlock2D* pmCouplingBlock2D;
