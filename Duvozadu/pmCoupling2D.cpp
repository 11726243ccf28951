#include "Duvozadu/pmCoupling2D.h"

#include <memory>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/pmCommands.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/commands/pmHost.h"
#include "hxcadkit/core/Messager.h"
#include "txapi/IApplication.h"
#include "txapi/IDocument2DEdit.h"
#include "txapi/IDrawingGroup.h"
#include "txapi/IMacroContent.h"
#include "txapi/IMacroObject.h"
#include "txapi/ISpecificationBaseObject.h"
#include "txapi/ISpecificationBaseObjects.h"
#include "txapi/ISpecificationColumn.h"
#include "txapi/ISpecificationColumns.h"
#include "txapi/ISpecificationDescription.h"
#include "txapi/ISpecificationDescriptions.h"
#include "txapi/ITavrixAPIObject.h"
#include "txapi/ITemporaryGroup.h"
#include "txapi/IText.h"
#include "txapi/IUserParameters.h"

TpmCouplingBlock2D* pmCouplingBlock2D = nullptr;

namespace {

constexpr int CommandNumber = 200;

template <class I> using Ptr = txapi::SmartPtr<I>;

// The builder's mode for the chosen drawing: 1 the section, 2 the view. A stored block may carry any
// number, and no builder answers another mode.
int DrawMode()
{
  return ControlModel.TView == 1 ? 2 : 1;
}

bool DrawCoupling()
{
  return Couplings.drCoupling(ControlModel.CouplingName, DrawMode());
}

bool Same(const TControlPtr& a, const TControlPtr& b)
{
  return a && b && a == b;
}

// The entry a block was entered in the specification with: the one that links the block.
Ptr<txapi::ISpecificationBaseObject> EntryOf(const Ptr<txapi::ITavrixAPIObject>& block)
{
  const Ptr<txapi::ISpecificationDescriptions> all = drApi::MA.R().IDoc;
  const Ptr<txapi::ISpecificationDescription> d = all && block ? all->Find(L"graphic.tsl", 1) : nullptr;
  const Ptr<txapi::ISpecificationBaseObjects> entries = d ? d->GetBaseObjects() : nullptr;
  return entries ? entries->FindLinked(block) : nullptr;
}

// The library's file name as an edited block stores it; a new block stores the name without extension.
const char* const EditedLibraryName = "VUVudirido.so";

} // namespace

TpmCouplingBlock2D::TpmCouplingBlock2D()
    : TProcessManager2D(DC("Муфты"), DC("Выберите точку привязки и угол поворота муфты"),
                        txapi::pnEnterEscHelp, 8, DC("Параметры"), txapi::txProcess2DPlacement),
      TCouplingPanel(128), ATView(TString("Отрисовка"), &ControlModel.TView, false, LTViews, false)
{
  // The panel opens on the model's coupling type (the stored one when a block is edited), so that Enter
  // never rebuilds a block as another coupling.
  const TString stored = ControlModel.CouplingName;
  FillDetails();
  StoredBlockDrawable = ControlModel.EditMode && !ControlModel.DataEditObj.empty() &&
                        ControlModel.CouplingName == stored && Couplings.Buildable(stored);

  AddEditValue(DC("Муфта"), DC("Тип муфты"), ADetails);
  AddEditValue(DC("Момент"), DC("Крутящий момент"), ATorque);
  AddEditValue(DC("Вал 1"), DC("Диаметр вала полумуфты 1"), AD1);
  // The two bore-type lists share their choices: each shows its own value.
  T1.GetCurrent();
  AddEditValue(DC("Тип "), DC("Тип отверстия полумуфты 1"), T1);
  AddEditValue(DC("Вал 2"), DC("Диаметр вала полумуфты 2"), AD2);
  T2.GetCurrent();
  AddEditValue(DC("Тип "), DC("Тип отверстия полумуфты 2"), T2);
  AddSeparator(L"", txapi::txSeparatorDownName);
  ATView.GetCurrent();
  AddEditValue(DC("Отрисовка"), DC("Отрисовка муфты"), ATView);

  AddTab(DC("Спецификация"), true);
  cSpcObj = AddCheckBox(DC("Спецификация"), DC("Создавать объект спецификации"), ControlModel.NeedSpcObj,
                        false, true);
  cPosLeader =
      AddCheckBox(DC("Позиция"), DC("Создавать линию-выноску"), ControlModel.NeedPosLeader, false, true);

  Init = true;
  ChangeControlValue(APropertyVariable.GetControl(&ADetails, false));
  Init = false;
  SetPhantom(txapi::txMoveGroupPhantom);
}

