#include "Duvozadu/pmCoupling2D.h"

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/pmCommands.h"
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/core/TextBase.h"
#include "txapi/IDocument2DEdit.h"
#include "txapi/IDrawingGroup.h"
#include "txapi/IMacroContent.h"
#include "txapi/IMacroObject.h"
#include "txapi/ISpecificationBaseObject.h"
#include "txapi/ITavrixAPIObject.h"
#include "txapi/ITemporaryGroup.h"
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

// A value as the choice lists show it.
TString ListText(double v)
{
  return TString(v, 2, true, 7);
}

bool Same(const TControlPtr& a, const TControlPtr& b)
{
  return a && b && a == b;
}

// The library's file name as an edited block stores it: the library's name with the extension of the file
// the host loaded.
TString EditedLibraryName()
{
  const std::string path = drApi::MA.R().PathFileName.Utf8Text();
  const std::size_t slash = path.rfind('/'), dot = path.rfind('.');
  const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return TString("VUVudirido") + TString(hasExt ? path.substr(dot).c_str() : ".so");
}

} // namespace

TpmCouplingBlock2D::TpmCouplingBlock2D()
    : TProcessManager2D(DC("Муфты"), DC("Выберите точку привязки и угол поворота муфты"), txapi::pnEnterEscHelp, 8,
                        DC("Параметры"), txapi::txProcess2DPlacement),
      ADetails("Муфта", TAdapter::pvStr, &ControlModel.CouplingName, false, *new TArrayOf<TString>(128, 128), true,
               nullptr),
      ATorque("Момент", TAdapter::pvReal, &ControlModel.M, false, *new TArrayOf<TString>(128, 128), true, nullptr),
      AD1("Вал 1", TAdapter::pvReal, &ControlModel.P1d, false, *new TArrayOf<TString>(128, 128), true, nullptr),
      AD2("Вал 2", TAdapter::pvReal, &ControlModel.P2d, false, *new TArrayOf<TString>(128, 128), true, nullptr),
      T1("Тип ", TAdapter::pvEnumInteger, &ControlModel.T1, false, LTHalf, false, nullptr),
      T2("Тип ", TAdapter::pvEnumInteger, &ControlModel.T2, false, LTHalf, false, nullptr),
      ATView("Отрисовка", TAdapter::pvEnumInteger, &ControlModel.TView, false, LTViews, false, nullptr)
{
  Couplings.GetNames(ADetails.ADef);
  // The panel opens on the model's coupling type (the stored one when a block is edited), so that Enter
  // never rebuilds a block as another coupling.
  const int current = ADetails.Index(ControlModel.CouplingName);
  ADetails.ADef.Current = current < 0 ? 0 : current;
  ADetails.SetI(0);

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
  cSpcObj = AddCheckBox(DC("Спецификация"), DC("Создавать объект спецификации"), ControlModel.NeedSpcObj, false,
                        true);
  cPosLeader = AddCheckBox(DC("Позиция"), DC("Создавать линию-выноску"), ControlModel.NeedPosLeader, false, true);

  Init = true;
  ChangeControlValue(APropertyVariable.GetControl(&ADetails, false));
  Init = false;
  SetPhantom(txapi::txMoveGroupPhantom);
}

TpmCouplingBlock2D::~TpmCouplingBlock2D()
{
  delete Table;
  Table = nullptr;
  if (PhantomGroup) drApi::MA.drDeleteObj(Ptr<txapi::IModelObject>(PhantomGroup));
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
    // The second half takes the first half's bore type.
    ControlModel.T2 = ControlModel.T1;
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
  delete Table;
  const TString name = Couplings.GetNameTable(ControlModel.CouplingName, 1);
  Table = TextBase.GetTable(name);
  if (!Table) {
    Messager->LiftBox(DC("Необнаружена таблица ") + name, TMessager::toAlways);
    return;
  }
  Table->toLD(0, ATorque.ADef, TAdapter::strNotSpecified);
  // A new type lists every size: the torque goes back to "*" in the list and in its adapter alike.
  ATorque.ADef.Current = 0;
  APropertyVariable.Reset(&ATorque, ATorque.ADef, 0, TString());
  Next(ATorque);
}

void TpmCouplingBlock2D::TorqueStep()
{
  if (!Table) return;
  TArrayOf<TString>& list = AD1.ADef;
  if (ATorque.IsSpecified())
    Table->toLDfrom(Table->Control, ControlModel.M, 0, list);
  else
    Table->toLD(Table->Control, list, TString());
  if (list.Count <= 0) return;
  APropertyVariable.Reset(&AD1, list, AD1.Index(ListText(ControlModel.P1d)), TString());
  Next(AD1);
}