TpmCouplingBlock2D::~TpmCouplingBlock2D()
{
  if (PhantomGroup) drApi::MA.drDeleteObj(Ptr<txapi::IModelObject>(PhantomGroup));
  // The host is told that the command goes; what it answers is of no use here.
  Quietly([] {
    if (txapi::IApplication* app = CommandHost.Application()) app->CommandClosing(false);
  });
  cPosLeader.reset();
  cSpcObj.reset();
}

bool TpmCouplingBlock2D::Next(TAdapter& field)
{
  return ChangeControlValue(APropertyVariable.GetControl(&field, false));
}

bool TpmCouplingBlock2D::ChangeControlValue(TControlPtr Control)
{
  const bool result = APropertyVariable.ChangeControlValue(Control);
  if (!Control) return result;
  auto is = [&](TAdapter& field) { return Same(Control, APropertyVariable.GetControl(&field, false)); };
  if (Same(Control, TControlPtr(cSpcObj))) {
    ControlModel.NeedSpcObj = cSpcObj->GetChecked();
  } else if (Same(Control, TControlPtr(cPosLeader))) {
    ControlModel.NeedPosLeader = cPosLeader->GetChecked();
  } else if (is(T1)) {
    // The second half takes the first half's bore type, and its list shows it: the panel never shows a
    // type the coupling is not built with.
    ControlModel.T2 = ControlModel.T1;
    APropertyVariable.ChangeValue(&T2, -1);
    Next(AD2);
  } else if (is(T2)) {
    Next(AD2);
  } else if (is(ADetails)) {
    CouplingStep();
  } else if (is(ATorque)) {
    TorqueStep();
  } else if (is(AD1)) {
    FirstDiameterStep();
  } else if (is(ATView)) {
    if (Table) Next(AD2);
  } else if (is(AD2)) {
    FinalStep();
  }
  return result;
}

void TpmCouplingBlock2D::CouplingStep()
{
  TString why;
  if (!LoadMainTable(APropertyVariable, why)) {
    if (!why.Empty()) Messager->LiftBox(why, TMessager::toAlways);
    return;
  }
  FillTorque();
  // The torque goes back to "*" in the list and in its adapter alike; a block under edit opens on its own.
  APropertyVariable.Reset(&ATorque, LTorque, OpeningTorque(Init && ControlModel.EditMode), TString());
  Next(ATorque);
}

void TpmCouplingBlock2D::TorqueStep()
{
  if (FillD1() <= 0) return;
  APropertyVariable.Reset(&AD1, LD1, IndexOf(AD1, ControlModel.P1d), TString());
  Next(AD1);
}

void TpmCouplingBlock2D::FirstDiameterStep()
{
  if (!Table) return;
  if (!Init) ControlModel.P2d = ControlModel.P1d;
  if (FillD2() <= 0) return;
  APropertyVariable.Reset(&AD2, LD2, IndexOf(AD2, ControlModel.P2d), TString());
  Next(AD2);
}

void TpmCouplingBlock2D::FinalStep()
{
  if (!Table) return;
  ResolveTorque();
  // The block under edit is drawn anew as the panel changes only when its stored coupling can be drawn
  // again by Esc; any other stays as it is until Enter.
  if (ControlModel.EditMode && !StoredBlockDrawable) return;
  if (!ControlModel.EditMode) {
    TProcessManager2D::PlacementChanged(ControlModel.pX, ControlModel.pY, ControlModel.pAngle, true);
    return;
  }
  if (drApi::Selector) drApi::Selector->Choose(Ptr<txapi::ITavrixAPIObject>(ControlModel.EditObj));
  // A preview, as the phantom of a new block is: why a coupling cannot be drawn is said once, on Enter.
  const TQuietCouplings quiet;
  RedrawEditedBlock();
}

bool TpmCouplingBlock2D::RedrawEditedBlock()
{
  drApi::MA.drGroup(true);
  Ptr<txapi::IDrawingGroup> group = drApi::MA.R().Obj;
  // Without a group the coupling would land loose in the view; a type the catalogue cannot draw must not
  // leave the block empty.
  const bool drawn = group && DrawCoupling();
  drApi::MA.drEndGroup();
  if (!group) return false;
  if (Ptr<txapi::IMacroContent> block = ControlModel.EditObj; block && drawn) {
    block->SetContent({Ptr<txapi::ITavrixAPIObject>(group)});
    EditedBlockRedrawn = true;
  }
  group->Reset();
  return drawn;
}

void TpmCouplingBlock2D::RestoreEditedBlock()
{
  // The model goes back to what the block stores, and the block is drawn anew from it, as it was drawn when
  // placed; one that no preview has redrawn stays as it is. What the stored coupling would say was said when
  // it was placed.
  if (!StoredBlockDrawable || !ControlModel.from(ControlModel.DataEditObj) || !EditedBlockRedrawn) return;
  const TQuietCouplings quiet;
  RedrawEditedBlock();
  EditedBlockRedrawn = false;
}

void TpmCouplingBlock2D::RedrawPhantom(double, double, double)
{
  // Drawn in the phantom group's own frame: the host places the group at the cursor. Why nothing can
  // be drawn is said once, when the user places the coupling.
  const TQuietCouplings quiet;
  DrawCoupling();
}

bool TpmCouplingBlock2D::ButtonClick(int ButtonID)
{
  if (ButtonID == txapi::pbEnter) {
    if (!ControlModel.EditObj) {
      Stop(1); // the next placement
      return true;
    }
    if (drApi::Selector) drApi::Selector->UnChooseAll();
    CreateObject(ControlModel.pX, ControlModel.pY, ControlModel.pAngle);
    Stop(0);
    return true;
  }
  if (ButtonID != txapi::pbEsc) return false;
  if (ControlModel.EditMode) {
    if (drApi::Selector) drApi::Selector->UnChooseAll();
    RestoreEditedBlock();
  }
  Stop(0);
  return true;
}

bool TpmCouplingBlock2D::CreateObject(double x, double y, double angle)
{
  drApi::TModelerApi& ma = drApi::MA;
  drApi::TRegistryApi& r = ma.R();
  std::vector<std::uint8_t> block;
  if (ControlModel.EditMode) {
    if (drApi::Selector) drApi::Selector->UnChooseAll();
    // A coupling that cannot be drawn leaves the block as it stood before the edit, with its content and its
    // stored bytes: the previews drawn into it go. Why is said once: by the panel when the coupling's data
    // cannot be read, else by the catalogue here.
    if (Unreadable() || !RedrawEditedBlock()) {
      RestoreEditedBlock();
      return true;
    }
    // The block keeps its place: the placement it was read with, not the origin.
    const TMt place{ControlModel.pX, ControlModel.pY, ControlModel.pAngle, 1.0};
    ControlModel.to(block);
    r.MacroObj = ControlModel.EditObj;
    ma.drSetMacro2DParam(block, TString(EditedLibraryName), r.ModuleName, CommandNumber, true, place);
    r.MacroObj.reset();
    // The bill of materials names the coupling drawn.
    if (const Ptr<txapi::ISpecificationBaseObject> entry =
            EntryOf(Ptr<txapi::ITavrixAPIObject>(ControlModel.EditObj))) {
      const Ptr<txapi::ISpecificationColumns> columns = entry->GetColumns();
      const Ptr<txapi::ISpecificationColumn> name = columns ? columns->GetColumn(5, 1, 0) : nullptr;
      if (const Ptr<txapi::IText> text = name ? name->GetText() : nullptr) {
        text->SetString(drApi::W(ControlModel.MainName()));
        entry->Update();
      }
    }
    return true;
  }

  // The panel has said why the chosen coupling's data cannot be read: a click places nothing and does not say
  // it again.
  if (Unreadable()) return false;
  ma.drGroup(true);
  Ptr<txapi::IDrawingGroup> group = r.Obj;
  ma.drMacro2D(true);
  ControlModel.pX = x;
  ControlModel.pY = y;
  ControlModel.pAngle = angle;
  const TMt place{x, y, angle, 1.0};
  ControlModel.to(block);
  ma.drSetMacro2DParam(block, r.FileName, r.ModuleName, CommandNumber, true, place);
  const bool made = DrawCoupling();
  ma.drEndMacro();
  const Ptr<txapi::ITavrixAPIObject> macro{ma.LastObjRef()};
  ma.drEndGroup();
  // Nothing drawn, nothing placed: neither an empty block nor an entry naming no coupling.
  if (!made) {
    if (group) group->Reset();
    return false;
  }
  if (Ptr<txapi::ITemporaryGroup> keep = group) keep->Keep();
  Ptr<txapi::IDrawingObject> drawn = ma.LastObjRef();
  // Earlier placements keep their specification objects: each block has its own entry.
  if (ControlModel.NeedSpcObj) {
    ma.drSpcObj(ControlModel.MainName(), tStandart, drawn);
    ControlModel.RefSpcObj = ma.LastObjRef();
    if (ControlModel.RefSpcObj) {
      ControlModel.SpcObj2 = r.Obj; // the entry drSpcObj has just made
      // The entry links its block, so that an edit of the block can rename it.
      if (Ptr<txapi::ISpecificationBaseObject> entry = ControlModel.SpcObj2; entry && macro) {
        entry->LinkObjects({macro}, false);
        entry->Update();
      }
      if (r.IDoc2D && ControlModel.NeedPosLeader) {
        Ptr<txapi::IDocument2DEdit> doc = r.IDoc2D;
        ControlModel.PosLeaderObj = doc ? doc->NewObject(txapi::txDrLeader) : nullptr;
        Ptr<txapi::ISpecificationBaseObject> entry = ControlModel.SpcObj2;
        if (ControlModel.PosLeaderObj && entry) {
          entry->LinkObjects({Ptr<txapi::ITavrixAPIObject>(ControlModel.PosLeaderObj)}, false);
          entry->Update();
        }
      }
    }
  }
  ControlModel.RefSpcObj.reset();
  return true;
}