void TpmCouplingBlock2D::FirstDiameterStep()
{
  if (!Table) return;
  if (!Init) ControlModel.P2d = ControlModel.P1d;
  TArrayOf<TString>& list = AD2.ADef;
  if (ATorque.IsSpecified()) {
    // The torque of the first size that takes the first shaft; a shaft above every size keeps the torque.
    const int rows = Table->CountColumn > 0 ? Table->Count / Table->CountColumn : 0;
    const int r = Table->NumberRow(Table->Control, ControlModel.P1d);
    if (r < rows) ControlModel.M = Table->Row(r)[0];
    Table->toLDfrom(Table->Control, ControlModel.M, 0, list);
  } else {
    Table->toLD(Table->Control, list, TString());
  }
  if (list.Count <= 0) return;
  APropertyVariable.Reset(&AD2, list, AD2.Index(ListText(ControlModel.P2d)), TString());
  Next(AD2);
}

void TpmCouplingBlock2D::FinalStep()
{
  // The panel being built shows the block as it stands: nothing to redraw yet, and a block whose
  // parameters could not be read must stay as it is until the user changes something.
  if (!Table || Init) return;
  if (!ControlModel.EditMode) {
    TProcessManager2D::PlacementChanged(ControlModel.pX, ControlModel.pY, ControlModel.pAngle, true);
    return;
  }
  if (drApi::Selector) drApi::Selector->Choose(Ptr<txapi::ITavrixAPIObject>(ControlModel.EditObj));
  RedrawEditedBlock();
}

bool TpmCouplingBlock2D::RedrawEditedBlock()
{
  drApi::MA.drGroup(true);
  Ptr<txapi::IDrawingGroup> group = drApi::MA.R().Obj;
  // Without a group the coupling would land loose in the view.
  if (group) DrawCoupling();
  drApi::MA.drEndGroup();
  if (!group) return false;
  if (Ptr<txapi::IMacroContent> block = ControlModel.EditObj)
    block->SetContent({Ptr<txapi::ITavrixAPIObject>(group)});
  group->Reset();
  return true;
}

void TpmCouplingBlock2D::RedrawPhantom(double, double, double)
{
  // Drawn in the phantom group's own frame: the host places the group at the cursor.
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
    // The block goes back to what it stores; a block that stores nothing readable stays as it is.
    if (!ControlModel.DataEditObj.empty() && ControlModel.from(ControlModel.DataEditObj)) RedrawEditedBlock();
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
    if (!RedrawEditedBlock()) return true;
    // The block keeps its place: the placement it was read with, not the origin.
    const TMt place{ControlModel.pX, ControlModel.pY, ControlModel.pAngle, 1.0};
    ControlModel.to(block);
    r.MacroObj = ControlModel.EditObj;
    ma.drSetMacro2DParam(block, EditedLibraryName(), r.ModuleName, CommandNumber, true, place);
    r.MacroObj.reset();
    return true;
  }

  ma.drGroup(true);
  Ptr<txapi::IDrawingGroup> group = r.Obj;
  ma.drMacro2D(true);
  ControlModel.pX = x;
  ControlModel.pY = y;
  ControlModel.pAngle = angle;
  const TMt place{x, y, angle, 1.0};
  ControlModel.to(block);
  ma.drSetMacro2DParam(block, r.FileName, r.ModuleName, CommandNumber, true, place);
  DrawCoupling();
  ma.drEndMacro();
  ma.drEndGroup();
  if (Ptr<txapi::ITemporaryGroup> keep = group) keep->Keep();
  Ptr<txapi::IDrawingObject> drawn = ma.LastObjRef();
  // Earlier placements keep their specification objects: each block has its own entry.
  if (ControlModel.NeedSpcObj) {
    ma.drSpcObj(ControlModel.MainName(), tStandart, drawn);
    ControlModel.RefSpcObj = ma.LastObjRef();
    if (ControlModel.RefSpcObj) {
      ControlModel.SpcObj2 = r.Obj; // the entry drSpcObj has just made
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
    if (!ControlModel.DataEditObj.empty() && !ControlModel.from(ControlModel.DataEditObj))
      ControlModel.DataEditObj.clear();
    double x = 0, y = 0, angle = 0;
    if (macro->GetPlacement(x, y, angle)) {
      ControlModel.pX = x;
      ControlModel.pY = y;
      ControlModel.pAngle = angle;
    }
  }
  ControlModel.EditMode = ControlModel.EditObj;

  TpmCouplingBlock2D* command = pmCouplingBlock2D = new TpmCouplingBlock2D();
  if (macro && command->ProcessParam) command->ProcessParam->SetFlag(false);
  do {
    command->ExitCode = 0;
    command->Run(true, false);
    if (drApi::Selector) drApi::Selector->Choose(Ptr<txapi::ITavrixAPIObject>(ControlModel.EditObj));
  } while (command->ExitCode != 0);
  delete command;
  pmCouplingBlock2D = nullptr;
  // The run is over: the library keeps no object of the drawing.
  ControlModel.EditObj.reset();
  ControlModel.EditMode.reset();
  ControlModel.SpcObj2.reset();
  ControlModel.PosLeaderObj.reset();
  r.IDoc2D.reset();
  return true;
}