bool PmCouplingBlock2D()
{
  drApi::TRegistryApi& r = drApi::MA.R();
  r.IDoc = r.Tavrix7 ? r.Tavrix7->GetActiveDocument() : nullptr;
  if (TBaseManager::CurrentProcessManager != nullptr || !r.IDoc) return false;
  const int type = r.IDoc->GetType();
  if (type != txapi::txDocumentDrawing && type != txapi::txDocumentFragment) {
    Messager->LiftBox(DC("Документ не является Чертежом/Фрагментом/Сборкой"), TMessager::toAlways);
    return false;
  }
  r.IDoc2D = r.IDoc;
  // A drawing that shows no 2D side can neither hand back a block nor take one.
  if (!r.IDoc2D) return false;
  drApi::MA.drOpenView(0);

  Ptr<txapi::IDocument2DEdit> edit = r.IDoc2D;
  Ptr<txapi::IMacroObject> macro = edit ? edit->GetEditedMacro() : nullptr;
  ControlModel.EditObj = macro;
  ControlModel.SpcObj2.reset();
  // Only this block's own bytes may restore it: never those of a block edited before.
  ControlModel.DataEditObj.clear();
  if (macro) {
    if (Ptr<txapi::IUserParameters> p = macro) ControlModel.DataEditObj = p->GetUserData();
    // A block that cannot be read whole, or holds values no size builds, is not edited: rebuilding it from
    // whatever the model held before would replace the user's coupling.
    std::vector<std::uint8_t> before;
    ControlModel.to(before);
    if (ControlModel.DataEditObj.empty() || !ControlModel.from(ControlModel.DataEditObj) ||
        Couplings.Damaged(ControlModel.CouplingName)) {
      ControlModel.from(before);
      ControlModel.EditObj.reset();
      ControlModel.DataEditObj.clear();
      r.IDoc2D.reset();
      Messager->LiftBox(DC("Параметры муфты повреждены: блок не изменен"), TMessager::toAlways);
      return true;
    }
    // Whether the host had a placement to report does not matter: a block without one stands at the origin.
    double x = 0, y = 0, angle = 0;
    macro->GetPlacement(x, y, angle);
    ControlModel.pX = x;
    ControlModel.pY = y;
    ControlModel.pAngle = angle;
  }
  ControlModel.EditMode = ControlModel.EditObj;

  // The run is over, however it ended: the command goes (its destructor unsubscribes it) and the library
  // keeps no object of the drawing.
  auto end = [&r] {
    pmCouplingBlock2D = nullptr;
    ControlModel.EditObj.reset();
    ControlModel.EditMode.reset();
    ControlModel.SpcObj2.reset();
    ControlModel.PosLeaderObj.reset();
    r.IDoc2D.reset();
  };
  try {
    const std::unique_ptr<TpmCouplingBlock2D> command(pmCouplingBlock2D = new TpmCouplingBlock2D());
    if (macro && command->ProcessParam) command->ProcessParam->SetFlag(false);
    do {
      command->ExitCode = 0;
      command->Run(true, false);
      if (drApi::Selector) drApi::Selector->Choose(Ptr<txapi::ITavrixAPIObject>(ControlModel.EditObj));
    } while (command->ExitCode != 0);
  } catch (...) {
    end();
    throw;
  }
  end();
  return true;
}
